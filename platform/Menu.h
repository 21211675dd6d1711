#pragma once
// Menus: handles, their items and the operations on them, a window's menu bar and window menu as data, and
// the records and flags of the owner-draw protocol and of the menu loop.
//
// A menu is a list of items; an item is a command, a separator or the opener of a sub-menu, with its type
// (MFT_*), state (MFS_*), command number, text, bitmaps and item data. Menus made by CreateMenu or
// CreatePopupMenu live until DestroyMenu, which takes their sub-menus with them; a window's menu bar
// (SetMenu) and its window menu (GetSystemMenu) are destroyed with the window. A destroyed menu is forgotten
// everywhere it was referenced (items opening it lose their sub-menu, a window loses its bar), and its handle
// stays invalid for a long while, so a stale handle is refused (FALSE, -1 or nullptr) rather than reused.
//
// Items are named by position (MF_BYPOSITION) or by command (MF_BYCOMMAND, the default): the first item
// with that command, sub-menus searched depth first in index order, the sub-menu's items before the item
// that opens it.
//
// Text is a QString: MENUITEMINFO::dwTypeData carries it both ways and GetMenuString fills a QString, in
// place of the classic buffer and length protocol.

#include "platform/Gdi.h"
#include "platform/Messages.h"

#include <QString>

struct HMENU__;
using HMENU = HMENU__ *;

// Menus keep bitmap handles for the drawing that shows them; this layer makes no bitmap objects itself.
struct HBITMAP__;
using HBITMAP = HBITMAP__ *;

// ---- flags of AppendMenu, InsertMenu, ModifyMenu and the item operations -----------------------------

constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;

constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_BITMAP = 0x0004;
constexpr UINT MF_OWNERDRAW = 0x0100;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_MENUBARBREAK = 0x0020;
constexpr UINT MF_MENUBREAK = 0x0040;
constexpr UINT MF_RIGHTJUSTIFY = 0x4000;

constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_UNHILITE = 0x0000;
constexpr UINT MF_HILITE = 0x0080;
constexpr UINT MF_DEFAULT = 0x1000;
// WM_MENUSELECT only
constexpr UINT MF_SYSMENU = 0x2000;
constexpr UINT MF_MOUSESELECT = 0x8000;

// ---- MENUITEMINFO -------------------------------------------------------------------------------------

constexpr UINT MIIM_STATE = 0x0001;
constexpr UINT MIIM_ID = 0x0002;
constexpr UINT MIIM_SUBMENU = 0x0004;
constexpr UINT MIIM_CHECKMARKS = 0x0008;
constexpr UINT MIIM_TYPE = 0x0010;
constexpr UINT MIIM_DATA = 0x0020;
constexpr UINT MIIM_STRING = 0x0040;
constexpr UINT MIIM_BITMAP = 0x0080;
constexpr UINT MIIM_FTYPE = 0x0100;

constexpr UINT MFT_STRING = MF_STRING;
constexpr UINT MFT_BITMAP = MF_BITMAP;
constexpr UINT MFT_MENUBARBREAK = MF_MENUBARBREAK;
constexpr UINT MFT_MENUBREAK = MF_MENUBREAK;
constexpr UINT MFT_OWNERDRAW = MF_OWNERDRAW;
constexpr UINT MFT_RADIOCHECK = 0x0200;
constexpr UINT MFT_SEPARATOR = MF_SEPARATOR;
constexpr UINT MFT_RIGHTORDER = 0x2000;
constexpr UINT MFT_RIGHTJUSTIFY = MF_RIGHTJUSTIFY;

constexpr UINT MFS_ENABLED = MF_ENABLED;
constexpr UINT MFS_GRAYED = 0x0003;
constexpr UINT MFS_DISABLED = MFS_GRAYED;
constexpr UINT MFS_UNCHECKED = MF_UNCHECKED;
constexpr UINT MFS_CHECKED = MF_CHECKED;
constexpr UINT MFS_UNHILITE = MF_UNHILITE;
constexpr UINT MFS_HILITE = MF_HILITE;
constexpr UINT MFS_DEFAULT = MF_DEFAULT;

// fType: MFT_BITMAP and MFT_SEPARATOR exclude each other (MFT_STRING is their absence). The text is
// dwTypeData; cch is its length on the way out and ignored on the way in. MIIM_TYPE sets and gets fType
// with the text (none for bitmap and separator items); for an MFT_BITMAP item, whose classic dwTypeData
// holds the bitmap, the bitmap travels in hbmpItem.
struct MENUITEMINFO
{
    UINT cbSize = sizeof(MENUITEMINFO);
    UINT fMask = 0;
    UINT fType = MFT_STRING;
    UINT fState = MFS_ENABLED;
    UINT wID = 0;
    HMENU hSubMenu = nullptr;
    HBITMAP hbmpChecked = nullptr;
    HBITMAP hbmpUnchecked = nullptr;
    ULONG_PTR dwItemData = 0;
    QString dwTypeData;
    UINT cch = 0;
    HBITMAP hbmpItem = nullptr;
};

constexpr DWORD MIM_MAXHEIGHT = 0x00000001;
constexpr DWORD MIM_BACKGROUND = 0x00000002;
constexpr DWORD MIM_HELPID = 0x00000004;
constexpr DWORD MIM_MENUDATA = 0x00000008;
constexpr DWORD MIM_STYLE = 0x00000010;
constexpr DWORD MIM_APPLYTOSUBMENUS = 0x80000000;

constexpr DWORD MNS_NOCHECK = 0x80000000;
constexpr DWORD MNS_MODELESS = 0x40000000;
constexpr DWORD MNS_DRAGDROP = 0x20000000;
constexpr DWORD MNS_AUTODISMISS = 0x10000000;
constexpr DWORD MNS_NOTIFYBYPOS = 0x08000000;
constexpr DWORD MNS_CHECKORBMP = 0x04000000;

// The brush stays its creator's, who keeps it alive while the menu uses it.
struct MENUINFO
{
    DWORD cbSize = sizeof(MENUINFO);
    DWORD fMask = 0;
    DWORD dwStyle = 0;
    UINT cyMax = 0;
    HBRUSH hbrBack = nullptr;
    DWORD dwContextHelpID = 0;
    ULONG_PTR dwMenuData = 0;
};

// ---- menus --------------------------------------------------------------------------------------------

// A menu bar's menu and a drop-down (popup) menu.
HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and, depth first, every sub-menu its items open.
BOOL DestroyMenu(HMENU Menu);
BOOL IsMenu(HMENU Menu);

// -1 for an invalid menu.
int GetMenuItemCount(HMENU Menu);
// The command of the item at Pos; -1 (all bits) for an item opening a sub-menu or no item.
UINT GetMenuItemID(HMENU Menu, int Pos);
HMENU GetSubMenu(HMENU Menu, int Pos);
// Type and state flags (MF_*) of the item; for an item opening a sub-menu, MF_POPUP with the low byte of
// its flags and the sub-menu's item count in the high byte. -1 (all bits) for no item.
UINT GetMenuState(HMENU Menu, UINT Item, UINT Flags);
// The item's text into String (may be nullptr); answers its length, 0 for no item.
int GetMenuString(HMENU Menu, UINT Item, QString *String, UINT Flags);

// A new item where Item says (by position: before the item at that index, appended for -1 or an index past
// the end; by command: before that item, in the menu that holds it), made of the members fMask names (the
// others keep an empty string item's values). A sub-menu must be a live menu that does not lead back to the
// menu it opens from: no cycles. An unknown command or a record of another cbSize answers FALSE.
BOOL InsertMenuItem(HMENU Menu, UINT Item, BOOL ByPosition, const MENUITEMINFO *Info);
// Fills the members fMask asks for.
BOOL GetMenuItemInfo(HMENU Menu, UINT Item, BOOL ByPosition, MENUITEMINFO *Info);
// Changes the members fMask names; a sub-menu replaced here is kept (not destroyed).
BOOL SetMenuItemInfo(HMENU Menu, UINT Item, BOOL ByPosition, const MENUITEMINFO *Info);

// The classic flag forms. Flags combine one kind (MF_STRING, MF_BITMAP, MF_OWNERDRAW, MF_SEPARATOR), the
// state (MF_CHECKED, MF_GRAYED, MF_DISABLED, MF_HILITE, MF_DEFAULT), the layout bits (MF_MENUBREAK,
// MF_MENUBARBREAK, MF_RIGHTJUSTIFY) and MF_POPUP, with which IdNewItem is the sub-menu's handle (the item's
// command is then 0: the handle's bits are no command). NewItem is the text of string and owner-drawn
// items; the HBITMAP forms make MF_BITMAP items.
BOOL AppendMenu(HMENU Menu, UINT Flags, UINT_PTR IdNewItem, const QString &NewItem);
BOOL AppendMenu(HMENU Menu, UINT Flags, UINT_PTR IdNewItem, HBITMAP NewItem);
BOOL InsertMenu(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdNewItem, const QString &NewItem);
BOOL InsertMenu(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdNewItem, HBITMAP NewItem);
// The item becomes what InsertMenu would make of the arguments, in its place, keeping its item data and
// check-mark bitmaps. A sub-menu it no longer opens is destroyed.
BOOL ModifyMenu(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdNewItem, const QString &NewItem);
BOOL ModifyMenu(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdNewItem, HBITMAP NewItem);
// Takes the item out; its sub-menu stays (the caller's now).
BOOL RemoveMenu(HMENU Menu, UINT Position, UINT Flags);
// Takes the item out and destroys its sub-menu.
BOOL DeleteMenu(HMENU Menu, UINT Position, UINT Flags);

// MF_CHECKED or MF_UNCHECKED in Check; answers the previous one, -1 (all bits) for no item.
DWORD CheckMenuItem(HMENU Menu, UINT Item, UINT Check);
// MF_ENABLED, MF_GRAYED or MF_DISABLED in Enable; answers the previous one, -1 for no item.
BOOL EnableMenuItem(HMENU Menu, UINT Item, UINT Enable);
// Checks Check with a radio mark (MFT_RADIOCHECK and MFS_CHECKED) and clears both from the other items
// First..Last. By command, the three must be items of one menu, First before Last; Check must lie between.
BOOL CheckMenuRadioItem(HMENU Menu, UINT First, UINT Last, UINT Check, UINT Flags);

constexpr UINT GMDI_USEDISABLED = 0x0001;
constexpr UINT GMDI_GOINTOPOPUPS = 0x0002;
// Item -1 leaves the menu without a default item; otherwise the item (one of Menu's own, not of a sub-menu)
// becomes its only one.
BOOL SetMenuDefaultItem(HMENU Menu, UINT Item, UINT ByPos);
// The default item's command (position with ByPos); -1 when there is none or it is disabled (unless
// GMDI_USEDISABLED). GMDI_GOINTOPOPUPS answers the default item of a default sub-menu, when it has one.
UINT GetMenuDefaultItem(HMENU Menu, UINT ByPos, UINT Flags);
// The pictures beside an item when unchecked and checked (nullptr: the standard marks).
BOOL SetMenuItemBitmaps(HMENU Menu, UINT Position, UINT Flags, HBITMAP Unchecked, HBITMAP Checked);

BOOL GetMenuInfo(HMENU Menu, MENUINFO *Info);
// MIM_APPLYTOSUBMENUS gives the same members to every sub-menu, depth first.
BOOL SetMenuInfo(HMENU Menu, const MENUINFO *Info);

// ---- a window's menus ---------------------------------------------------------------------------------

// The menu bar of a top-level window (child windows have none: FALSE and nullptr). SetMenu recomputes the
// frame (SetWindowPos with SWP_FRAMECHANGED: WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED) and
// marks it for repainting. The menu it replaces is not destroyed; the one it sets is destroyed with the
// window unless it is replaced first. A menu is the bar of one window at a time: one that already belongs to
// another window (its bar or window menu) is refused.
BOOL SetMenu(HWND Wnd, HMENU Menu);
HMENU GetMenu(HWND Wnd);
// Marks the frame for repainting after the bar's items changed (they are measured again).
BOOL DrawMenuBar(HWND Wnd);
// The bar shows in a band SM_CYMENU high at the top of the window's non-client area (WM_NCCALCSIZE takes it
// off the client area and WM_NCHITTEST answers HTMENU there), its items in one row left to right, those from
// the first MF_RIGHTJUSTIFY item on flush right, and items that do not fit cut off at the right edge. Owner-
// drawn items are measured and drawn by the window (WM_MEASUREITEM, WM_DRAWITEM with a DC of the whole
// window). A press on an item, Alt released alone, F10, or Alt with an item's letter (WM_SYSCHAR reaching
// DefWindowProc, which sends WM_SYSCOMMAND SC_KEYMENU to the top-level window) runs the bar's menu loop:
// WM_ENTERMENULOOP (wParam FALSE) and WM_INITMENU (wParam the bar) once, the drop-downs as TrackPopupMenu
// shows them, WM_MENUSELECT for the bar's items too, WM_ENTERIDLE while waiting (lParam: the open drop-down,
// nullptr while only the bar is selected), WM_EXITMENULOOP (FALSE), and a posted WM_COMMAND for the chosen
// command.
//
// The screen rectangle of the bar's item (Menu must be Wnd's bar); FALSE for no such item.
BOOL GetMenuItemRect(HWND Wnd, HMENU Menu, UINT Item, RECT *Rect);
// The position of the bar's item at a screen point; -1 for none.
int MenuItemFromPoint(HWND Wnd, HMENU Menu, POINT Screen);
// The window menu: with Revert FALSE the window's own copy of the standard one (made on first use: Restore,
// Move, Size, Minimize, Maximize, a separator and the default Close, with their SC_* commands, enabled as
// the window's styles and show state allow), which the caller may change; with Revert TRUE the copy is
// destroyed (the next call makes a fresh one) and nullptr answered. Destroyed with the window.
HMENU GetSystemMenu(HWND Wnd, BOOL Revert);
// Ends the menu loop that is running (TrackPopupMenu then answers as for a cancelled menu); TRUE also when
// none runs.
BOOL EndMenu();

// ---- owner draw -----------------------------------------------------------------------------------------

constexpr UINT ODT_MENU = 1;
constexpr UINT ODT_LISTBOX = 2;
constexpr UINT ODT_COMBOBOX = 3;
constexpr UINT ODT_BUTTON = 4;
constexpr UINT ODT_STATIC = 5;

constexpr UINT ODA_DRAWENTIRE = 0x0001;
constexpr UINT ODA_SELECT = 0x0002;
constexpr UINT ODA_FOCUS = 0x0004;

constexpr UINT ODS_SELECTED = 0x0001;
constexpr UINT ODS_GRAYED = 0x0002;
constexpr UINT ODS_DISABLED = 0x0004;
constexpr UINT ODS_CHECKED = 0x0008;
constexpr UINT ODS_FOCUS = 0x0010;
constexpr UINT ODS_DEFAULT = 0x0020;
constexpr UINT ODS_HOTLIGHT = 0x0040;
constexpr UINT ODS_INACTIVE = 0x0080;
constexpr UINT ODS_NOACCEL = 0x0100;
constexpr UINT ODS_NOFOCUSRECT = 0x0200;
constexpr UINT ODS_COMBOBOXEDIT = 0x1000;

// WM_MEASUREITEM (wParam 0 for menus, lParam: this record): the owner fills itemWidth and itemHeight.
struct MEASUREITEMSTRUCT
{
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemWidth = 0;
    UINT itemHeight = 0;
    ULONG_PTR itemData = 0;
};

// WM_DRAWITEM (wParam 0 for menus, lParam: this record). For ODT_MENU, hwndItem holds the menu's HMENU,
// as on the classic desktop (reinterpret_cast<HMENU>), and hDC belongs to the window showing the menu.
struct DRAWITEMSTRUCT
{
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemAction = 0;
    UINT itemState = 0;
    HWND hwndItem = nullptr;
    HDC hDC = nullptr;
    RECT rcItem;
    ULONG_PTR itemData = 0;
};

// ---- the menu loop's messages and flags -------------------------------------------------------------------

// WM_MENUCHAR answers MAKELRESULT(item position, one of these).
constexpr WORD MNC_IGNORE = 0;
constexpr WORD MNC_CLOSE = 1;
constexpr WORD MNC_EXECUTE = 2;
constexpr WORD MNC_SELECT = 3;

constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_HORIZONTAL = 0x0000;
constexpr UINT TPM_VERTICAL = 0x0040;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;
constexpr UINT TPM_RECURSE = 0x0001;
constexpr UINT TPM_HORPOSANIMATION = 0x0400;
constexpr UINT TPM_HORNEGANIMATION = 0x0800;
constexpr UINT TPM_VERPOSANIMATION = 0x1000;
constexpr UINT TPM_VERNEGANIMATION = 0x2000;
constexpr UINT TPM_NOANIMATION = 0x4000;
constexpr UINT TPM_LAYOUTRTL = 0x8000;
constexpr UINT TPM_WORKAREA = 0x10000;

// The screen rectangle a popup must not cover (TPM_VERTICAL/TPM_HORIZONTAL say which way it moves away).
struct TPMPARAMS
{
    UINT cbSize = sizeof(TPMPARAMS);
    RECT rcExclude;
};

// WM_ENTERIDLE's wParam while a menu waits for input (lParam: the popup window).
constexpr WPARAM MSGF_MENU = 2;

// Shows Menu at (X, Y) (screen coordinates, placed by the TPM_ alignment flags and kept inside the work
// area) in a popup window of class "#32768" owned by Wnd, and runs the modal menu loop until the menu
// closes: WM_ENTERMENULOOP (wParam TRUE), WM_INITMENUPOPUP, WM_MEASUREITEM and WM_DRAWITEM for owner-drawn
// items, WM_MENUSELECT, WM_MENUCHAR, WM_ENTERIDLE while waiting, WM_UNINITMENUPOPUP and WM_EXITMENULOOP go to
// Wnd, none of them with TPM_NONOTIFY. The loop sleeps in the event loop, so timers and painting go on. Esc,
// a press outside the menu, the popup losing activation or capture, EndMenu and Wnd's destruction all end
// it. With TPM_RETURNCMD answers the chosen command (0 for none) and sends no WM_COMMAND; otherwise posts
// WM_COMMAND (LOWORD: the command) for a chosen item and answers TRUE. FALSE for a bad menu or window, and
// while another menu runs unless TPM_RECURSE is given.
BOOL TrackPopupMenu(HMENU Menu, UINT Flags, int X, int Y, int Reserved, HWND Wnd, const RECT *Rect);
// Items opening sub-menus open them beside themselves after the SPI_GETMENUSHOWDELAY the pointer rests on them,
// or on Right, Enter or their letter; Left and Esc close one level. A menu taller than the work area scrolls
// between two arrow bands. The Rect argument is ignored, as on the classic desktop.
//
// TrackPopupMenuEx: the same; a menu that would cover Params->rcExclude moves beside it (TPM_VERTICAL: below
// or above it).
BOOL TrackPopupMenuEx(HMENU Menu, UINT Flags, int X, int Y, HWND Wnd, TPMPARAMS *Params);
