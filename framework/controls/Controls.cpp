#include "framework/controls/Controls.h"

#include "framework/controls/Menus.h"
#include "framework/forms/Forms.h"

#include <QWidget>

namespace {

// The control whose mouse messages are captured through its parent's window (windowless controls).
TControl *CaptureControl = nullptr;

// Canvases holding a DC of their own outside painting; given back once the message that took them is done.
QList<TControlCanvas *> &CanvasList()
{
    static QList<TControlCanvas *> List;
    return List;
}

} // namespace

TMouse *Mouse = [] {
    static TMouse Instance;
    return &Instance;
}();

const TIdentMap &CursorIdents()
{
    static const TIdentMap Map{
        {crDefault, QStringLiteral("crDefault")},   {crNone, QStringLiteral("crNone")},
        {crArrow, QStringLiteral("crArrow")},       {crCross, QStringLiteral("crCross")},
        {crIBeam, QStringLiteral("crIBeam")},       {crSizeNESW, QStringLiteral("crSizeNESW")},
        {crSizeNS, QStringLiteral("crSizeNS")},     {crSizeNWSE, QStringLiteral("crSizeNWSE")},
        {crSizeWE, QStringLiteral("crSizeWE")},     {crUpArrow, QStringLiteral("crUpArrow")},
        {crHourGlass, QStringLiteral("crHourGlass")}, {crDrag, QStringLiteral("crDrag")},
        {crNoDrop, QStringLiteral("crNoDrop")},     {crHSplit, QStringLiteral("crHSplit")},
        {crVSplit, QStringLiteral("crVSplit")},     {crMultiDrag, QStringLiteral("crMultiDrag")},
        {crSQLWait, QStringLiteral("crSQLWait")},   {crNo, QStringLiteral("crNo")},
        {crAppStart, QStringLiteral("crAppStart")}, {crHelp, QStringLiteral("crHelp")},
        {crHandPoint, QStringLiteral("crHandPoint")}, {crSizeAll, QStringLiteral("crSizeAll")},
    };
    return Map;
}

TShiftState KeyDataToShiftState(LPARAM KeyData)
{
    TShiftState Result;
    if (GetKeyState(VK_SHIFT) < 0)
        Result.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0)
        Result.Include(ssCtrl);
    if (KeyData & KF_ALTDOWN_BIT)
        Result.Include(ssAlt);
    return Result;
}

TShiftState KeysToShiftState(WPARAM Keys)
{
    TShiftState Result;
    if (Keys & MK_SHIFT)
        Result.Include(ssShift);
    if (Keys & MK_CONTROL)
        Result.Include(ssCtrl);
    if (Keys & MK_LBUTTON)
        Result.Include(ssLeft);
    if (Keys & MK_RBUTTON)
        Result.Include(ssRight);
    if (Keys & MK_MBUTTON)
        Result.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0)
        Result.Include(ssAlt);
    return Result;
}

// ---- TSizeConstraints --------------------------------------------------------------------------------------

KIV_PUBLISHED(TSizeConstraints)
{
    Property("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight).Default(0);
    Property("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth).Default(0);
    Property("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight).Default(0);
    Property("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth).Default(0);
}

void TSizeConstraints::Construct(TControl *AControl)
{
    inherited::Construct();
    FControl = AControl;
}

void TSizeConstraints::Assign(TPersistent *Source)
{
    if (auto *S = dynamic_cast<TSizeConstraints *>(Source)) {
        FMinHeight = S->FMinHeight;
        FMaxHeight = S->FMaxHeight;
        FMinWidth = S->FMinWidth;
        FMaxWidth = S->FMaxWidth;
        Change();
        return;
    }
    inherited::Assign(Source);
}

void TSizeConstraints::SetMaxHeight(int Value)
{
    Value = std::max(0, Value);
    if (Value == FMaxHeight)
        return;
    FMaxHeight = Value;
    if (Value > 0 && Value < FMinHeight)
        FMinHeight = Value;
    Change();
}

void TSizeConstraints::SetMaxWidth(int Value)
{
    Value = std::max(0, Value);
    if (Value == FMaxWidth)
        return;
    FMaxWidth = Value;
    if (Value > 0 && Value < FMinWidth)
        FMinWidth = Value;
    Change();
}

void TSizeConstraints::SetMinHeight(int Value)
{
    Value = std::max(0, Value);
    if (Value == FMinHeight)
        return;
    FMinHeight = Value;
    if (FMaxHeight > 0 && Value > FMaxHeight)
        FMaxHeight = Value;
    Change();
}

void TSizeConstraints::SetMinWidth(int Value)
{
    Value = std::max(0, Value);
    if (Value == FMinWidth)
        return;
    FMinWidth = Value;
    if (FMaxWidth > 0 && Value > FMaxWidth)
        FMaxWidth = Value;
    Change();
}

void TSizeConstraints::Change()
{
    if (FControl && !FControl->ComponentState().Contains(csLoading))
        FControl->SetBounds(FControl->Left(), FControl->Top(), FControl->Width(), FControl->Height());
    if (OnChange)
        OnChange(this);
}

// ---- TControlCanvas -----------------------------------------------------------------------------------------

KIV_PUBLISHED(TControlCanvas) {}

TControlCanvas::~TControlCanvas()
{
    FreeHandle();
}

void TControlCanvas::SetControl(TControl *AControl)
{
    if (FControl == AControl)
        return;
    FreeHandle();
    FControl = AControl;
}

void TControlCanvas::FreeHandle()
{
    if (!FDeviceContext)
        return;
    if (HandleValue() == FDeviceContext)
        SetHandleValue(nullptr);
    ReleaseDC(FWindowHandle, FDeviceContext);
    FDeviceContext = nullptr;
    FWindowHandle = nullptr;
    CanvasList().removeAll(this);
}

void TControlCanvas::CreateHandle()
{
    if (!FControl)
        return;
    if (!FDeviceContext) {
        TPoint Origin{0, 0};
        TControl *C = FControl;
        while (!dynamic_cast<TWinControl *>(C)) {
            if (!C->Parent())
                return;
            Origin.X += C->Left();
            Origin.Y += C->Top();
            C = C->Parent();
        }
        FWindowHandle = static_cast<TWinControl *>(C)->Handle();
        FDeviceContext = GetDC(FWindowHandle);
        if (!FDeviceContext)
            return;
        if (C != FControl) {
            OffsetViewportOrgEx(FDeviceContext, Origin.X, Origin.Y, nullptr);
            IntersectClipRect(FDeviceContext, 0, 0, FControl->Width(), FControl->Height());
        }
        CanvasList().append(this);
    }
    SetHandleValue(FDeviceContext);
}

void FreeDeviceContexts()
{
    const QList<TControlCanvas *> List = CanvasList();
    for (TControlCanvas *Canvas : List)
        Canvas->FreeHandle();
}

// ---- TControl -------------------------------------------------------------------------------------------

KIV_PUBLISHED(TControl)
{
    Property("Left", &TControl::Left, &TControl::SetLeft);
    Property("Top", &TControl::Top, &TControl::SetTop);
    Property("Width", &TControl::Width, &TControl::SetWidth);
    Property("Height", &TControl::Height, &TControl::SetHeight);
    Property("Align", &TControl::Align, &TControl::SetAlign).Default(alNone);
    Property("Anchors", &TControl::Anchors, &TControl::SetAnchors).Default(TAnchors{akLeft, akTop});
    Property("BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode).Default(bdLeftToRight);
    Property("Caption", &TControl::Caption, &TControl::SetCaption);
    Property("Color", &TControl::Color, &TControl::SetColor).Idents(&ColorIdents()).Stored(&TControl::IsColorStored);
    Property("Constraints", &TControl::Constraints, &TControl::SetConstraints);
    Property("Cursor", &TControl::Cursor, &TControl::SetCursor).Idents(&CursorIdents()).Default(crDefault);
    Property("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true);
    Property("Font", &TControl::Font, &TControl::SetFont).Stored(&TControl::IsFontStored);
    Property("Hint", &TControl::Hint, &TControl::SetHint);
    Property("ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode).Default(true);
    Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(true);
    Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true);
    Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(true);
    Property("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
    Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Default(false);
    Property("Visible", &TControl::Visible, &TControl::SetVisible).Default(true);
    Property("OnClick", &TControl::OnClick, &TControl::OnClick);
    Property("OnDblClick", &TControl::OnDblClick, &TControl::OnDblClick);
    Property("OnMouseDown", &TControl::OnMouseDown, &TControl::OnMouseDown);
    Property("OnMouseMove", &TControl::OnMouseMove, &TControl::OnMouseMove);
    Property("OnMouseUp", &TControl::OnMouseUp, &TControl::OnMouseUp);
    Property("OnContextPopup", &TControl::OnContextPopup, &TControl::OnContextPopup);
    Property("OnResize", &TControl::OnResize, &TControl::OnResize);
}

void TControl::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    WindowProc = [this](TMessage &Message) { WndProc(Message); };
    FFont = TFont::Create();
    FFont->OnChange = [this](TObject *Sender) { FontChanged(Sender); };
    FConstraints = TSizeConstraints::Create(this);
}

void TControl::BeforeDestruction()
{
    Destroying();
    if (TApplication *App = TApplicationRef::Peek())
        App->ControlDestroyed(this);
    if (CaptureControl == this)
        SetCaptureControl(nullptr);
    SetParent(nullptr);
    inherited::BeforeDestruction();
}

TControl::~TControl()
{
    FreeAndNil(FConstraints);
    FreeAndNil(FFont);
}

void TControl::SetParent(TWinControl *AParent)
{
    if (FParent == AParent)
        return;
    if (AParent == this)
        throw EInvalidOperation(QStringLiteral("A control cannot have itself as its parent"));
    if (FParent)
        FParent->RemoveControl(this);
    if (AParent) {
        AParent->InsertControl(this);
        UpdateAnchorRules();
    }
}

TComponent *TControl::GetParentComponent() const
{
    return FParent;
}

void TControl::SetParentComponent(TComponent *Value)
{
    if (auto *P = dynamic_cast<TWinControl *>(Value))
        SetParent(P);
}

// While its layout is read a control does not show (a form with Visible = True shows once read).
void TControl::ReadState(TReader *Reader)
{
    FControlState.Include(csReadingState);
    try {
        inherited::ReadState(Reader);
    } catch (...) {
        FControlState.Exclude(csReadingState);
        throw;
    }
    FControlState.Exclude(csReadingState);
}

void TControl::Loaded()
{
    inherited::Loaded();
    if (FParent) {
        Perform(CM_PARENTCOLORCHANGED);
        Perform(CM_PARENTFONTCHANGED);
        Perform(CM_PARENTSHOWHINTCHANGED);
        Perform(CM_PARENTBIDIMODECHANGED);
    }
    UpdateAnchorRules();
    if (FAutoSize)
        AdjustSize();
}

void TControl::DoConstraints(int &AWidth, int &AHeight)
{
    int MinW = FConstraints->MinWidth(), MinH = FConstraints->MinHeight();
    int MaxW = FConstraints->MaxWidth(), MaxH = FConstraints->MaxHeight();
    ConstrainedResize(MinW, MinH, MaxW, MaxH);
    if (MaxW > 0 && AWidth > MaxW)
        AWidth = MaxW;
    if (MinW > 0 && AWidth < MinW)
        AWidth = MinW;
    if (MaxH > 0 && AHeight > MaxH)
        AHeight = MaxH;
    if (MinH > 0 && AHeight < MinH)
        AHeight = MinH;
}

void TControl::ConstrainedResize(int &, int &, int &, int &) {}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    DoConstraints(AWidth, AHeight);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    const bool Resized = AWidth != FWidth || AHeight != FHeight;
    Invalidate();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    UpdateAnchorRules();
    Invalidate();
    RequestAlign();
    if (Resized && !ComponentState().Contains(csLoading))
        Resize();
}

void TControl::UpdateBoundsRect(const TRect &R)
{
    UpdateAnchorRules();
    FLeft = R.Left;
    FTop = R.Top;
    FWidth = R.Width();
    FHeight = R.Height();
}

void TControl::SetClientWidth(int Value)
{
    SetClientSize(Value, ClientHeight());
}

void TControl::SetClientHeight(int Value)
{
    SetClientSize(ClientWidth(), Value);
}

void TControl::SetClientSize(int AWidth, int AHeight)
{
    const TRect Client = ClientRect();
    SetBounds(FLeft, FTop, FWidth - Client.Width() + AWidth, FHeight - Client.Height() + AHeight);
}

TRect TControl::GetClientRect()
{
    return Rect(0, 0, FWidth, FHeight);
}

TPoint TControl::GetClientOrigin()
{
    if (!FParent)
        throw EInvalidOperation(QStringLiteral("Control '%1' has no parent window").arg(Name()));
    TPoint P = FParent->ClientOrigin();
    return Point(P.X + FLeft, P.Y + FTop);
}

TPoint TControl::ClientOrigin()
{
    return GetClientOrigin();
}

TPoint TControl::ClientToScreen(const TPoint &Point)
{
    const TPoint Origin = ClientOrigin();
    return ::Point(Point.X + Origin.X, Point.Y + Origin.Y);
}

TPoint TControl::ScreenToClient(const TPoint &Point)
{
    const TPoint Origin = ClientOrigin();
    return ::Point(Point.X - Origin.X, Point.Y - Origin.Y);
}

TAnchors AnchorAlignOf(TAlign Align)
{
    switch (Align) {
    case alTop: return {akLeft, akTop, akRight};
    case alBottom: return {akLeft, akRight, akBottom};
    case alLeft: return {akLeft, akTop, akBottom};
    case alRight: return {akRight, akTop, akBottom};
    case alClient: return {akLeft, akTop, akRight, akBottom};
    default: return {akLeft, akTop};
    }
}

void TControl::SetAlign(TAlign Value)
{
    if (FAlign == Value)
        return;
    const TAlign OldAlign = FAlign;
    FAlign = Value;
    FAnchors = AnchorAlignOf(Value);
    const bool WasVertical = OldAlign == alTop || OldAlign == alBottom;
    const bool IsHorizontal = Value == alLeft || Value == alRight;
    if (!ComponentState().Contains(csLoading) && WasVertical == IsHorizontal && OldAlign != alNone &&
        OldAlign != alClient && Value != alNone && Value != alClient)
        SetBounds(FLeft, FTop, FHeight, FWidth);
    UpdateAnchorRules();
    RequestAlign();
}

void TControl::SetAnchors(TAnchors Value)
{
    if (FAnchors == Value)
        return;
    FAnchors = Value;
    if (!ComponentState().Contains(csLoading))
        UpdateAnchorRules();
}

void TControl::UpdateAnchorRules()
{
    if (FAnchorMove || ComponentState().Contains(csLoading))
        return;
    if (FAnchors == TAnchors{akLeft, akTop} || !FParent) {
        FOriginalParentSize = Point(0, 0);
        return;
    }
    if (FAnchors.Contains(akRight))
        FAnchorRules.X = FAnchors.Contains(akLeft) ? FWidth : FLeft;
    else
        FAnchorRules.X = FLeft + FWidth / 2;
    if (FAnchors.Contains(akBottom))
        FAnchorRules.Y = FAnchors.Contains(akTop) ? FHeight : FTop;
    else
        FAnchorRules.Y = FTop + FHeight / 2;
    const TRect R = FParent->ClientRect();
    FOriginalParentSize = Point(R.Right, R.Bottom);
}

void TControl::RequestAlign()
{
    if (FParent)
        FParent->AlignControl(this);
}

void TControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

void TControl::Changed()
{
    Perform(CM_CHANGED, 0, LPARAM(this));
}

void TControl::SetAutoSize(bool Value)
{
    if (FAutoSize == Value)
        return;
    FAutoSize = Value;
    if (Value)
        AdjustSize();
}

bool TControl::CanAutoSize(int &, int &)
{
    return false;
}

void TControl::AdjustSize()
{
    if (!FAutoSize || ComponentState().Contains(csLoading))
        return;
    int W = FWidth, H = FHeight;
    if (CanAutoSize(W, H))
        SetBounds(FLeft, FTop, W, H);
}

// ---- state --------------------------------------------------------------------------------------------

void TControl::SetVisible(bool Value)
{
    if (FVisible == Value)
        return;
    VisibleChanging();
    FVisible = Value;
    Perform(CM_VISIBLECHANGED, WPARAM(Value));
    RequestAlign();
}

void TControl::Show()
{
    if (FParent)
        FParent->ShowControl(this);
    SetVisible(true);
}

void TControl::Hide()
{
    SetVisible(false);
}

void TControl::SetEnabled(bool Value)
{
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor Value)
{
    if (FColor == Value && !FParentColor)
        return;
    const bool Changed = FColor != Value;
    FColor = Value;
    FParentColor = false;
    if (Changed)
        Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value)
{
    if (FParentColor == Value)
        return;
    FParentColor = Value;
    if (FParent && Value && !ComponentState().Contains(csReading))
        Perform(CM_PARENTCOLORCHANGED);
}

void TControl::FontChanged(TObject *)
{
    FParentFont = false;
    Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool Value)
{
    if (FParentFont == Value)
        return;
    FParentFont = Value;
    if (FParent && Value && !ComponentState().Contains(csReading))
        Perform(CM_PARENTFONTCHANGED);
}

QString TControl::GetText() const
{
    return FText;
}

void TControl::SetText(const QString &Value)
{
    if (GetText() == Value)
        return;
    FText = Value;
    if (auto *W = dynamic_cast<TWinControl *>(this); W && W->HandleAllocated())
        SetWindowText(W->FHandle, Value);
    Perform(CM_TEXTCHANGED);
}

void TControl::SetBiDiMode(TBiDiMode Value)
{
    if (FBiDiMode == Value && !FParentBiDiMode)
        return;
    const bool Changed = FBiDiMode != Value;
    FBiDiMode = Value;
    FParentBiDiMode = false;
    if (Changed)
        Perform(CM_BIDIMODECHANGED);
}

void TControl::SetParentBiDiMode(bool Value)
{
    if (FParentBiDiMode == Value)
        return;
    FParentBiDiMode = Value;
    if (FParent && Value && !ComponentState().Contains(csReading))
        Perform(CM_PARENTBIDIMODECHANGED);
}

// Right-to-left layouts apply only on systems whose locale writes that way, as on the classic desktop.
bool TControl::UseRightToLeftAlignment() const
{
    return GetSystemMetrics(SM_MIDEASTENABLED) != 0 && FBiDiMode == bdRightToLeft;
}

bool TControl::UseRightToLeftReading() const
{
    return GetSystemMetrics(SM_MIDEASTENABLED) != 0 && FBiDiMode != bdLeftToRight;
}

void TControl::SetCursor(TCursor Value)
{
    if (FCursor == Value)
        return;
    FCursor = Value;
    Perform(CM_CURSORCHANGED);
    if (TApplication *App = TApplicationRef::Peek(); App && App->MouseControl() == this)
        ShowControlCursor(this);
}

void TControl::SetShowHint(bool Value)
{
    if (FShowHint == Value && !FParentShowHint)
        return;
    FShowHint = Value;
    FParentShowHint = false;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool Value)
{
    if (FParentShowHint == Value)
        return;
    FParentShowHint = Value;
    if (FParent && Value && !ComponentState().Contains(csReading))
        Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu *Value)
{
    if (FPopupMenu == Value)
        return;
    if (FPopupMenu)
        FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TControl::Notification(TComponent *AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

bool TControl::MouseCapture() const
{
    return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool Value)
{
    if (MouseCapture() != Value)
        SetCaptureControl(Value ? this : nullptr);
}

bool TControl::IsVisibleOnScreen() const
{
    if (!FVisible)
        return false;
    if (auto *W = dynamic_cast<const TWinControl *>(this))
        return W->Showing();
    return FParent && FParent->Showing();
}

// ---- painting ------------------------------------------------------------------------------------------

void TControl::Invalidate()
{
    if (FParent && FParent->HandleAllocated() && FVisible) {
        const TRect R = BoundsRect();
        InvalidateRect(FParent->FHandle, &R, !FControlState.Contains(csCustomPaint) &&
                                                  !FControlStyle.Contains(csOpaque));
    }
}

void TControl::Repaint()
{
    if (!FVisible || !FParent || !FParent->HandleAllocated())
        return;
    Invalidate();
    FParent->Update();
}

void TControl::Update()
{
    if (FParent)
        FParent->Update();
}

void TControl::SetZOrder(bool TopMost)
{
    if (!FParent)
        return;
    QList<TControl *> &List = FParent->FControls;
    const int I = List.indexOf(this);
    if (I < 0)
        return;
    List.move(I, TopMost ? List.size() - 1 : 0);
    Invalidate();
}

// ---- messages -----------------------------------------------------------------------------------------

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage Message{Msg, WParam, LParam, 0};
    WindowProc(Message);
    return Message.Result;
}

void TControl::WndProc(TMessage &Message)
{
    if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST) {
        if (!FControlStyle.Contains(csDoubleClicks)) {
            switch (Message.Msg) {
            case WM_LBUTTONDBLCLK:
            case WM_RBUTTONDBLCLK:
            case WM_MBUTTONDBLCLK:
                Message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
                break;
            default:
                break;
            }
        }
        switch (Message.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            FControlState.Include(csLButtonDown);
            break;
        case WM_LBUTTONUP:
            FControlState.Exclude(csLButtonDown);
            break;
        default:
            break;
        }
    }
    Dispatch(Message);
}

void TControl::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    case WM_LBUTTONUP: WMLButtonUp(Message); break;
    case WM_RBUTTONDOWN: WMRButtonDown(Message); break;
    case WM_RBUTTONDBLCLK: WMRButtonDblClk(Message); break;
    case WM_RBUTTONUP: WMRButtonUp(Message); break;
    case WM_CONTEXTMENU: WMContextMenu(Message); break;
    case WM_MBUTTONDOWN: WMMButtonDown(Message); break;
    case WM_MBUTTONDBLCLK: WMMButtonDown(Message); break;
    case WM_MBUTTONUP: WMMButtonUp(Message); break;
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case WM_CANCELMODE: WMCancelMode(Message); break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(Message); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(Message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
    case CM_PARENTBIDIMODECHANGED: CMParentBiDiModeChanged(Message); break;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(Message); break;
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case CM_HITTEST: Message.Result = HTCLIENT; break;
    default: DefaultHandler(Message); break;
    }
}

void TControl::DefaultHandler(TMessage &) {}

void TControl::WMLButtonDown(TMessage &Message)
{
    DefaultHandler(Message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents))
        FControlState.Include(csClicked);
    if (!FControlStyle.Contains(csNoStdEvents)) {
        TWMMouse M{Message};
        MouseDown(mbLeft, KeysToShiftState(M.Keys()), M.XPos(), M.YPos());
    }
}

void TControl::WMLButtonDblClk(TMessage &Message)
{
    DefaultHandler(Message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents))
        DblClick();
    if (!FControlStyle.Contains(csNoStdEvents)) {
        TWMMouse M{Message};
        MouseDown(mbLeft, KeysToShiftState(M.Keys()) + ssDouble, M.XPos(), M.YPos());
    }
}

void TControl::WMLButtonUp(TMessage &Message)
{
    DefaultHandler(Message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(false);
    TWMMouse M{Message};
    if (FControlState.Contains(csClicked)) {
        FControlState.Exclude(csClicked);
        const TRect R = ClientRect();
        if (PtInRect(&R, M.Pos()))
            Click();
    }
    if (!FControlStyle.Contains(csNoStdEvents))
        MouseUp(mbLeft, KeysToShiftState(M.Keys()), M.XPos(), M.YPos());
}

void TControl::WMRButtonDown(TMessage &Message)
{
    DefaultHandler(Message);
    if (!FControlStyle.Contains(csNoStdEvents)) {
        TWMMouse M{Message};
        MouseDown(mbRight, KeysToShiftState(M.Keys()), M.XPos(), M.YPos());
    }
}

void TControl::WMRButtonDblClk(TMessage &Message)
{
    DefaultHandler(Message);
    if (!FControlStyle.Contains(csNoStdEvents)) {
        TWMMouse M{Message};
        MouseDown(mbRight, KeysToShiftState(M.Keys()) + ssDouble, M.XPos(), M.YPos());
    }
}

void TControl::WMRButtonUp(TMessage &Message)
{
    DefaultHandler(Message);
    if (!FControlStyle.Contains(csNoStdEvents)) {
        TWMMouse M{Message};
        MouseUp(mbRight, KeysToShiftState(M.Keys()), M.XPos(), M.YPos());
    }
}

void TControl::DoContextPopup(const TPoint &MousePos, bool &Handled)
{
    if (OnContextPopup)
        OnContextPopup(this, MousePos, Handled);
}

// A point outside the client area is the parent's business (a frame, a scroll bar); the keyboard's
// (-1, -1) opens the menu at the control's top-left.
void TControl::WMContextMenu(TMessage &Message)
{
    if (Message.Result != 0)
        return;
    TPoint Pos = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
    const bool FromKeyboard = Pos.X == -1 && Pos.Y == -1;
    TPoint Local = Pos;
    if (!FromKeyboard) {
        Local = ScreenToClient(Pos);
        if (const TRect Client = ClientRect(); !PtInRect(&Client, Local)) {
            DefaultHandler(Message);
            return;
        }
    }
    bool Handled = false;
    DoContextPopup(Local, Handled);
    Message.Result = Handled;
    if (Handled)
        return;
    if (TPopupMenu *Menu = FPopupMenu; Menu && Menu->AutoPopup()) {
        Menu->SetPopupComponent(this);
        if (FromKeyboard)
            Pos = ClientToScreen(Point(0, 0));
        Message.Result = 1;
        Menu->Popup(Pos.X, Pos.Y);
        return;
    }
    DefaultHandler(Message);
}

void TControl::WMMButtonDown(TMessage &Message)
{
    DefaultHandler(Message);
    if (!FControlStyle.Contains(csNoStdEvents)) {
        TWMMouse M{Message};
        MouseDown(mbMiddle, KeysToShiftState(M.Keys()), M.XPos(), M.YPos());
    }
}

void TControl::WMMButtonUp(TMessage &Message)
{
    DefaultHandler(Message);
    if (!FControlStyle.Contains(csNoStdEvents)) {
        TWMMouse M{Message};
        MouseUp(mbMiddle, KeysToShiftState(M.Keys()), M.XPos(), M.YPos());
    }
}

void TControl::WMMouseMove(TMessage &Message)
{
    DefaultHandler(Message);
    if (!FControlStyle.Contains(csNoStdEvents)) {
        TWMMouse M{Message};
        MouseMove(KeysToShiftState(M.Keys()), M.XPos(), M.YPos());
    }
}

void TControl::WMCancelMode(TMessage &Message)
{
    DefaultHandler(Message);
    if (MouseCapture()) {
        SetMouseCapture(false);
        if (FControlState.Contains(csLButtonDown))
            Perform(WM_LBUTTONUP, 0, PointToLParam(-1, -1));
    }
    FControlState.Exclude(csClicked);
}

void TControl::WMWindowPosChanged(TMessage &Message)
{
    DefaultHandler(Message);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::CMVisibleChanged(TMessage &)
{
    if (FParent && FParent->HandleAllocated()) {
        const TRect R = BoundsRect();
        InvalidateRect(FParent->FHandle, &R, TRUE);
    }
}

void TControl::CMEnabledChanged(TMessage &)
{
    Invalidate();
}

void TControl::CMFontChanged(TMessage &)
{
    Invalidate();
}

void TControl::CMColorChanged(TMessage &)
{
    Invalidate();
}

void TControl::CMParentFontChanged(TMessage &Message)
{
    if (!FParentFont)
        return;
    if (Message.WParam != 0)
        FFont->Assign(reinterpret_cast<TFont *>(Message.LParam));
    else if (FParent)
        FFont->Assign(FParent->Font());
    FParentFont = true;
}

void TControl::CMParentColorChanged(TMessage &Message)
{
    if (!FParentColor)
        return;
    if (Message.WParam != 0)
        SetColor(TColor(Message.LParam));
    else if (FParent)
        SetColor(FParent->Color());
    FParentColor = true;
}

void TControl::CMParentBiDiModeChanged(TMessage &)
{
    if (!FParentBiDiMode || !FParent)
        return;
    SetBiDiMode(FParent->BiDiMode());
    FParentBiDiMode = true;
}

void TControl::CMParentShowHintChanged(TMessage &)
{
    if (!FParentShowHint || !FParent)
        return;
    SetShowHint(FParent->ShowHint());
    FParentShowHint = true;
}

// ---- TGraphicControl / TCustomControl ----------------------------------------------------------------------

KIV_PUBLISHED(TGraphicControl) {}

void TGraphicControl::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    auto *C = TControlCanvas::Create();
    C->SetControl(this);
    FCanvas = C;
}

TGraphicControl::~TGraphicControl()
{
    FreeAndNil(FCanvas);
}

void TGraphicControl::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    default: inherited::Dispatch(Message); break;
    }
}

void TGraphicControl::WMPaint(TMessage &Message)
{
    const HDC DC = TWMPaint{Message}.DC();
    if (!DC || ComponentState().Contains(csDestroying))
        return;
    TCanvasDCScope Scope(FCanvas, DC);
    Paint();
}

KIV_PUBLISHED(TCustomControl) {}

void TCustomControl::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    auto *C = TControlCanvas::Create();
    C->SetControl(this);
    FCanvas = C;
}

TCustomControl::~TCustomControl()
{
    FreeAndNil(FCanvas);
}

void TCustomControl::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    default: inherited::Dispatch(Message); break;
    }
}

void TCustomControl::WMPaint(TMessage &Message)
{
    TCustomPaintScope Scope(FControlState);
    inherited::WMPaint(Message);
}

void TCustomControl::PaintWindow(HDC DC)
{
    TCanvasDCScope Scope(FCanvas, DC);
    Paint();
}

// ---- the mouse, capture, finding controls ------------------------------------------------------------------

TPoint TMouse::CursorPos() const
{
    TPoint P;
    GetCursorPos(&P);
    return P;
}

void TMouse::SetCursorPos(const TPoint &Value)
{
    ::SetCursorPos(Value.X, Value.Y);
}

HWND TMouse::Capture() const
{
    return GetCapture();
}

void TMouse::SetCapture(HWND Value)
{
    if (Value)
        ::SetCapture(Value);
    else
        ReleaseCapture();
}

TControl *GetCaptureControl()
{
    TControl *Result = FindControl(GetCapture());
    if (Result && CaptureControl && CaptureControl->Parent() == Result)
        Result = CaptureControl;
    return Result;
}

void SetCaptureControl(TControl *Control)
{
    ReleaseCapture();
    CaptureControl = nullptr;
    if (!Control)
        return;
    auto *W = dynamic_cast<TWinControl *>(Control);
    if (!W) {
        if (!Control->Parent())
            return;
        CaptureControl = Control;
        W = Control->Parent();
    }
    SetCapture(W->Handle());
}

TWinControl *FindVCLWindow(const TPoint &Pos)
{
    for (HWND Wnd = WindowFromPoint(Pos); Wnd; Wnd = GetParent(Wnd))
        if (TWinControl *Result = FindControl(Wnd))
            return Result;
    return nullptr;
}

TControl *FindDragTarget(const TPoint &Pos, bool AllowDisabled)
{
    TWinControl *Window = FindVCLWindow(Pos);
    if (!Window)
        return nullptr;
    if (TControl *Control = Window->ControlAtPos(Window->ScreenToClient(Pos), AllowDisabled))
        return Control;
    return Window;
}

bool IsAccel(quint16 VK, const QString &Str)
{
    return SameText(QString(QChar(char16_t(VK))), GetHotkey(Str));
}

Qt::CursorShape CursorShapeOf(TCursor Cursor)
{
    switch (Cursor) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait: return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag: return Qt::DragMoveCursor;
    case crNoDrop:
    case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}

void ShowControlCursor(TControl *Control)
{
    if (!Control)
        return;
    TWinControl *Window = dynamic_cast<TWinControl *>(Control);
    if (!Window)
        Window = Control->Parent();
    if (!Window || !Window->HandleAllocated())
        return;
    if (QWidget *W = WindowWidget(Window->Handle()))
        W->setCursor(CursorShapeOf(Control->Cursor()));
}

QString WindowClassNameOf(const TWinControl *Control)
{
    return Control->ClassName();
}
