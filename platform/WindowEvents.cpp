// The one place where Qt events become messages: the widget that shows a window's surface, the filter on
// hosted widgets, and the translation of mouse, wheel, keys, focus, activation, size, move and close.
#include "platform/WindowObject.h"

#include <QApplication>
#include <QChildEvent>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPaintEvent>
#include <QWheelEvent>
#include <QWindow>
#include <QWindowStateChangeEvent>

using namespace WindowCore;

namespace {

// The Qt input event being translated, so that a hosted widget's class can let it through.
struct TInputContext
{
    QEvent *Event = nullptr;
    QWidget *ReceivedBy = nullptr;
    HWND PassTo = nullptr;
};

struct TEventGlobals
{
    QHash<const QWidget *, HWND> Surfaces;
    QHash<const QWidget *, HWND> Hosts;
    std::vector<TInputContext *> Contexts;
    bool Bypass = false;     // a copy of an event on its way to a hosted widget
    // The input event being handed to a hosted widget; if the widget ignores it, Qt passes it up to the
    // window's own widget, which must not translate it a second time.
    QEvent *Delivering = nullptr;
    HWND Moving = nullptr;   // the window a manual caption move drags
    QPoint MoveStartCursor;
    QPoint MoveStartPos;
    QPointer<QObject> HostFilter;
    std::vector<QPointer<QWidget>> Deferred;
};

TEventGlobals &EG()
{
    static TEventGlobals Globals;
    return Globals;
}

struct TContextScope
{
    TContextScope(TInputContext &C) { EG().Contexts.push_back(&C); }
    ~TContextScope() { EG().Contexts.pop_back(); }
};

// ---- virtual keys --------------------------------------------------------------------------------------

bool IsKeypad(const QKeyEvent *E) { return E->modifiers() & Qt::KeypadModifier; }

WORD VirtualKeyOf(const QKeyEvent *E)
{
    int K = E->key();
    if (K >= Qt::Key_A && K <= Qt::Key_Z)
        return WORD(K);
    if (K >= Qt::Key_0 && K <= Qt::Key_9)
        return IsKeypad(E) ? WORD(VK_NUMPAD0 + (K - Qt::Key_0)) : WORD(K);
    if (K >= Qt::Key_F1 && K <= Qt::Key_F24)
        return WORD(VK_F1 + (K - Qt::Key_F1));
    switch (K) {
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_End: return VK_END;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt:
    case Qt::Key_AltGr: return VK_MENU;
    case Qt::Key_Meta:
    case Qt::Key_Super_L: return VK_LWIN;
    case Qt::Key_Super_R: return VK_RWIN;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_Print: return VK_SNAPSHOT;
    case Qt::Key_Clear: return VK_CLEAR;
    case Qt::Key_Help: return VK_HELP;
    case Qt::Key_Asterisk: return IsKeypad(E) ? VK_MULTIPLY : WORD('8');
    case Qt::Key_Plus: return IsKeypad(E) ? VK_ADD : VK_OEM_PLUS;
    case Qt::Key_Minus: return IsKeypad(E) ? VK_SUBTRACT : VK_OEM_MINUS;
    case Qt::Key_Slash: return IsKeypad(E) ? VK_DIVIDE : VK_OEM_2;
    case Qt::Key_Period: return IsKeypad(E) ? VK_DECIMAL : VK_OEM_PERIOD;
    case Qt::Key_Comma: return IsKeypad(E) ? VK_DECIMAL : VK_OEM_COMMA;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return VK_OEM_1;
    case Qt::Key_Equal: return VK_OEM_PLUS;
    case Qt::Key_Less: return VK_OEM_COMMA;
    case Qt::Key_Underscore: return VK_OEM_MINUS;
    case Qt::Key_Greater: return VK_OEM_PERIOD;
    case Qt::Key_Question: return VK_OEM_2;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return VK_OEM_3;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return VK_OEM_4;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return VK_OEM_5;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return VK_OEM_6;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return VK_OEM_7;
    // Shifted digits of the US layout.
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_ParenLeft: return '9';
    case Qt::Key_ParenRight: return '0';
    default: return 0;
    }
}

bool IsExtendedKey(WORD VK, const QKeyEvent *E)
{
    switch (VK) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_HOME: case VK_END: case VK_PRIOR:
    case VK_NEXT: case VK_INSERT: case VK_DELETE: case VK_DIVIDE:
        return !IsKeypad(E) || VK == VK_DIVIDE;
    case VK_RETURN:
        return E->key() == Qt::Key_Enter;
    default:
        return false;
    }
}

// The characters TranslateMessage would make of the key.
QString CharsOf(const QKeyEvent *E, WORD VK)
{
    Qt::KeyboardModifiers M = E->modifiers();
    if ((M & Qt::ControlModifier) && !(M & Qt::AltModifier) && VK >= 'A' && VK <= 'Z')
        return QString(QChar(VK - 'A' + 1));
    // Keys with a fixed character, whatever text the platform attached.
    switch (E->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return QStringLiteral("\t");
    case Qt::Key_Return:
    case Qt::Key_Enter: return QStringLiteral("\r");
    case Qt::Key_Escape: return QString(QChar(0x1B));
    case Qt::Key_Backspace: return QString(QChar(0x08));
    default: break;
    }
    QString Text = E->text();
    if (Text.isEmpty() && (M & Qt::AltModifier) && ((VK >= 'A' && VK <= 'Z') || (VK >= '0' && VK <= '9')))
        Text = (M & Qt::ShiftModifier) || VK <= '9' ? QString(QChar(VK)) : QString(QChar(VK)).toLower();
    Text.remove(QChar(0x7F));
    if (M & Qt::ControlModifier) {
        // Only control characters come of Ctrl combinations.
        QString Kept;
        for (QChar C : Text)
            if (C.unicode() < 0x20)
                Kept += C;
        Text = Kept;
    }
    return Text;
}

// ---- helpers -------------------------------------------------------------------------------------------

HWND LiveSurfaceWindow(const QWidget *W)
{
    HWND H = EG().Surfaces.value(W, nullptr);
    return IsWindow(H) ? H : nullptr;
}

// The window whose hosted widget W is (or lies in).
HWND HostWindowOf(const QWidget *W)
{
    for (; W; W = W->parentWidget()) {
        HWND H = EG().Hosts.value(W, nullptr);
        if (H)
            return IsWindow(H) && H->Hosted == W ? H : nullptr;
        if (EG().Surfaces.contains(W))
            return nullptr;
    }
    return nullptr;
}

WPARAM MouseKeys(Qt::MouseButtons B, Qt::KeyboardModifiers M)
{
    WPARAM K = 0;
    if (B & Qt::LeftButton) K |= MK_LBUTTON;
    if (B & Qt::RightButton) K |= MK_RBUTTON;
    if (B & Qt::MiddleButton) K |= MK_MBUTTON;
    if (M & Qt::ShiftModifier) K |= MK_SHIFT;
    if (M & Qt::ControlModifier) K |= MK_CONTROL;
    return K;
}

// Mouse input of a disabled child goes to its first enabled ancestor; a disabled top-level gets none.
HWND EnabledReceiver(HWND W)
{
    while (W && (W->Style & WS_DISABLED))
        W = W->Parent;
    return W;
}

UINT ClientMouseMessage(QEvent::Type T, Qt::MouseButton B, HWND Target)
{
    int Index = B == Qt::LeftButton ? 0 : B == Qt::RightButton ? 1 : B == Qt::MiddleButton ? 2 : -1;
    if (T == QEvent::MouseMove)
        return WM_MOUSEMOVE;
    if (Index < 0)
        return 0;
    UINT Base = WM_LBUTTONDOWN + 3 * UINT(Index);
    if (T == QEvent::MouseButtonRelease)
        return Base + 1;
    if (T == QEvent::MouseButtonDblClick && (Target->Class.style & CS_DBLCLKS))
        return Base + 2;
    return Base;
}

UINT NonClientMouseMessage(QEvent::Type T, Qt::MouseButton B)
{
    if (T == QEvent::MouseMove)
        return WM_NCMOUSEMOVE;
    UINT Base = B == Qt::LeftButton ? WM_NCLBUTTONDOWN : B == Qt::RightButton ? WM_NCRBUTTONDOWN : 0;
    if (!Base)
        return 0;
    if (T == QEvent::MouseButtonRelease)
        return Base + 1;
    if (T == QEvent::MouseButtonDblClick)
        return Base + 2;
    return Base;
}

MSG MakeMsg(HWND W, UINT Message, WPARAM WParam, LPARAM LParam)
{
    MSG M;
    M.hwnd = W;
    M.message = Message;
    M.wParam = WParam;
    M.lParam = LParam;
    return M;
}

// A manual caption move in progress takes the pointer until the button is released.
bool FollowManualMove(QMouseEvent *E)
{
    HWND W = EG().Moving;
    if (!W)
        return false;
    if (!IsWindow(W)) {
        EG().Moving = nullptr;
        return false;
    }
    QPoint Global = E->globalPosition().toPoint();
    if (E->type() == QEvent::MouseMove) {
        QPoint P = EG().MoveStartPos + (Global - EG().MoveStartCursor);
        SetWindowPos(W, nullptr, P.x(), P.y(), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (E->type() == QEvent::MouseButtonRelease) {
        EG().Moving = nullptr;
        if (W->Widget && QWidget::mouseGrabber() == W->Widget)
            W->Widget->releaseMouse();
    }
    SetCursorScreenPos(Global);
    return true;
}

// Translates a mouse event that From (the window's widget or a widget hosted in it) received.
void TranslateMouse(HWND Receiver, QWidget *From, QMouseEvent *E)
{
    QPoint Local = E->position().toPoint();
    if (From != Receiver->Widget)
        Local = From->mapTo(Receiver->Widget, Local);
    QPoint Screen = ScreenOrigin(Receiver) + Local;
    SetCursorScreenPos(Screen);
    SetModifierState(E->modifiers(), E->buttons());

    HWND Target = CaptureWindow();
    bool Captured = Target != nullptr;
    if (!Captured)
        Target = EnabledReceiver(Receiver);
    if (!Target)
        return;
    WPARAM Keys = MouseKeys(E->buttons(), E->modifiers());
    LRESULT Hit = HTCLIENT;
    if (!Captured) {
        // The window says what the point is; a transparent part hands the pointer to the parent.
        for (;;) {
            Hit = SendMessage(Target, WM_NCHITTEST, 0, PointToLParam(Screen.x(), Screen.y()));
            if (!IsWindow(Target))
                return;
            if (Hit != HTTRANSPARENT || !Target->Parent)
                break;
            Target = EnabledReceiver(Target->Parent);
            if (!Target)
                return;
        }
        if (Hit == HTNOWHERE || Hit == HTTRANSPARENT || Hit == HTERROR)
            return;
    }
    QPoint InWindow = Screen - ScreenOrigin(Target);
    if (Hit == HTCLIENT) {
        UINT Message = ClientMouseMessage(E->type(), E->button(), Target);
        if (!Message)
            return;
        QPoint Client = InWindow - Target->ClientRect.topLeft();
        DeliverQueued(MakeMsg(Target, Message, Keys, PointToLParam(Client.x(), Client.y())));
        return;
    }
    UINT Message = NonClientMouseMessage(E->type(), E->button());
    if (Message)
        DeliverQueued(MakeMsg(Target, Message, WPARAM(Hit), PointToLParam(Screen.x(), Screen.y())));
}

void TranslateWheel(HWND Receiver, QWidget *From, QWheelEvent *E)
{
    QPoint Local = E->position().toPoint();
    if (From != Receiver->Widget)
        Local = From->mapTo(Receiver->Widget, Local);
    QPoint Screen = ScreenOrigin(Receiver) + Local;
    SetCursorScreenPos(Screen);
    SetModifierState(E->modifiers(), E->buttons());
    HWND Target = CaptureWindow() ? CaptureWindow() : EnabledReceiver(Receiver);
    if (!Target)
        return;
    int Delta = E->angleDelta().y() ? E->angleDelta().y() : E->angleDelta().x();
    WPARAM WParam = MouseKeys(E->buttons(), E->modifiers()) | (WPARAM(WORD(short(Delta))) << 16);
    DeliverQueued(MakeMsg(Target, WM_MOUSEWHEEL, WParam, PointToLParam(Screen.x(), Screen.y())));
}

void TranslateKey(HWND Receiver, QKeyEvent *E)
{
    HWND Focus = FocusWindow();
    HWND Target = Focus && GetTopLevelWindow(Focus) == GetTopLevelWindow(Receiver) ? Focus : Receiver;
    WORD VK = VirtualKeyOf(E);
    bool Down = E->type() == QEvent::KeyPress;
    // A held key repeats as further key-downs; Qt's releases between the repeats are not key-ups.
    if (!Down && E->isAutoRepeat())
        return;
    Qt::KeyboardModifiers M = E->modifiers();
    SetModifierState(M, QApplication::mouseButtons());
    SetKeyDown(VK, Down);

    bool Alt = M & Qt::AltModifier;
    bool Ctrl = M & Qt::ControlModifier;
    bool Sys = (Alt && !Ctrl) || VK == VK_F1 + 9 || (VK == VK_MENU && !Ctrl);
    LPARAM Data = 1 | (LPARAM(E->nativeScanCode() & 0xFF) << 16);
    if (IsExtendedKey(VK, E))
        Data |= KF_EXTENDED_BIT;
    if (Alt)
        Data |= KF_ALTDOWN_BIT;
    if (!Down || E->isAutoRepeat())
        Data |= KF_REPEAT_BIT;
    if (!Down)
        Data |= KF_UP_BIT;

    bool Delivered = true;
    if (VK) {
        UINT Message = Down ? (Sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (Sys ? WM_SYSKEYUP : WM_KEYUP);
        Delivered = DeliverQueued(MakeMsg(Target, Message, VK, Data));
    }
    if (!Down || !Delivered)
        return;
    for (QChar C : CharsOf(E, VK)) {
        if (!IsWindow(Target))
            return;
        DeliverQueued(MakeMsg(Target, Sys ? WM_SYSCHAR : WM_CHAR, C.unicode(), Data));
    }
}

// Qt's own focus moves (Tab, a focused widget hidden) are not the user's: this layer owns Tab, and a hidden
// window's focus is this layer's business.
void FocusFromQt(HWND W, QFocusEvent *E)
{
    Qt::FocusReason R = E->reason();
    if (R == Qt::TabFocusReason || R == Qt::BacktabFocusReason || R == Qt::PopupFocusReason)
        return;
    if (IsWindow(W) && GetFocus() != W)
        SetFocus(W);
}

// Qt focus that left for a widget outside this layer (not for another window: that one's FocusIn acts).
void FocusOutFromQt(HWND W, QFocusEvent *E)
{
    if (E->reason() == Qt::ActiveWindowFocusReason || E->reason() == Qt::PopupFocusReason)
        return;
    QWidget *Now = QApplication::focusWidget();
    if (Now && WindowFromWidget(Now))
        return;
    if (GetFocus() == W)
        SetFocus(nullptr);
}

void DeliverLeave(HWND W)
{
    if (IsWindow(W) && !CaptureWindow())
        DeliverQueued(MakeMsg(W, WM_MOUSELEAVE, 0, 0));
}

// Hands E to a hosted widget past the translation, already done.
void DeliverToHosted(QObject *To, QEvent *E)
{
    QEvent *const OuterDelivering = EG().Delivering;
    const bool OuterBypass = EG().Bypass;
    EG().Bypass = true;
    EG().Delivering = E;
    QApplication::sendEvent(To, E);
    EG().Bypass = OuterBypass;
    EG().Delivering = OuterDelivering;
}

// A copy of a key event for the hosted widget that should have had it.
void ForwardToHosted(HWND W, QEvent *E)
{
    if (!IsWindow(W) || !W->Hosted)
        return;
    if (E->type() != QEvent::KeyPress && E->type() != QEvent::KeyRelease)
        return;
    QWidget *To = W->Hosted->focusWidget();
    if (!To || (To != W->Hosted && !W->Hosted->isAncestorOf(To)))
        To = W->Hosted->focusProxy() ? W->Hosted->focusProxy() : W->Hosted.data();
    auto *K = static_cast<QKeyEvent *>(E);
    QKeyEvent Copy(K->type(), K->key(), K->modifiers(), K->nativeScanCode(), K->nativeVirtualKey(),
                   K->nativeModifiers(), K->text(), K->isAutoRepeat(), K->count());
    DeliverToHosted(To, &Copy);
}

bool IsInputEvent(QEvent::Type T)
{
    switch (T) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return true;
    default:
        return false;
    }
}

// Translates an input event received by From on behalf of W; answers the window the class let it through to.
HWND TranslateInput(HWND W, QWidget *From, QEvent *E)
{
    TInputContext Context;
    Context.Event = E;
    Context.ReceivedBy = From;
    TContextScope Scope(Context);
    Guarded([&] {
        switch (E->type()) {
        case QEvent::Wheel:
            TranslateWheel(W, From, static_cast<QWheelEvent *>(E));
            break;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            TranslateKey(W, static_cast<QKeyEvent *>(E));
            break;
        default:
            if (!FollowManualMove(static_cast<QMouseEvent *>(E)))
                TranslateMouse(W, From, static_cast<QMouseEvent *>(E));
            break;
        }
    });
    return Context.PassTo;
}

// Pointer moves over a hosted widget are the window's moves too, buttons or not.
void WatchHosted(QWidget *W)
{
    W->installEventFilter(EG().HostFilter);
    W->setMouseTracking(true);
}

void InstallFilterTree(QWidget *W)
{
    WatchHosted(W);
    for (QWidget *C : W->findChildren<QWidget *>())
        WatchHosted(C);
}

// Watches hosted widgets and their descendants: their input is translated like the window's own.
class THostFilter : public QObject
{
protected:
    bool eventFilter(QObject *O, QEvent *E) override
    {
        if (EG().Bypass || !O->isWidgetType())
            return false;
        if (E->type() == QEvent::ChildAdded) {
            QObject *C = static_cast<QChildEvent *>(E)->child();
            if (C && C->isWidgetType())
                WatchHosted(static_cast<QWidget *>(C));
            return false;
        }
        QWidget *From = static_cast<QWidget *>(O);
        bool Input = IsInputEvent(E->type());
        if (!Input && E->type() != QEvent::FocusIn && E->type() != QEvent::Leave)
            return false;
        HWND W = HostWindowOf(From);
        if (!W)
            return false;
        DispatchGuard Guard;
        if (E->type() == QEvent::FocusIn) {
            Guarded([&] { FocusFromQt(W, static_cast<QFocusEvent *>(E)); });
            return false;
        }
        if (E->type() == QEvent::Leave) {
            if (From == W->Hosted)
                Guarded([&] { DeliverLeave(W); });
            return false;
        }
        HWND PassTo = TranslateInput(W, From, E);
        if (PassTo == W) {
            DeliverToHosted(From, E);
            return true;
        }
        if (PassTo)
            ForwardToHosted(PassTo, E);
        return true;
    }
};

} // namespace

// ---- the surface widget --------------------------------------------------------------------------------

SurfaceWidget::SurfaceWidget(HWND AWnd, QWidget *Parent, Qt::WindowFlags Flags) : QWidget(Parent, Flags), Wnd(AWnd)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
}

bool SurfaceWidget::event(QEvent *E)
{
    if (!Wnd || !IsWindow(Wnd))
        return QWidget::event(E);
    DispatchGuard Guard;
    HWND W = Wnd;
    switch (E->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        if (E == EG().Delivering) {
            E->accept();
            return true;
        }
        HWND PassTo = TranslateInput(W, this, E);
        if (PassTo)
            ForwardToHosted(PassTo, E);
        E->accept();
        return true;
    }
    case QEvent::ShortcutOverride:
        // Keys are ours: no Qt shortcut takes them first.
        E->accept();
        return true;
    case QEvent::FocusIn:
        Guarded([&] { FocusFromQt(W, static_cast<QFocusEvent *>(E)); });
        break;
    case QEvent::FocusOut:
        Guarded([&] { FocusOutFromQt(W, static_cast<QFocusEvent *>(E)); });
        break;
    case QEvent::Leave:
        Guarded([&] { DeliverLeave(W); });
        break;
    case QEvent::WindowActivate:
        if (IsTopLevel(W) && !W->ApplyingQt)
            Guarded([&] { ActivateFromQt(W); });
        break;
    case QEvent::WindowDeactivate:
        if (IsTopLevel(W) && !W->ApplyingQt)
            Guarded([&] { DeactivateFromQt(W); });
        break;
    case QEvent::Close:
        Guarded([&] { DeliverQueued(MakeMsg(W, WM_CLOSE, 0, 0)); });
        E->ignore();
        return true;
    case QEvent::Move:
    case QEvent::Resize:
        if (IsTopLevel(W) && !W->ApplyingQt && isVisible())
            Guarded([&] { SetWindowRectFromQt(W, geometry()); });
        break;
    case QEvent::WindowStateChange:
        if (IsTopLevel(W) && !W->ApplyingQt)
            Guarded([&] { SyncShowStateFromQt(W, windowState()); });
        break;
    default:
        break;
    }
    if (!Wnd)
        return true;
    return QWidget::event(E);
}

void SurfaceWidget::paintEvent(QPaintEvent *E)
{
    if (!Wnd || !IsWindow(Wnd))
        return;
    DispatchGuard Guard;
    if (HasPendingPaint(Wnd) && !Wnd->InUpdate)
        Guarded([&] { UpdateWindow(Wnd); });
    if (!Wnd)
        return;
    QPainter P(this);
    P.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect &R : E->region())
        P.drawImage(R.topLeft(), Wnd->Surface, R);
}

// ---- shared with the other window units ----------------------------------------------------------------

namespace WindowCore {

SurfaceWidget *CreateSurfaceWidget(HWND W, QWidget *Parent, Qt::WindowFlags Flags)
{
    auto *S = new SurfaceWidget(W, Parent, Flags);
    S->hide();
    EG().Surfaces.insert(S, W);
    W->Widget = S;
    UpdateFocusPolicy(W);
    return S;
}

void DetachSurfaceWidget(HWND W, bool Outermost)
{
    std::function<void(HWND)> Forget = [&](HWND H) {
        for (HWND C : H->Children)
            Forget(C);
        if (H->Hosted)
            EG().Hosts.remove(H->Hosted);
        if (H->Widget) {
            EG().Surfaces.remove(H->Widget);
            H->Widget->Wnd = nullptr;
        }
        if (EG().Moving == H)
            EG().Moving = nullptr;
    };
    Forget(W);
    if (W->Widget) {
        if (QWidget::mouseGrabber() == W->Widget)
            W->Widget->releaseMouse();
        W->Widget->hide();
        // Otherwise the widget may be delivering the very event that destroys its window.
        if (Outermost) {
            delete W->Widget;
        } else {
            W->Widget->deleteLater();
            EG().Deferred.push_back(W->Widget);
        }
    }
    std::function<void(HWND)> Clear = [&](HWND H) {
        for (HWND C : H->Children)
            Clear(C);
        H->Widget = nullptr;
    };
    Clear(W);
}

// Without a running event loop (tests, start-up) deleteLater would wait for ever.
void DeleteDeferredWidgets()
{
    std::vector<QPointer<QWidget>> Widgets;
    Widgets.swap(EG().Deferred);
    for (QPointer<QWidget> &W : Widgets)
        delete W.data();
}

void InstallHostFilter(HWND W, QWidget *Widget)
{
    if (!EG().HostFilter) {
        EG().HostFilter = new THostFilter;
        EG().HostFilter->setParent(QCoreApplication::instance());
    }
    EG().Hosts.insert(Widget, W);
    InstallFilterTree(Widget);
}

void UpdateFocusPolicy(HWND W)
{
    if (!W->Widget)
        return;
    // Clicks focus only windows that take part in tabbing; a click elsewhere leaves the focus where it is.
    bool TabStop = !IsTopLevel(W) && (W->Style & WS_TABSTOP);
    W->Widget->setFocusPolicy(TabStop ? Qt::StrongFocus : Qt::NoFocus);
}

void StartMove(HWND Top)
{
    if (!Top->Widget)
        return;
    QWindow *Native = Top->Widget->windowHandle();
    if (Native && Top->Widget->isVisible() && Native->startSystemMove())
        return;
    EG().Moving = Top;
    EG().MoveStartCursor = CursorScreenPos();
    EG().MoveStartPos = Top->WindowRect.topLeft();
    if (Top->Widget->isVisible())
        Top->Widget->grabMouse();
}

void StartResize(HWND W, int HitCode)
{
    HWND Top = GetTopLevelWindow(W);
    if (Top != W || !W->Widget || !W->Widget->windowHandle() || !W->Widget->isVisible())
        return;
    Qt::Edges Edges;
    if (HitCode == HTLEFT || HitCode == HTTOPLEFT || HitCode == HTBOTTOMLEFT)
        Edges |= Qt::LeftEdge;
    if (HitCode == HTRIGHT || HitCode == HTTOPRIGHT || HitCode == HTBOTTOMRIGHT)
        Edges |= Qt::RightEdge;
    if (HitCode == HTTOP || HitCode == HTTOPLEFT || HitCode == HTTOPRIGHT)
        Edges |= Qt::TopEdge;
    if (HitCode == HTBOTTOM || HitCode == HTBOTTOMLEFT || HitCode == HTBOTTOMRIGHT)
        Edges |= Qt::BottomEdge;
    W->Widget->windowHandle()->startSystemResize(Edges);
}

} // namespace WindowCore

HWND WindowFromWidget(const QWidget *Widget)
{
    if (!Widget)
        return nullptr;
    if (HWND H = LiveSurfaceWindow(Widget))
        return H;
    return HostWindowOf(Widget);
}

bool PassEventToHostedWidget(HWND Wnd)
{
    if (!IsWindow(Wnd) || !Wnd->Hosted || EG().Contexts.empty())
        return false;
    const MSG &M = CurrentMessage();
    if (M.hwnd != Wnd)
        return false;
    // Alt, F10 and Alt+letter are the menu's, through the window's default handling: a hosted widget would
    // swallow them, and a line edit would type the letter.
    if (M.message == WM_SYSKEYDOWN || M.message == WM_SYSKEYUP || M.message == WM_SYSCHAR)
        return false;
    EG().Contexts.back()->PassTo = Wnd;
    return true;
}
