// Commands and keys. The view switches share one toggle step: the flag flips, its menu item's
// check mark follows, and the picture is drawn again.
#include "app/commands.h"

#include "app/about_box.h"
#include "app/display_modes.h"
#include "app/full_screen.h"
#include "app/main_window.h"
#include "app/resource.h"
#include "app/settings.h"
#include "graphics/draw_device.h"
#include "graphics/scene_resources.h"

namespace {

constexpr int viewPopupPosition = 1;

struct ViewSwitch {
    UINT command;
    WPARAM functionKey;
    BOOL ViewerSettingsRecord::*flag;
};

// In the view popup's order, the order the check marks are set in.
constexpr ViewSwitch viewSwitches[] = {
    {IDM_SHOW_EARTH, VK_F4, &ViewerSettingsRecord::showEarth},
    {IDM_SHOW_EARTH_OUTLINE, VK_F5, &ViewerSettingsRecord::showEarthOutline},
    {IDM_SHOW_LATITUDE_LINES, VK_F2, &ViewerSettingsRecord::showLatitudeLines},
    {IDM_SHOW_LONGITUDE_LINES, VK_F3, &ViewerSettingsRecord::showLongitudeLines},
    {IDM_SHOW_HELP, VK_F1, &ViewerSettingsRecord::showHelp},
};

UINT CheckState(BOOL flag)
{
    return flag ? MF_CHECKED : MF_UNCHECKED;
}

void Toggle(HWND hwnd, const ViewSwitch& view)
{
    BOOL& flag = ViewerSettings.*view.flag;
    flag = flag ? FALSE : TRUE;
    CheckMenuItem(GetSubMenu(GetMenu(hwnd), viewPopupPosition), view.command, CheckState(flag));
    Invalidate(hwnd);
}

template <class Matches>
const ViewSwitch* FindSwitch(Matches matches)
{
    for (const ViewSwitch& view : viewSwitches) {
        if (matches(view))
            return &view;
    }
    return nullptr;
}

void ChooseScreenMode(UINT index)
{
    if (index < displayModes.size() && SceneResources.drawDevice != nullptr)
        SceneResources.drawDevice->ChangeScreenMode(displayModes[index].width, displayModes[index].height, FALSE);
}

}  // namespace

void UpdateViewMenuChecks(HWND hwnd)
{
    const HMENU viewPopup = GetSubMenu(GetMenu(hwnd), viewPopupPosition);
    for (const ViewSwitch& view : viewSwitches)
        CheckMenuItem(viewPopup, view.command, CheckState(ViewerSettings.*view.flag));
}

void OnCommand(HWND hwnd, UINT id)
{
    if (const ViewSwitch* view = FindSwitch([id](const ViewSwitch& v) { return v.command == id; })) {
        Toggle(hwnd, *view);
        return;
    }
    switch (id) {
    case IDM_ABOUT: ShowAboutBox(hwnd); break;
    case IDM_EXIT: PostMessageW(hwnd, WM_CLOSE, 0, 0); break;
    default:
        if (id >= IDM_SCREEN_MODE_FIRST)
            ChooseScreenMode(id - IDM_SCREEN_MODE_FIRST);
        break;
    }
}

void OnFunctionKey(HWND hwnd, WPARAM key)
{
    if (const ViewSwitch* view = FindSwitch([key](const ViewSwitch& v) { return v.functionKey == key; }))
        Toggle(hwnd, *view);
    else if (key == VK_F6)
        Invalidate(hwnd);
}

void ToggleFullScreen(HWND hwnd)
{
    BOOL windowed = FALSE;
    IsDrawDeviceWindowed(&windowed);
    if (windowed) {
        EnterDesktopFullScreen();
        Invalidate(hwnd);
        return;
    }
    if (SceneResources.drawDevice != nullptr)
        SceneResources.drawDevice->ChangeScreenMode(0, 0, TRUE);
    // The menu is back: it has seen neither the switches nor a desktop change made meanwhile.
    UpdateViewMenuChecks(hwnd);
    ShowScreenModes(hwnd);
    Invalidate(hwnd);
}
