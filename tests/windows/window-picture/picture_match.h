// Whether Wine's picture of the viewer is the snapshot tool's picture of the same scene, drawn by
// two implementations of Direct3D 9 (Wine's over OpenGL, and ours), and where the two differ.
#pragma once

#include "picture.h"

#include <cstddef>

namespace quorvane::window_picture {

struct PictureDifference {
    std::size_t differing = 0;  // pixels with a channel off by more than differingLevel
    std::size_t allowed = 0;    // the most that may be, for the pictures' size
    int largest = 0;            // the largest channel difference of any pixel

    bool Matches() const { return differing <= allowed; }
};

// A channel difference that is more than rounding: the two implementations filter the Earth image
// and blend the text's edges in their own arithmetic, a few levels apart.
constexpr int differingLevel = 48;

// At most 1 pixel in allowedShare may differ by more than that. Measured on the real pairs
// (952x722 and 1280x1024 under Wine 8 on llvmpipe): 1 to 8 pixels, single pixels of the 1-pixel
// lines that a rasteriser puts one row or column over where a line passes a pixel's edge. The
// smallest fault tried differs in far more: the Earth's rim left out 1771 pixels, the latitude
// lines 6998, the longitude lines 10462, the help text 7549, the Earth image mirrored 179126;
// 1 in 5000 (137 pixels at 952x722) is 17 times the largest real difference and a thirteenth of
// the smallest fault.
constexpr std::size_t allowedShare = 5000;

// With a reach of n, a pixel differs only when its colour is more than differingLevel from every
// pixel of the other picture within n pixels of it, either way round: two rasterisers that put a
// 1-pixel line one pixel apart agree, a line or text missing from either picture still differs.
PictureDifference Compare(const Picture& wine, const Picture& reference, int reach = 0);

// For a person to look at: the reference at a quarter of its brightness, with the pixels that
// differ (by more than differingLevel) in full red.
Picture DifferenceImage(const Picture& wine, const Picture& reference, int reach = 0);

}  // namespace quorvane::window_picture
