// Commands and keys. The view switches share one toggle step: the flag flips, its menu item's
// check mark follows, and the picture is drawn again.
#include "app/commands.h"

#include "app/about_box.h"
#include "app/display_modes.h"
#include "app/full_screen.h"
#include "app/main_window.h"
#include "graphics/draw_device.h"
#include "graphics/scene_resources.h"

namespace {

constexpr int viewPopupPosition = 1;

UINT CheckState(BOOL flag)
{
    return flag ? MF_CHECKED : MF_UNCHECKED;
}

void Toggle(HWND hwnd, const FunctionKey& view)
{
    *view.flag = *view.flag ? FALSE : TRUE;
    CheckMenuItem(GetSubMenu(GetMenu(hwnd), viewPopupPosition), view.command, CheckState(*view.flag));
    Invalidate(hwnd);
}

template <class Matches>
const FunctionKey* FindSwitch(Matches matches)
{
    for (const FunctionKey& view : functionKeys) {
        if (view.flag != nullptr && matches(view))
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
    for (const FunctionKey& view : functionKeys) {
        if (view.flag != nullptr)
            CheckMenuItem(viewPopup, view.command, CheckState(*view.flag));
    }
}

void OnCommand(HWND hwnd, UINT id)
{
    if (const FunctionKey* view = FindSwitch([id](const FunctionKey& v) { return v.command == id; })) {
        Toggle(hwnd, *view);
        return;
    }
    switch (id) {
    case IDM_ABOUT: ShowAboutBox(hwnd); break;
    case IDM_EXIT: PostMessageW(hwnd, WM_CLOSE, 0, 0); break;
    case IDM_CLEAR_CIRCLES:
        ClearDrawnCircles(ViewerSession.circles);
        Invalidate(hwnd);
        break;
    default:
        if (id >= IDM_SCREEN_MODE_FIRST)
            ChooseScreenMode(id - IDM_SCREEN_MODE_FIRST);
        break;
    }
}

void OnFunctionKey(HWND hwnd, WPARAM key)
{
    if (key == VK_DELETE && !ViewerSession.circles.circles.empty()) {
        DeleteLastCircle(ViewerSession.circles);
        Invalidate(hwnd);
        return;
    }
    for (const FunctionKey& entry : functionKeys) {
        if (entry.key != key)
            continue;
        if (entry.flag != nullptr)
            Toggle(hwnd, entry);
        else if (entry.command != 0)
            OnCommand(hwnd, entry.command);
        else
            Invalidate(hwnd);
    }
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
