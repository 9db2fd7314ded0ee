#include "app/interface_texts.h"

#include "app/resource.h"
#include "scene/drawn_circles.h"
#include "scene/help_overlay.h"
#include "scene/scale_readout.h"

#include <iterator>
#include <type_traits>
#include <utility>

std::wstring desktopSizeMark;

namespace {

constexpr UINT helpLineIds[] = {IDS_HELP_TURN_EARTH, IDS_HELP_ORBIT_CAMERA, IDS_HELP_MOVE_CAMERA, IDS_HELP_FULL_SCREEN};
static_assert(std::size(helpLineIds) == std::extent_v<decltype(HelpTexts::lines)>, "one string for each help line");

// With a buffer size of 0 LoadStringW hands out the text in the resource itself, which is not
// zero-terminated: its length is what the call returns.
std::wstring LoadText(HINSTANCE instance, UINT id)
{
    LPCWSTR text = nullptr;
    const int length = LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

// A text the module has replaces the scene's own; one it lacks leaves it as it is.
void LoadTextInto(HINSTANCE instance, UINT id, std::wstring& text)
{
    std::wstring loaded = LoadText(instance, id);
    if (!loaded.empty())
        text = std::move(loaded);
}

}  // namespace

void LoadInterfaceTexts(HINSTANCE instance)
{
    for (std::size_t i = 0; i < std::size(helpLineIds); ++i)
        helpTexts.lines[i] = LoadText(instance, helpLineIds[i]);
    desktopSizeMark = LoadText(instance, IDS_DESKTOP_SIZE_MARK);
    LoadTextInto(instance, IDS_TISSOT_RADII, tissotTexts.radii);
    LoadTextInto(instance, IDS_TISSOT_ANGLE, tissotTexts.angle);
    LoadTextInto(instance, IDS_TISSOT_SEPARATOR, tissotTexts.separator);
    LoadTextInto(instance, IDS_CIRCLE_ANGLES, crossingAngleFormat);
}
