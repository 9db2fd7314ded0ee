// Whether Wine's picture of the viewer is the snapshot tool's picture of the same scene, drawn by
// two implementations of Direct3D 9 (Wine's over OpenGL, and ours), and where the two differ.
#pragma once

#include "picture.h"

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

PictureDifference Compare(const Picture& wine, const Picture& reference);

// For a person to look at: the reference at a quarter of its brightness, with the pixels that
// differ (by more than differingLevel) in full red.
Picture DifferenceImage(const Picture& wine, const Picture& reference);

}  // namespace quorvane::window_picture
