#pragma once
// Private to the menu and window units: the objects behind HMENU and what those units share.

#include "platform/Menu.h"

#include <QRect>

#include <vector>

struct MenuItemData
{
    UINT Type = MFT_STRING;
    UINT State = MFS_ENABLED;
    UINT Id = 0;
    HMENU SubMenu = nullptr;
    HBITMAP CheckedBitmap = nullptr;
    HBITMAP UncheckedBitmap = nullptr;
    ULONG_PTR ItemData = 0;
    QString Text;
    HBITMAP Bitmap = nullptr;
};

struct HMENU__
{
    bool Popup = false;                 // CreatePopupMenu's; CreateMenu's is a menu bar's
    std::vector<MenuItemData> Items;
    HWND Window = nullptr;              // the window whose bar or window menu this is (it goes with the window)
    DWORD Style = 0;                    // MNS_*
    UINT MaxHeight = 0;
    HBRUSH Background = nullptr;        // not owned
    DWORD ContextHelpId = 0;
    ULONG_PTR MenuData = 0;
    std::vector<int> BarWidths;         // a window's bar: its items' measured widths, until the bar changes
};

namespace MenuCore {

bool IsLive(HMENU Menu);
// The item that Item names, MF_BYPOSITION in Flags or by command; Menu becomes the menu holding it and *Pos
// its index there. nullptr when there is none.
MenuItemData *FindItem(HMENU &Menu, UINT Item, UINT Flags, int *Pos = nullptr);

// WindowMenu.cpp
// The bar and the window menu go with the window (it is being buried).
void DestroyWindowMenus(HWND Wnd);
// The window Menu belongs to forgets it (Menu is being destroyed).
void DetachFromWindow(HMENU Menu);
// The standard items of Wnd's window menu enabled as its styles and show state allow now
// (Restore only when minimised or maximised, Move unless maximised, Size with a sizing frame in the normal
// state, Minimize and Maximize with their boxes unless already so). Made at the copy's creation; the loop
// runs it again before showing the window menu.
void UpdateSystemMenu(HWND Wnd);

// MenuBar.cpp
// The band WM_NCCALCSIZE takes off the top of a top-level window's client area for its menu bar: SM_CYMENU
// with a bar, 0 without.
int MenuBarHeight(HWND Wnd);
// The band in window coordinates; empty unless the window has a bar and its client area leaves room for it.
QRect MenuBarRect(HWND Wnd);
// The bar's items, one rectangle each in window coordinates, left to right (right-justified ones at the end).
std::vector<QRect> MenuBarLayout(HWND Wnd);
// The item of Wnd's bar at a screen point; -1 for none.
int MenuBarItemAt(HWND Wnd, QPoint Screen);
// Paints the bar into DC, a DC of the whole window.
void PaintMenuBar(HWND Wnd, HDC DC);
// The bar's items changed or it was replaced: measure again.
void ForgetMenuBarLayout(HMENU Menu);
// The mnemonic letter of an item's text ("&" before it), lower case; null for none.
QChar Mnemonic(const QString &Text);

// MenuBarLoop.cpp
// The menu loop of Wnd's bar, from a press on item Item (the mouse's) or from SC_KEYMENU (Key: 0 to select
// the bar, else the letter of the item whose drop-down opens).
void TrackMenuBarFromMouse(HWND Wnd, int Item);
void TrackMenuBarFromKey(HWND Wnd, QChar Key);
// Alt or F10 released with no other key pressed since it went down.
bool IsMenuKeyReleased(WPARAM Key);

} // namespace MenuCore
