#include "tests/unit/controls/ControlFixture.h"

KIV_PUBLISHED(TCtBox) {}

void TCtBox::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FControlStyle.Include(csAcceptsControls);
    SetBounds(0, 0, 50, 30);
}

void TCtBox::Dispatch(TMessage &Message)
{
    Seen.append(Message.Msg);
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DlgCode;
        return;
    case WM_USER + 7:
        Message.Result = 42;
        return;
    case CM_FOCUSCHANGED:
        FocusChangedTo.append(Message.LParam);
        break;
    case CM_DIALOGKEY:
        ++DialogKeys;
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(TWMKey{Message}.CharCode(), Caption())) {
            ++Accels;
            Message.Result = 1;
            return;
        }
        break;
    case CM_MOUSEENTER:
        ++Enters;
        break;
    case CM_MOUSELEAVE:
        ++Leaves;
        break;
    default:
        break;
    }
    inherited::Dispatch(Message);
}

void TCtBox::Paint()
{
    ++Paints;
    Canvas()->Brush()->SetColor(PaintColor);
    Canvas()->FillRect(ClientRect());
}

void TCtBox::Click()
{
    ++Clicks;
    inherited::Click();
}

void TCtBox::DblClick()
{
    ++DblClicks;
    inherited::DblClick();
}

void TCtBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    ++Downs;
    inherited::MouseDown(Button, Shift, X, Y);
}

KIV_PUBLISHED(TCtShape) {}

void TCtShape::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    SetBounds(0, 0, 20, 20);
}

void TCtShape::Dispatch(TMessage &Message)
{
    Seen.append(Message.Msg);
    inherited::Dispatch(Message);
}

void TCtShape::Paint()
{
    Canvas()->Brush()->SetColor(PaintColor);
    Canvas()->FillRect(Rect(0, 0, Width(), Height()));
}

void TCtShape::Click()
{
    ++Clicks;
    inherited::Click();
}

void FormTest::SetUp()
{
    Application->Initialize();
    // A message box would wait for a click that never comes.
    ShowExceptionHook = [](const QString &Message) { ADD_FAILURE() << "exception shown: " << Message.toStdString(); };
    Form = TForm::CreateNew(nullptr);
    Form->SetBounds(100, 100, 300, 200);
}

void FormTest::TearDown()
{
    FreeAndNil(Form);
    ShowExceptionHook = nullptr;
    ProcessPendingMessages();
}

TCtBox *FormTest::Box(int Left, int Top, int Width, int Height, TWinControl *Parent)
{
    TCtBox *B = TCtBox::Create(Form);
    B->SetBounds(Left, Top, Width, Height);
    B->SetParent(Parent ? Parent : Form);
    return B;
}

TCtShape *FormTest::Shape(int Left, int Top, int Width, int Height, TWinControl *Parent)
{
    TCtShape *S = TCtShape::Create(Form);
    S->SetBounds(Left, Top, Width, Height);
    S->SetParent(Parent ? Parent : Form);
    return S;
}

void FormTest::ShowForm()
{
    Form->Show();
    ProcessPendingMessages();
}

COLORREF FormTest::ClientPixel(HWND Wnd, int X, int Y)
{
    const QImage *Surface = WindowSurface(Wnd);
    const POINT Origin = ClientOrigin(Wnd);
    const QRgb P = Surface->pixel(Origin.X + X, Origin.Y + Y);
    return RGB(BYTE(qRed(P)), BYTE(qGreen(P)), BYTE(qBlue(P)));
}
