// Between the program's pixels (96 DPI) and the screen's, for one window: the program sees
// sizes, places and mouse positions in its own pixels; the window on the screen is `Factor()`
// times as large. Lengths round to the nearest pixel both ways, so that a size the program asked
// for comes back unchanged; a point on the screen lies in the program's pixel that covers it.
#pragma once

#include <cmath>

#include "display/display.h"

namespace quorvane::display::shared {

class ScreenScale {
public:
    explicit ScreenScale(float factor = 1) : factor_(factor) {}

    float Factor() const { return factor_; }
    bool Scales() const { return factor_ != 1; }

    int ToScreen(int length) const { return int(std::lround(float(length) * factor_)); }
    int ToProgram(int length) const { return int(std::lround(float(length) / factor_)); }
    int PointToProgram(int coordinate) const { return int(std::floor(float(coordinate) / factor_)); }

    Rect ToScreen(const Rect& rect) const
    {
        return Rect{ToScreen(rect.x), ToScreen(rect.y), Unsigned(ToScreen(int(rect.width))),
                    Unsigned(ToScreen(int(rect.height)))};
    }
    Rect ToProgram(const Rect& rect) const
    {
        return Rect{ToProgram(rect.x), ToProgram(rect.y), Unsigned(ToProgram(int(rect.width))),
                    Unsigned(ToProgram(int(rect.height)))};
    }
    Mode ToProgram(const Mode& mode) const
    {
        return Mode{Unsigned(ToProgram(int(mode.width))), Unsigned(ToProgram(int(mode.height))), mode.refreshRate};
    }

private:
    static std::uint32_t Unsigned(int length) { return std::uint32_t(length < 0 ? 0 : length); }

    float factor_;
};

}  // namespace quorvane::display::shared
