#pragma once
// The framework's message record and its own messages (CM_* from CM_BASE in the classic order, CN_*
// reflected notifications), on top of the window messages of the platform.

#include "platform/Messages.h"
#include "platform/Window.h"

class TControl;

// One message on its way through a control: WindowProc, then Dispatch to the handler named after it,
// else DefaultHandler. Result is what SendMessage answers.
struct TMessage
{
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;

    WORD WParamLo() const { return LOWORD(WParam); }
    WORD WParamHi() const { return HIWORD(WParam); }
    WORD LParamLo() const { return LOWORD(std::uintptr_t(LParam)); }
    WORD LParamHi() const { return HIWORD(std::uintptr_t(LParam)); }
};

// Typed views of a TMessage, as the classic records overlay it. A view refers to the message it was made
// from, so writing Result through it answers the message.
// The low word of a message parameter, readable and writable in place (as a record field would be).
struct TWordRef
{
    WPARAM &Value;
    operator WORD() const { return LOWORD(Value); }
    TWordRef &operator=(WORD V)
    {
        Value = (Value & ~WPARAM(0xFFFF)) | V;
        return *this;
    }
};

struct TWMKey
{
    TMessage &M;
    TWordRef CharCode() { return TWordRef{M.WParam}; }
    LPARAM KeyData() const { return M.LParam; }
};
using TWMChar = TWMKey;
using TCMDialogKey = TWMKey;
using TCMDialogChar = TWMKey;

struct TWMMouse
{
    TMessage &M;
    WPARAM Keys() const { return M.WParam; }
    int XPos() const { return GET_X_LPARAM(M.LParam); }
    int YPos() const { return GET_Y_LPARAM(M.LParam); }
    POINT Pos() const { return POINT{XPos(), YPos()}; }
};
using TWMNCHitMessage = TWMMouse;

struct TWMMouseWheel
{
    TMessage &M;
    WORD Keys() const { return LOWORD(M.WParam); }
    short WheelDelta() const { return short(HIWORD(M.WParam)); }
    int XPos() const { return GET_X_LPARAM(M.LParam); }
    int YPos() const { return GET_Y_LPARAM(M.LParam); }
};

struct TWMPaint
{
    TMessage &M;
    HDC DC() const { return reinterpret_cast<HDC>(M.WParam); }
};
using TWMEraseBkgnd = TWMPaint;
using TWMPrintClient = TWMPaint;

struct TWMSetFocus
{
    TMessage &M;
    HWND FocusedWnd() const { return reinterpret_cast<HWND>(M.WParam); }
};
using TWMKillFocus = TWMSetFocus;

struct TWMSize
{
    TMessage &M;
    WPARAM SizeType() const { return M.WParam; }
    int Width() const { return LOWORD(std::uintptr_t(M.LParam)); }
    int Height() const { return HIWORD(std::uintptr_t(M.LParam)); }
};

struct TWMActivate
{
    TMessage &M;
    WORD Active() const { return LOWORD(M.WParam); }
    bool Minimized() const { return HIWORD(M.WParam) != 0; }
    HWND ActiveWindow() const { return reinterpret_cast<HWND>(M.LParam); }
};
using TWMMDIActivate = TWMActivate;

struct TWMNCCalcSize
{
    TMessage &M;
    bool CalcValidRects() const { return M.WParam != 0; }
    NCCALCSIZE_PARAMS *CalcSize_Params() const { return reinterpret_cast<NCCALCSIZE_PARAMS *>(M.LParam); }
};

struct TWMScroll
{
    TMessage &M;
    WORD ScrollCode() const { return LOWORD(M.WParam); }
    short Pos() const { return short(HIWORD(M.WParam)); }
    HWND ScrollBar() const { return reinterpret_cast<HWND>(M.LParam); }
};

struct TWMSysCommand
{
    TMessage &M;
    WPARAM CmdType() const { return M.WParam & 0xFFF0; }
};

struct TCMFocusChanged
{
    TMessage &M;
    TControl *Sender() const { return reinterpret_cast<TControl *>(M.LParam); }
};

struct TCMDesignHitTest
{
    TMessage &M;
    WPARAM Keys() const { return M.WParam; }
    int XPos() const { return GET_X_LPARAM(M.LParam); }
    int YPos() const { return GET_Y_LPARAM(M.LParam); }
};

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
constexpr UINT CM_CANCELMODE = CM_BASE + 4;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_CTL3DCHANGED = CM_BASE + 16;
constexpr UINT CM_PARENTCTL3DCHANGED = CM_BASE + 17;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_APPKEYDOWN = CM_BASE + 22;
constexpr UINT CM_APPSYSCOMMAND = CM_BASE + 23;
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_DESIGNHITTEST = CM_BASE + 28;
constexpr UINT CM_ICONCHANGED = CM_BASE + 29;
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr UINT CM_INVOKEHELP = CM_BASE + 31;
constexpr UINT CM_WINDOWHOOK = CM_BASE + 32;
constexpr UINT CM_RELEASE = CM_BASE + 33;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 36;
constexpr UINT CM_WININICHANGE = CM_BASE + 37;
constexpr UINT CM_FONTCHANGE = CM_BASE + 38;
constexpr UINT CM_TIMECHANGE = CM_BASE + 39;
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr UINT CM_UIACTIVATE = CM_BASE + 41;
constexpr UINT CM_UIDEACTIVATE = CM_BASE + 42;
constexpr UINT CM_DOCWINDOWACTIVATE = CM_BASE + 43;
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
constexpr UINT CM_GETDATALINK = CM_BASE + 45;
constexpr UINT CM_CHILDKEY = CM_BASE + 46;
constexpr UINT CM_DRAG = CM_BASE + 47;
constexpr UINT CM_HINTSHOW = CM_BASE + 48;
constexpr UINT CM_DIALOGHANDLE = CM_BASE + 49;
constexpr UINT CM_ISTOOLCONTROL = CM_BASE + 50;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
constexpr UINT CM_INVALIDATE = CM_BASE + 52;
constexpr UINT CM_SYSFONTCHANGED = CM_BASE + 53;
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
constexpr UINT CM_CHANGED = CM_BASE + 55;
constexpr UINT CM_DOCKCLIENT = CM_BASE + 56;
constexpr UINT CM_UNDOCKCLIENT = CM_BASE + 57;
constexpr UINT CM_FLOAT = CM_BASE + 58;
constexpr UINT CM_BORDERCHANGED = CM_BASE + 59;
constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
constexpr UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
constexpr UINT CM_ALLCHILDRENFLIPPED = CM_BASE + 62;
constexpr UINT CM_ACTIONUPDATE = CM_BASE + 63;
constexpr UINT CM_ACTIONEXECUTE = CM_BASE + 64;
constexpr UINT CM_HINTSHOWPAUSE = CM_BASE + 65;
constexpr UINT CM_DOCKNOTIFICATION = CM_BASE + 66;
constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;

static_assert(CM_RECREATEWND == 0xB033 && CM_FLOAT == 0xB03A);

// Notifications a parent reflects back to the child window they concern.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CHARTOITEM = CN_BASE + 0x002F;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY;

static_assert(CN_PARENTNOTIFY == 0xBE10);
