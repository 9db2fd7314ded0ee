#include "display/sdl/desktop_scale.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace quorvane::display::sdl {

namespace {

constexpr float dpiOfScaleOne = 96;

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::optional<float> ParseNumber(std::string_view text)
{
    text = Trimmed(text);
    float value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<float> InRange(std::optional<float> scale)
{
    if (!scale || *scale < smallestScale || *scale > largestScale)
        return std::nullopt;
    return std::round(*scale * 4) / 4;
}

// The scale a source gives, or nothing with a line on the standard error, naming the value as
// it was given less the blanks around it, when its value is not one.
std::optional<float> Checked(const char* source, std::string_view value, std::optional<float> scale)
{
    value = Trimmed(value);
    if (!scale)
        std::fprintf(stderr, "quorvane: %s=%.*s is not a scale from 1 to 4; ignored\n", source, int(value.size()),
                     value.data());
    return scale;
}

// The RESOURCE_MANAGER property of the root window, as the X server holds it now.
std::string XResources()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return {};
    const char* resources = XResourceManagerString(display);
    std::string text = resources ? resources : "";
    XCloseDisplay(display);
    return text;
}

}  // namespace

std::optional<float> ParseScale(std::string_view text)
{
    return InRange(ParseNumber(text));
}

std::optional<std::string_view> XftDpiOf(std::string_view resources)
{
    constexpr std::string_view name = "Xft.dpi:";
    while (!resources.empty()) {
        std::size_t end = resources.find('\n');
        std::string_view line = resources.substr(0, end);
        if (line.starts_with(name))
            return line.substr(name.size());
        if (end == std::string_view::npos)
            break;
        resources.remove_prefix(end + 1);
    }
    return std::nullopt;
}

float ChooseScale(const ScaleSources& sources)
{
    std::optional<float> scale;
    if (sources.quorvaneScale && *sources.quorvaneScale)
        scale = Checked("QUORVANE_SCALE", sources.quorvaneScale, ParseScale(sources.quorvaneScale));
    if (!scale && sources.gdkScale && *sources.gdkScale)
        scale = Checked("GDK_SCALE", sources.gdkScale, ParseScale(sources.gdkScale));
    if (!scale && sources.xftDpi) {
        // Desktops show a resolution below 96 DPI at 96, the smallest scale.
        std::optional<float> dpi = ParseNumber(*sources.xftDpi);
        if (dpi && *dpi > 0)
            dpi = std::max(*dpi, dpiOfScaleOne);
        scale = Checked("Xft.dpi", *sources.xftDpi, InRange(dpi ? std::optional(*dpi / dpiOfScaleOne) : dpi));
    }
    return scale.value_or(1);
}

float DesktopScale()
{
    ScaleSources sources{std::getenv("QUORVANE_SCALE"), std::getenv("GDK_SCALE"), std::nullopt};
    auto usable = [](const char* value) { return value && ParseScale(value); };
    // The X server is asked only when the environment does not say.
    std::string resources;
    if (!usable(sources.quorvaneScale) && !usable(sources.gdkScale)) {
        resources = XResources();
        sources.xftDpi = XftDpiOf(resources);
    }
    return ChooseScale(sources);
}

}  // namespace quorvane::display::sdl
