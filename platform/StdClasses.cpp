// The built-in window classes: their registration and what their procedures share.
#include "platform/StdClasses.h"
#include "platform/ClassHost.h"

#include <QVariant>
#include <QWidget>

#include <algorithm>

namespace ClassHost {

void NotifyParent(HWND Wnd, WORD Code)
{
    HWND Parent = GetParent(Wnd);
    if (Parent)
        SendMessage(Parent, WM_COMMAND, MAKEWPARAM(WORD(GetWindowLong(Wnd, GWL_ID)), Code), LPARAM(Wnd));
}

bool IsInputMessage(UINT Msg)
{
    return (Msg >= WM_KEYFIRST && Msg <= WM_KEYLAST) || (Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST);
}

bool IsInputEvent(QEvent::Type Type)
{
    switch (Type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

namespace {

bool Down(int VirtualKey) { return GetKeyState(VirtualKey) < 0; }

Qt::Key NavigationKey(WPARAM VirtualKey)
{
    switch (VirtualKey) {
    case VK_LEFT: return Qt::Key_Left;
    case VK_RIGHT: return Qt::Key_Right;
    case VK_UP: return Qt::Key_Up;
    case VK_DOWN: return Qt::Key_Down;
    case VK_HOME: return Qt::Key_Home;
    case VK_END: return Qt::Key_End;
    case VK_PRIOR: return Qt::Key_PageUp;
    case VK_NEXT: return Qt::Key_PageDown;
    case VK_DELETE: return Qt::Key_Delete;
    default: return Qt::Key_unknown;
    }
}

} // namespace

std::unique_ptr<QKeyEvent> KeyForMessage(UINT Msg, WPARAM WParam)
{
    if (Msg == WM_KEYDOWN) {
        const Qt::Key Key = NavigationKey(WParam);
        if (Key == Qt::Key_unknown)
            return nullptr;
        Qt::KeyboardModifiers Mods;
        if (Down(VK_SHIFT))
            Mods |= Qt::ShiftModifier;
        if (Down(VK_CONTROL))
            Mods |= Qt::ControlModifier;
        return std::make_unique<QKeyEvent>(QEvent::KeyPress, Key, Mods);
    }
    if (Msg != WM_CHAR)
        return nullptr;
    const QChar C{char16_t(WParam)};
    switch (C.unicode()) {
    case 0x01: return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier);
    case 0x03: return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    case 0x16: return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    case 0x18: return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_X, Qt::ControlModifier);
    case 0x1A: return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
    case 0x08: return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    case 0x09: return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    case 0x0A:
    case 0x0D: return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    case 0x1B: return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    default: break;
    }
    if (!C.isPrint())
        return nullptr;
    // Printable Latin keys are their upper-case codes; the text is what gets typed.
    const int Key = C.toUpper().unicode() < 0x100 ? C.toUpper().unicode() : int(Qt::Key_unknown);
    return std::make_unique<QKeyEvent>(QEvent::KeyPress, Key, Qt::NoModifier, QString(C));
}

QString TextOf(LPARAM LParam)
{
    const QString *Text = reinterpret_cast<const QString *>(LParam);
    return Text ? *Text : QString();
}

LRESULT ReturnText(LPARAM LParam, const QString &Text)
{
    if (QString *Out = reinterpret_cast<QString *>(LParam))
        *Out = Text;
    return Text.size();
}

bool CommonMessage(HWND, QWidget *Widget, UINT Msg, WPARAM WParam, LPARAM, LRESULT *Result)
{
    static const char *const FontProperty = "kivWindowFont";
    *Result = 0;
    switch (Msg) {
    case WM_SETFONT: {
        HFONT Font = reinterpret_cast<HFONT>(WParam);
        Widget->setProperty(FontProperty, QVariant::fromValue(quintptr(Font)));
        HFONT Shown = Font ? Font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        Widget->setFont(Shown->QtFont());
        return true;
    }
    case WM_GETFONT:
        *Result = LRESULT(Widget->property(FontProperty).value<quintptr>());
        return true;
    case WM_ENABLE:
        Widget->setEnabled(WParam != 0);
        return true;
    default:
        return false;
    }
}

WNDCLASS ClassRecord(const QString &Name, WNDPROCFN Proc, int BackgroundColor)
{
    // One brush per colour, shared by every window of the classes as long as the program runs.
    static HBRUSH Brushes[COLOR_MENUBAR + 1] = {};
    HBRUSH &Background = Brushes[std::clamp(BackgroundColor, 0, COLOR_MENUBAR)];
    if (!Background) {
        Background = CreateSolidBrush(GetSysColor(BackgroundColor));
        Background->Stock = true;
    }
    WNDCLASS C;
    C.style = CS_DBLCLKS;
    C.lpfnWndProc = MakeWndProc(Proc);
    C.hbrBackground = Background;
    C.lpszClassName = Name;
    return C;
}

} // namespace ClassHost

void RegisterStandardClasses()
{
    const WNDCLASS Edit = ClassHost::ClassRecord(QStringLiteral("EDIT"), ClassHost::EditProc, COLOR_WINDOW);
    RegisterClass(&Edit);
    const WNDCLASS Button = ClassHost::ClassRecord(QStringLiteral("BUTTON"), ClassHost::ButtonProc, COLOR_BTNFACE);
    RegisterClass(&Button);
    RegisterPopupMenuClass();
}

void RegisterIpAddressClass()
{
    const WNDCLASS Ip = ClassHost::ClassRecord(QStringLiteral("SysIPAddress32"), ClassHost::IpAddressProc, COLOR_WINDOW);
    RegisterClass(&Ip);
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX *Init)
{
    static_assert(sizeof(INITCOMMONCONTROLSEX) == 8, "the record's size is part of the call");
    if (!Init || Init->dwSize != sizeof(INITCOMMONCONTROLSEX))
        return FALSE;
    if (Init->dwICC & ICC_INTERNET_CLASSES)
        RegisterIpAddressClass();
    return TRUE;
}
