// How many screen pixels the desktop gives one pixel of a program written for 96 DPI.
//
// The program does not declare itself DPI-aware, so, as Windows does with such a program, it
// keeps working in 96-DPI pixels and the display scales its window on the screen. The scale is,
// in this order of preference: QUORVANE_SCALE, GDK_SCALE, Xft.dpi / 96 from the X resource
// database (where desktop environments put it; below 96 DPI it is 1), else 1; rounded to the
// nearest quarter.
#pragma once

#include <optional>
#include <string_view>

namespace quorvane::display::sdl {

constexpr float smallestScale = 1;
constexpr float largestScale = 4;

// A scale written as a number from 1 to 4, rounded to the nearest quarter; nothing for any other
// text.
std::optional<float> ParseScale(std::string_view text);

// The value of Xft.dpi in an X resource database's text (lines "name:\tvalue"), if it has one.
std::optional<std::string_view> XftDpiOf(std::string_view resources);

// What each source says; null or empty text, or no Xft.dpi, for a source that is not set.
struct ScaleSources {
    const char* quorvaneScale = nullptr;
    const char* gdkScale = nullptr;
    std::optional<std::string_view> xftDpi;
};

// The scale the first source that is set gives. A source whose value is not a number in range
// is skipped with one line on the standard error.
float ChooseScale(const ScaleSources& sources);

// The desktop's scale, from the environment and the X server named by DISPLAY.
float DesktopScale();

}  // namespace quorvane::display::sdl
