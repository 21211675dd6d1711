#include "framework/controls/Controls.h"

#include "framework/forms/Forms.h"

#include <QHash>

#include <algorithm>

namespace {

// The control whose window CreateWindowEx is making; InitWndProc takes it on the window's first message.
TWinControl *CreationControl = nullptr;

QHash<HWND, TWinControl *> &ControlTable()
{
    static QHash<HWND, TWinControl *> Table;
    return Table;
}

int WndProcDepth = 0;

} // namespace

LRESULT InitWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TWinControl *Control = std::exchange(CreationControl, nullptr);
    if (!Control)
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    Control->FHandle = Wnd;
    ControlTable().insert(Wnd, Control);
    SetWindowLong(Wnd, GWL_USERDATA, LONG_PTR(Control));
    SetWindowLong(Wnd, GWL_WNDPROC, LONG_PTR(Control->FObjectInstance));
    return CallWindowProc(Control->FObjectInstance, Wnd, Msg, WParam, LParam);
}

static WNDPROC InitWndProcInstance()
{
    static const WNDPROC Proc = MakeWndProc(&InitWndProc);
    return Proc;
}

TWinControl *FindControl(HWND Handle)
{
    return Handle ? ControlTable().value(Handle) : nullptr;
}

HWND AllocateHWnd(TWndMethod Method)
{
    const QString ClassName = QStringLiteral("TPUtilWindow");
    WNDCLASS Class;
    if (!GetClassInfo(HInstance, ClassName, &Class)) {
        Class.lpfnWndProc = MakeWndProc(&DefWindowProc);
        Class.lpszClassName = ClassName;
        RegisterClass(&Class);
    }
    HWND Wnd = CreateWindowEx(WS_EX_TOOLWINDOW, ClassName, QString(), WS_POPUP, 0, 0, 0, 0, nullptr, 0, HInstance,
                              nullptr);
    if (!Wnd)
        throw EInvalidOperation(QStringLiteral("Cannot make a utility window"));
    if (Method) {
        WNDPROC Proc = MakeObjectInstance([Method](HWND, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
            TMessage Message{Msg, WParam, LParam, 0};
            try {
                Method(Message);
            } catch (...) {
                Application->HandleException(nullptr);
            }
            return Message.Result;
        });
        SetWindowLong(Wnd, GWL_WNDPROC, LONG_PTR(Proc));
    }
    return Wnd;
}

void DeallocateHWnd(HWND Wnd)
{
    if (!IsWindow(Wnd))
        return;
    auto Proc = reinterpret_cast<WNDPROC>(GetWindowLong(Wnd, GWL_WNDPROC));
    SetWindowLong(Wnd, GWL_WNDPROC, LONG_PTR(MakeWndProc(&DefWindowProc)));
    DestroyWindow(Wnd);
    FreeObjectInstance(Proc);
}

KIV_PUBLISHED(TWinControl)
{
    Property("BorderWidth", &TWinControl::BorderWidth, &TWinControl::SetBorderWidth).Default(0);
    Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).Default(-1);
    Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false);
    Property("OnEnter", &TWinControl::OnEnter, &TWinControl::OnEnter);
    Property("OnExit", &TWinControl::OnExit, &TWinControl::OnExit);
    Property("OnKeyDown", &TWinControl::OnKeyDown, &TWinControl::OnKeyDown);
    Property("OnKeyPress", &TWinControl::OnKeyPress, &TWinControl::OnKeyPress);
    Property("OnKeyUp", &TWinControl::OnKeyUp, &TWinControl::OnKeyUp);
}

void TWinControl::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FObjectInstance = MakeObjectInstance([this](HWND, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
        TMessage Message{Msg, WParam, LParam, 0};
        MainWndProc(Message);
        return Message.Result;
    });
    FBrush = TBrush::Create();
    FBrush->SetColor(FColor);
}

void TWinControl::BeforeDestruction()
{
    Destroying();
    if (FParent)
        RemoveFocus(true);
    DestroyHandle();
    while (ControlCount() > 0) {
        TControl *Child = Controls(ControlCount() - 1);
        Child->Free();
        if (ControlCount() > 0 && Controls(ControlCount() - 1) == Child)
            RemoveControl(Child);   // it is being freed further up the stack
    }
    inherited::BeforeDestruction();
}

TWinControl::~TWinControl()
{
    FreeAndNil(FBrush);
    if (FObjectInstance)
        FreeObjectInstance(FObjectInstance);
}

// ---- the window --------------------------------------------------------------------------------------------

HWND TWinControl::Handle()
{
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded()
{
    if (FHandle)
        return;
    if (FParent)
        FParent->HandleNeeded();
    CreateHandle();
}

void TWinControl::SetParentWindow(HWND Value)
{
    if (FParent || FParentWindow == Value)
        return;
    DestroyHandle();
    FParentWindow = Value;
    UpdateControlState();
}

void TWinControl::CreateParams(TCreateParams &Params)
{
    Params = TCreateParams();
    Params.Caption = FText;
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FControlStyle.Contains(csAcceptsControls)) {
        Params.Style |= WS_CLIPCHILDREN;
        Params.ExStyle |= WS_EX_CONTROLPARENT;
    }
    if (!FEnabled)
        Params.Style |= WS_DISABLED;
    if (FTabStop)
        Params.Style |= WS_TABSTOP;
    if (FVisible && FParent && FParent->FShowing)
        Params.Style |= WS_VISIBLE;
    Params.X = FLeft;
    Params.Y = FTop;
    Params.Width = FWidth;
    Params.Height = FHeight;
    Params.WndParent = FParent ? FParent->Handle() : FParentWindow;
    Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    Params.WindowClass.lpfnWndProc = MakeWndProc(&DefWindowProc);
    Params.WindowClass.hInstance = HInstance;
    Params.WinClassName = WindowClassNameOf(this);
}

void TWinControl::CreateSubClass(TCreateParams &Params, const QString &ControlClassName)
{
    if (ControlClassName.isEmpty())
        return;
    const HINSTANCE SaveInstance = Params.WindowClass.hInstance;
    WNDCLASS Class;
    if (!GetClassInfo(HInstance, ControlClassName, &Class))
        return;
    Params.WindowClass = Class;
    Params.WindowClass.hInstance = SaveInstance;
    Params.WindowClass.style |= CS_VREDRAW | CS_HREDRAW;
}

void TWinControl::CreateWnd()
{
    TCreateParams Params;
    CreateParams(Params);
    if (!Params.WndParent && (Params.Style & WS_CHILD))
        throw EInvalidOperation(QStringLiteral("Control '%1' has no parent window").arg(Name()));
    FDefWndProc = Params.WindowClass.lpfnWndProc;
    WNDCLASS Registered;
    const bool IsRegistered = GetClassInfo(Params.WindowClass.hInstance, Params.WinClassName, &Registered);
    if (!IsRegistered || Registered.lpfnWndProc != InitWndProcInstance()) {
        if (IsRegistered)
            UnregisterClass(Params.WinClassName, Params.WindowClass.hInstance);
        Params.WindowClass.lpfnWndProc = InitWndProcInstance();
        Params.WindowClass.lpszClassName = Params.WinClassName;
        if (!RegisterClass(&Params.WindowClass))
            throw EInvalidOperation(QStringLiteral("Cannot register the window class %1").arg(Params.WinClassName));
    }
    CreationControl = this;
    try {
        CreateWindowHandle(Params);
    } catch (...) {
        CreationControl = nullptr;
        throw;
    }
    CreationControl = nullptr;
    if (!FHandle)
        throw EInvalidOperation(QStringLiteral("Error creating window of %1").arg(Name()));
    // Built-in windows start with the toolkit's font; the control's is the one to show.
    Perform(WM_SETFONT, WPARAM(FFont->Handle()), 1);
    UpdateBounds();
    if (FAutoSize)
        AdjustSize();
}

void TWinControl::CreateWindowHandle(const TCreateParams &Params)
{
    HWND Wnd = CreateWindowEx(Params.ExStyle, Params.WinClassName, Params.Caption, Params.Style, Params.X,
                              Params.Y, Params.Width, Params.Height, Params.WndParent, 0,
                              Params.WindowClass.hInstance, Params.Param);
    if (!Wnd && FHandle) {
        ControlTable().remove(FHandle);
        FHandle = nullptr;
    }
}

void TWinControl::CreateHandle()
{
    if (FHandle)
        return;
    CreateWnd();
    if (FParent)
        SetWindowPos(FHandle, FParent->PrecedingWindow(this), 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (int I = 0; I < ControlCount(); ++I)
        Controls(I)->UpdateAnchorRules();
    CreateWindowState();
}

// The window of the next sibling above Control that has one: Control goes just below it.
HWND TWinControl::PrecedingWindow(TWinControl *Control) const
{
    for (int I = FWinControls.indexOf(Control) + 1; I < FWinControls.size(); ++I)
        if (FWinControls[I]->FHandle)
            return FWinControls[I]->FHandle;
    return HWND_TOP;
}

void TWinControl::DestroyHandle()
{
    if (!FHandle)
        return;
    for (TWinControl *Child : std::as_const(FWinControls))
        Child->DestroyHandle();
    DestroyWnd();
}

void TWinControl::DestroyWnd()
{
    FText = GetText();
    FreeDeviceContexts();
    DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle()
{
    FControlState.Include(csDestroyingHandle);
    const HWND Wnd = FHandle;
    DestroyWindow(Wnd);
    FControlState.Exclude(csDestroyingHandle);
    ControlTable().remove(Wnd);
    FHandle = nullptr;
    FShowing = false;
}

void TWinControl::RecreateWnd()
{
    if (FHandle)
        Perform(CM_RECREATEWND);
}

void TWinControl::CMRecreateWnd(TMessage &)
{
    const bool WasFocused = Focused();
    FRecreating = true;
    try {
        DestroyHandle();
        UpdateControlState();
    } catch (...) {
        FRecreating = false;
        throw;
    }
    FRecreating = false;
    if (WasFocused && FHandle)
        ::SetFocus(FHandle);
}

void TWinControl::UpdateBounds()
{
    if (!FHandle)
        return;
    RECT R;
    GetWindowRect(FHandle, &R);
    if (GetWindowLong(FHandle, GWL_STYLE) & WS_CHILD) {
        if (HWND ParentWnd = GetParent(FHandle)) {
            POINT P{R.Left, R.Top};
            ::ScreenToClient(ParentWnd, &P);
            R = Bounds(P.X, P.Y, R.Width(), R.Height());
        }
    }
    if (R.Left != FLeft || R.Top != FTop || R.Width() != FWidth || R.Height() != FHeight) {
        FLeft = R.Left;
        FTop = R.Top;
        FWidth = R.Width();
        FHeight = R.Height();
        UpdateAnchorRules();
    }
}

void TWinControl::UpdateShowing()
{
    const bool ShowControl = FVisible && !FControlState.Contains(csReadingState);
    if (ShowControl) {
        if (!FHandle)
            CreateHandle();
        const QList<TWinControl *> Children = FWinControls;
        for (TWinControl *Child : Children)
            Child->UpdateShowing();
    }
    if (FHandle && FShowing != ShowControl) {
        FShowing = ShowControl;
        try {
            Perform(CM_SHOWINGCHANGED);
        } catch (...) {
            FShowing = !ShowControl;
            throw;
        }
    }
}

void TWinControl::UpdateControlState()
{
    TWinControl *Control = this;
    while (Control->FParent) {
        Control = Control->FParent;
        if (!Control->FShowing)
            return;
    }
    if (dynamic_cast<TCustomForm *>(Control) || Control->FParentWindow)
        UpdateShowing();
}

void TWinControl::ShowControl(TControl *)
{
    if (FParent)
        FParent->ShowControl(this);
}

void TWinControl::CMShowingChanged(TMessage &)
{
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

// ---- messages ---------------------------------------------------------------------------------------------

void TWinControl::MainWndProc(TMessage &Message)
{
    ++WndProcDepth;
    try {
        WindowProc(Message);
    } catch (...) {
        Application->HandleException(this);
    }
    if (--WndProcDepth == 0)
        FreeDeviceContexts();
}

bool TWinControl::IsControlMouseMsg(TMessage &Message)
{
    TControl *Control = nullptr;
    if (FHandle && GetCapture() == FHandle) {
        TControl *Captured = GetCaptureControl();
        if (Captured && Captured != this && Captured->FParent == this)
            Control = Captured;
    } else {
        Control = ControlAtPos(TWMMouse{Message}.Pos(), false);
    }
    if (!Control)
        return false;
    const TWMMouse M{Message};
    Message.Result = Control->Perform(Message.Msg, Message.WParam,
                                      PointToLParam(M.XPos() - Control->FLeft, M.YPos() - Control->FTop));
    return true;
}

void TWinControl::WndProc(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_SETFOCUS:
        if (TCustomForm *Form = GetParentForm(this); Form && !Form->SetFocusedControl(this))
            return;
        break;
    case WM_KILLFOCUS:
        if (FControlState.Contains(csFocusing))
            return;
        break;
    default:
        if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST && Message.Msg != WM_MOUSEWHEEL &&
            IsControlMouseMsg(Message)) {
            // The window's default handling still turns the right button's release over a windowless
            // control into WM_CONTEXTMENU.
            if (Message.Msg == WM_RBUTTONUP && Message.Result == 0 && FHandle)
                DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
            return;
        }
        break;
    }
    inherited::WndProc(Message);
}

void TWinControl::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_PRINTCLIENT: WMPrintClient(Message); break;
    case WM_NCCALCSIZE: WMNCCalcSize(Message); break;
    case WM_NCPAINT: WMNCPaint(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_MOVE: WMMove(Message); break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(Message); break;
    case WM_SETFOCUS: WMSetFocus(Message); break;
    case WM_KILLFOCUS: WMKillFocus(Message); break;
    case WM_KEYDOWN: WMKeyDown(Message); break;
    case WM_KEYUP: WMKeyUp(Message); break;
    case WM_CHAR: WMChar(Message); break;
    case WM_SYSKEYDOWN: WMSysKeyDown(Message); break;
    case WM_SYSKEYUP: WMSysKeyUp(Message); break;
    case WM_SYSCHAR: WMSysChar(Message); break;
    case WM_SETCURSOR: WMSetCursor(Message); break;
    case WM_COMMAND: WMCommand(Message); break;
    case WM_CONTEXTMENU: WMContextMenu(Message); break;
    case WM_NOTIFY: WMNotify(Message); break;
    case WM_HSCROLL: WMHScroll(Message); break;
    case WM_VSCROLL: WMVScroll(Message); break;
    case WM_NCDESTROY: WMNCDestroy(Message); break;
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); break;
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    case CM_FOCUSCHANGED: CMFocusChanged(Message); break;
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    case CM_RECREATEWND: CMRecreateWnd(Message); break;
    case CM_BIDIMODECHANGED: CMBiDiModeChanged(Message); break;
    case CN_KEYDOWN: CNKeyDown(Message); break;
    case CN_KEYUP: CNKeyUp(Message); break;
    case CN_CHAR: CNChar(Message); break;
    case CN_SYSKEYDOWN: CNSysKeyDown(Message); break;
    case CN_SYSCHAR: CNSysChar(Message); break;
    default: inherited::Dispatch(Message); break;
    }
}

void TWinControl::DefaultHandler(TMessage &Message)
{
    if (FHandle) {
        Message.Result = CallWindowProc(FDefWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    inherited::DefaultHandler(Message);
}

void TWinControl::WMNCDestroy(TMessage &Message)
{
    DefaultHandler(Message);
    ControlTable().remove(FHandle);
    FHandle = nullptr;
    FShowing = false;
}

void TWinControl::WMSize(TMessage &Message)
{
    UpdateBounds();
    DefaultHandler(Message);
    Realign();
    if (!ComponentState().Contains(csLoading))
        Resize();
}

void TWinControl::WMMove(TMessage &Message)
{
    UpdateBounds();
    DefaultHandler(Message);
}

void TWinControl::WMWindowPosChanged(TMessage &Message)
{
    UpdateBounds();
    DefaultHandler(Message);
}

void TWinControl::WMSetFocus(TMessage &Message)
{
    DefaultHandler(Message);
}

void TWinControl::WMKillFocus(TMessage &Message)
{
    DefaultHandler(Message);
}

void TWinControl::WMSetCursor(TMessage &Message)
{
    DefaultHandler(Message);
}

// Notifications of child windows go back to the child as CN_ messages.
bool TWinControl::DoControlMsg(HWND ControlHandle, TMessage &Message)
{
    TWinControl *Control = FindControl(ControlHandle);
    if (!Control || Control == this)
        return false;
    Message.Result = Control->Perform(Message.Msg + CN_BASE, Message.WParam, Message.LParam);
    return true;
}

void TWinControl::WMCommand(TMessage &Message)
{
    if (!DoControlMsg(reinterpret_cast<HWND>(Message.LParam), Message))
        DefaultHandler(Message);
}

void TWinControl::WMContextMenu(TMessage &Message)
{
    const TPoint Pos = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
    if (!(Pos.X == -1 && Pos.Y == -1))
        if (TControl *Control = ControlAtPos(ScreenToClient(Pos), false); Control) {
            Message.Result = Control->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
            if (Message.Result != 0)
                return;
        }
    inherited::WMContextMenu(Message);
}

void TWinControl::WMNotify(TMessage &Message)
{
    DefaultHandler(Message);
}

void TWinControl::WMHScroll(TMessage &Message)
{
    if (!DoControlMsg(reinterpret_cast<HWND>(Message.LParam), Message))
        DefaultHandler(Message);
}

void TWinControl::WMVScroll(TMessage &Message)
{
    if (!DoControlMsg(reinterpret_cast<HWND>(Message.LParam), Message))
        DefaultHandler(Message);
}

void TWinControl::WMNCCalcSize(TMessage &Message)
{
    DefaultHandler(Message);
    if (FBorderWidth <= 0)
        return;
    RECT *R = Message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS *>(Message.LParam)->rgrc[0]
                             : reinterpret_cast<RECT *>(Message.LParam);
    if (R)
        InflateRect(R, -FBorderWidth, -FBorderWidth);
}

// The BorderWidth band, between the frame the styles give and the client area, in the brush colour.
void TWinControl::WMNCPaint(TMessage &Message)
{
    DefaultHandler(Message);
    if (FBorderWidth <= 0 || !FHandle)
        return;
    HDC DC = GetWindowDC(FHandle);
    if (!DC)
        return;
    RECT Client;
    ::GetClientRect(FHandle, &Client);
    const POINT Origin = ::ClientOrigin(FHandle);
    OffsetRect(&Client, Origin.X, Origin.Y);
    RECT Band = Client;
    InflateRect(&Band, FBorderWidth, FBorderWidth);
    const int Saved = SaveDC(DC);
    ExcludeClipRect(DC, Client.Left, Client.Top, Client.Right, Client.Bottom);
    FillRect(DC, &Band, FBrush->Handle());
    RestoreDC(DC, Saved);
    ReleaseDC(FHandle, DC);
}

void TWinControl::CMColorChanged(TMessage &Message)
{
    inherited::CMColorChanged(Message);
    FBrush->SetColor(FColor);
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMFontChanged(TMessage &Message)
{
    inherited::CMFontChanged(Message);
    if (FHandle)
        Perform(WM_SETFONT, WPARAM(FFont->Handle()), 0);
    NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMEnabledChanged(TMessage &)
{
    if (!FEnabled && FParent)
        RemoveFocus(false);
    if (FHandle)
        EnableWindow(FHandle, FEnabled);
    Invalidate();
}

void TWinControl::CMVisibleChanged(TMessage &)
{
    if (!FVisible && FParent)
        RemoveFocus(false);
    UpdateControlState();
}

void TWinControl::CMBiDiModeChanged(TMessage &)
{
    NotifyControls(CM_PARENTBIDIMODECHANGED);
}

void TWinControl::CMEnter(TMessage &)
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::CMExit(TMessage &)
{
    if (OnExit)
        OnExit(this);
}

void TWinControl::CMFocusChanged(TMessage &Message)
{
    Broadcast(Message);
}

void TWinControl::CMDialogKey(TMessage &Message)
{
    Broadcast(Message);
}

void TWinControl::CMDialogChar(TMessage &Message)
{
    Broadcast(Message);
}

// ---- children -----------------------------------------------------------------------------------------------

TControl *TWinControl::Controls(int Index) const
{
    if (Index < 0 || Index >= ControlCount())
        throw EListError(QStringLiteral("Control index out of bounds (%1)").arg(Index));
    if (Index < FControls.size())
        return FControls[Index];
    return FWinControls[Index - FControls.size()];
}

void TWinControl::InsertControl(TControl *AControl)
{
    Perform(CM_CONTROLLISTCHANGE, WPARAM(AControl), TRUE);
    if (auto *W = dynamic_cast<TWinControl *>(AControl)) {
        FWinControls.append(W);
        FTabList.append(W);
    } else {
        FControls.append(AControl);
    }
    AControl->FParent = this;
    if (!AControl->ComponentState().Contains(csReading)) {
        AControl->Perform(CM_PARENTCOLORCHANGED);
        AControl->Perform(CM_PARENTFONTCHANGED);
        AControl->Perform(CM_PARENTSHOWHINTCHANGED);
        AControl->Perform(CM_PARENTBIDIMODECHANGED);
        if (auto *W = dynamic_cast<TWinControl *>(AControl))
            W->UpdateControlState();
        else if (FHandle)
            AControl->Invalidate();
        AlignControl(AControl);
    }
    Perform(CM_CONTROLCHANGE, WPARAM(AControl), TRUE);
}

void TWinControl::RemoveControl(TControl *AControl)
{
    Perform(CM_CONTROLCHANGE, WPARAM(AControl), FALSE);
    if (auto *W = dynamic_cast<TWinControl *>(AControl)) {
        W->RemoveFocus(true);
        W->DestroyHandle();
    } else if (FHandle) {
        AControl->Invalidate();
    }
    FControls.removeAll(AControl);
    FWinControls.removeAll(static_cast<TWinControl *>(nullptr));
    if (auto *W = dynamic_cast<TWinControl *>(AControl)) {
        FWinControls.removeAll(W);
        FTabList.removeAll(W);
    }
    AControl->FParent = nullptr;
    Perform(CM_CONTROLLISTCHANGE, WPARAM(AControl), FALSE);
    Realign();
}

bool TWinControl::ContainsControl(TControl *Control) const
{
    while (Control && Control != this)
        Control = Control->FParent;
    return Control != nullptr;
}

TControl *TWinControl::ControlAtPos(const TPoint &Pos, bool AllowDisabled, bool AllowWinControls)
{
    auto Hits = [&](TControl *C) {
        const TPoint P{Pos.X - C->FLeft, Pos.Y - C->FTop};
        const TRect R = Rect(0, 0, C->FWidth, C->FHeight);
        return PtInRect(&R, P) && C->FVisible && (C->FEnabled || AllowDisabled) &&
               C->Perform(CM_HITTEST, 0, PointToLParam(P.X, P.Y)) != 0;
    };
    if (AllowWinControls)
        for (int I = int(FWinControls.size()) - 1; I >= 0; --I)
            if (Hits(FWinControls[I]))
                return FWinControls[I];
    for (int I = int(FControls.size()) - 1; I >= 0; --I)
        if (Hits(FControls[I]))
            return FControls[I];
    return nullptr;
}

void TWinControl::Broadcast(TMessage &Message)
{
    QList<TControl *> List = FControls;
    for (TWinControl *W : std::as_const(FWinControls))
        List.append(W);
    for (TControl *C : std::as_const(List)) {
        if (!ContainsControl(C))
            continue;   // removed by an earlier receiver
        C->WindowProc(Message);
        if (Message.Result != 0)
            return;
    }
}

void TWinControl::NotifyControls(UINT Msg)
{
    TMessage Message{Msg, 0, 0, 0};
    Broadcast(Message);
}

void TWinControl::SetParent(TWinControl *AParent)
{
    if (FParent == AParent)
        return;
    if (!AParent && FParent)
        RemoveFocus(true);
    inherited::SetParent(AParent);
}

void TWinControl::ReadState(TReader *Reader)
{
    DisableAlign();
    try {
        inherited::ReadState(Reader);
    } catch (...) {
        EnableAlign();
        throw;
    }
    EnableAlign();
    UpdateControlState();
}

void TWinControl::Loaded()
{
    inherited::Loaded();
    FixupTabList();
    Realign();
}

void TWinControl::GetChildren(TGetChildProc Proc, TComponent *Root)
{
    if (Root == this)
        inherited::GetChildren(Proc, Root);
    for (int I = 0; I < ControlCount(); ++I) {
        TControl *C = Controls(I);
        if (C->Owner() == Root)
            Proc(C);
    }
}

void TWinControl::SetChildOrder(TComponent *Child, int Order)
{
    auto *C = dynamic_cast<TControl *>(Child);
    if (!C || C->FParent != this)
        return;
    if (auto *W = dynamic_cast<TWinControl *>(C)) {
        const int I = FWinControls.indexOf(W);
        FWinControls.move(I, std::clamp(Order, 0, int(FWinControls.size()) - 1));
    } else {
        const int I = FControls.indexOf(C);
        FControls.move(I, std::clamp(Order, 0, int(FControls.size()) - 1));
    }
}

void TWinControl::SetZOrder(bool TopMost)
{
    if (FParent) {
        QList<TWinControl *> &List = FParent->FWinControls;
        const int I = List.indexOf(this);
        if (I >= 0)
            List.move(I, TopMost ? List.size() - 1 : 0);
    }
    if (FHandle)
        SetWindowPos(FHandle, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---- place and alignment ----------------------------------------------------------------------------------

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    DoConstraints(AWidth, AHeight);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    if (FHandle && !IsIconic(FHandle)) {
        SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateBounds();
    } else {
        const bool Resized = AWidth != FWidth || AHeight != FHeight;
        FLeft = ALeft;
        FTop = ATop;
        FWidth = AWidth;
        FHeight = AHeight;
        if (Resized) {
            Realign();
            if (!ComponentState().Contains(csLoading))
                Resize();
        }
    }
    UpdateAnchorRules();
    RequestAlign();
}

QString TWinControl::GetText() const
{
    return FHandle ? GetWindowText(FHandle) : FText;
}

TRect TWinControl::GetClientRect()
{
    TRect R;
    if (FHandle) {
        ::GetClientRect(FHandle, &R);
        return R;
    }
    return Rect(0, 0, std::max(0, FWidth - 2 * FBorderWidth), std::max(0, FHeight - 2 * FBorderWidth));
}

TPoint TWinControl::GetClientOrigin()
{
    POINT P{0, 0};
    ::ClientToScreen(Handle(), &P);
    return P;
}

void TWinControl::SetBorderWidth(int Value)
{
    Value = std::max(0, Value);
    if (FBorderWidth == Value)
        return;
    FBorderWidth = Value;
    if (FHandle)
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Realign();
}

void TWinControl::DisableAlign()
{
    ++FAlignLevel;
}

void TWinControl::EnableAlign()
{
    if (--FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded))
        Realign();
}

void TWinControl::Realign()
{
    AlignControl(nullptr);
}

void TWinControl::AlignControl(TControl *AControl)
{
    if (ComponentState().Contains(csDestroying))
        return;
    if (FAlignLevel != 0 || ComponentState().Contains(csLoading)) {
        FControlState.Include(csAlignmentNeeded);
        return;
    }
    DisableAlign();
    TRect R = GetClientRect();
    try {
        AlignControls(AControl, R);
    } catch (...) {
        FControlState.Exclude(csAlignmentNeeded);
        EnableAlign();
        throw;
    }
    FControlState.Exclude(csAlignmentNeeded);
    EnableAlign();
}

void TWinControl::AdjustClientRect(TRect &) {}

// Places the aligned children (top, bottom, left, right, client; among equals by position), then moves
// the anchored ones so they keep their distances to the parent's anchored edges.
void TWinControl::AlignControls(TControl *AControl, TRect &Rect)
{
    auto AlignWork = [this] {
        for (int I = ControlCount() - 1; I >= 0; --I)
            if (Controls(I)->FAlign != alNone || !(Controls(I)->FAnchors == TAnchors{akLeft, akTop}))
                return true;
        return false;
    };
    if (!AlignWork())
        return;
    AdjustClientRect(Rect);

    auto InsertBefore = [](TControl *C1, TControl *C2, TAlign A) {
        switch (A) {
        case alTop: return C1->FTop < C2->FTop;
        case alBottom: return C1->FTop + C1->FHeight >= C2->FTop + C2->FHeight;
        case alLeft: return C1->FLeft < C2->FLeft;
        case alRight: return C1->FLeft + C1->FWidth >= C2->FLeft + C2->FWidth;
        default: return false;
        }
    };

    auto DoPosition = [&](TControl *Control, TAlign A) {
        if (A == alNone || !(Control->FAnchors == AnchorAlignOf(A))) {
            if (Control->FOriginalParentSize.X != 0 && Control->FOriginalParentSize.Y != 0) {
                int NewLeft = Control->FLeft, NewTop = Control->FTop;
                int NewWidth = Control->FWidth, NewHeight = Control->FHeight;
                const TRect Client = GetClientRect();
                const TPoint ParentSize{Client.Right, Client.Bottom};
                const TPoint Original = Control->FOriginalParentSize;
                const TPoint Rules = Control->FAnchorRules;
                const TAnchors Anchors = Control->FAnchors;
                if (Anchors.Contains(akRight)) {
                    if (Anchors.Contains(akLeft))
                        NewWidth = ParentSize.X - (Original.X - Rules.X);
                    else
                        NewLeft = ParentSize.X - (Original.X - Rules.X);
                } else if (!Anchors.Contains(akLeft)) {
                    NewLeft = MulDiv(Rules.X, ParentSize.X, Original.X) - NewWidth / 2;
                }
                if (Anchors.Contains(akBottom)) {
                    if (Anchors.Contains(akTop))
                        NewHeight = ParentSize.Y - (Original.Y - Rules.Y);
                    else
                        NewTop = ParentSize.Y - (Original.Y - Rules.Y);
                } else if (!Anchors.Contains(akTop)) {
                    NewTop = MulDiv(Rules.Y, ParentSize.Y, Original.Y) - NewHeight / 2;
                }
                Control->FAnchorMove = true;
                try {
                    Control->SetBounds(NewLeft, NewTop, NewWidth, NewHeight);
                } catch (...) {
                    Control->FAnchorMove = false;
                    throw;
                }
                Control->FAnchorMove = false;
            }
            if (A == alNone)
                return;
        }
        int NewWidth = Rect.Right - Rect.Left;
        if (NewWidth < 0 || A == alLeft || A == alRight || A == alCustom)
            NewWidth = Control->FWidth;
        int NewHeight = Rect.Bottom - Rect.Top;
        if (NewHeight < 0 || A == alTop || A == alBottom || A == alCustom)
            NewHeight = Control->FHeight;
        int NewLeft = Rect.Left, NewTop = Rect.Top;
        switch (A) {
        case alTop: Rect.Top += NewHeight; break;
        case alBottom: Rect.Bottom -= NewHeight; NewTop = Rect.Bottom; break;
        case alLeft: Rect.Left += NewWidth; break;
        case alRight: Rect.Right -= NewWidth; NewLeft = Rect.Right; break;
        case alCustom: NewLeft = Control->FLeft; NewTop = Control->FTop; break;
        default: break;
        }
        Control->FAnchorMove = true;
        try {
            Control->SetBounds(NewLeft, NewTop, NewWidth, NewHeight);
        } catch (...) {
            Control->FAnchorMove = false;
            throw;
        }
        Control->FAnchorMove = false;
        // A control that did not take the size it was given (constraints) leaves the rest to the others.
        if (Control->FWidth != NewWidth || Control->FHeight != NewHeight) {
            switch (A) {
            case alTop: Rect.Top -= NewHeight - Control->FHeight; break;
            case alBottom: Rect.Bottom += NewHeight - Control->FHeight; break;
            case alLeft: Rect.Left -= NewWidth - Control->FWidth; break;
            case alRight: Rect.Right += NewWidth - Control->FWidth; break;
            case alClient:
                Rect.Right += NewWidth - Control->FWidth;
                Rect.Bottom += NewHeight - Control->FHeight;
                break;
            default: break;
            }
        }
    };

    auto DoAlign = [&](TAlign A) {
        QList<TControl *> AlignList;
        if (AControl && AControl->FParent == this && (A == alNone || AControl->FVisible) && AControl->FAlign == A)
            AlignList.append(AControl);
        for (int I = 0; I < ControlCount(); ++I) {
            TControl *Control = Controls(I);
            if (Control == AControl || Control->FAlign != A || (A != alNone && !Control->FVisible))
                continue;
            int J = 0;
            while (J < AlignList.size() && !InsertBefore(Control, AlignList[J], A))
                ++J;
            AlignList.insert(J, Control);
        }
        for (TControl *Control : std::as_const(AlignList))
            DoPosition(Control, A);
    };

    DoAlign(alTop);
    DoAlign(alBottom);
    DoAlign(alLeft);
    DoAlign(alRight);
    DoAlign(alClient);
    DoAlign(alCustom);
    DoAlign(alNone);
}

void TWinControl::ScrollBy(int DeltaX, int DeltaY)
{
    for (int I = 0; I < ControlCount(); ++I) {
        TControl *Control = Controls(I);
        auto *W = dynamic_cast<TWinControl *>(Control);
        if (W && W->FHandle) {
            SetWindowPos(W->FHandle, nullptr, W->FLeft + DeltaX, W->FTop + DeltaY, W->FWidth, W->FHeight,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            W->UpdateBounds();
        } else {
            Control->FLeft += DeltaX;
            Control->FTop += DeltaY;
        }
    }
    Invalidate();
    Realign();
}

// ---- focus and tab order ------------------------------------------------------------------------------

int TWinControl::TabOrder() const
{
    return FParent ? int(FParent->FTabList.indexOf(const_cast<TWinControl *>(this))) : -1;
}

void TWinControl::SetTabOrder(int Value)
{
    FTabOrder = Value;
    if (!ComponentState().Contains(csReading))
        UpdateTabOrder(Value);
}

void TWinControl::UpdateTabOrder(int Value)
{
    if (!FParent)
        return;
    QList<TWinControl *> &List = FParent->FTabList;
    const int Current = List.indexOf(this);
    if (Current < 0)
        return;
    Value = std::clamp(Value, 0, int(List.size()) - 1);
    if (Value != Current)
        List.move(Current, Value);
}

// Children read from a layout take the tab positions the layout gave them.
void TWinControl::FixupTabList()
{
    const int Count = int(FWinControls.size());
    QList<TWinControl *> List(Count, nullptr);
    for (TWinControl *Control : std::as_const(FWinControls))
        if (Control->FTabOrder >= 0 && Control->FTabOrder < Count)
            List[Control->FTabOrder] = Control;
    for (int I = 0; I < Count; ++I)
        if (List[I])
            List[I]->UpdateTabOrder(I);
}

void TWinControl::SetTabStop(bool Value)
{
    if (FTabStop == Value)
        return;
    FTabStop = Value;
    if (FHandle) {
        const LONG_PTR Style = GetWindowLong(FHandle, GWL_STYLE);
        SetWindowLong(FHandle, GWL_STYLE, Value ? (Style | WS_TABSTOP) : (Style & ~LONG_PTR(WS_TABSTOP)));
    }
    Perform(CM_TABSTOPCHANGED);
}

void TWinControl::GetTabOrderList(QList<TWinControl *> &List)
{
    for (TWinControl *Control : std::as_const(FTabList)) {
        List.append(Control);
        Control->GetTabOrderList(List);
    }
}

TWinControl *TWinControl::FindNextControl(TWinControl *CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent)
{
    QList<TWinControl *> List;
    GetTabOrderList(List);
    if (List.isEmpty())
        return nullptr;
    int StartIndex = int(List.indexOf(CurControl));
    if (StartIndex < 0)
        StartIndex = GoForward ? int(List.size()) - 1 : 0;
    int I = StartIndex;
    do {
        if (GoForward) {
            if (++I == List.size())
                I = 0;
        } else {
            if (I == 0)
                I = int(List.size());
            --I;
        }
        TWinControl *Control = List[I];
        if (Control->CanFocus() && (!CheckTabStop || Control->FTabStop) && (!CheckParent || Control->FParent == this))
            return Control;
    } while (I != StartIndex);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl *CurControl, bool GoForward, bool CheckTabStop)
{
    if (TWinControl *Next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop))
        Next->SetFocus();
}

bool TWinControl::CanFocus()
{
    TCustomForm *Form = GetParentForm(this);
    if (!Form)
        return false;
    for (TWinControl *Control = this; Control != Form; Control = Control->FParent)
        if (!Control->FVisible || !Control->FEnabled)
            return false;
    return true;
}

void TWinControl::SetFocus()
{
    if (TCustomForm *Form = GetParentForm(this))
        Form->FocusControl(this);
    else
        ::SetFocus(Handle());
}

bool TWinControl::Focused()
{
    return FHandle && GetFocus() == FHandle;
}

bool TWinControl::IsControlFocused() const
{
    TCustomForm *Form = GetParentForm(const_cast<TWinControl *>(this));
    return Form && Form->ActiveControl() == this;
}

void TWinControl::RemoveFocus(bool Removing)
{
    if (TCustomForm *Form = GetParentForm(this))
        Form->DefocusControl(this, Removing);
}

// ---- keys ---------------------------------------------------------------------------------------------------

void TWinControl::KeyDown(quint16 &Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(quint16 &Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(QChar &Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

bool TWinControl::DoKeyDown(TMessage &Message)
{
    TCustomForm *Form = GetParentForm(this);
    if (Form && Form != this && Form->KeyPreview() && Form->DoKeyDown(Message))
        return true;
    TWMKey Key{Message};
    if (!FControlStyle.Contains(csNoStdEvents)) {
        quint16 Code = Key.CharCode();
        KeyDown(Code, KeyDataToShiftState(Key.KeyData()));
        Key.CharCode() = Code;
        if (Code == 0)
            return true;
    }
    return false;
}

bool TWinControl::DoKeyUp(TMessage &Message)
{
    TCustomForm *Form = GetParentForm(this);
    if (Form && Form != this && Form->KeyPreview() && Form->DoKeyUp(Message))
        return true;
    TWMKey Key{Message};
    if (!FControlStyle.Contains(csNoStdEvents)) {
        quint16 Code = Key.CharCode();
        KeyUp(Code, KeyDataToShiftState(Key.KeyData()));
        Key.CharCode() = Code;
        if (Code == 0)
            return true;
    }
    return false;
}

bool TWinControl::DoKeyPress(TMessage &Message)
{
    TCustomForm *Form = GetParentForm(this);
    if (Form && Form != this && Form->KeyPreview() && Form->DoKeyPress(Message))
        return true;
    TWMKey Key{Message};
    if (!FControlStyle.Contains(csNoStdEvents)) {
        QChar Ch(Key.CharCode());
        KeyPress(Ch);
        Key.CharCode() = Ch.unicode();
        if (Ch.isNull())
            return true;
    }
    return false;
}

void TWinControl::WMKeyDown(TMessage &Message)
{
    if (!DoKeyDown(Message))
        DefaultHandler(Message);
}

void TWinControl::WMSysKeyDown(TMessage &Message)
{
    if (!DoKeyDown(Message))
        DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage &Message)
{
    if (!DoKeyUp(Message))
        DefaultHandler(Message);
}

void TWinControl::WMSysKeyUp(TMessage &Message)
{
    if (!DoKeyUp(Message))
        DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage &Message)
{
    if (!DoKeyPress(Message))
        DefaultHandler(Message);
}

void TWinControl::WMSysChar(TMessage &Message)
{
    DefaultHandler(Message);
}

// A key the control does not ask for (WM_GETDLGCODE) goes to its form as a dialog key first.
bool TWinControl::IsMenuKey(TMessage &Message)
{
    if (ComponentState().Contains(csDesigning))
        return false;
    TWMKey Key{Message};
    for (TControl *Control = this; Control; Control = Control->Parent())
        if (TPopupMenu *Menu = Control->PopupMenu(); Menu && Menu->IsShortCut(Key))
            return true;
    TCustomForm *Form = GetParentForm(this);
    return Form && Form->IsShortCut(Key);
}

void TWinControl::CNKeyDown(TMessage &Message)
{
    TWMKey Key{Message};
    Message.Result = 1;
    if (IsMenuKey(Message))
        return;
    LRESULT Mask = 0;
    switch (Key.CharCode()) {
    case VK_TAB: Mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: Mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_CANCEL: Mask = DLGC_WANTALLKEYS; break;
    default: break;
    }
    if (Mask != 0 && Perform(CM_WANTSPECIALKEY, Key.CharCode(), Key.KeyData()) == 0 &&
        (Perform(WM_GETDLGCODE) & Mask) == 0) {
        if (TCustomForm *Form = GetParentForm(this);
            Form && Form->Perform(CM_DIALOGKEY, Key.CharCode(), Key.KeyData()) != 0)
            return;
    }
    Message.Result = 0;
}

void TWinControl::CNKeyUp(TMessage &Message)
{
    Message.Result = 0;
}

void TWinControl::CNChar(TMessage &Message)
{
    TWMKey Key{Message};
    Message.Result = 1;
    if ((Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) == 0) {
        if (TCustomForm *Form = GetParentForm(this);
            Form && Form->Perform(CM_DIALOGCHAR, Key.CharCode(), Key.KeyData()) != 0)
            return;
    }
    Message.Result = 0;
}

void TWinControl::CNSysKeyDown(TMessage &Message)
{
    Message.Result = IsMenuKey(Message);
}

void TWinControl::CNSysChar(TMessage &Message)
{
    TWMKey Key{Message};
    Message.Result = 0;
    if (Key.CharCode() != VK_SPACE)
        if (TCustomForm *Form = GetParentForm(this))
            Message.Result = Form->Perform(CM_DIALOGCHAR, Key.CharCode(), Key.KeyData());
}

// ---- painting ---------------------------------------------------------------------------------------------

void TWinControl::Invalidate()
{
    if (FHandle)
        InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}

void TWinControl::Update()
{
    if (FHandle)
        UpdateWindow(FHandle);
}

void TWinControl::WMPaint(TMessage &Message)
{
    if (!FControlState.Contains(csCustomPaint) && FControls.isEmpty())
        DefaultHandler(Message);
    else
        PaintHandler(Message);
}

// With a DC in wParam the control paints into it (a parent drawing into a child's bitmap, a window
// animation); otherwise into its own window between BeginPaint and EndPaint.
void TWinControl::PaintHandler(TMessage &Message)
{
    HDC DC = TWMPaint{Message}.DC();
    PAINTSTRUCT PS;
    if (!DC) {
        if (!FHandle)
            return;
        DC = BeginPaint(FHandle, &PS);
    }
    try {
        if (FControls.isEmpty()) {
            PaintWindow(DC);
        } else {
            const int Saved = SaveDC(DC);
            bool Covered = false;
            for (TControl *C : std::as_const(FControls))
                if (C->FVisible && C->FControlStyle.Contains(csOpaque)) {
                    if (ExcludeClipRect(DC, C->FLeft, C->FTop, C->FLeft + C->FWidth, C->FTop + C->FHeight) ==
                        NULLREGION) {
                        Covered = true;
                        break;
                    }
                }
            if (!Covered)
                PaintWindow(DC);
            RestoreDC(DC, Saved);
        }
        PaintControls(DC, nullptr);
    } catch (...) {
        if (!TWMPaint{Message}.DC())
            EndPaint(FHandle, &PS);
        throw;
    }
    if (!TWMPaint{Message}.DC())
        EndPaint(FHandle, &PS);
}

void TWinControl::PaintWindow(HDC DC)
{
    TMessage Message{WM_PAINT, WPARAM(DC), 0, 0};
    DefaultHandler(Message);
}

void TWinControl::PaintControls(HDC DC, TControl *First)
{
    int I = First ? int(FControls.indexOf(First)) : 0;
    if (I < 0)
        I = 0;
    const QList<TControl *> List = FControls;
    for (; I < List.size(); ++I) {
        TControl *C = List[I];
        if (!C->FVisible)
            continue;
        if (FControlState.Contains(csPaintCopy))
            C->FControlState.Include(csPaintCopy);
        const int Saved = SaveDC(DC);
        OffsetViewportOrgEx(DC, C->FLeft, C->FTop, nullptr);
        IntersectClipRect(DC, 0, 0, C->FWidth, C->FHeight);
        try {
            C->Perform(WM_PAINT, WPARAM(DC), 0);
        } catch (...) {
            RestoreDC(DC, Saved);
            C->FControlState.Exclude(csPaintCopy);
            throw;
        }
        RestoreDC(DC, Saved);
        C->FControlState.Exclude(csPaintCopy);
    }
}

void TWinControl::WMEraseBkgnd(TMessage &Message)
{
    Message.Result = 1;
    if (FControlStyle.Contains(csOpaque))
        return;
    const HDC DC = TWMEraseBkgnd{Message}.DC();
    if (!DC)
        return;
    const TRect R = Rect(0, 0, ClientWidth(), ClientHeight());
    FillRect(DC, &R, FBrush->Handle());
}

void TWinControl::WMPrintClient(TMessage &Message)
{
    if (TWMPrintClient{Message}.DC())
        PaintHandler(Message);
    else
        DefaultHandler(Message);
}

void TWinControl::PaintTo(HDC DC, int X, int Y)
{
    FControlState.Include(csPaintCopy);
    const int Saved = SaveDC(DC);
    try {
        OffsetViewportOrgEx(DC, X, Y, nullptr);
        IntersectClipRect(DC, 0, 0, FWidth, FHeight);
        if (FHandle) {
            const POINT Origin = ::ClientOrigin(FHandle);
            OffsetViewportOrgEx(DC, Origin.X, Origin.Y, nullptr);
        } else if (FBorderWidth > 0) {
            OffsetViewportOrgEx(DC, FBorderWidth, FBorderWidth, nullptr);
        }
        const TRect Client = ClientRect();
        IntersectClipRect(DC, 0, 0, Client.Width(), Client.Height());
        Perform(WM_ERASEBKGND, WPARAM(DC), 0);
        Perform(WM_PAINT, WPARAM(DC), 0);
        const QList<TWinControl *> Children = FWinControls;
        for (TWinControl *Child : Children)
            if (Child->FVisible)
                Child->PaintTo(DC, Child->FLeft, Child->FTop);
    } catch (...) {
        RestoreDC(DC, Saved);
        FControlState.Exclude(csPaintCopy);
        throw;
    }
    RestoreDC(DC, Saved);
    FControlState.Exclude(csPaintCopy);
}
