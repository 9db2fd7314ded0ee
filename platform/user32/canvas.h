// A picture the layer draws for a window's surface (the menu bar, a pop-up menu, a dialog's
// face): filled and framed rectangles, text from platform/text with its mnemonic underlined,
// check marks, icons and soft shadows, on 32-bit pixels 0xAARRGGBB as the display takes them.
//
// A canvas is drawn in the program's pixels and made at the screen's resolution: on a scaled
// screen every rectangle and line grows by the scale, and text is rasterised at the scaled size,
// so the picture stays sharp. Sizes and places given to it are the program's.
#pragma once

#include <windows.h>

#include <cstdint>

#include "display/display.h"
#include "text/font.h"
#include "text/text_layout.h"

namespace quorvane::user32 {

using Color = std::uint32_t;  // 0xAARRGGBB

class Canvas {
public:
    Canvas(int width, int height, Color background, float scale = 1);

    float Scale() const { return scale_; }

    void Fill(const RECT& rect, Color color);
    // A one-pixel outline just inside the rectangle.
    void Frame(const RECT& rect, Color color);
    // A one-pixel dotted outline (every other pixel), as a focus rectangle is drawn.
    void DottedFrame(const RECT& rect, Color color);
    // Source-over blend of a translucent colour.
    void Blend(const RECT& rect, Color color);
    // A line of text with its pen at (x, baseline), in `font` at the canvas's scale; the
    // mnemonic, if any, is underlined.
    void Text(text::Font& font, const text::TextLine& line, int x, int baseline, Color color);
    // A check mark filling the square, anti-aliased.
    void CheckMark(const RECT& box, Color color);
    // An image (an icon, in screen pixels) blended at (x, y) by its alpha.
    void Picture(const display::Image& picture, int x, int y);

    const display::Image& Image() const { return image_; }
    display::Image Take() { return std::move(image_); }

private:
    int Width() const { return int(image_.width); }
    int Height() const { return int(image_.height); }
    // Screen pixels of a length or a rectangle of the program's.
    LONG Pixels(LONG length) const;
    RECT Pixels(const RECT& rect) const;
    void FillPixels(const RECT& pixels, Color color);
    void Mix(int x, int y, Color color, unsigned coverage);  // coverage 0..255

    display::Image image_;
    float scale_;
};

// Rectangle helpers.
RECT Inset(const RECT& rect, LONG by);
bool Contains(const RECT& rect, POINT point);

}  // namespace quorvane::user32
