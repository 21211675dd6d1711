#pragma once
// The built-in window classes: "EDIT" and "BUTTON" (always registered) and the IPv4 address field
// "SysIPAddress32" (registered by InitCommonControlsEx with ICC_INTERNET_CLASSES). Each hosts a real Qt
// widget in the window's client area; notifications reach the parent as WM_COMMAND with
// MAKEWPARAM(id, code) and the control's window in lParam.
//
// Text travels as in the rest of the window layer: WM_SETTEXT and EM_REPLACESEL take a const QString* in
// lParam, WM_GETTEXT and EM_GETLINE fill the QString* in lParam and answer its length. Multi-line text is
// read and written with CR LF line ends, and character positions count a line end as two characters.

#include "platform/Window.h"

// Registers "EDIT" and "BUTTON"; the class table calls it once.
void RegisterStandardClasses();
// Registers "SysIPAddress32".
void RegisterIpAddressClass();
// Registers "#32768", the window of an open popup menu (PopupMenu.cpp).
void RegisterPopupMenuClass();

// ---- EDIT ------------------------------------------------------------------------------------------------

constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_PASSWORD = 0x0020;
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_NOHIDESEL = 0x0100;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_WANTRETURN = 0x1000;

constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_SCROLL = 0x00B5;
constexpr UINT EM_LINESCROLL = 0x00B6;
constexpr UINT EM_SCROLLCARET = 0x00B7;
constexpr UINT EM_GETMODIFY = 0x00B8;
constexpr UINT EM_SETMODIFY = 0x00B9;
constexpr UINT EM_GETLINECOUNT = 0x00BA;
constexpr UINT EM_LINEINDEX = 0x00BB;
constexpr UINT EM_LINELENGTH = 0x00C1;
constexpr UINT EM_REPLACESEL = 0x00C2;
constexpr UINT EM_GETLINE = 0x00C4;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_SETLIMITTEXT = EM_LIMITTEXT;
constexpr UINT EM_CANUNDO = 0x00C6;
constexpr UINT EM_UNDO = 0x00C7;
constexpr UINT EM_LINEFROMCHAR = 0x00C9;
constexpr UINT EM_GETFIRSTVISIBLELINE = 0x00CE;
constexpr UINT EM_SETREADONLY = 0x00CF;

// Notification codes (HIWORD of WM_COMMAND's wParam)
constexpr WORD EN_SETFOCUS = 0x0100;
constexpr WORD EN_KILLFOCUS = 0x0200;
constexpr WORD EN_CHANGE = 0x0300;
constexpr WORD EN_UPDATE = 0x0400;
constexpr WORD EN_MAXTEXT = 0x0501;
constexpr WORD EN_HSCROLL = 0x0601;
constexpr WORD EN_VSCROLL = 0x0602;

// ---- BUTTON ----------------------------------------------------------------------------------------------

constexpr DWORD BS_PUSHBUTTON = 0x0000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
constexpr DWORD BS_CHECKBOX = 0x0002;
constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
constexpr DWORD BS_RADIOBUTTON = 0x0004;
constexpr DWORD BS_3STATE = 0x0005;
constexpr DWORD BS_AUTO3STATE = 0x0006;
constexpr DWORD BS_GROUPBOX = 0x0007;
constexpr DWORD BS_AUTORADIOBUTTON = 0x0009;
constexpr DWORD BS_TYPEMASK = 0x000F;
constexpr DWORD BS_LEFTTEXT = 0x0020;
constexpr DWORD BS_RIGHTBUTTON = BS_LEFTTEXT;
constexpr DWORD BS_MULTILINE = 0x2000;

constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_GETSTATE = 0x00F2;
constexpr UINT BM_SETSTATE = 0x00F3;
constexpr UINT BM_SETSTYLE = 0x00F4;
constexpr UINT BM_CLICK = 0x00F5;

constexpr WPARAM BST_UNCHECKED = 0x0000;
constexpr WPARAM BST_CHECKED = 0x0001;
constexpr WPARAM BST_INDETERMINATE = 0x0002;
constexpr WPARAM BST_PUSHED = 0x0004;
constexpr WPARAM BST_FOCUS = 0x0008;

constexpr WORD BN_CLICKED = 0;
constexpr WORD BN_DOUBLECLICKED = 5;

// ---- SysIPAddress32 --------------------------------------------------------------------------------------

constexpr UINT IPM_CLEARADDRESS = WM_USER + 100;
// lParam: the packed address, first octet in the high byte (MAKEIPADDRESS).
constexpr UINT IPM_SETADDRESS = WM_USER + 101;
// lParam: a DWORD* receiving the packed address (blank octets read 0); answers the non-blank octets.
constexpr UINT IPM_GETADDRESS = WM_USER + 102;
// wParam: the octet 0..3; lParam: MAKEIPRANGE(low, high).
constexpr UINT IPM_SETRANGE = WM_USER + 103;
// wParam: the octet 0..3 (beyond: the first blank one).
constexpr UINT IPM_SETFOCUS = WM_USER + 104;
constexpr UINT IPM_ISBLANK = WM_USER + 105;

constexpr DWORD MAKEIPADDRESS(BYTE B1, BYTE B2, BYTE B3, BYTE B4)
{
    return (DWORD(B1) << 24) | (DWORD(B2) << 16) | (DWORD(B3) << 8) | DWORD(B4);
}
constexpr LPARAM MAKEIPRANGE(BYTE Low, BYTE High) { return LPARAM((WORD(High) << 8) | Low); }
constexpr BYTE FIRST_IPADDRESS(DWORD A) { return BYTE(A >> 24); }
constexpr BYTE SECOND_IPADDRESS(DWORD A) { return BYTE(A >> 16); }
constexpr BYTE THIRD_IPADDRESS(DWORD A) { return BYTE(A >> 8); }
constexpr BYTE FOURTH_IPADDRESS(DWORD A) { return BYTE(A); }
