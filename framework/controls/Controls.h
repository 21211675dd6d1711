#pragma once
// Controls: TControl (windowless or windowed), TWinControl (a platform window created on demand),
// TGraphicControl (painted by its parent), TCustomControl (a window with a canvas and Paint).
//
// Messages reach a control through its WindowProc (replaceable, e.g. by a component that hooks its form),
// whose default is WndProc; WndProc hands them to Dispatch, which each class overrides with a switch over
// the messages it handles (handlers named after the message) and hands the rest to inherited::Dispatch.
// What no class handles ends in DefaultHandler: for a window, its class's original window procedure.

#include "framework/controls/Messages.h"
#include "framework/core/Classes.h"
#include "framework/core/TypInfo.h"
#include "framework/graphics/Graphics.h"

#include <QList>
#include <functional>

class TControl;
class TWinControl;
class TCustomForm;
class TPopupMenu;

KIV_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom)
using TAlignSet = TSet<TAlign>;
KIV_ENUM(TAnchorKind, akLeft, akTop, akRight, akBottom)
using TAnchors = TSet<TAnchorKind>;
KIV_ENUM(TBiDiMode, bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly)
// Forms use all values; panels and memos only bsNone and bsSingle (the classic TBorderStyle subrange).
KIV_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
using TBorderStyle = TFormBorderStyle;

KIV_ENUM(TControlStyleItem, csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed,
         csSetCaption, csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible,
         csReplicatable, csNoStdEvents, csDisplayDragImage, csReflector, csActionClient, csMenuEvents)
using TControlStyle = TSet<TControlStyleItem>;
KIV_ENUM(TControlStateItem, csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing,
         csCreating, csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking)
using TControlState = TSet<TControlStateItem>;

using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
const TIdentMap &CursorIdents();

using TWndMethod = std::function<void(TMessage &Message)>;
using TCaption = QString;
// MousePos in client coordinates, (-1, -1) when the keyboard asked; Handled keeps the PopupMenu shut.
using TContextPopupEvent = TEvent<void(TObject *Sender, TPoint MousePos, bool &Handled)>;

// The shift state of key data (Alt from bit 29) and of the keyboard now (Shift, Ctrl).
TShiftState KeyDataToShiftState(LPARAM KeyData);
// The shift state of a mouse message's key flags (MK_*) plus Alt from the keyboard.
TShiftState KeysToShiftState(WPARAM Keys);

// The anchors an alignment implies (alTop: left, top and right ...).
TAnchors AnchorAlignOf(TAlign Align);

// ---- TSizeConstraints ------------------------------------------------------------------------------------

// Minimum and maximum size of a control; 0 means no limit.
class TSizeConstraints : public TPersistent
{
    KIV_OBJECT(TSizeConstraints, TPersistent)
public:
    void Construct(TControl *AControl);
    void Assign(TPersistent *Source) override;

    int MaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(int Value);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int Value);
    int MinHeight() const { return FMinHeight; }
    void SetMinHeight(int Value);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int Value);
    TControl *Control() const { return FControl; }

    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    TControl *FControl = nullptr;
    int FMaxHeight = 0;
    int FMaxWidth = 0;
    int FMinHeight = 0;
    int FMinWidth = 0;
};

// ---- TControlCanvas ---------------------------------------------------------------------------------------

// A canvas on a control. During painting the framework hands it the paint DC; used outside a paint it
// takes a DC of its own: the window's client DC, or for a windowless control the parent's client DC moved
// to the control's origin and clipped to it.
class TControlCanvas : public TCanvas
{
    KIV_OBJECT(TControlCanvas, TCanvas)
public:
    ~TControlCanvas() override;
    TControl *Control() const { return FControl; }
    void SetControl(TControl *AControl);
    // Gives back a DC this canvas took for itself (none when the handle was handed in).
    void FreeHandle();

protected:
    void CreateHandle() override;

private:
    TControl *FControl = nullptr;
    HDC FDeviceContext = nullptr;
    HWND FWindowHandle = nullptr;
};

// ---- TControl -------------------------------------------------------------------------------------------

class TControl : public TComponent
{
    KIV_OBJECT(TControl, TComponent)
public:
    void Construct(TComponent *AOwner) override;
    void BeforeDestruction() override;
    ~TControl() override;

    // ---- place
    TWinControl *Parent() const { return FParent; }
    virtual void SetParent(TWinControl *AParent);
    int Left() const { return FLeft; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    int Top() const { return FTop; }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    int Width() const { return FWidth; }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    int Height() const { return FHeight; }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    // Applies Constraints, moves the window (if any), realigns the parent, and raises Resize on a size change.
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect &R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
    TRect ClientRect() { return GetClientRect(); }
    int ClientWidth() { return ClientRect().Width(); }
    void SetClientWidth(int Value);
    int ClientHeight() { return ClientRect().Height(); }
    void SetClientHeight(int Value);
    void SetClientSize(int AWidth, int AHeight);
    // Screen position of the client area's top-left.
    TPoint ClientOrigin();
    TPoint ClientToScreen(const TPoint &Point);
    TPoint ScreenToClient(const TPoint &Point);
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value);
    TSizeConstraints *Constraints() const { return FConstraints; }
    void SetConstraints(TSizeConstraints *Value) { FConstraints->Assign(Value); }

    // ---- state
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    void Show();
    void Hide();
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    TFont *Font() const { return FFont; }
    void SetFont(TFont *Value) { FFont->Assign(Value); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    QString Caption() const { return GetText(); }
    void SetCaption(const QString &Value) { SetText(Value); }
    QString Text() const { return GetText(); }
    // Through WM_SETTEXT to the window when there is one; CM_TEXTCHANGED when the text changed.
    void SetText(const QString &Value);
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode Value);
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool Value);
    bool UseRightToLeftAlignment() const;
    bool UseRightToLeftReading() const;
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    QString Hint() const { return FHint; }
    void SetHint(const QString &Value) { FHint = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool Value);
    // A reference with free notification.
    TPopupMenu *PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu *Value);
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState Value) { FControlState = Value; }
    bool MouseCapture() const;
    void SetMouseCapture(bool Value);
    // Visible and, for a windowed control, on a shown parent chain up to a top-level.
    bool IsVisibleOnScreen() const;
    bool AutoSize() const { return FAutoSize; }
    virtual void SetAutoSize(bool Value);

    // ---- painting and z-order
    virtual void Invalidate();
    // Synchronous: invalidates and paints now.
    virtual void Repaint();
    void Refresh() { Repaint(); }
    virtual void Update();
    void BringToFront() { SetZOrder(true); }
    void SendToBack() { SetZOrder(false); }

    // ---- messages
    // The replaceable message entry; WndProc by default. Save it before replacing and chain to the saved one.
    TWndMethod WindowProc;
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    virtual void Dispatch(TMessage &Message);
    virtual void DefaultHandler(TMessage &Message);

    // ---- actions
    virtual void Click();
    virtual void DblClick();

    // ---- streaming
    bool HasParent() const override { return true; }
    TComponent *GetParentComponent() const override;
    void SetParentComponent(TComponent *Value) override;
    void ReadState(TReader *Reader) override;
    void Loaded() override;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnResize;
    TContextPopupEvent OnContextPopup;

protected:
    virtual void WndProc(TMessage &Message);
    virtual QString GetText() const;
    virtual TRect GetClientRect();
    virtual TPoint GetClientOrigin();
    virtual void SetZOrder(bool TopMost);
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Resize();
    virtual void Changed();
    virtual void DoContextPopup(const TPoint &MousePos, bool &Handled);
    // With AutoSize: the size the content wants (answer false to keep the current one).
    virtual bool CanAutoSize(int &NewWidth, int &NewHeight);
    void AdjustSize();
    virtual void ConstrainedResize(int &MinWidth, int &MinHeight, int &MaxWidth, int &MaxHeight);
    void DoConstraints(int &AWidth, int &AHeight);
    void Notification(TComponent *AComponent, TOperation Operation) override;
    // Moves the control's own record of its bounds (the window, when there is one, has been placed).
    void UpdateBoundsRect(const TRect &R);
    // Remembers the distances to the parent's edges that Anchors keep.
    void UpdateAnchorRules();
    void RequestAlign();
    virtual void VisibleChanging() {}
    // Font and Color are the parent's while ParentFont/ParentColor; an own change clears the flag.
    bool IsColorStored() const { return !FParentColor; }
    bool IsFontStored() const { return !FParentFont; }
    void FontChanged(TObject *Sender);

    // Message handlers
    void WMLButtonDown(TMessage &Message);
    void WMLButtonDblClk(TMessage &Message);
    void WMLButtonUp(TMessage &Message);
    void WMRButtonDown(TMessage &Message);
    void WMRButtonUp(TMessage &Message);
    void WMRButtonDblClk(TMessage &Message);
    void WMContextMenu(TMessage &Message);
    void WMMButtonDown(TMessage &Message);
    void WMMButtonUp(TMessage &Message);
    void WMMouseMove(TMessage &Message);
    void WMCancelMode(TMessage &Message);
    void WMWindowPosChanged(TMessage &Message);
    void CMVisibleChanged(TMessage &Message);
    void CMEnabledChanged(TMessage &Message);
    void CMFontChanged(TMessage &Message);
    void CMColorChanged(TMessage &Message);
    void CMParentFontChanged(TMessage &Message);
    void CMParentColorChanged(TMessage &Message);
    void CMParentBiDiModeChanged(TMessage &Message);
    void CMParentShowHintChanged(TMessage &Message);
    void CMTextChanged(TMessage &) {}
    void CMMouseEnter(TMessage &) {}
    void CMMouseLeave(TMessage &) {}

    friend class TWinControl;
    friend class TControlCanvas;
    friend class TApplication;
    friend class TCustomForm;

    TWinControl *FParent = nullptr;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    TSizeConstraints *FConstraints = nullptr;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clWindow;
    bool FParentColor = true;
    TFont *FFont = nullptr;
    bool FParentFont = true;
    QString FText;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
    TCursor FCursor = crDefault;
    QString FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TPopupMenu *FPopupMenu = nullptr;
    TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    TControlState FControlState;
    // Anchor rules: the distance to the right/bottom edge kept for akRight/akBottom, and the
    // parent client size they were taken against (0: not yet known).
    TPoint FAnchorRules;
    TPoint FOriginalParentSize;
    bool FAnchorMove = false;
    bool FAutoSize = false;

private:
    friend struct TControl_Published;
};

// ---- TWinControl ----------------------------------------------------------------------------------------

// What CreateWnd asks of a window: CreateParams fills it, CreateWindowHandle creates the window.
struct TCreateParams
{
    QString Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    HWND WndParent = nullptr;
    void *Param = nullptr;
    WNDCLASS WindowClass;
    QString WinClassName;
};

class TWinControl : public TControl
{
    KIV_OBJECT(TWinControl, TControl)
public:
    void Construct(TComponent *AOwner) override;
    void BeforeDestruction() override;
    ~TWinControl() override;

    // ---- the window
    // Creates the window (parents first) when it does not exist yet.
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded();
    // The foreign window this parentless control lives in (a window not made by the framework).
    HWND ParentWindow() const { return FParentWindow; }
    void SetParentWindow(HWND Value);
    // Visible and its parents showing: the window is shown.
    bool Showing() const { return FShowing; }

    // ---- children: windowless first, then windowed, each in z-order (bottom first)
    int ControlCount() const { return int(FControls.size() + FWinControls.size()); }
    TControl *Controls(int Index) const;
    void InsertControl(TControl *AControl);
    void RemoveControl(TControl *AControl);
    bool ContainsControl(TControl *Control) const;
    // The topmost visible child at Pos (client coordinates); windowed ones only when asked.
    TControl *ControlAtPos(const TPoint &Pos, bool AllowDisabled, bool AllowWinControls = false);
    // Sends the message to every child until one answers it (Result != 0).
    void Broadcast(TMessage &Message);
    void NotifyControls(UINT Msg);

    // ---- alignment
    void DisableAlign();
    void EnableAlign();
    void Realign();
    bool AlignDisabled() const { return FAlignLevel > 0; }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value);
    void ScrollBy(int DeltaX, int DeltaY);

    // ---- focus and tab order
    int TabOrder() const;
    void SetTabOrder(int Value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    void GetTabOrderList(QList<TWinControl *> &List);
    TWinControl *FindNextControl(TWinControl *CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
    void SelectNext(TWinControl *CurControl, bool GoForward, bool CheckTabStop);
    virtual bool CanFocus();
    virtual void SetFocus();
    virtual bool Focused();

    // ---- painting
    // The colour WM_ERASEBKGND fills with (the control's Color).
    TBrush *Brush() const { return FBrush; }
    // Paints the control and its children into DC at (X, Y): erase, WM_PRINTCLIENT, windowless children,
    // then the windowed children at their offsets.
    void PaintTo(HDC DC, int X, int Y);
    // Paints the windowless children from First on (all when First is nullptr) into DC, each clipped to its
    // rectangle and with its origin at its top-left.
    void PaintControls(HDC DC, TControl *First);
    void Invalidate() override;
    void Repaint() override;
    void Update() override;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void DefaultHandler(TMessage &Message) override;
    void Dispatch(TMessage &Message) override;
    void SetParent(TWinControl *AParent) override;
    void ReadState(TReader *Reader) override;
    void Loaded() override;
    void GetChildren(TGetChildProc Proc, TComponent *Root) override;
    TComponent *GetChildOwner() override { return nullptr; }
    void SetChildOrder(TComponent *Child, int Order) override;

    // The window procedure every framework window runs: WindowProc inside an exception guard.
    void MainWndProc(TMessage &Message);

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

protected:
    void WndProc(TMessage &Message) override;
    QString GetText() const override;
    TRect GetClientRect() override;
    TPoint GetClientOrigin() override;
    void SetZOrder(bool TopMost) override;

    // ---- window creation
    virtual void CreateParams(TCreateParams &Params);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams &Params);
    virtual void CreateHandle();
    virtual void DestroyWnd();
    virtual void DestroyWindowHandle();
    void DestroyHandle();
    void RecreateWnd();
    // Makes the framework class a copy of a built-in class (GetClassInfo), whose procedure becomes this
    // control's DefaultHandler.
    void CreateSubClass(TCreateParams &Params, const QString &ControlClassName);
    // Runs after CreateWnd; default: children's windows and the state the window must reflect.
    virtual void CreateWindowState() {}
    void UpdateShowing();
    void UpdateControlState();
    virtual void ShowControl(TControl *AControl);

    // ---- alignment
    virtual void AlignControls(TControl *AControl, TRect &Rect);
    void AlignControl(TControl *AControl);
    // The rectangle children align in: the client rectangle.
    virtual void AdjustClientRect(TRect &Rect);

    // ---- painting
    virtual void PaintWindow(HDC DC);
    void PaintHandler(TMessage &Message);

    // ---- keys
    virtual void KeyDown(quint16 &Key, TShiftState Shift);
    virtual void KeyUp(quint16 &Key, TShiftState Shift);
    virtual void KeyPress(QChar &Key);
    bool DoKeyDown(TMessage &Message);
    bool DoKeyUp(TMessage &Message);
    bool DoKeyPress(TMessage &Message);
    // True when the control has the focus inside its form (the form's ActiveControl chain).
    bool IsControlFocused() const;

    // ---- message handlers
    void WMPaint(TMessage &Message);
    void WMEraseBkgnd(TMessage &Message);
    void WMPrintClient(TMessage &Message);
    void WMNCCalcSize(TMessage &Message);
    void WMNCPaint(TMessage &Message);
    void WMSize(TMessage &Message);
    void WMMove(TMessage &Message);
    void WMWindowPosChanged(TMessage &Message);
    void WMSetFocus(TMessage &Message);
    void WMKillFocus(TMessage &Message);
    void WMKeyDown(TMessage &Message);
    void WMKeyUp(TMessage &Message);
    void WMChar(TMessage &Message);
    void WMSysKeyDown(TMessage &Message);
    void WMSysKeyUp(TMessage &Message);
    void WMSysChar(TMessage &Message);
    void WMSetCursor(TMessage &Message);
    void WMCommand(TMessage &Message);
    // A windowless child under the point has its say first.
    void WMContextMenu(TMessage &Message);
    void WMNotify(TMessage &Message);
    void WMHScroll(TMessage &Message);
    void WMVScroll(TMessage &Message);
    void WMNCDestroy(TMessage &Message);
    void CMColorChanged(TMessage &Message);
    void CMFontChanged(TMessage &Message);
    void CMEnabledChanged(TMessage &Message);
    void CMVisibleChanged(TMessage &Message);
    void CMShowingChanged(TMessage &Message);
    void CMDialogKey(TMessage &Message);
    void CMDialogChar(TMessage &Message);
    void CMFocusChanged(TMessage &Message);
    void CMEnter(TMessage &Message);
    void CMExit(TMessage &Message);
    void CMRecreateWnd(TMessage &Message);
    void CMBiDiModeChanged(TMessage &Message);
    // The key is a shortcut of the PopupMenu of this control or a parent, or of the form (it ran): a key down
    // goes to menus before the control.
    bool IsMenuKey(TMessage &Message);
    void CNKeyDown(TMessage &Message);
    void CNKeyUp(TMessage &Message);
    void CNChar(TMessage &Message);
    void CNSysKeyDown(TMessage &Message);
    void CNSysChar(TMessage &Message);

    friend class TControl;
    friend class TCustomForm;
    friend class TApplication;
    friend LRESULT InitWndProc(HWND, UINT, WPARAM, LPARAM);

    HWND FHandle = nullptr;
    HWND FParentWindow = nullptr;
    WNDPROC FObjectInstance = nullptr;
    WNDPROC FDefWndProc = nullptr;
    QList<TControl *> FControls;       // windowless children, bottom first
    QList<TWinControl *> FWinControls; // windowed children, bottom first
    QList<TWinControl *> FTabList;
    TBrush *FBrush = nullptr;
    int FBorderWidth = 0;
    int FAlignLevel = 0;
    bool FTabStop = false;
    bool FShowing = false;
    bool FRecreating = false;
    bool FDestroyingHandle = false;

private:
    void UpdateBounds();
    void UpdateTabOrder(int Value);
    void FixupTabList();
    void RemoveFocus(bool Removing);
    HWND PrecedingWindow(TWinControl *Control) const;
    bool IsControlMouseMsg(TMessage &Message);
    bool DoControlMsg(HWND ControlHandle, TMessage &Message);
    int FTabOrder = -1;
    friend struct TWinControl_Published;
};

// ---- TGraphicControl / TCustomControl ---------------------------------------------------------------------

// Lends DC to Canvas for one paint and takes it back however the paint ends.
class TCanvasDCScope
{
public:
    TCanvasDCScope(TCanvas *ACanvas, HDC DC) : FCanvas(ACanvas) { FCanvas->SetHandle(DC); }
    ~TCanvasDCScope() { FCanvas->SetHandle(nullptr); }
    TCanvasDCScope(const TCanvasDCScope &) = delete;
    TCanvasDCScope &operator=(const TCanvasDCScope &) = delete;

private:
    TCanvas *FCanvas;
};

// Marks a control as painting by its own Paint (csCustomPaint) for the length of one WM_PAINT.
class TCustomPaintScope
{
public:
    explicit TCustomPaintScope(TControlState &AState) : FState(AState) { FState.Include(csCustomPaint); }
    ~TCustomPaintScope() { FState.Exclude(csCustomPaint); }
    TCustomPaintScope(const TCustomPaintScope &) = delete;
    TCustomPaintScope &operator=(const TCustomPaintScope &) = delete;

private:
    TControlState &FState;
};

// Windowless: painted by its parent after the parent's own painting (WM_PAINT with the parent's DC, moved
// to this control's origin and clipped to it).
class TGraphicControl : public TControl
{
    KIV_OBJECT(TGraphicControl, TControl)
public:
    void Construct(TComponent *AOwner) override;
    ~TGraphicControl() override;
    TCanvas *Canvas() const { return FCanvas; }
    void Dispatch(TMessage &Message) override;

protected:
    virtual void Paint() {}
    void WMPaint(TMessage &Message);

    TCanvas *FCanvas = nullptr;
};

// A window with a canvas: WM_PAINT (or a DC in wParam) runs Paint on the canvas, then the windowless
// children paint on top.
class TCustomControl : public TWinControl
{
    KIV_OBJECT(TCustomControl, TWinControl)
public:
    void Construct(TComponent *AOwner) override;
    ~TCustomControl() override;
    TCanvas *Canvas() const { return FCanvas; }
    void Dispatch(TMessage &Message) override;

protected:
    virtual void Paint() {}
    void PaintWindow(HDC DC) override;
    void WMPaint(TMessage &Message);

    TCanvas *FCanvas = nullptr;
};

// ---- the mouse --------------------------------------------------------------------------------------------

class TMouse
{
public:
    TPoint CursorPos() const;
    void SetCursorPos(const TPoint &Value);
    // The window that has the mouse capture.
    HWND Capture() const;
    void SetCapture(HWND Value);
    bool MousePresent() const { return true; }
    int WheelScrollLines() const { return 3; }
};
extern TMouse *Mouse;

// The control that gets the mouse while captured (a windowless one through its parent's window).
TControl *GetCaptureControl();
void SetCaptureControl(TControl *Control);

// ---- finding controls -------------------------------------------------------------------------------------

// The framework control that owns a window, or nullptr.
TWinControl *FindControl(HWND Handle);
// The deepest visible windowed control at a screen point.
TWinControl *FindVCLWindow(const TPoint &Pos);
// The deepest visible control (windowless included) at a screen point, enabled unless AllowDisabled.
TControl *FindDragTarget(const TPoint &Pos, bool AllowDisabled);
// True when the hotkey of Str (GetHotkey, Menus.h) is the character of VK, ignoring case.
bool IsAccel(quint16 VK, const QString &Str);
// A hidden window whose messages go to Method (timers, posted notifications of non-visual components).
// Method answers every message itself: call DefWindowProc for those it does not handle.
HWND AllocateHWnd(TWndMethod Method);
// Destroys it; safe inside one of its own messages.
void DeallocateHWnd(HWND Wnd);

// Shows Control's Cursor on the window that has the control (its parent's for a windowless one).
void ShowControlCursor(TControl *Control);
// The Qt cursor shape of a framework cursor.
Qt::CursorShape CursorShapeOf(TCursor Cursor);

// Gives back the DCs that control canvases took outside painting; runs after every message a window handles.
void FreeDeviceContexts();
// The class name a framework window class is registered under: the control's class name.
QString WindowClassNameOf(const TWinControl *Control);
