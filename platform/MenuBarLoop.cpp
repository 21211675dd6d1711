// The menu loop of a window's menu bar: the bar selected from the keyboard or by a press, its drop-downs
// shown below their items by the popup loop, and the keys and pointer of a bar selected with no drop-down.
#include "platform/PopupMenuObject.h"

using namespace PopupCore;

namespace {

int ItemCount(const TBar &B) { return IsMenu(B.Menu) ? int(B.Menu->Items.size()) : 0; }
bool HasItem(const TBar &B, int I) { return I >= 0 && I < ItemCount(B); }
const MenuItemData &BarItem(const TBar &B, int I) { return B.Menu->Items[size_t(I)]; }

bool OpensDropDown(const TBar &B, int I)
{
    return HasItem(B, I) && BarItem(B, I).SubMenu && IsEnabled(BarItem(B, I));
}

// The bar shows the selection as its items' MFS_HILITE state.
void Highlight(TBar &B, int I)
{
    if (!IsMenu(B.Menu) || !IsWindow(B.Wnd))
        return;
    for (size_t J = 0; J < B.Menu->Items.size(); ++J) {
        UINT &State = B.Menu->Items[J].State;
        State = int(J) == I ? State | MFS_HILITE : State & ~MFS_HILITE;
    }
    RedrawWindow(B.Wnd, nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW);
}

void SelectOnBar(TMenuLoop &L, int I, bool ByMouse)
{
    TBar &B = *L.Bar;
    if (!HasItem(B, I) || I == B.Selected)
        return;
    B.Selected = I;
    Highlight(B, I);
    if (!HasItem(B, I))
        return;
    SendMenuSelect(L.Owner, B.Menu, I, BarItem(B, I), ByMouse);
}

// The drop-down opens below its item, kept in the work area like any popup.
void OpenDropDown(TMenuLoop &L, int I, bool SelectFirst)
{
    TBar &B = *L.Bar;
    RECT R;
    if (!OpensDropDown(B, I) || !GetMenuItemRect(B.Wnd, B.Menu, UINT(I), &R))
        return;
    TPopup *P = Open(L, BarItem(B, I).SubMenu, I, QPoint(R.Left, R.Bottom), [&](QSize Size) {
        return PlaceAt(Size, TPM_LEFTALIGN | TPM_TOPALIGN, R.Left, R.Bottom, QRect());
    });
    if (!P)
        return;
    SetCapture(P->Wnd);
    if (SelectFirst)
        Select(*P, NextSelectable(P->Menu, Count(*P), -1, +1), false);
}

// Closes what is open and selects item I, opening its drop-down when asked to.
void Go(TMenuLoop &L, int I, bool OpenIt, bool SelectFirst, bool ByMouse)
{
    CloseAll(L);
    if (L.Finished())
        return;
    L.Bar->ByMouse = ByMouse;
    SelectOnBar(L, I, ByMouse);
    if (OpenIt && !L.Finished())
        OpenDropDown(L, I, SelectFirst);
}

void Request(TMenuLoop &L, int I, bool OpenIt, bool SelectFirst, bool ByMouse)
{
    TBar &B = *L.Bar;
    B.Pending = true;
    B.Next = I;
    B.OpenNext = OpenIt;
    B.SelectFirst = SelectFirst;
    B.ByMouse = ByMouse;
}

void ApplyRequest(TMenuLoop &L)
{
    TBar &B = *L.Bar;
    if (!B.Pending)
        return;
    B.Pending = false;
    Go(L, B.Next, B.OpenNext, B.SelectFirst, B.ByMouse);
}

void Choose(TMenuLoop &L, int I)
{
    const TBar &B = *L.Bar;
    if (!HasItem(B, I) || !IsEnabled(BarItem(B, I)) || IsSeparator(BarItem(B, I)))
        return;
    L.Command = BarItem(B, I).Id;
    L.Chosen = true;
    End(L);
}

// An item's drop-down opens with its first item selected; a command item is chosen.
void Activate(TMenuLoop &L, int I)
{
    if (OpensDropDown(*L.Bar, I))
        Go(L, I, true, true, false);
    else if (HasItem(*L.Bar, I) && !BarItem(*L.Bar, I).SubMenu)
        Choose(L, I);
}

// A letter on the bar: the item it underlines, else the window's answer to WM_MENUCHAR. Answers false when
// nothing came of it.
bool OnBarChar(TMenuLoop &L, QChar C)
{
    TBar &B = *L.Bar;
    const QChar Key = C.toLower();
    for (int I = 0; I < ItemCount(B); ++I) {
        const MenuItemData &It = BarItem(B, I);
        if (!IsOwnerDrawn(It) && !IsSeparator(It) && MenuCore::Mnemonic(It.Text) == Key) {
            SelectOnBar(L, I, false);
            Activate(L, I);
            return true;
        }
    }
    const LRESULT R =
        SendMessage(L.Owner, WM_MENUCHAR, MAKEWPARAM(C.unicode(), 0), reinterpret_cast<LPARAM>(B.Menu));
    const int I = LOWORD(std::uintptr_t(R));
    switch (HIWORD(std::uintptr_t(R))) {
    case MNC_EXECUTE:
        SelectOnBar(L, I, false);
        Activate(L, I);
        return true;
    case MNC_SELECT:
        SelectOnBar(L, I, false);
        return true;
    case MNC_CLOSE:
        End(L);
        return true;
    default:
        MessageBeep(0);
        return false;
    }
}

int Neighbour(const TBar &B, int Step) { return NextSelectable(B.Menu, ItemCount(B), B.Selected, Step); }

void OnBarKey(TMenuLoop &L, WPARAM Key)
{
    TBar &B = *L.Bar;
    switch (Key) {
    case VK_LEFT:
    case VK_RIGHT:
        SelectOnBar(L, Neighbour(B, Key == VK_LEFT ? -1 : +1), false);
        break;
    case VK_DOWN:
    case VK_UP:
        if (OpensDropDown(B, B.Selected))
            Go(L, B.Selected, true, true, false);
        break;
    case VK_RETURN:
        Activate(L, B.Selected);
        break;
    case VK_ESCAPE:
        End(L);
        break;
    default:
        break;
    }
}

bool IsPress(UINT Msg)
{
    switch (Msg) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: case WM_NCRBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}

// The input of a bar selected with no drop-down open (an open one grabs the input itself): the keys work
// the bar, a press on an item opens it, a press anywhere else leaves.
bool FilterBarInput(TMenuLoop &L, const MSG &M)
{
    TBar &B = *L.Bar;
    if (!L.Popups.empty() || L.Ended)
        return false;
    switch (M.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        OnBarKey(L, M.wParam);
        return true;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (MenuCore::IsMenuKeyReleased(M.wParam))
            End(L);
        return true;
    case WM_CHAR:
    case WM_SYSCHAR:
        if (QChar(char16_t(M.wParam)).isPrint())
            OnBarChar(L, QChar(char16_t(M.wParam)));
        return true;
    case WM_NCMOUSEMOVE:
    case WM_MOUSEMOVE: {
        // Hot tracking goes on over items without a drop-down.
        const int I = MenuCore::MenuBarItemAt(B.Wnd, QPoint(M.pt.X, M.pt.Y));
        if (B.ByMouse && I >= 0 && I != B.Selected && !IsSeparator(BarItem(B, I)))
            Go(L, I, true, false, true);
        return false;
    }
    case WM_NCLBUTTONUP:
    case WM_LBUTTONUP: {
        // A press on a command item chooses it when released there.
        const int I = MenuCore::MenuBarItemAt(B.Wnd, QPoint(M.pt.X, M.pt.Y));
        if (B.ByMouse && I == B.Selected)
            Choose(L, I);
        else if (B.ByMouse)
            End(L);
        return true;
    }
    default:
        break;
    }
    if (!IsPress(M.message))
        return false;
    const int I = M.hwnd == B.Wnd && M.message == WM_NCLBUTTONDOWN && LRESULT(M.wParam) == HTMENU
                      ? MenuCore::MenuBarItemAt(B.Wnd, QPoint(GET_X_LPARAM(M.lParam), GET_Y_LPARAM(M.lParam)))
                      : -1;
    if (I >= 0)
        Go(L, I, true, false, true);
    else
        End(L);
    return true;
}

// Start: what the loop does first once it runs.
void TrackBar(HWND Wnd, const std::function<void(TMenuLoop &)> &Start)
{
    if (MenuRunning() || !IsWindow(Wnd) || !WindowCore::IsTopLevel(Wnd) || !IsMenu(Wnd->Menu) ||
        MenuCore::MenuBarLayout(Wnd).empty())
        return;
    TBar B;
    B.Wnd = Wnd;
    B.Menu = Wnd->Menu;
    TMenuLoop L;
    L.Owner = Wnd;
    L.Flags = TPM_LEFTALIGN | TPM_TOPALIGN;
    L.Active = GetActiveWindow();
    L.Bar = &B;
    SendMessage(Wnd, WM_ENTERMENULOOP, FALSE, 0);
    SendMessage(Wnd, WM_INITMENU, reinterpret_cast<WPARAM>(B.Menu), 0);
    if (!IsWindow(Wnd) || Wnd->Menu != B.Menu)
        End(L);
    WindowCore::SetMenuModeFilter([&L](MSG &M) { return FilterBarInput(L, M); });
    Run(L, [&] { if (!L.Ended) Start(L); }, [&] { ApplyRequest(L); });
    WindowCore::SetMenuModeFilter(nullptr);
    Highlight(B, -1);
    if (IsWindow(Wnd)) {
        SendMessage(Wnd, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        SendMessage(Wnd, WM_EXITMENULOOP, FALSE, 0);
    }
    if (L.Chosen)
        PostMessage(Wnd, WM_COMMAND, MAKEWPARAM(WORD(L.Command), 0), 0);
}

} // namespace

void PopupCore::MoveOnBar(TMenuLoop &L, int Step)
{
    const int I = Neighbour(*L.Bar, Step);
    Request(L, I, OpensDropDown(*L.Bar, I), true, false);
}

void PopupCore::CloseDropDown(TMenuLoop &L) { Request(L, L.Bar->Selected, false, false, false); }

bool PopupCore::PointerOnBar(TMenuLoop &L, UINT Msg, QPoint Screen)
{
    TBar &B = *L.Bar;
    const int I = MenuCore::MenuBarItemAt(B.Wnd, Screen);
    if (I < 0)
        return false;
    switch (Msg) {
    case WM_MOUSEMOVE:
        // Hot tracking: pointing at another item while a drop-down is open opens that one instead.
        if (I != B.Selected && !B.Pending && !IsSeparator(BarItem(B, I)))
            Request(L, I, true, false, true);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (I == B.Selected)
            End(L);
        else
            Request(L, I, true, false, true);
        break;
    default:
        break;
    }
    return true;
}

bool MenuCore::IsMenuKeyReleased(WPARAM Key)
{
    return (Key == VK_MENU || Key == VK_F10) && WPARAM(WindowCore::LastKeyPressed()) == Key;
}

void MenuCore::TrackMenuBarFromMouse(HWND Wnd, int Item)
{
    TrackBar(Wnd, [Item](TMenuLoop &L) {
        if (HasItem(*L.Bar, Item))
            Go(L, Item, true, false, true);
        else
            End(L);
    });
}

void MenuCore::TrackMenuBarFromKey(HWND Wnd, QChar Key)
{
    // Alt+Space is the window menu's.
    if (Key == QLatin1Char(' '))
        return;
    TrackBar(Wnd, [Key](TMenuLoop &L) {
        if (Key.isNull())
            SelectOnBar(L, NextSelectable(L.Bar->Menu, ItemCount(*L.Bar), -1, +1), false);
        else if (!OnBarChar(L, Key))
            End(L);
    });
}
