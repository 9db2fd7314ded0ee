// The display-mode list and the full-screen popup built from it.
#include "app/display_modes.h"

#include "app/entry.h"
#include "app/interface_texts.h"
#include "app/resource.h"

#include <boost/format.hpp>

#include <algorithm>
#include <string>

std::vector<DisplayMode> displayModes;

namespace {

constexpr int screenModePopupPosition = 2;

bool IsListed(const D3DDISPLAYMODE& mode)
{
    return std::any_of(displayModes.begin(), displayModes.end(), [&](const DisplayMode& listed) {
        return listed.width == mode.Width && listed.height == mode.Height;
    });
}

std::wstring ModeText(const DisplayMode& mode, const SIZE& desktop)
{
    const bool current = static_cast<LONG>(mode.width) == desktop.cx && static_cast<LONG>(mode.height) == desktop.cy;
    return (boost::wformat(L"%dx%d%s") % mode.width % mode.height % (current ? desktopSizeMark : std::wstring())).str();
}

}  // namespace

void EnumerateDisplayModes()
{
    displayModes.clear();
    if (direct3D == nullptr)
        return;
    const UINT count = direct3D->GetAdapterModeCount(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8);
    for (UINT i = 0; i < count; ++i) {
        D3DDISPLAYMODE mode{};
        if (direct3D->EnumAdapterModes(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8, i, &mode) == D3D_OK && !IsListed(mode))
            displayModes.push_back(DisplayMode{mode.Width, mode.Height});
    }
}

void BuildScreenModeMenu(HWND hwnd)
{
    const HMENU popup = GetSubMenu(GetMenu(hwnd), screenModePopupPosition);
    for (int items = GetMenuItemCount(popup); items > 0; --items)
        DeleteMenu(popup, 0, MF_BYPOSITION);
    const SIZE desktop = DesktopSize();
    for (std::size_t i = 0; i < displayModes.size(); ++i)
        AppendMenuW(popup, MF_STRING, IDM_SCREEN_MODE_FIRST + i, ModeText(displayModes[i], desktop).c_str());
}

void ShowScreenModes(HWND hwnd)
{
    BuildScreenModeMenu(hwnd);
    DrawMenuBar(hwnd);
}

SIZE DesktopSize()
{
    const HWND desktop = GetDesktopWindow();
    const HDC dc = GetDC(desktop);
    const SIZE size{GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES)};
    ReleaseDC(desktop, dc);
    return size;
}
