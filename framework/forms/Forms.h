#pragma once
// Forms, the application object and the screen.
//
// A form is a top-level window built from the layout resource named after its class
// (":/kiv/forms/<CLASSNAME>"); CreateNew makes an empty one. The application runs the message loop: every
// queued message passes the application's filter first (the OnMessage of every TApplicationEvents, then
// the key handling that gives the focused control CN_KEYDOWN/CN_CHAR first and turns dialog keys into
// CM_DIALOGKEY/CM_DIALOGCHAR for its form), and the pointer tracking that sends CM_MOUSEENTER/CM_MOUSELEAVE.

#include "framework/controls/Controls.h"
#include "framework/controls/Menus.h"

#include <QList>
#include <functional>

class TApplicationEvents;
class TForm;
class TMonitor;

KIV_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
using TBorderIcons = TSet<TBorderIcon>;
KIV_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
KIV_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)
KIV_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
         poMainFormCenter, poOwnerFormCenter)
KIV_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)
KIV_ENUM(TTileMode, tbHorizontal, tbVertical)
KIV_ENUM(TFormStateItem, fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated)
using TFormState = TSet<TFormStateItem>;
KIV_ENUM(TMonitorDefaultTo, mdNearest, mdNull, mdPrimary)

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;

using TCloseEvent = TEvent<void(TObject *Sender, TCloseAction &Action)>;
using TCloseQueryEvent = TEvent<void(TObject *Sender, bool &CanClose)>;
using TExceptionEvent = TEvent<void(TObject *Sender, const Exception &E)>;
using TMessageEvent = TEvent<void(MSG &Msg, bool &Handled)>;
using TShortCutEvent = TEvent<void(TWMKey &Msg, bool &Handled)>;

// ---- TScrollingWinControl -------------------------------------------------------------------------------

class TScrollingWinControl : public TWinControl
{
    KIV_OBJECT(TScrollingWinControl, TWinControl)
public:
    void Construct(TComponent *AOwner) override;
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool Value) { FAutoScroll = Value; }
    // Scrolls a child into view; without scroll bars there is nothing to do.
    void ScrollInView(TControl *) {}

private:
    bool FAutoScroll = true;
};

// ---- TCustomForm ---------------------------------------------------------------------------------------

class TCustomForm : public TScrollingWinControl
{
    KIV_OBJECT(TCustomForm, TScrollingWinControl)
public:
    // Reads the layout resource of the class (raises EResNotFound when a class derived from TForm has
    // none), then OnCreate.
    void Construct(TComponent *AOwner) override;
    // An empty form of class T, without a layout.
    template <class T = TForm>
    static T *CreateNew(TComponent *AOwner)
    {
        FCreatingNew = true;
        return T::Create(AOwner);
    }
    void BeforeDestruction() override;
    ~TCustomForm() override;

    // ---- showing and closing
    void Show();
    void Hide();
    // Runs a local event loop until ModalResult is set; answers it.
    virtual int ShowModal();
    // CloseQuery, then OnClose decides: hide, free (later), minimise or nothing. Closing the main form
    // ends the application.
    void Close();
    virtual bool CloseQuery();
    // Frees the form once the messages being handled are done (CM_RELEASE).
    void Release();
    void SetFocus() override;
    void FocusControl(TWinControl *Control);
    // The focus moved to Control (WM_SETFOCUS): CM_EXIT/CM_ENTER along the way, then CM_FOCUSCHANGED.
    bool SetFocusedControl(TWinControl *Control);
    void DefocusControl(TWinControl *Control, bool Removing);

    // ---- properties
    bool Active() const { return FActive; }
    TWinControl *ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl *Control);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    TWindowState WindowState() const;
    void SetWindowState(TWindowState Value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    bool Scaled() const { return FScaled; }
    void SetScaled(bool Value) { FScaled = Value; }
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value) { FPixelsPerInch = Value; }
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool Value) { FKeyPreview = Value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    // The menu bar's menu. One main menu serves one form: raises EInvalidOperation when another form has it.
    TMainMenu *Menu() const { return FMenu; }
    void SetMenu(TMainMenu *Value);
    TFormState FormState() const { return FFormState; }
    // OnShortCut, then the Menu's items: answers whether the key ran one (or OnShortCut took it).
    virtual bool IsShortCut(TWMKey &Message);
    TCanvas *Canvas() const { return FCanvas; }
    bool OldCreateOrder() const { return FOldCreateOrder; }
    void SetOldCreateOrder(bool Value) { FOldCreateOrder = Value; }
    void DefineProperties(TFiler *Filer) override;
    TMonitor *Monitor();
    // The MDI client window (none yet).
    HWND ClientHandle() const { return FClientHandle; }

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

    void Dispatch(TMessage &Message) override;

protected:
    void CreateParams(TCreateParams &Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Loaded() override;
    void Notification(TComponent *AComponent, TOperation Operation) override;
    void PaintWindow(HDC DC) override;
    virtual void Paint();
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction &Action);
    virtual void Activate();
    virtual void Deactivate();
    void SetWindowFocus();
    void SetActive(bool Value);
    bool SendFocusMessage(TWinControl *Control, UINT Msg);
    void GetChildren(TGetChildProc Proc, TComponent *Root) override;

    void WMActivate(TMessage &Message);
    void WMClose(TMessage &Message);
    void WMSysCommand(TMessage &Message);
    void WMSize(TMessage &Message);
    void WMGetMinMaxInfo(TMessage &Message);
    void WMPaint(TMessage &Message);
    // Commands, owner draw and the loop's questions for the Menu's items.
    void WMMenuMessage(TMessage &Message);
    // Gives the window the Menu's bar, or takes the bar away.
    void SetWindowMenu();
    void CMShowingChanged(TMessage &Message);
    void CMVisibleChanged(TMessage &Message);
    void CMDialogKey(TMessage &Message);
    void CMActivate(TMessage &Message);
    void CMDeactivate(TMessage &Message);
    void CMRelease(TMessage &Message);
    void CMTextChanged(TMessage &Message);

    friend class TApplication;
    friend class TScreen;

    TWinControl *FActiveControl = nullptr;
    TWinControl *FFocusedControl = nullptr;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TFormStyle FFormStyle = fsNormal;
    TWindowState FWindowState = wsNormal;
    TPosition FPosition = poDesigned;
    bool FScaled = true;
    int FPixelsPerInch = 96;
    bool FKeyPreview = false;
    TModalResult FModalResult = mrNone;
    TMainMenu *FMenu = nullptr;
    TFormState FFormState;
    HWND FClientHandle = nullptr;
    TCanvas *FCanvas = nullptr;
    bool FOldCreateOrder = false;
    int FTextHeight = 0;
    bool FActive = false;
    int FFocusCount = 0;
    inline static bool FCreatingNew = false;

private:
    friend struct TCustomForm_Published;
};

class TForm : public TCustomForm
{
    KIV_OBJECT(TForm, TCustomForm)
};

// The form a control sits on (its top-level parent when that is a form), or nullptr.
TCustomForm *GetParentForm(TControl *Control);
// As GetParentForm, but raises EInvalidOperation when the control is not on a form.
TCustomForm *ValidParentForm(TControl *Control);

// ---- screen and monitors -----------------------------------------------------------------------------------

class TMonitor : public TObject
{
    KIV_OBJECT(TMonitor, TObject)
public:
    HMONITOR Handle() const { return FHandle; }
    int MonitorNum() const { return FMonitorNum; }
    bool Primary() const;
    TRect BoundsRect() const;
    TRect WorkareaRect() const;
    int Left() const { return BoundsRect().Left; }
    int Top() const { return BoundsRect().Top; }
    int Width() const { return BoundsRect().Width(); }
    int Height() const { return BoundsRect().Height(); }

private:
    friend class TScreen;
    HMONITOR FHandle = nullptr;
    int FMonitorNum = 0;
};

class TScreen : public TComponent
{
    KIV_OBJECT(TScreen, TComponent)
public:
    ~TScreen() override;

    int Width() const;
    int Height() const;
    TRect WorkAreaRect() const;
    int WorkAreaLeft() const { return WorkAreaRect().Left; }
    int WorkAreaTop() const { return WorkAreaRect().Top; }
    int WorkAreaWidth() const { return WorkAreaRect().Width(); }
    int WorkAreaHeight() const { return WorkAreaRect().Height(); }
    int MonitorCount();
    TMonitor *Monitors(int Index);
    TMonitor *MonitorFromWindow(HWND Handle, TMonitorDefaultTo Default = mdNearest);
    TMonitor *MonitorFromPoint(const TPoint &Point, TMonitorDefaultTo Default = mdNearest);
    int PixelsPerInch() const { return 96; }

    // The form that has (or last had) the focus, and its focused control.
    TCustomForm *ActiveCustomForm() const { return FActiveCustomForm; }
    TForm *ActiveForm() const;
    TWinControl *ActiveControl() const { return FActiveControl; }
    int FormCount() const { return int(FForms.size()); }
    TForm *Forms(int Index) const { return FForms.value(Index); }
    int CustomFormCount() const { return int(FCustomForms.size()); }
    TCustomForm *CustomForms(int Index) const { return FCustomForms.value(Index); }
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);

    TNotifyEvent OnActiveControlChange;
    TNotifyEvent OnActiveFormChange;

private:
    friend class TCustomForm;
    friend class TApplication;
    void AddForm(TCustomForm *AForm);
    void RemoveForm(TCustomForm *AForm);
    void UpdateMonitors();

    QList<TCustomForm *> FCustomForms;
    QList<TForm *> FForms;
    QList<TMonitor *> FMonitors;
    TCustomForm *FActiveCustomForm = nullptr;
    TCustomForm *FFocusedForm = nullptr;
    TWinControl *FActiveControl = nullptr;
    TCursor FCursor = crDefault;
};

// ---- TApplication ------------------------------------------------------------------------------------------

// How an exception that reached the message loop is shown; tests replace it so nothing blocks.
// Empty: a modal message box.
extern std::function<void(const QString &Message)> ShowExceptionHook;

class TApplication : public TComponent
{
    KIV_OBJECT(TApplication, TComponent)
public:
    void Construct(TComponent *AOwner) override;
    ~TApplication() override;

    // Installs the message filter; call once before creating forms.
    void Initialize();
    // Creates a form of class T into Reference; the first form created becomes the main form.
    template <class T>
    void CreateForm(T *&Reference)
    {
        Initialize();
        Reference = nullptr;
        FCreatingMainForm = FMainForm == nullptr;
        T *Form = T::Create(this);
        Reference = Form;
        if (FCreatingMainForm && !FMainForm)
            FMainForm = Form;
        FCreatingMainForm = false;
    }
    // Shows the main form and runs the message loop until the main form closes or Terminate; then frees
    // the forms the application owns.
    void Run();
    // Delivers what is waiting (re-entrant).
    void ProcessMessages();
    // Delivers what comes, waiting for more, until Done answers true or Ms milliseconds have passed;
    // answers Done's last word. For programs that show a window for a moment (pictures, tests).
    bool ProcessMessagesUntil(const std::function<bool()> &Done, int Ms);
    // Called inside a catch handler: OnException of the application events or of the application, else
    // ShowException. Never throws.
    void HandleException(TObject *Sender);
    void ShowException(const Exception &E);
    void Terminate();
    bool Terminated() const { return FTerminated; }
    void Minimize();
    void Restore();
    void BringToFront();

    TCustomForm *MainForm() const { return FMainForm; }
    // An own top-level window is active.
    bool Active() const;
    QString Title() const { return FTitle; }
    void SetTitle(const QString &Value) { FTitle = Value; }
    // A hidden utility window (timers and posted notifications of the framework use it).
    HWND Handle();
    bool ShowMainForm() const { return FShowMainForm; }
    void SetShowMainForm(bool Value) { FShowMainForm = Value; }
    // The control the pointer is over, as the enter/leave tracking last saw it.
    TControl *MouseControl() const { return FMouseControl; }

    // The filter every queued message passes; answers true when the message was handled.
    bool FilterMessage(MSG &Msg);
    bool IsKeyMsg(MSG &Msg);
    void ControlDestroyed(TControl *Control);

    TExceptionEvent OnException;
    TMessageEvent OnMessage;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;

private:
    friend class TApplicationEvents;
    friend class TCustomForm;
    void DoMouseMove(const MSG &Msg);
    void SetMouseControl(TControl *Control);
    void MainFormClosed();

    TCustomForm *FMainForm = nullptr;
    QList<TApplicationEvents *> FAppEvents;
    TControl *FMouseControl = nullptr;
    HWND FHandle = nullptr;
    QString FTitle;
    bool FInitialized = false;
    bool FTerminated = false;
    bool FRunning = false;
    bool FShowMainForm = true;
    bool FCreatingMainForm = false;
    bool FHandlingException = false;
};

// The application and the screen objects, made on first use.
struct TApplicationRef
{
    TApplication *operator->() const { return Get(); }
    operator TApplication *() const { return Get(); }
    static TApplication *Get();
    // The application when it exists, without making it.
    static TApplication *Peek();
};
struct TScreenRef
{
    TScreen *operator->() const { return Get(); }
    operator TScreen *() const { return Get(); }
    static TScreen *Get();
};
inline constexpr TApplicationRef Application{};
inline constexpr TScreenRef Screen{};
