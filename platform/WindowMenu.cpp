// A window's menus: its menu bar and its copy of the window menu, both owned by the window.
#include "platform/MenuObject.h"
#include "platform/WindowObject.h"

namespace {

bool CanHaveMenus(HWND Wnd) { return IsWindow(Wnd) && !Wnd->Desktop; }

HMENU StandardWindowMenu()
{
    HMENU M = CreatePopupMenu();
    AppendMenu(M, MF_STRING, SC_RESTORE, QStringLiteral("&Restore"));
    AppendMenu(M, MF_STRING, SC_MOVE, QStringLiteral("&Move"));
    AppendMenu(M, MF_STRING, SC_SIZE, QStringLiteral("&Size"));
    AppendMenu(M, MF_STRING, SC_MINIMIZE, QStringLiteral("Mi&nimize"));
    AppendMenu(M, MF_STRING, SC_MAXIMIZE, QStringLiteral("Ma&ximize"));
    AppendMenu(M, MF_SEPARATOR, 0, QString());
    AppendMenu(M, MF_STRING | MF_DEFAULT, SC_CLOSE, QStringLiteral("&Close\tAlt+F4"));
    return M;
}

void Enable(HMENU Menu, WPARAM Command, bool On)
{
    EnableMenuItem(Menu, UINT(Command), MF_BYCOMMAND | (On ? MF_ENABLED : MF_GRAYED));
}

// WM_NCCALCSIZE again: the bar's band comes or goes.
void RecomputeFrame(HWND Wnd)
{
    SetWindowPos(Wnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

} // namespace

namespace MenuCore {

void DestroyWindowMenus(HWND Wnd)
{
    for (HMENU *Slot : {&Wnd->Menu, &Wnd->SystemMenu}) {
        HMENU M = *Slot;
        *Slot = nullptr;
        if (M) {
            M->Window = nullptr;
            DestroyMenu(M);
        }
    }
}

void DetachFromWindow(HMENU Menu)
{
    HWND W = Menu->Window;
    Menu->Window = nullptr;
    if (!IsWindow(W))
        return;
    if (W->SystemMenu == Menu)
        W->SystemMenu = nullptr;
    if (W->Menu == Menu) {
        W->Menu = nullptr;
        // The band goes with the bar.
        if (!W->Destroying)
            RecomputeFrame(W);
    }
}

void UpdateSystemMenu(HWND Wnd)
{
    if (!CanHaveMenus(Wnd) || !Wnd->SystemMenu)
        return;
    const bool Min = IsIconic(Wnd), Max = IsZoomed(Wnd);
    HMENU M = Wnd->SystemMenu;
    Enable(M, SC_RESTORE, Min || Max);
    Enable(M, SC_MOVE, !Max);
    Enable(M, SC_SIZE, (Wnd->Style & WS_THICKFRAME) && !Min && !Max);
    Enable(M, SC_MINIMIZE, (Wnd->Style & WS_MINIMIZEBOX) && !Min);
    Enable(M, SC_MAXIMIZE, (Wnd->Style & WS_MAXIMIZEBOX) && !Max);
}

} // namespace MenuCore

BOOL SetMenu(HWND Wnd, HMENU Menu)
{
    if (!CanHaveMenus(Wnd) || !WindowCore::IsTopLevel(Wnd) || (Menu && !IsMenu(Menu)))
        return FALSE;
    if (Menu && Menu->Window && (Menu->Window != Wnd || Wnd->SystemMenu == Menu))
        return FALSE;
    if (Wnd->Menu && Wnd->Menu != Menu)
        Wnd->Menu->Window = nullptr;
    Wnd->Menu = Menu;
    if (Menu)
        Menu->Window = Wnd;
    MenuCore::ForgetMenuBarLayout(Menu);
    RecomputeFrame(Wnd);
    return TRUE;
}

HMENU GetMenu(HWND Wnd) { return CanHaveMenus(Wnd) ? Wnd->Menu : nullptr; }

BOOL DrawMenuBar(HWND Wnd)
{
    if (!CanHaveMenus(Wnd) || !WindowCore::IsTopLevel(Wnd))
        return FALSE;
    MenuCore::ForgetMenuBarLayout(Wnd->Menu);
    return RedrawWindow(Wnd, nullptr, nullptr, RDW_FRAME);
}

HMENU GetSystemMenu(HWND Wnd, BOOL Revert)
{
    if (!CanHaveMenus(Wnd))
        return nullptr;
    if (Revert) {
        HMENU Old = Wnd->SystemMenu;
        Wnd->SystemMenu = nullptr;
        if (Old) {
            Old->Window = nullptr;
            DestroyMenu(Old);
        }
        return nullptr;
    }
    if (!Wnd->SystemMenu) {
        Wnd->SystemMenu = StandardWindowMenu();
        Wnd->SystemMenu->Window = Wnd;
        MenuCore::UpdateSystemMenu(Wnd);
    }
    return Wnd->SystemMenu;
}
