#pragma once
// Windows with window procedures and numbered messages, on Qt widgets.
//
// Every window is backed by one QWidget that only shows the window's retained surface (a QImage the size
// of the window, non-client band included). Child windows are child widgets placed at their window
// rectangle inside the parent's client area. All drawing goes through device contexts into surfaces;
// InvalidateRect marks and schedules, UpdateWindow paints at once (WM_NCPAINT when the frame is dirty,
// then WM_PAINT, whose BeginPaint sends WM_ERASEBKGND).
//
// Qt input reaches windows at one place (WindowEvents.cpp): mouse, keys, focus, activation, size, move,
// wheel and leave become queued messages that first pass the message filter (SetMessageFilter), then go to
// the target's window procedure. Keyboard messages go to the focus window (GetFocus), mouse messages to the
// capture window (SetCapture) or the window under the pointer, which is first asked WM_NCHITTEST (HTCLIENT:
// client messages; HTTRANSPARENT: the parent is asked; other codes: WM_NC* messages with the code). Mouse input
// of a disabled child goes to its first enabled ancestor. A click moves the focus only to child windows with
// WS_TABSTOP; other windows take it when their code calls SetFocus.
//
// Handles of destroyed windows are not handed out again for a long while, so a stale handle stays invalid.
//
// Built-in window classes ("EDIT", "BUTTON", "SysIPAddress32") host real Qt widgets in the client area.
// Input aimed at a hosted widget is translated like any other; only when the message reaches the class's
// own procedure (the default handling) is the Qt event let through to the widget (PassEventToHostedWidget).

#include "platform/Gdi.h"
#include "platform/Messages.h"
#include "platform/Region.h"

#include <QRegion>
#include <QString>
#include <Qt>

#include <functional>

class QWidget;
class QImage;

// ---- window procedures ----------------------------------------------------------------------------------

using WNDPROCFN = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

// A window procedure: a plain function or a closure made by MakeObjectInstance. The same plain function
// always gives the same WNDPROC, so procedures compare equal as on the classic desktop.
struct WndProcObject;
using WNDPROC = WndProcObject *;

WNDPROC MakeWndProc(WNDPROCFN Fn);
// A procedure that calls Method; it lives until FreeObjectInstance.
WNDPROC MakeObjectInstance(std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> Method);
void FreeObjectInstance(WNDPROC Proc);

// Calls Proc (nullptr: DefWindowProc).
LRESULT CallWindowProc(WNDPROC Proc, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
LRESULT DefWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

// ---- window classes ----------------------------------------------------------------------------------

constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;
constexpr UINT CS_SAVEBITS = 0x0800;

struct WNDCLASS
{
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    HINSTANCE hInstance = nullptr;
    HBRUSH hbrBackground = nullptr;      // DefWindowProc's WM_ERASEBKGND fill; nullptr: no fill
    QString lpszClassName;
};

// Names compare without case. Registering a name again replaces the class (windows made before keep theirs).
BOOL RegisterClass(const WNDCLASS *Class);
BOOL UnregisterClass(const QString &Name, HINSTANCE Instance);
BOOL GetClassInfo(HINSTANCE Instance, const QString &Name, WNDCLASS *Class);
QString GetClassName(HWND Wnd);
// Copies the class name into Buffer (at most MaxCount - 1 bytes, UTF-8, terminated); answers the length.
int GetClassNameA(HWND Wnd, char *Buffer, int MaxCount);

// ---- styles ------------------------------------------------------------------------------------------

constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
constexpr DWORD WS_EX_MDICHILD = 0x00000040;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;

constexpr int GWL_WNDPROC = -4;
constexpr int GWL_HINSTANCE = -6;
constexpr int GWL_HWNDPARENT = -8;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWL_USERDATA = -21;
constexpr int GWL_ID = -12;

// GWL_WNDPROC answers and takes a WNDPROC cast to LONG_PTR. Changing GWL_STYLE or GWL_EXSTYLE stores the
// bits only (the frame follows at SetWindowPos with SWP_FRAMECHANGED), except WS_VISIBLE and WS_DISABLED,
// which show/hide and enable/disable as on the classic desktop.
LONG_PTR GetWindowLong(HWND Wnd, int Index);
LONG_PTR SetWindowLong(HWND Wnd, int Index, LONG_PTR Value);
inline LONG_PTR GetWindowLongA(HWND Wnd, int Index) { return GetWindowLong(Wnd, Index); }
inline LONG_PTR SetWindowLongA(HWND Wnd, int Index, LONG_PTR Value) { return SetWindowLong(Wnd, Index, Value); }
inline LRESULT CallWindowProcA(WNDPROC Proc, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return CallWindowProc(Proc, Wnd, Msg, WParam, LParam);
}

// ---- creation and destruction --------------------------------------------------------------------------

constexpr int CW_USEDEFAULT = int(0x80000000);

// Sends WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE (a result of -1 fails the creation: the window is destroyed
// and nullptr answered), then shows the window when WS_VISIBLE is set. A child (WS_CHILD) needs a parent;
// a top-level window's Parent is its owner (stays above it). Id is the child identifier (GWL_ID).
// Param reaches WM_CREATE in CREATESTRUCT::lpCreateParams.
HWND CreateWindowEx(DWORD ExStyle, const QString &ClassName, const QString &WindowName, DWORD Style, int X, int Y,
                    int Width, int Height, HWND Parent, LONG_PTR Id, HINSTANCE Instance, void *Param);
HWND CreateWindowExA(DWORD ExStyle, const char *ClassName, const char *WindowName, DWORD Style, int X, int Y,
                     int Width, int Height, HWND Parent, void *Menu, HINSTANCE Instance, void *Param);
// Owned top-level windows first, then children (deepest first), each with WM_DESTROY then WM_NCDESTROY;
// releases capture and focus held by the window (WM_KILLFOCUS); the window's region, surface and timers go
// with it. Handles become invalid (IsWindow false). Safe inside the window's own messages: the object stays
// readable until the outermost dispatch returns.
BOOL DestroyWindow(HWND Wnd);
BOOL IsWindow(HWND Wnd);

// ---- messages ------------------------------------------------------------------------------------------

// Synchronous, through the target's current window procedure. A null or destroyed window answers 0.
LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
inline LRESULT SendMessageA(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return SendMessage(Wnd, Msg, WParam, LParam);
}
// Queued behind the input already waiting; delivered by the event loop through the message filter. A null
// window posts a thread message (it reaches only the filter). Answers FALSE for a destroyed window.
BOOL PostMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
inline BOOL PostMessageA(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return PostMessage(Wnd, Msg, WParam, LParam);
}
// Every queued message (posted, input, timer) is shown to Filter before dispatch; answering true stops it.
// One filter: the application object's. nullptr removes it.
void SetMessageFilter(std::function<bool(MSG &)> Filter);
// Called inside the catch block when a window procedure raises while the queue delivers a message (the
// handler may rethrow to look at the exception); nothing crosses the Qt event loop. nullptr: a warning.
void SetExceptionHandler(std::function<void()> Handler);
// What the queue is delivering now (hwnd, message, time, pt); a zero message outside delivery.
const MSG &CurrentMessage();
// Runs pending Qt events and queued messages, then the pending paints (like an empty classic queue). Called
// outside any message, it also deletes the widgets of windows destroyed inside messages, which would otherwise
// wait for a running event loop.
void ProcessPendingMessages();
// Delivers what comes, asleep in the event loop between events, until Done answers true or Ms milliseconds
// have passed; answers Done's last word.
bool ProcessPendingMessagesUntil(const std::function<bool()> &Done, int Ms);
void PostQuitMessage(int ExitCode);

// ---- geometry -------------------------------------------------------------------------------------------

// Screen coordinates.
BOOL GetWindowRect(HWND Wnd, RECT *R);
// (0, 0, client width, client height).
BOOL GetClientRect(HWND Wnd, RECT *R);
BOOL ClientToScreen(HWND Wnd, POINT *P);
BOOL ScreenToClient(HWND Wnd, POINT *P);
// Converts Count points from From's client coordinates to To's (nullptr: the screen).
int MapWindowPoints(HWND From, HWND To, POINT *Points, UINT Count);
// The client area's top-left inside the window rectangle (the non-client band's left and top widths).
POINT ClientOrigin(HWND Wnd);

constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;

inline HWND const HWND_TOP = nullptr;
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(-1);
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(-2);

// X, Y in the parent's client coordinates (screen for top-level windows). Sends WM_WINDOWPOSCHANGING (which
// may change the WINDOWPOS), WM_NCCALCSIZE when the size changes or SWP_FRAMECHANGED is given (then the frame
// is repainted), WM_WINDOWPOSCHANGED, WM_MOVE and WM_SIZE as they apply; WM_MOVE and WM_SIZE come from here,
// not from DefWindowProc's WM_WINDOWPOSCHANGED. Geometry changes the desktop makes are reported the same way.
BOOL SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int Width, int Height, UINT Flags);
BOOL MoveWindow(HWND Wnd, int X, int Y, int Width, int Height, BOOL Repaint);

// ---- hierarchy --------------------------------------------------------------------------------------

HWND GetParent(HWND Wnd);
HWND SetParent(HWND Wnd, HWND NewParent);
BOOL IsChild(HWND Parent, HWND Wnd);
constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;
// Siblings run from the top of the z-order down.
HWND GetWindow(HWND Wnd, UINT Cmd);
HWND GetDesktopWindow();
HWND GetTopLevelWindow(HWND Wnd);
// The deepest visible, enabled child window of Parent at Point (Parent's client coordinates), or Parent.
HWND ChildWindowFromPoint(HWND Parent, POINT Point);
HWND WindowFromPoint(POINT ScreenPoint);

// ---- visibility, state ---------------------------------------------------------------------------------

// The SW_ show commands are in platform/WinDef.h.

// Minimise, maximise and restore are this layer's own state machine: maximising asks WM_GETMINMAXINFO
// (default: the work area grown by the frame width on every side) and gives the window exactly that.
// Answers whether the window was visible before.
BOOL ShowWindow(HWND Wnd, int Cmd);
BOOL IsWindowVisible(HWND Wnd);
BOOL IsIconic(HWND Wnd);
BOOL IsZoomed(HWND Wnd);
BOOL EnableWindow(HWND Wnd, BOOL Enable);
BOOL IsWindowEnabled(HWND Wnd);
// Through WM_SETTEXT (lParam: const QString *) and WM_GETTEXT (lParam: QString * to fill; answers the length),
// so classes with a hosted widget can answer with its text.
BOOL SetWindowText(HWND Wnd, const QString &Text);
QString GetWindowText(HWND Wnd);

// ---- focus, activation, capture, pointer ---------------------------------------------------------------

// Sends WM_KILLFOCUS (wParam: the new window) to the old focus window and WM_SETFOCUS (wParam: the old
// one) to the new one, and gives the Qt keyboard focus to the window's widget (or its hosted widget).
// Answers the previous focus window.
HWND SetFocus(HWND Wnd);
HWND GetFocus();
HWND SetActiveWindow(HWND Wnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND Wnd);
HWND GetForegroundWindow();
// While set, every mouse message goes to the capture window in its client coordinates. Changing or
// releasing it sends WM_CAPTURECHANGED (lParam: the new capture window) to the one losing it.
HWND SetCapture(HWND Wnd);
HWND GetCapture();
BOOL ReleaseCapture();
// The last pointer position this layer saw (from input or SetCursorPos), in screen coordinates.
BOOL GetCursorPos(POINT *P);
BOOL SetCursorPos(int X, int Y);
// Down state (high bit) of a virtual key as of the message being delivered.
short GetKeyState(int VirtualKey);
short GetAsyncKeyState(int VirtualKey);

// ---- painting ------------------------------------------------------------------------------------------

struct PAINTSTRUCT
{
    HDC hdc = nullptr;
    BOOL fErase = FALSE;
    RECT rcPaint;
};

// Client coordinates; nullptr: the whole client area. Schedules a paint; the frame is not touched.
BOOL InvalidateRect(HWND Wnd, const RECT *R, BOOL Erase);
BOOL InvalidateRgn(HWND Wnd, HRGN Rgn, BOOL Erase);
BOOL ValidateRect(HWND Wnd, const RECT *R);
BOOL GetUpdateRect(HWND Wnd, RECT *R, BOOL Erase);
// Paints the window now if anything is invalid (frame first, then client).
BOOL UpdateWindow(HWND Wnd);
constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_FRAME = 0x0400;
constexpr UINT RDW_UPDATENOW = 0x0100;
constexpr UINT RDW_ALLCHILDREN = 0x0080;
BOOL RedrawWindow(HWND Wnd, const RECT *R, HRGN Rgn, UINT Flags);

// The paint DC covers the client area, clipped to the invalid part, which becomes valid. Sends
// WM_ERASEBKGND (wParam: the paint DC) when erasing was asked for.
HDC BeginPaint(HWND Wnd, PAINTSTRUCT *Paint);
BOOL EndPaint(HWND Wnd, const PAINTSTRUCT *Paint);
// Client-area DC; GetWindowDC covers the whole window, non-client band included (origin at the window's
// top-left). Drawing through either shows at once. nullptr window: a DC over the screen image. A DC of the
// desktop window is the screen: it reads the visible top-level windows and draws into them, topmost first.
HDC GetDC(HWND Wnd);
HDC GetWindowDC(HWND Wnd);
int ReleaseDC(HWND Wnd, HDC DC);
// The window a window DC or paint DC draws on (nullptr for bitmap DCs).
HWND WindowFromDC(HDC DC);

// The retained surface: the whole window, non-client band included.
const QImage *WindowSurface(HWND Wnd);

// ---- non-client frame ------------------------------------------------------------------------------------

// The frame DefWindowProc's WM_NCCALCSIZE leaves for the styles: top-level windows with a caption (both bits
// of WS_CAPTION) have the desktop's decorations and no band of ours; otherwise WS_THICKFRAME 4 pixels,
// WS_DLGFRAME or WS_EX_DLGMODALFRAME 3, WS_BORDER 1, WS_EX_CLIENTEDGE 2 more.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
constexpr int SM_MIDEASTENABLED = 74;
// SM_MIDEASTENABLED: 1 when the system locale writes right to left (Arabic, Hebrew, Persian, Urdu ...).
int GetSystemMetrics(int Index);

// ---- regions -------------------------------------------------------------------------------------------

// Window-relative. The window owns Rgn from now on (it is deleted with the window or the next call);
// nullptr removes the shape. Applied to the widget as a mask where the Qt platform supports masks.
int SetWindowRgn(HWND Wnd, HRGN Rgn, BOOL Redraw);
// Copies the window's region into Rgn; answers its kind, or RGN_ERROR when the window has none.
int GetWindowRgn(HWND Wnd, HRGN Rgn);

// ---- scroll bars of hosted widgets ----------------------------------------------------------------------

constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

struct SCROLLINFO
{
    UINT cbSize = 28;
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

constexpr LONG OBJID_HSCROLL = -6;
constexpr LONG OBJID_VSCROLL = -5;
constexpr LONG OBJID_CLIENT = -4;
constexpr DWORD STATE_SYSTEM_UNAVAILABLE = 0x00000001;
constexpr DWORD STATE_SYSTEM_PRESSED = 0x00000008;
constexpr DWORD STATE_SYSTEM_INVISIBLE = 0x00008000;
constexpr DWORD STATE_SYSTEM_OFFSCREEN = 0x00010000;

struct SCROLLBARINFO
{
    DWORD cbSize = 60;
    RECT rcScrollBar;       // screen coordinates
    int dxyLineButton = 0;
    int xyThumbTop = 0;     // relative to rcScrollBar
    int xyThumbBottom = 0;
    int reserved = 0;
    DWORD rgstate[6] = {};  // 0: the bar itself, then its parts
};

// On windows whose class hosts a scrolling widget (the multi-line "EDIT"); units are the widget's steps
// (lines for the edit). Windows without scroll bars answer FALSE.
BOOL GetScrollInfo(HWND Wnd, int Bar, SCROLLINFO *Info);
int SetScrollInfo(HWND Wnd, int Bar, const SCROLLINFO *Info, BOOL Redraw);
int GetScrollPos(HWND Wnd, int Bar);
BOOL GetScrollBarInfo(HWND Wnd, LONG ObjectId, SCROLLBARINFO *Info);

struct COMBOBOXINFO
{
    DWORD cbSize = 64;
    RECT rcItem;
    RECT rcButton;
    DWORD stateButton = 0;
    HWND hwndCombo = nullptr;
    HWND hwndItem = nullptr;
    HWND hwndList = nullptr;
};

// The parts of a combo box window. This layer has no combo box class, so every window answers FALSE.
BOOL GetComboBoxInfo(HWND Combo, COMBOBOXINFO *Info);

// ---- timers -------------------------------------------------------------------------------------------

// WM_TIMER (wParam: Id) is queued to Wnd every Elapse ms (0 never ticks); ticks that fall due while the
// thread is blocked are not stacked up. Setting an existing Id restarts it.
UINT_PTR SetTimer(HWND Wnd, UINT_PTR Id, UINT Elapse, void *Reserved);
BOOL KillTimer(HWND Wnd, UINT_PTR Id);

// ---- window animation ------------------------------------------------------------------------------

constexpr DWORD AW_HOR_POSITIVE = 0x00000001;
constexpr DWORD AW_HOR_NEGATIVE = 0x00000002;
constexpr DWORD AW_VER_POSITIVE = 0x00000004;
constexpr DWORD AW_VER_NEGATIVE = 0x00000008;
constexpr DWORD AW_CENTER = 0x00000010;
constexpr DWORD AW_HIDE = 0x00010000;
constexpr DWORD AW_ACTIVATE = 0x00020000;
constexpr DWORD AW_SLIDE = 0x00040000;
constexpr DWORD AW_BLEND = 0x00080000;

// Blocks for Time ms while the window slides in (or out with AW_HIDE) in the given direction. Its picture
// comes from WM_PRINTCLIENT (wParam: a bitmap DC of the client size) plus the frame, taken once.
BOOL AnimateWindow(HWND Wnd, DWORD Time, DWORD Flags);

// ---- services ------------------------------------------------------------------------------------------

constexpr UINT SPI_GETNONCLIENTMETRICS = 41;
constexpr UINT SPI_GETWORKAREA = 48;
constexpr UINT SPI_GETMENUSHOWDELAY = 0x006A;
constexpr UINT SPI_SETMENUSHOWDELAY = 0x006B;

struct NONCLIENTMETRICS
{
    UINT cbSize = 340;
    int iBorderWidth = 1;
    int iScrollWidth = 16;
    int iScrollHeight = 16;
    int iCaptionWidth = 18;
    int iCaptionHeight = 18;
    LOGFONT lfCaptionFont;
    int iSmCaptionWidth = 12;
    int iSmCaptionHeight = 15;
    LOGFONT lfSmCaptionFont;
    int iMenuWidth = 18;
    int iMenuHeight = 18;
    LOGFONT lfMenuFont;
    LOGFONT lfStatusFont;
    LOGFONT lfMessageFont;
};

// SPI_GETWORKAREA: Param is a RECT* (the primary screen's available area); SPI_GETNONCLIENTMETRICS: a
// NONCLIENTMETRICS* whose fonts are the classic "Tahoma" 8 point set; SPI_GETMENUSHOWDELAY: a DWORD* receiving
// the milliseconds before a pointed-at sub-menu opens (400 until SPI_SETMENUSHOWDELAY sets UiParam).
BOOL SystemParametersInfo(UINT Action, UINT UiParam, void *Param, UINT WinIni);
inline BOOL SystemParametersInfoA(UINT Action, UINT UiParam, void *Param, UINT WinIni)
{
    return SystemParametersInfo(Action, UiParam, Param, WinIni);
}

struct HMONITOR__;
using HMONITOR = HMONITOR__ *;
constexpr DWORD MONITOR_DEFAULTTONULL = 0;
constexpr DWORD MONITOR_DEFAULTTOPRIMARY = 1;
constexpr DWORD MONITOR_DEFAULTTONEAREST = 2;
struct MONITORINFO
{
    DWORD cbSize = 40;
    RECT rcMonitor;
    RECT rcWork;
    DWORD dwFlags = 0;    // MONITORINFOF_PRIMARY
};
constexpr DWORD MONITORINFOF_PRIMARY = 1;
HMONITOR MonitorFromWindow(HWND Wnd, DWORD Flags);
HMONITOR MonitorFromPoint(POINT P, DWORD Flags);
BOOL GetMonitorInfo(HMONITOR Monitor, MONITORINFO *Info);
int MonitorCount();
HMONITOR MonitorByIndex(int Index);

// Milliseconds since an arbitrary start, 32 bits, wrapping (compare by signed difference).
DWORD GetTickCount();
// Blocks the calling thread; nothing is delivered meanwhile.
void Sleep(DWORD Milliseconds);
// Tests replace the wait (to record it instead of waiting); answers the previous hook. Empty = really sleep.
using TSleepHook = std::function<void(DWORD Milliseconds)>;
TSleepHook SetSleepHook(TSleepHook Hook);
int MessageBeep(UINT Type);

// ---- common controls -----------------------------------------------------------------------------------

struct INITCOMMONCONTROLSEX
{
    DWORD dwSize = 8;
    DWORD dwICC = 0;
};
constexpr DWORD ICC_STANDARD_CLASSES = 0x00004000;
constexpr DWORD ICC_INTERNET_CLASSES = 0x00000800;
// Registers "SysIPAddress32" for ICC_INTERNET_CLASSES ("EDIT" and "BUTTON" are always registered).
// FALSE for a null record or a wrong dwSize.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX *Init);

// ---- the Qt side, for the layers above and for tests -------------------------------------------------

QWidget *WindowWidget(HWND Wnd);
HWND WindowFromWidget(const QWidget *Widget);
// A built-in class's procedure places its Qt widget in the client area with this; the widget follows the
// client rectangle and its input is translated into messages like the window's own.
void HostWidget(HWND Wnd, QWidget *Widget);
QWidget *HostedWidget(HWND Wnd);
// Inside the procedure of a hosted widget's class: the Qt input event behind the message being handled is
// delivered to the widget once the translation returns. Answers false when the message did not come from
// Qt input (a sent WM_KEYDOWN, say); the class then acts on the widget itself.
bool PassEventToHostedWidget(HWND Wnd);
// The reason to give Qt for a focus change made now: a keyboard one while a key message is being delivered
// (so styles show the focus frame), else Qt::OtherFocusReason.
Qt::FocusReason FocusChangeReason();
