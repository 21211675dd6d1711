#include "framework/forms/Forms.h"

#include "framework/core/Reader.h"
#include "framework/core/Writer.h"
#include "framework/forms/AppEvnts.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QThread>

std::function<void(const QString &Message)> ShowExceptionHook;

namespace {
TApplication *GApplication = nullptr;
TScreen *GScreen = nullptr;
} // namespace

TApplication *TApplicationRef::Get()
{
    if (!GApplication)
        GApplication = TApplication::Create(nullptr);
    return GApplication;
}

TApplication *TApplicationRef::Peek()
{
    return GApplication;
}

TScreen *TScreenRef::Get()
{
    if (!GScreen)
        GScreen = TScreen::Create(nullptr);
    return GScreen;
}

TCustomForm *GetParentForm(TControl *Control)
{
    if (!Control)
        return nullptr;
    while (Control->Parent())
        Control = Control->Parent();
    return dynamic_cast<TCustomForm *>(Control);
}

TCustomForm *ValidParentForm(TControl *Control)
{
    TCustomForm *Form = GetParentForm(Control);
    if (!Form)
        throw EInvalidOperation(QStringLiteral("Control '%1' has no parent form").arg(Control ? Control->Name() : QString()));
    return Form;
}

// ---- TScrollingWinControl ---------------------------------------------------------------------------------

KIV_PUBLISHED(TScrollingWinControl)
{
    Property("AutoScroll", &TScrollingWinControl::AutoScroll, &TScrollingWinControl::SetAutoScroll).Default(true);
}

void TScrollingWinControl::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
}

// ---- TCustomForm ------------------------------------------------------------------------------------------

KIV_PUBLISHED(TCustomForm)
{
    Property("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl);
    Property("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
        .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
    Property("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle).Default(bsSizeable);
    Property("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight);
    Property("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth);
    Property("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle).Default(fsNormal);
    Property("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview).Default(false);
    Property("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu);
    Property("OldCreateOrder", &TCustomForm::OldCreateOrder, &TCustomForm::SetOldCreateOrder);
    Property("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch);
    Property("Position", &TCustomForm::Position, &TCustomForm::SetPosition).Default(poDesigned);
    Property("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled).Default(true);
    Property("Visible", &TCustomForm::Visible, &TCustomForm::SetVisible).Default(false);
    Property("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState).Default(wsNormal);
    Property("OnActivate", &TCustomForm::OnActivate, &TCustomForm::OnActivate);
    Property("OnClose", &TCustomForm::OnClose, &TCustomForm::OnClose);
    Property("OnCloseQuery", &TCustomForm::OnCloseQuery, &TCustomForm::OnCloseQuery);
    Property("OnCreate", &TCustomForm::OnCreate, &TCustomForm::OnCreate);
    Property("OnDeactivate", &TCustomForm::OnDeactivate, &TCustomForm::OnDeactivate);
    Property("OnDestroy", &TCustomForm::OnDestroy, &TCustomForm::OnDestroy);
    Property("OnHide", &TCustomForm::OnHide, &TCustomForm::OnHide);
    Property("OnPaint", &TCustomForm::OnPaint, &TCustomForm::OnPaint);
    Property("OnShow", &TCustomForm::OnShow, &TCustomForm::OnShow);
}

KIV_PUBLISHED(TForm) {}

void TCustomForm::Construct(TComponent *AOwner)
{
    const bool CreatingNew = std::exchange(FCreatingNew, false);
    Application->Initialize();
    inherited::Construct(AOwner);
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FVisible = false;
    FParentColor = false;
    FParentFont = false;
    FColor = clBtnFace;
    FBrush->SetColor(FColor);
    FWidth = 320;
    FHeight = 240;
    auto *C = TControlCanvas::Create();
    C->SetControl(this);
    FCanvas = C;
    Screen->AddForm(this);
    if (!CreatingNew && ClassType() != TForm::StaticClass() && ClassType() != TCustomForm::StaticClass()) {
        FFormState.Include(fsCreating);
        try {
            ReadComponentRes(ClassName(), this);
        } catch (...) {
            FFormState.Exclude(fsCreating);
            throw;
        }
        FFormState.Exclude(fsCreating);
        DoCreate();
    }
}

void TCustomForm::BeforeDestruction()
{
    Destroying();
    if (FFormStyle != fsMDIChild && FVisible)
        Hide();
    DoDestroy();
    if (GScreen)
        GScreen->RemoveForm(this);
    if (TApplication *App = TApplicationRef::Peek(); App && App->FMainForm == this) {
        App->FMainForm = nullptr;
        App->MainFormClosed();
    }
    inherited::BeforeDestruction();
}

TCustomForm::~TCustomForm()
{
    FreeAndNil(FCanvas);
}

void TCustomForm::DefineProperties(TFiler *Filer)
{
    inherited::DefineProperties(Filer);
    Filer->DefineProperty(
        QStringLiteral("TextHeight"), [this](TReader *R) { FTextHeight = int(R->ReadInteger()); },
        [this](TWriter *W) { W->WriteInteger(FTextHeight); }, FTextHeight != 0);
}

void TCustomForm::GetChildren(TGetChildProc Proc, TComponent *Root)
{
    inherited::GetChildren(Proc, Root);
}

void TCustomForm::Loaded()
{
    inherited::Loaded();
    if (TWinControl *Control = std::exchange(FActiveControl, nullptr); Control && Control->CanFocus())
        SetActiveControl(Control);
}

void TCustomForm::Notification(TComponent *AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FMenu) {
        FMenu = nullptr;
        SetWindowMenu();
    }
    if (AComponent == FActiveControl)
        FActiveControl = nullptr;
    if (AComponent == FFocusedControl)
        FFocusedControl = nullptr;
}

void TCustomForm::SetMenu(TMainMenu *Value)
{
    if (FMenu == Value)
        return;
    if (Value && !ComponentState().Contains(csLoading))
        for (int I = 0; I < Screen->CustomFormCount(); ++I)
            if (TCustomForm *Other = Screen->CustomForms(I); Other != this && Other->FMenu == Value)
                throw EInvalidOperation(
                    QStringLiteral("Menu '%1' is already being used by another form").arg(Value->Name()));
    if (FMenu) {
        FMenu->RemoveFreeNotification(this);
        FMenu->SetWindowHandle(nullptr);
    }
    FMenu = Value;
    if (Value)
        Value->FreeNotification(this);
    SetWindowMenu();
}

// Child forms have no bar; a form without a menu never shows one.
void TCustomForm::SetWindowMenu()
{
    if (!HandleAllocated() || (GetWindowLong(FHandle, GWL_STYLE) & WS_CHILD))
        return;
    if (FMenu) {
        FMenu->SetWindowHandle(FHandle);
        ::SetMenu(FHandle, FMenu->Handle());
    } else if (GetMenu(FHandle)) {
        ::SetMenu(FHandle, nullptr);
    }
}

bool TCustomForm::IsShortCut(TWMKey &Message)
{
    bool Handled = false;
    if (OnShortCut)
        OnShortCut(Message, Handled);
    return Handled || (FMenu && FMenu->IsShortCut(Message));
}

void TCustomForm::CreateParams(TCreateParams &Params)
{
    inherited::CreateParams(Params);
    if (!FParent && !FParentWindow) {
        Params.WndParent = nullptr;
        Params.Style &= ~(WS_CHILD | WS_GROUP | WS_TABSTOP | WS_VISIBLE);
    }
    Params.WindowClass.style = CS_DBLCLKS;
    if (FPosition == poDefault || FPosition == poDefaultPosOnly) {
        Params.X = CW_USEDEFAULT;
        Params.Y = CW_USEDEFAULT;
    }
    TBorderIcons Icons = FBorderIcons;
    TFormBorderStyle Style = FBorderStyle;
    if (FFormStyle == fsMDIChild && (Style == bsNone || Style == bsDialog))
        Style = bsSizeable;
    switch (Style) {
    case bsNone:
        if (!FParent && !FParentWindow)
            Params.Style |= WS_POPUP;
        Icons = TBorderIcons();
        break;
    case bsSingle:
    case bsToolWindow:
        Params.Style |= WS_CAPTION | WS_BORDER;
        break;
    case bsSizeable:
    case bsSizeToolWin:
        Params.Style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        Params.Style |= WS_CAPTION;
        Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        Icons = Icons * TBorderIcons{biSystemMenu, biHelp};
        Params.WindowClass.style |= CS_SAVEBITS;
        break;
    }
    if (Style == bsToolWindow || Style == bsSizeToolWin) {
        Params.ExStyle |= WS_EX_TOOLWINDOW;
        Icons = Icons * TBorderIcons{biSystemMenu};
    }
    if (Style == bsSingle || Style == bsSizeable || Style == bsNone) {
        if (Icons.Contains(biMinimize))
            Params.Style |= WS_MINIMIZEBOX;
        if (Icons.Contains(biMaximize))
            Params.Style |= WS_MAXIMIZEBOX;
    }
    if (Icons.Contains(biSystemMenu))
        Params.Style |= WS_SYSMENU;
    if (FFormStyle == fsStayOnTop)
        Params.ExStyle |= WS_EX_TOPMOST;
}

void TCustomForm::CreateWnd()
{
    inherited::CreateWnd();
    SetWindowMenu();
}

// The bar's menu is the Menu's to destroy, not the window's.
void TCustomForm::DestroyWnd()
{
    if (FMenu && HandleAllocated()) {
        if (GetMenu(FHandle) == FMenu->Handle())
            ::SetMenu(FHandle, nullptr);
        FMenu->SetWindowHandle(nullptr);
    }
    inherited::DestroyWnd();
}

// ---- showing, hiding, closing ------------------------------------------------------------------------------

void TCustomForm::Show()
{
    SetVisible(true);
    BringToFront();
}

void TCustomForm::Hide()
{
    SetVisible(false);
}

void TCustomForm::CMVisibleChanged(TMessage &Message)
{
    inherited::CMVisibleChanged(Message);
    if (FVisible)
        FFormState.Include(fsVisible);
    else
        FFormState.Exclude(fsVisible);
}

static void CenterOn(TCustomForm *Form, const TRect &Area)
{
    Form->SetBounds(Area.Left + (Area.Width() - Form->Width()) / 2, Area.Top + (Area.Height() - Form->Height()) / 2,
                    Form->Width(), Form->Height());
}

void TCustomForm::CMShowingChanged(TMessage &)
{
    if (FShowing) {
        FFormState.Include(fsShowing);
        try {
            DoShow();
        } catch (...) {
            FFormState.Exclude(fsShowing);
            Application->HandleException(this);
        }
        FFormState.Exclude(fsShowing);
        switch (FPosition) {
        case poScreenCenter:
        case poDesktopCenter:
            CenterOn(this, Screen->WorkAreaRect());
            break;
        case poMainFormCenter:
        case poOwnerFormCenter:
            if (TCustomForm *Main = Application->MainForm(); Main && Main != this)
                CenterOn(this, Main->BoundsRect());
            else
                CenterOn(this, Screen->WorkAreaRect());
            break;
        default:
            break;
        }
        int Command = SW_SHOWNORMAL;
        if (FWindowState == wsMaximized)
            Command = SW_SHOWMAXIMIZED;
        else if (FWindowState == wsMinimized)
            Command = SW_SHOWMINIMIZED;
        ShowWindow(FHandle, Command);
        SetActiveWindow(FHandle);
    } else {
        try {
            DoHide();
        } catch (...) {
            Application->HandleException(this);
        }
        if (FHandle)
            ShowWindow(FHandle, SW_HIDE);
        FActive = false;
    }
}

int TCustomForm::ShowModal()
{
    if (FVisible || !FEnabled || FFormState.Contains(fsModal))
        throw EInvalidOperation(QStringLiteral("Cannot make a visible window modal"));
    FFormState.Include(fsModal);
    FModalResult = mrNone;
    try {
        Show();
        while (FModalResult == mrNone) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            ProcessPendingMessages();
            if (Application->Terminated())
                FModalResult = mrCancel;
            else if (FModalResult != mrNone) {
                TCloseAction Action = caHide;
                if (CloseQuery())
                    DoClose(Action);
                else
                    Action = caNone;
                if (Action == caNone)
                    FModalResult = mrNone;
            }
        }
    } catch (...) {
        FFormState.Exclude(fsModal);
        Hide();
        throw;
    }
    FFormState.Exclude(fsModal);
    Hide();
    return FModalResult;
}

bool TCustomForm::CloseQuery()
{
    bool CanClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, CanClose);
    return CanClose;
}

void TCustomForm::Close()
{
    if (FFormState.Contains(fsModal)) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction Action = caHide;
    if (FFormStyle == fsMDIChild)
        Action = FBorderIcons.Contains(biMinimize) ? caMinimize : caNone;
    DoClose(Action);
    if (Action == caNone)
        return;
    if (Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (Action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    default: Release(); break;
    }
}

void TCustomForm::Release()
{
    PostMessage(Handle(), CM_RELEASE, 0, 0);
}

void TCustomForm::CMRelease(TMessage &)
{
    Free();
}

void TCustomForm::DoCreate()
{
    if (OnCreate)
        OnCreate(this);
}

void TCustomForm::DoDestroy()
{
    try {
        if (OnDestroy)
            OnDestroy(this);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TCustomForm::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide)
        OnHide(this);
}

void TCustomForm::DoClose(TCloseAction &Action)
{
    if (OnClose)
        OnClose(this, Action);
}

void TCustomForm::Activate()
{
    if (OnActivate)
        OnActivate(this);
}

void TCustomForm::Deactivate()
{
    if (OnDeactivate)
        OnDeactivate(this);
}

// ---- properties --------------------------------------------------------------------------------------------

void TCustomForm::SetBorderStyle(TFormBorderStyle Value)
{
    if (FBorderStyle == Value)
        return;
    FBorderStyle = Value;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value)
{
    if (FBorderIcons == Value)
        return;
    FBorderIcons = Value;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value)
{
    if (FFormStyle == Value)
        return;
    const bool TopChanged = (FFormStyle == fsStayOnTop) != (Value == fsStayOnTop);
    FFormStyle = Value;
    if (TopChanged && FHandle)
        SetWindowPos(FHandle, Value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TWindowState TCustomForm::WindowState() const
{
    if (FHandle && FShowing) {
        if (IsIconic(FHandle))
            return wsMinimized;
        if (IsZoomed(FHandle))
            return wsMaximized;
        return wsNormal;
    }
    return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState Value)
{
    FWindowState = Value;
    if (!FHandle || !FShowing || WindowState() == Value)
        return;
    static const int Commands[] = {SW_RESTORE, SW_MINIMIZE, SW_SHOWMAXIMIZED};
    ShowWindow(FHandle, Commands[Value]);
}

TMonitor *TCustomForm::Monitor()
{
    return Screen->MonitorFromWindow(Handle());
}

// ---- focus -------------------------------------------------------------------------------------------------

void TCustomForm::SetActiveControl(TWinControl *Control)
{
    if (FActiveControl == Control)
        return;
    const bool Loading = ComponentState().Contains(csLoading);
    if (Control && (Control == this || GetParentForm(Control) != this || (!Loading && !Control->CanFocus())))
        throw EInvalidOperation(QStringLiteral("Cannot focus a disabled or invisible window"));
    FActiveControl = Control;
    if (!Loading && (FActive || FShowing))
        SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl *Control)
{
    const bool WasActive = FActive;
    SetActiveControl(Control);
    if (!WasActive && FShowing)
        SetWindowFocus();
}

void TCustomForm::SetFocus()
{
    if (!FVisible || !FEnabled)
        throw EInvalidOperation(QStringLiteral("Cannot focus a disabled or invisible window"));
    SetWindowFocus();
}

void TCustomForm::SetWindowFocus()
{
    HWND FocusHandle = FActiveControl ? FActiveControl->Handle() : Handle();
    if (FocusHandle && GetFocus() != FocusHandle)
        ::SetFocus(FocusHandle);
}

void TCustomForm::DefocusControl(TWinControl *Control, bool Removing)
{
    if (Removing && Control->ContainsControl(FFocusedControl))
        FFocusedControl = Control->Parent();
    if (Control->ContainsControl(FActiveControl))
        FActiveControl = nullptr;
    if (GScreen && Control->ContainsControl(GScreen->FActiveControl))
        GScreen->FActiveControl = nullptr;
}

// Answers false when the receiver moved the focus elsewhere meanwhile.
bool TCustomForm::SendFocusMessage(TWinControl *Control, UINT Msg)
{
    const int Count = FFocusCount;
    if (Control->HandleAllocated())
        SendMessage(Control->FHandle, Msg, 0, 0);
    else
        Control->Perform(Msg);
    return FFocusCount == Count;
}

bool TCustomForm::SetFocusedControl(TWinControl *Control)
{
    ++FFocusCount;
    FActiveControl = Control != this ? Control : nullptr;
    TScreen *S = Screen;
    S->FActiveControl = Control;
    S->FActiveCustomForm = this;
    S->FCustomForms.removeAll(this);
    S->FCustomForms.prepend(this);
    if (Control->FControlState.Contains(csFocusing))
        return false;
    Control->FControlState.Include(csFocusing);
    auto Done = [Control](bool Result) {
        Control->FControlState.Exclude(csFocusing);
        return Result;
    };
    try {
        if (S->FFocusedForm != this) {
            if (TCustomForm *Old = std::exchange(S->FFocusedForm, nullptr)) {
                if (!SendFocusMessage(Old, CM_DEACTIVATE))
                    return Done(false);
            }
            S->FFocusedForm = this;
            if (!SendFocusMessage(this, CM_ACTIVATE))
                return Done(false);
        }
        if (!FFocusedControl)
            FFocusedControl = this;
        if (FFocusedControl != Control) {
            while (FFocusedControl && !FFocusedControl->ContainsControl(Control)) {
                TWinControl *Leaving = FFocusedControl;
                FFocusedControl = FFocusedControl->Parent();
                if (!SendFocusMessage(Leaving, CM_EXIT))
                    return Done(false);
            }
            while (FFocusedControl != Control) {
                TWinControl *Entering = Control;
                while (Entering->Parent() != FFocusedControl)
                    Entering = Entering->Parent();
                FFocusedControl = Entering;
                if (!SendFocusMessage(Entering, CM_ENTER))
                    return Done(false);
            }
            Perform(CM_FOCUSCHANGED, 0, LPARAM(Control));
            if (S->OnActiveControlChange)
                S->OnActiveControlChange(S);
        }
    } catch (...) {
        Control->FControlState.Exclude(csFocusing);
        throw;
    }
    return Done(true);
}

void TCustomForm::SetActive(bool Value)
{
    FActive = Value;
    if (Value) {
        FFormState.Include(fsActivated);
        if (!FActiveControl)
            FActiveControl = FindNextControl(nullptr, true, true, false);
        SetWindowFocus();
        Activate();
    } else {
        Deactivate();
    }
}

// ---- messages -----------------------------------------------------------------------------------------------

void TCustomForm::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_ACTIVATE: WMActivate(Message); break;
    case WM_CLOSE: WMClose(Message); break;
    case WM_SYSCOMMAND: WMSysCommand(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_GETMINMAXINFO: WMGetMinMaxInfo(Message); break;
    case WM_PAINT: WMPaint(Message); break;
    case WM_COMMAND:
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR: WMMenuMessage(Message); break;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    case CM_ACTIVATE: CMActivate(Message); break;
    case CM_DEACTIVATE: CMDeactivate(Message); break;
    case CM_RELEASE: CMRelease(Message); break;
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    default: inherited::Dispatch(Message); break;
    }
}

void TCustomForm::WMActivate(TMessage &Message)
{
    DefaultHandler(Message);
    if (FFormStyle != fsMDIForm)
        SetActive(TWMActivate{Message}.Active() != WA_INACTIVE);
}

void TCustomForm::WMMenuMessage(TMessage &Message)
{
    if (!FMenu || !FMenu->DispatchMenuMessage(Message))
        inherited::Dispatch(Message);
}

void TCustomForm::WMClose(TMessage &)
{
    Close();
}

void TCustomForm::WMSysCommand(TMessage &Message)
{
    if (TWMSysCommand{Message}.CmdType() == SC_MINIMIZE && Application->MainForm() == this) {
        Application->Minimize();
        return;
    }
    DefaultHandler(Message);
}

void TCustomForm::WMSize(TMessage &Message)
{
    inherited::WMSize(Message);
    if (FHandle && FShowing)
        FWindowState = IsIconic(FHandle) ? wsMinimized : IsZoomed(FHandle) ? wsMaximized : wsNormal;
}

// The window's limits are the form's Constraints (0: no limit), so the window system keeps to them as
// SetBounds does.
void TCustomForm::WMGetMinMaxInfo(TMessage &Message)
{
    auto *Info = reinterpret_cast<MINMAXINFO *>(Message.LParam);
    if (Info && !ComponentState().Contains(csReading)) {
        TSizeConstraints *C = Constraints();
        if (C->MinWidth() > 0)
            Info->ptMinTrackSize.X = C->MinWidth();
        if (C->MinHeight() > 0)
            Info->ptMinTrackSize.Y = C->MinHeight();
        if (C->MaxWidth() > 0)
            Info->ptMaxTrackSize.X = C->MaxWidth();
        if (C->MaxHeight() > 0)
            Info->ptMaxTrackSize.Y = C->MaxHeight();
        ConstrainedResize(Info->ptMinTrackSize.X, Info->ptMinTrackSize.Y, Info->ptMaxTrackSize.X,
                          Info->ptMaxTrackSize.Y);
    }
    DefaultHandler(Message);
}

void TCustomForm::WMPaint(TMessage &Message)
{
    TCustomPaintScope Scope(FControlState);
    inherited::WMPaint(Message);
}

void TCustomForm::PaintWindow(HDC DC)
{
    TCanvasDCScope Scope(FCanvas, DC);
    Paint();
}

void TCustomForm::Paint()
{
    if (OnPaint)
        OnPaint(this);
}

// Tab and Shift+Tab move through the form; arrows move among the active control's siblings.
void TCustomForm::CMDialogKey(TMessage &Message)
{
    if (GetKeyState(VK_MENU) >= 0) {
        TWMKey Key{Message};
        switch (Key.CharCode()) {
        case VK_TAB:
            if (GetKeyState(VK_CONTROL) >= 0) {
                SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
                Message.Result = 1;
                return;
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (FActiveControl && FActiveControl->Parent()) {
                FActiveControl->Parent()->SelectNext(FActiveControl,
                                                     Key.CharCode() == VK_RIGHT || Key.CharCode() == VK_DOWN, false);
                Message.Result = 1;
            }
            return;
        default:
            break;
        }
    }
    inherited::CMDialogKey(Message);
}

void TCustomForm::CMActivate(TMessage &) {}

void TCustomForm::CMDeactivate(TMessage &) {}

void TCustomForm::CMTextChanged(TMessage &Message)
{
    inherited::CMTextChanged(Message);
}

// ---- TMonitor / TScreen ---------------------------------------------------------------------------------

KIV_PUBLISHED(TMonitor) {}

bool TMonitor::Primary() const
{
    MONITORINFO Info;
    return GetMonitorInfo(FHandle, &Info) && (Info.dwFlags & MONITORINFOF_PRIMARY);
}

TRect TMonitor::BoundsRect() const
{
    MONITORINFO Info;
    GetMonitorInfo(FHandle, &Info);
    return Info.rcMonitor;
}

TRect TMonitor::WorkareaRect() const
{
    MONITORINFO Info;
    GetMonitorInfo(FHandle, &Info);
    return Info.rcWork;
}

KIV_PUBLISHED(TScreen) {}

TScreen::~TScreen()
{
    for (TMonitor *M : std::as_const(FMonitors))
        M->Free();
}

int TScreen::Width() const
{
    return GetSystemMetrics(SM_CXSCREEN);
}

int TScreen::Height() const
{
    return GetSystemMetrics(SM_CYSCREEN);
}

TRect TScreen::WorkAreaRect() const
{
    RECT R;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &R, 0);
    return R;
}

void TScreen::UpdateMonitors()
{
    const int Count = ::MonitorCount();
    QList<TMonitor *> List;
    for (int I = 0; I < Count; ++I) {
        const HMONITOR Handle = MonitorByIndex(I);
        TMonitor *M = nullptr;
        for (TMonitor *Old : std::as_const(FMonitors))
            if (Old->FHandle == Handle)
                M = Old;
        if (!M) {
            M = TMonitor::Create();
            M->FHandle = Handle;
        }
        M->FMonitorNum = I;
        List.append(M);
    }
    for (TMonitor *Old : std::as_const(FMonitors))
        if (!List.contains(Old))
            Old->Free();
    FMonitors = List;
}

int TScreen::MonitorCount()
{
    UpdateMonitors();
    return int(FMonitors.size());
}

TMonitor *TScreen::Monitors(int Index)
{
    UpdateMonitors();
    return FMonitors.value(Index);
}

static DWORD MonitorFlags(TMonitorDefaultTo Default)
{
    switch (Default) {
    case mdNull: return MONITOR_DEFAULTTONULL;
    case mdPrimary: return MONITOR_DEFAULTTOPRIMARY;
    default: return MONITOR_DEFAULTTONEAREST;
    }
}

TMonitor *TScreen::MonitorFromWindow(HWND Handle, TMonitorDefaultTo Default)
{
    const HMONITOR H = ::MonitorFromWindow(Handle, MonitorFlags(Default));
    UpdateMonitors();
    for (TMonitor *M : std::as_const(FMonitors))
        if (M->FHandle == H)
            return M;
    return nullptr;
}

TMonitor *TScreen::MonitorFromPoint(const TPoint &Point, TMonitorDefaultTo Default)
{
    const HMONITOR H = ::MonitorFromPoint(Point, MonitorFlags(Default));
    UpdateMonitors();
    for (TMonitor *M : std::as_const(FMonitors))
        if (M->FHandle == H)
            return M;
    return nullptr;
}

TForm *TScreen::ActiveForm() const
{
    return dynamic_cast<TForm *>(FActiveCustomForm);
}

// A screen cursor other than crDefault shows over every window of the program.
void TScreen::SetCursor(TCursor Value)
{
    if (FCursor == Value)
        return;
    if (FCursor != crDefault)
        QGuiApplication::restoreOverrideCursor();
    FCursor = Value;
    if (Value != crDefault)
        QGuiApplication::setOverrideCursor(QCursor(CursorShapeOf(Value)));
}

void TScreen::AddForm(TCustomForm *AForm)
{
    FCustomForms.append(AForm);
    if (auto *F = dynamic_cast<TForm *>(AForm))
        FForms.append(F);
}

void TScreen::RemoveForm(TCustomForm *AForm)
{
    FCustomForms.removeAll(AForm);
    FForms.removeAll(static_cast<TForm *>(AForm));
    if (FActiveCustomForm == AForm)
        FActiveCustomForm = nullptr;
    if (FFocusedForm == AForm)
        FFocusedForm = nullptr;
    if (FActiveControl && GetParentForm(FActiveControl) == AForm)
        FActiveControl = nullptr;
}

// ---- TApplication ----------------------------------------------------------------------------------------

KIV_PUBLISHED(TApplication) {}

void TApplication::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FTitle = QCoreApplication::applicationName();
}

TApplication::~TApplication()
{
    if (FHandle)
        DestroyWindow(FHandle);
}

void TApplication::Initialize()
{
    if (FInitialized)
        return;
    FInitialized = true;
    SetMessageFilter([this](MSG &Msg) { return FilterMessage(Msg); });
    SetExceptionHandler([this] { HandleException(nullptr); });
}

void TApplication::Run()
{
    Initialize();
    FRunning = true;
    try {
        if (FMainForm && FShowMainForm)
            FMainForm->SetVisible(true);
    } catch (...) {
        HandleException(FMainForm);
    }
    while (!FTerminated) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        ProcessPendingMessages();
    }
    FRunning = false;
    // The program ends with the loop: its forms go now, with their OnDestroy, while Qt is still up.
    try {
        DestroyComponents();
    } catch (...) {
        HandleException(this);
    }
}

void TApplication::ProcessMessages()
{
    ProcessPendingMessages();
}

bool TApplication::ProcessMessagesUntil(const std::function<bool()> &Done, int Ms)
{
    return ProcessPendingMessagesUntil(Done, Ms);
}

void TApplication::Terminate()
{
    FTerminated = true;
    PostQuitMessage(0);
    if (QAbstractEventDispatcher *D = QAbstractEventDispatcher::instance(QThread::currentThread()))
        D->wakeUp();
}

void TApplication::MainFormClosed()
{
    if (FRunning)
        Terminate();
}

void TApplication::Minimize()
{
    if (FMainForm && FMainForm->HandleAllocated())
        ShowWindow(FMainForm->FHandle, SW_MINIMIZE);
    if (OnMinimize)
        OnMinimize(this);
}

void TApplication::Restore()
{
    if (FMainForm && FMainForm->HandleAllocated())
        ShowWindow(FMainForm->FHandle, SW_RESTORE);
    if (OnRestore)
        OnRestore(this);
}

void TApplication::BringToFront()
{
    if (FMainForm && FMainForm->HandleAllocated())
        SetForegroundWindow(FMainForm->FHandle);
}

bool TApplication::Active() const
{
    return FindControl(GetActiveWindow()) != nullptr;
}

HWND TApplication::Handle()
{
    if (!FHandle) {
        const QString ClassName = QStringLiteral("TApplication");
        WNDCLASS Class;
        if (!GetClassInfo(HInstance, ClassName, &Class)) {
            Class.lpfnWndProc = MakeWndProc(&DefWindowProc);
            Class.lpszClassName = ClassName;
            RegisterClass(&Class);
        }
        FHandle = CreateWindowEx(WS_EX_TOOLWINDOW, ClassName, FTitle, WS_POPUP, 0, 0, 0, 0, nullptr, 0, HInstance,
                                 nullptr);
    }
    return FHandle;
}

void TApplication::HandleException(TObject *Sender)
{
    const std::exception_ptr Current = std::current_exception();
    if (!Current)
        return;
    auto Report = [this, Sender](const Exception &E) {
        try {
            bool Handled = false;
            const QList<TApplicationEvents *> Events = FAppEvents;
            for (TApplicationEvents *Events1 : Events)
                if (FAppEvents.contains(Events1) && Events1->OnException) {
                    Events1->OnException(Sender, E);
                    Handled = true;
                }
            if (Handled)
                return;
            if (OnException)
                OnException(Sender, E);
            else
                ShowException(E);
        } catch (...) {
            // An exception while reporting one is dropped: nothing may leave the message loop.
        }
    };
    try {
        std::rethrow_exception(Current);
    } catch (const Exception &E) {
        Report(E);
    } catch (const std::exception &E) {
        Report(Exception(QString::fromLocal8Bit(E.what())));
    } catch (...) {
        Report(Exception(QStringLiteral("Unknown exception")));
    }
}

void TApplication::ShowException(const Exception &E)
{
    QString Message = E.Message();
    if (!Message.isEmpty() && Message.back() > u'.')
        Message += u'.';
    if (ShowExceptionHook) {
        ShowExceptionHook(Message);
        return;
    }
    QMessageBox::critical(nullptr, FTitle, Message);
}

void TApplication::ControlDestroyed(TControl *Control)
{
    if (FMouseControl == Control)
        FMouseControl = nullptr;
    if (FMainForm == Control)
        FMainForm = nullptr;
    if (GScreen && GScreen->FActiveControl == Control)
        GScreen->FActiveControl = nullptr;
}

bool TApplication::FilterMessage(MSG &Msg)
{
    try {
        if (Msg.message == WM_MOUSEMOVE)
            DoMouseMove(Msg);
        else if (Msg.message == WM_MOUSELEAVE) {
            TWinControl *Left = FindControl(Msg.hwnd);
            if (FMouseControl && (!Left || FMouseControl == Left || Left->ContainsControl(FMouseControl)))
                SetMouseControl(nullptr);
        }
        bool Handled = false;
        const QList<TApplicationEvents *> Events = FAppEvents;
        for (int I = int(Events.size()) - 1; I >= 0; --I) {
            TApplicationEvents *E = Events[I];
            if (!FAppEvents.contains(E))
                continue;
            if (E->DoMessage(Msg, Handled))
                break;
        }
        if (!Handled && OnMessage)
            OnMessage(Msg, Handled);
        if (!Handled)
            Handled = IsKeyMsg(Msg);
        return Handled;
    } catch (...) {
        HandleException(this);
        return true;
    }
}

bool TApplication::IsKeyMsg(MSG &Msg)
{
    if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST)
        return false;
    HWND Wnd = GetCapture();
    if (!Wnd) {
        Wnd = Msg.hwnd;
        while (Wnd && !FindControl(Wnd))
            Wnd = GetParent(Wnd);
        if (!Wnd)
            return false;
        // A window the framework did not make (a native child on a panel) keeps its characters and
        // arrows; only Tab, Enter and Escape it does not ask for become dialog keys of its form.
        if (Wnd != Msg.hwnd) {
            if (Msg.message != WM_KEYDOWN)
                return false;
            LRESULT Mask = 0;
            switch (Msg.wParam) {
            case VK_TAB: Mask = DLGC_WANTTAB; break;
            case VK_RETURN:
            case VK_ESCAPE: Mask = DLGC_WANTALLKEYS; break;
            default: return false;
            }
            if (SendMessage(Msg.hwnd, WM_GETDLGCODE, Msg.wParam, 0) & Mask)
                return false;
        }
        return SendMessage(Wnd, CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
    }
    if (FindControl(Wnd))
        return SendMessage(Wnd, CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
    return false;
}

// The control under the pointer: windowless ones through their parent's window.
void TApplication::DoMouseMove(const MSG &Msg)
{
    TControl *Target = nullptr;
    POINT P{GET_X_LPARAM(Msg.lParam), GET_Y_LPARAM(Msg.lParam)};
    if (GetCapture()) {
        ::ClientToScreen(Msg.hwnd, &P);
        Target = FindDragTarget(P, false);
    } else {
        HWND Wnd = Msg.hwnd;
        TWinControl *Window = nullptr;
        while (Wnd && !(Window = FindControl(Wnd)))
            Wnd = GetParent(Wnd);
        if (Window) {
            if (Wnd != Msg.hwnd)
                MapWindowPoints(Msg.hwnd, Wnd, &P, 1);
            TControl *Control = Window->ControlAtPos(P, false);
            Target = Control ? Control : Window;
        }
    }
    SetMouseControl(Target);
}

void TApplication::SetMouseControl(TControl *Control)
{
    if (FMouseControl == Control)
        return;
    TControl *Old = FMouseControl;
    FMouseControl = Control;
    if (Old)
        Old->Perform(CM_MOUSELEAVE, 0, LPARAM(Old));
    if (Control && FMouseControl == Control) {
        ShowControlCursor(Control);
        Control->Perform(CM_MOUSEENTER, 0, LPARAM(Control));
    }
}
