// The menu loop. Keyboard: Left and Right move along the bar (and into or out of a cascaded
// pop-up), Down, Up and Enter open the pop-up and move in it, Enter chooses, Esc closes one
// level, Alt or F10 leaves, and a mnemonic letter opens a pop-up or chooses an item. Mouse: a
// press on a title opens its pop-up (again: closes it), moving over the titles switches pop-ups,
// releasing over an item chooses it, a press anywhere else leaves. A chosen item's command is
// posted to the window as WM_COMMAND once the loop has ended.
#include "user32/menu_tracking.h"

#include <algorithm>
#include <cwctype>

#include "user32/menu_bar_hooks.h"
#include "user32/mnemonic.h"
#include "user32/modal_loop.h"
#include "user32/thread_state.h"
#include "user32/window_frame.h"
#include "user32/window_surface.h"

namespace quorvane::user32 {

namespace {

struct OpenPopup {
    HMENU menu = nullptr;
    PopupLayout layout;
    POINT at{};  // surface coordinates
    int selected = -1;
};

class MenuTracker {
public:
    MenuTracker(Window& window, HMENU bar) : window_(window.handle), bar_(bar) {}

    HWND WindowHandle() const { return window_; }
    BarHighlight Highlight() const { return BarHighlight{barItem_, !popups_.empty()}; }

    void Start(int item, bool open, bool selectFirst);
    void SelectBarItem(int item, bool open);
    void Run();

private:
    Window* LiveWindow() const { return LookUpWindow(window_); }
    Menu* BarMenu() const { return LookUpMenu(bar_); }
    void HandleKey(const MSG& message);
    void HandleCharacter(WCHAR character);
    void HandleMouse(const MSG& message);
    void MoveAlongBar(int step);
    void MoveInPopup(int step);
    // Selects, in the innermost open pop-up, the first item (or with `fromEnd` the last one).
    void SelectFirstItem(bool fromEnd = false);
    void OpenSubmenu(OpenPopup& parent, int item);
    void ClosePopupsAbove(std::size_t depth);
    void Choose(const MenuItem& item);
    void Activate(OpenPopup& popup, int item);
    POINT SurfacePoint(POINT screen) const;
    // The open pop-up and item under a surface point: depth (or -1) and item (or -1).
    std::pair<int, int> PopupAt(POINT point) const;
    void FollowMenuChanges();
    void Redraw();

    HWND window_;
    HMENU bar_;
    int barItem_ = -1;
    std::vector<OpenPopup> popups_;
    bool done_ = false;
    UINT_PTR command_ = 0;
    bool chosen_ = false;
    bool menuKeyDown_ = false;  // Alt or F10 pressed inside the loop: it leaves on release
};

MenuTracker* activeTracker = nullptr;

// The title the mouse is over while no menu is in use, highlighted as on a native desktop.
struct HoveredTitle {
    HWND window = nullptr;
    int item = -1;
};
HoveredTitle hoveredTitle;

POINT SurfacePointOf(const Window& window, POINT screen)
{
    return POINT{screen.x - window.windowRect.left - window.surfaceRect.left,
                 screen.y - window.windowRect.top - window.surfaceRect.top};
}

int Wrap(int value, int count)
{
    return count > 0 ? (value % count + count) % count : -1;
}

int NextSelectable(const Menu& menu, int from, int step)
{
    int count = int(menu.items.size());
    for (int i = 1; i <= count; ++i) {
        int candidate = Wrap(from + step * i, count);
        if (!(menu.items[std::size_t(candidate)].flags & MF_SEPARATOR))
            return candidate;
    }
    return -1;
}

void MenuTracker::Start(int item, bool open, bool selectFirst)
{
    SendMessageW(window_, WM_ENTERMENULOOP, FALSE, 0);
    SendMessageW(window_, WM_INITMENU, WPARAM(bar_), 0);
    SelectBarItem(item, open);
    if (selectFirst) {
        SelectFirstItem();
        Redraw();
    }
}

void MenuTracker::SelectBarItem(int item, bool open)
{
    ClosePopupsAbove(0);
    barItem_ = item;
    Menu* bar = BarMenu();
    if (open && bar && item >= 0 && std::size_t(item) < bar->items.size() &&
        (bar->items[std::size_t(item)].flags & MF_POPUP)) {
        HMENU handle = bar->items[std::size_t(item)].popup;
        RECT title = LayOutMenuBar(*bar)[std::size_t(item)];
        // The program may change its menus here: nothing of them is held across the call.
        SendMessageW(window_, WM_INITMENUPOPUP, WPARAM(handle), MAKELPARAM(item, FALSE));
        if (Menu* popup = LookUpMenu(handle))
            popups_.push_back(OpenPopup{handle, LayOutPopup(*popup), POINT{title.left, menuBarHeight}, -1});
    }
    Redraw();
}

void MenuTracker::OpenSubmenu(OpenPopup& parent, int item)
{
    Menu* menu = LookUpMenu(parent.menu);
    if (!menu)
        return;
    HMENU handle = menu->items[std::size_t(item)].popup;
    RECT row = parent.layout.items[std::size_t(item)];
    POINT at{parent.at.x + parent.layout.width - 3, parent.at.y + row.top - 3};
    SendMessageW(window_, WM_INITMENUPOPUP, WPARAM(handle), MAKELPARAM(item, FALSE));
    if (Menu* popup = LookUpMenu(handle))
        popups_.push_back(OpenPopup{handle, LayOutPopup(*popup), at, -1});
}

void MenuTracker::ClosePopupsAbove(std::size_t depth)
{
    while (popups_.size() > depth) {
        RemoveSurfaceLayer(window_, layers::popupMenus + int(popups_.size()) - 1);
        popups_.pop_back();
    }
}

void MenuTracker::Choose(const MenuItem& item)
{
    command_ = item.id;
    chosen_ = true;
    done_ = true;
}

// Enter or a mnemonic on an item: a pop-up item opens its pop-up, any other item is chosen.
void MenuTracker::Activate(OpenPopup& popup, int item)
{
    Menu* menu = LookUpMenu(popup.menu);
    if (!menu || item < 0)
        return;
    popup.selected = item;
    const MenuItem& entry = menu->items[std::size_t(item)];
    std::size_t depth = std::size_t(&popup - popups_.data()) + 1;
    if (entry.flags & MF_POPUP) {
        ClosePopupsAbove(depth);
        OpenSubmenu(popups_[depth - 1], item);
        SelectFirstItem();
    } else if (IsChoosable(entry)) {
        Choose(entry);
    }
}

void MenuTracker::MoveAlongBar(int step)
{
    Menu* bar = BarMenu();
    if (!bar || bar->items.empty())
        return;
    bool open = !popups_.empty();
    SelectBarItem(Wrap(barItem_ + step, int(bar->items.size())), open);
    if (open) {
        SelectFirstItem();
        Redraw();
    }
}

void MenuTracker::SelectFirstItem(bool fromEnd)
{
    if (popups_.empty())
        return;
    if (Menu* menu = LookUpMenu(popups_.back().menu))
        popups_.back().selected = fromEnd ? NextSelectable(*menu, 0, -1) : NextSelectable(*menu, -1, 1);
}

void MenuTracker::MoveInPopup(int step)
{
    OpenPopup& popup = popups_.back();
    if (Menu* menu = LookUpMenu(popup.menu)) {
        int from = popup.selected >= 0 ? popup.selected : (step > 0 ? -1 : int(menu->items.size()));
        popup.selected = NextSelectable(*menu, from, step);
    }
    Redraw();
}

void MenuTracker::HandleKey(const MSG& message)
{
    bool press = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    bool release = message.message == WM_KEYUP || message.message == WM_SYSKEYUP;
    if (message.message == WM_CHAR || message.message == WM_SYSCHAR) {
        HandleCharacter(WCHAR(message.wParam));
        return;
    }
    if (release) {
        if (menuKeyDown_ && (message.wParam == VK_MENU || message.wParam == VK_F10))
            done_ = true;
        return;
    }
    if (!press)
        return;
    bool open = !popups_.empty();
    switch (message.wParam) {
    case VK_MENU:
    case VK_F10: menuKeyDown_ = true; break;
    case VK_ESCAPE:
        if (!open)
            done_ = true;
        else
            ClosePopupsAbove(popups_.size() - 1);
        Redraw();
        break;
    case VK_LEFT:
        if (popups_.size() > 1) {
            ClosePopupsAbove(popups_.size() - 1);
            Redraw();
        } else {
            MoveAlongBar(-1);
        }
        break;
    case VK_RIGHT: {
        if (open) {
            OpenPopup& last = popups_.back();
            Menu* menu = LookUpMenu(last.menu);
            if (menu && last.selected >= 0 && (menu->items[std::size_t(last.selected)].flags & MF_POPUP)) {
                Activate(last, last.selected);
                Redraw();
                break;
            }
        }
        MoveAlongBar(1);
        break;
    }
    case VK_DOWN:
    case VK_UP:
    case VK_RETURN:
        if (!open) {
            SelectBarItem(barItem_, true);
            SelectFirstItem(message.wParam == VK_UP);
        } else if (message.wParam == VK_RETURN) {
            Activate(popups_.back(), popups_.back().selected);
        } else {
            MoveInPopup(message.wParam == VK_DOWN ? 1 : -1);
        }
        Redraw();
        break;
    default: TranslateMessage(&message); break;  // the character comes next, for a mnemonic
    }
}

void MenuTracker::HandleCharacter(WCHAR character)
{
    WCHAR wanted = WCHAR(std::towupper(character));
    if (popups_.empty()) {
        Menu* bar = BarMenu();
        for (std::size_t i = 0; bar && i < bar->items.size(); ++i) {
            if (MatchesMnemonic(bar->items[i].text, wanted)) {
                SelectBarItem(int(i), true);
                SelectFirstItem();
                Redraw();
                return;
            }
        }
        return;
    }
    OpenPopup& popup = popups_.back();
    Menu* menu = LookUpMenu(popup.menu);
    if (!menu)
        return;
    // One item with the letter is activated; several are stepped through.
    std::vector<int> matches;
    for (std::size_t i = 0; i < menu->items.size(); ++i) {
        if (MatchesMnemonic(menu->items[i].text, wanted))
            matches.push_back(int(i));
    }
    if (matches.size() == 1) {
        Activate(popup, matches.front());
    } else if (!matches.empty()) {
        auto next = std::upper_bound(matches.begin(), matches.end(), popup.selected);
        popup.selected = next == matches.end() ? matches.front() : *next;
    }
    Redraw();
}

POINT MenuTracker::SurfacePoint(POINT screen) const
{
    Window* window = LiveWindow();
    return window ? SurfacePointOf(*window, screen) : screen;
}

std::pair<int, int> MenuTracker::PopupAt(POINT point) const
{
    for (int depth = int(popups_.size()) - 1; depth >= 0; --depth) {
        const OpenPopup& popup = popups_[std::size_t(depth)];
        POINT local{point.x - popup.at.x, point.y - popup.at.y};
        if (!Contains(RECT{0, 0, popup.layout.width, popup.layout.height}, local))
            continue;
        for (std::size_t i = 0; i < popup.layout.items.size(); ++i) {
            if (Contains(popup.layout.items[i], local))
                return {depth, int(i)};
        }
        return {depth, -1};
    }
    return {-1, -1};
}

void MenuTracker::HandleMouse(const MSG& message)
{
    Menu* bar = BarMenu();
    if (!bar)
        return;
    POINT point = SurfacePoint(message.pt);
    int title = point.y >= 0 && point.y < menuBarHeight ? MenuBarItemAt(*bar, point) : -1;
    auto [depth, item] = PopupAt(point);
    switch (message.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        if (depth >= 0) {
            OpenPopup& popup = popups_[std::size_t(depth)];
            if (item != popup.selected) {
                ClosePopupsAbove(std::size_t(depth) + 1);
                popup.selected = item;
                Menu* menu = LookUpMenu(popup.menu);
                if (menu && item >= 0 && (menu->items[std::size_t(item)].flags & MF_POPUP))
                    OpenSubmenu(popup, item);
                Redraw();
            }
        } else if (title >= 0 && title != barItem_) {
            SelectBarItem(title, !popups_.empty());
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        if (title >= 0 && depth < 0) {
            if (title == barItem_ && !popups_.empty())
                done_ = true;  // a second press on the open title closes the menu
            else
                SelectBarItem(title, true);
        } else if (depth < 0) {
            done_ = true;  // a press outside the menu leaves it
        }
        break;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
    case WM_RBUTTONUP:
    case WM_NCRBUTTONUP:
        if (depth >= 0 && item >= 0) {
            Menu* menu = LookUpMenu(popups_[std::size_t(depth)].menu);
            if (menu && !(menu->items[std::size_t(item)].flags & MF_POPUP) &&
                IsChoosable(menu->items[std::size_t(item)]))
                Choose(menu->items[std::size_t(item)]);
        }
        break;
    default: break;
    }
}

// The program runs inside the loop (WM_INITMENUPOPUP, WM_ENTERIDLE, the messages it is sent) and
// may change an open menu there: each pop-up is laid out again from its menu as it is now, a
// selection past its last item is dropped, and a pop-up whose menu is gone closes with those
// above it.
void MenuTracker::FollowMenuChanges()
{
    for (std::size_t depth = 0; depth < popups_.size(); ++depth) {
        OpenPopup& popup = popups_[depth];
        Menu* menu = LookUpMenu(popup.menu);
        if (!menu) {
            ClosePopupsAbove(depth);
            return;
        }
        popup.layout = LayOutPopup(*menu);
        if (popup.selected >= int(menu->items.size()))
            popup.selected = -1;
    }
}

void MenuTracker::Redraw()
{
    FollowMenuChanges();
    Window* window = LiveWindow();
    Menu* bar = BarMenu();
    if (!window || !bar) {
        done_ = true;
        return;
    }
    DrawMenuBarLayer(*window, *bar, Highlight());
    RECT surface{0, 0, Width(window->surfaceRect), Height(window->surfaceRect)};
    for (std::size_t depth = 0; depth < popups_.size(); ++depth) {
        OpenPopup& popup = popups_[depth];
        const Menu& menu = *LookUpMenu(popup.menu);
        // Kept inside the surface where it fits: pop-ups are layers of the window's surface.
        popup.at.x = std::max<LONG>(0, std::min<LONG>(popup.at.x, surface.right - popup.layout.width));
        popup.at.y = std::max<LONG>(0, std::min<LONG>(popup.at.y, surface.bottom - popup.layout.height));
        SetSurfaceLayer(window_, layers::popupMenus + int(depth), popup.at,
                        DrawPopup(menu, popup.layout, popup.selected, SurfaceScale(window_)));
    }
}

void MenuTracker::Run()
{
    MSG message{};
    auto running = [this] { return !done_ && LiveWindow(); };
    while (running()) {
        if (NextModalMessage(message, window_, MSGF_MENU, 0, running) != ModalStep::Message)
            break;
        FollowMenuChanges();
        if (IsKeyMessage(message.message))
            HandleKey(message);
        else if (IsMouseMessage(message.message))
            HandleMouse(message);
        else
            DispatchMessageW(&message);
    }
    ClosePopupsAbove(0);
    barItem_ = -1;
    CurrentThreadState().menuKeyAlone = false;
    if (Window* window = LiveWindow()) {
        RedrawMenuBar(*window);
        SendMessageW(window_, WM_EXITMENULOOP, FALSE, 0);
        if (chosen_)
            PostMessageW(window_, WM_COMMAND, MAKEWPARAM(command_, 0), 0);
    }
}

// The window's own menu, if it can be used now: a top-level window that is enabled.
Menu* UsableMenu(HWND handle)
{
    Window* window = LookUpWindow(handle);
    if (!window || (window->style & WS_CHILD) || !IsEnabledWithAncestors(*window) || activeTracker)
        return nullptr;
    Menu* menu = LookUpMenu(window->menu);
    return menu && !menu->items.empty() ? menu : nullptr;
}

int BarItemWithMnemonic(const Menu& bar, WCHAR key)
{
    for (std::size_t i = 0; i < bar.items.size(); ++i) {
        if (MatchesMnemonic(bar.items[i].text, key))
            return int(i);
    }
    return -1;
}

// Runs the menu loop with the bar item selected (and its pop-up open, its first item selected
// when the keyboard opened it).
void Track(Window& window, Menu& bar, int item, bool open, bool selectFirst)
{
    MenuTracker tracker(window, bar.handle);
    activeTracker = &tracker;
    tracker.Start(item, open, selectFirst);
    tracker.Run();
    activeTracker = nullptr;
}

}  // namespace

BarHighlight TrackedBarHighlight(HWND window)
{
    if (activeTracker)
        return activeTracker->WindowHandle() == window ? activeTracker->Highlight() : BarHighlight{};
    return hoveredTitle.window == window ? BarHighlight{hoveredTitle.item, false} : BarHighlight{};
}

}  // namespace quorvane::user32

namespace quorvane::user32 {

bool EnterMenuBarFromKeyboard(HWND handle, WCHAR key)
{
    Menu* bar = UsableMenu(handle);
    if (!bar)
        return false;
    int item = key ? BarItemWithMnemonic(*bar, key) : 0;
    if (item < 0)
        return false;
    Track(*LookUpWindow(handle), *bar, item, key != 0, true);
    return true;
}

bool EnterMenuBarFromMouse(HWND handle, POINT screen)
{
    Menu* bar = UsableMenu(handle);
    if (!bar)
        return false;
    Window& window = *LookUpWindow(handle);
    int item = MenuBarItemAt(*bar, SurfacePointOf(window, screen));
    if (item < 0)
        return false;
    hoveredTitle = {};
    Track(window, *bar, item, true, false);
    return true;
}

void HoverMenuBar(HWND handle, POINT screen, bool overBar)
{
    Window* window = LookUpWindow(handle);
    Menu* bar = UsableMenu(handle);
    if (!window || activeTracker)
        return;
    int item = overBar && bar ? MenuBarItemAt(*bar, SurfacePointOf(*window, screen)) : -1;
    HoveredTitle now = item >= 0 ? HoveredTitle{handle, item} : HoveredTitle{};
    bool changed = now.window != hoveredTitle.window || now.item != hoveredTitle.item;
    HWND before = hoveredTitle.window;
    hoveredTitle = now;
    if (!changed)
        return;
    if (Window* previous = LookUpWindow(before); previous && before != handle)
        RedrawMenuBar(*previous);
    RedrawMenuBar(*window);
}

}  // namespace quorvane::user32
