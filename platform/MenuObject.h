#pragma once
// Private to the menu and window units: the objects behind HMENU and what those units share.

#include "platform/Menu.h"

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

} // namespace MenuCore
