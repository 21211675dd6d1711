// Controls: windows on demand, the message path (WindowProc, Dispatch, DefaultHandler), alignment,
// anchors and constraints, change messages and what children inherit, painting of windowless children.
#include "tests/unit/controls/ControlFixture.h"

#include <QApplication>
#include <QImage>
#include <QTest>

namespace {

using ControlsTest = FormTest;

TEST_F(ControlsTest, AHandleIsMadeOnDemandParentsFirstUnderTheClassName)
{
    TCtBox *Outer = Box(10, 10, 100, 80);
    TCtBox *Inner = Box(5, 5, 20, 20, Outer);
    EXPECT_FALSE(Form->HandleAllocated());
    EXPECT_FALSE(Outer->HandleAllocated());

    HWND H = Inner->Handle();
    ASSERT_TRUE(H);
    EXPECT_TRUE(Form->HandleAllocated());
    EXPECT_EQ(GetParent(H), Outer->Handle());
    EXPECT_EQ(GetParent(Outer->Handle()), Form->Handle());
    EXPECT_EQ(GetClassName(H), QStringLiteral("TCtBox"));
    EXPECT_EQ(GetClassName(Form->Handle()), QStringLiteral("TForm"));
    EXPECT_EQ(FindControl(H), Inner);
    RECT R;
    GetClientRect(H, &R);
    EXPECT_EQ(R, Rect(0, 0, 20, 20));

    // Handles go before the control does; the window is gone with it.
    Outer->Free();
    EXPECT_FALSE(IsWindow(H));
    EXPECT_EQ(FindControl(H), nullptr);
}

TEST_F(ControlsTest, TextGoesThroughTheWindowOnceItExists)
{
    TCtBox *B = Box(0, 0, 10, 10);
    B->SetCaption(QStringLiteral("before"));
    HWND H = B->Handle();
    EXPECT_EQ(GetWindowText(H), QStringLiteral("before"));
    const int Changes = B->Count(CM_TEXTCHANGED);
    B->SetCaption(QStringLiteral("after"));
    EXPECT_EQ(GetWindowText(H), QStringLiteral("after"));
    EXPECT_EQ(B->Count(CM_TEXTCHANGED), Changes + 1);
    B->SetCaption(QStringLiteral("after"));
    EXPECT_EQ(B->Count(CM_TEXTCHANGED), Changes + 1);
    SetWindowText(H, QStringLiteral("typed"));
    EXPECT_EQ(B->Caption(), QStringLiteral("typed"));
}

// A component that hooks its form's WindowProc for its lifetime, as window frames do.
class TCtHook : public TComponent
{
    KIV_OBJECT(TCtHook, TComponent)
public:
    void Construct(TComponent *AOwner) override
    {
        inherited::Construct(AOwner);
        Host = static_cast<TControl *>(AOwner);
        OldProc = Host->WindowProc;
        Host->WindowProc = [this](TMessage &M) {
            Seen.append(M.Msg);
            if (M.Msg == WM_USER + 9) {
                M.Result = 99;
                return;
            }
            OldProc(M);
        };
    }
    void BeforeDestruction() override
    {
        Host->WindowProc = OldProc;
        inherited::BeforeDestruction();
    }
    TControl *Host = nullptr;
    TWndMethod OldProc;
    QList<UINT> Seen;
};
KIV_PUBLISHED(TCtHook) {}

TEST_F(ControlsTest, AComponentHooksTheWindowProcAndRestoresIt)
{
    TCtHook *Hook = TCtHook::Create(Form);
    HWND H = Form->Handle();
    EXPECT_EQ(SendMessage(H, WM_USER + 9, 0, 0), 99);
    EXPECT_EQ(Form->Perform(WM_USER + 9), 99);
    // Chained: what the hook lets through still reaches the form's own handling.
    Form->SetCaption(QStringLiteral("x"));
    EXPECT_TRUE(Hook->Seen.contains(CM_TEXTCHANGED));
    EXPECT_TRUE(Hook->Seen.contains(WM_NCCREATE) || Hook->Seen.contains(WM_SETTEXT));

    Hook->Free();
    EXPECT_EQ(SendMessage(H, WM_USER + 9, 0, 0), 0);
}

TEST_F(ControlsTest, DispatchReachesTheHandlerOverridesAndTheRestTheDefaultProcedure)
{
    TCtBox *B = Box(0, 0, 10, 10);
    EXPECT_EQ(B->Perform(WM_USER + 7), 42);
    EXPECT_EQ(SendMessage(B->Handle(), WM_USER + 7, 0, 0), 42);
    // Not handled anywhere: the class's original procedure (DefWindowProc) answers.
    EXPECT_EQ(B->Perform(WM_USER + 8), 0);
    EXPECT_EQ(B->Count(WM_USER + 8), 1);
    // Windowless controls take messages through Perform too.
    TCtShape *S = Shape(0, 0, 5, 5);
    EXPECT_EQ(S->Perform(CM_HITTEST), HTCLIENT);
}

struct TAlignCase
{
    TAlign Align;
    TRect Expected;
};

TEST_F(ControlsTest, AlignedChildrenTakeTheirSidesInTheClassicOrder)
{
    TCtBox *Panel = Box(0, 0, 200, 100);
    // Created in an order different from the alignment order; each is placed top, bottom, left, right,
    // then client, from what the earlier ones left.
    const TAlignCase Cases[] = {
        {alClient, Rect(30, 20, 160, 90)},
        {alRight, Rect(160, 20, 200, 90)},
        {alLeft, Rect(0, 20, 30, 90)},
        {alBottom, Rect(0, 90, 200, 100)},
        {alTop, Rect(0, 0, 200, 20)},
    };
    const int Sizes[][2] = {{5, 5}, {40, 5}, {30, 5}, {5, 10}, {5, 20}};
    QList<TCtBox *> Boxes;
    for (int I = 0; I < 5; ++I) {
        TCtBox *B = Box(50, 50, Sizes[I][0], Sizes[I][1], Panel);
        B->SetAlign(Cases[I].Align);
        Boxes.append(B);
    }
    for (int I = 0; I < 5; ++I)
        EXPECT_EQ(Boxes[I]->BoundsRect(), Cases[I].Expected) << "align " << Cases[I].Align;

    // The parent grows: the client child takes the room, the right one stays on the right.
    Panel->SetBounds(0, 0, 300, 150);
    EXPECT_EQ(Boxes[0]->BoundsRect(), Rect(30, 20, 260, 140));
    EXPECT_EQ(Boxes[1]->BoundsRect(), Rect(260, 20, 300, 140));
    // Hidden ones leave their side.
    Boxes[4]->SetVisible(false);
    EXPECT_EQ(Boxes[0]->BoundsRect(), Rect(30, 0, 260, 140));
}

TEST_F(ControlsTest, ChildrenOnTheSameSideStackByPosition)
{
    TCtBox *Panel = Box(0, 0, 100, 100);
    TCtBox *Second = Box(0, 40, 10, 10, Panel);
    TCtBox *First = Box(0, 5, 10, 15, Panel);
    TCtBox *Lower = Box(0, 0, 10, 10, Panel);
    TCtBox *Lowest = Box(0, 0, 10, 20, Panel);
    Panel->DisableAlign();
    Second->SetAlign(alTop);
    First->SetAlign(alTop);
    Lower->SetAlign(alBottom);
    Lowest->SetAlign(alBottom);
    Panel->EnableAlign();
    EXPECT_EQ(First->BoundsRect(), Rect(0, 0, 100, 15));
    EXPECT_EQ(Second->BoundsRect(), Rect(0, 15, 100, 25));
    // Among bottom-aligned ones the lower bottom edge goes lowest.
    EXPECT_EQ(Lowest->BoundsRect(), Rect(0, 80, 100, 100));
    EXPECT_EQ(Lower->BoundsRect(), Rect(0, 70, 100, 80));
    // Aligned again one by one, each goes where it now is among the others.
    First->SetAlign(alNone);
    First->SetBounds(0, 60, 10, 15);
    First->SetAlign(alTop);
    EXPECT_EQ(Second->BoundsRect(), Rect(0, 0, 100, 10));
    EXPECT_EQ(First->BoundsRect(), Rect(0, 10, 100, 25));
}

TEST_F(ControlsTest, AnchoredChildrenKeepTheirDistancesWhenTheParentResizes)
{
    TCtBox *Panel = Box(0, 0, 200, 100);
    TCtBox *Corner = Box(150, 70, 40, 20, Panel);
    Corner->SetAnchors({akRight, akBottom});
    TCtBox *Stretch = Box(10, 10, 180, 20, Panel);
    Stretch->SetAnchors({akLeft, akTop, akRight});
    TCtBox *Fixed = Box(10, 40, 30, 20, Panel);

    Panel->SetBounds(0, 0, 300, 160);
    EXPECT_EQ(Corner->BoundsRect(), Rect(250, 130, 290, 150));
    EXPECT_EQ(Stretch->BoundsRect(), Rect(10, 10, 290, 30));
    EXPECT_EQ(Fixed->BoundsRect(), Rect(10, 40, 40, 60));

    // Moving the child itself takes new distances.
    Corner->SetBounds(200, 100, 40, 20);
    Panel->SetBounds(0, 0, 320, 160);
    EXPECT_EQ(Corner->BoundsRect(), Rect(220, 100, 260, 120));
}

TEST_F(ControlsTest, ConstraintsLimitTheSizeAndAlignmentLeavesTheRestToOthers)
{
    TCtBox *Panel = Box(0, 0, 200, 100);
    TCtBox *B = Box(0, 0, 50, 50, Panel);
    B->Constraints()->SetMinWidth(30);
    B->Constraints()->SetMaxHeight(40);
    B->SetBounds(0, 0, 10, 90);
    EXPECT_EQ(B->Width(), 30);
    EXPECT_EQ(B->Height(), 40);
    // A tighter constraint applies at once.
    B->Constraints()->SetMinWidth(60);
    EXPECT_EQ(B->Width(), 60);

    TCtBox *Top = Box(0, 0, 10, 80, Panel);
    Top->Constraints()->SetMaxHeight(25);
    Top->SetAlign(alTop);
    TCtBox *Client = Box(0, 0, 10, 10, Panel);
    Client->SetAlign(alClient);
    EXPECT_EQ(Top->BoundsRect(), Rect(0, 0, 200, 25));
    EXPECT_EQ(Client->BoundsRect(), Rect(0, 25, 200, 100));
}

TEST_F(ControlsTest, ChangesSendTheirMessagesAndReachChildrenThatFollowTheirParent)
{
    TCtBox *Panel = Box(0, 0, 100, 100);
    TCtBox *Follower = Box(0, 0, 10, 10, Panel);
    TCtBox *Own = Box(20, 0, 10, 10, Panel);
    TCtShape *Shape1 = Shape(40, 0, 10, 10, Panel);
    Own->SetColor(clYellow);
    Own->Font()->SetSize(20);
    EXPECT_FALSE(Own->ParentColor());
    EXPECT_FALSE(Own->ParentFont());

    const int ColorChanges = Panel->Count(CM_COLORCHANGED);
    const int FontChanges = Panel->Count(CM_FONTCHANGED);
    Panel->SetColor(clLime);
    EXPECT_EQ(Panel->Count(CM_COLORCHANGED), ColorChanges + 1);
    EXPECT_EQ(Follower->Color(), clLime);
    EXPECT_TRUE(Follower->ParentColor());
    EXPECT_EQ(Shape1->Color(), clLime);
    EXPECT_EQ(Own->Color(), clYellow);
    EXPECT_EQ(Panel->Brush()->Color(), clLime);

    Panel->Font()->SetName(QStringLiteral("Tahoma"));
    EXPECT_EQ(Panel->Count(CM_FONTCHANGED), FontChanges + 1);
    EXPECT_EQ(Follower->Font()->Name(), QStringLiteral("Tahoma"));
    EXPECT_TRUE(Follower->ParentFont());
    EXPECT_EQ(Shape1->Font()->Name(), QStringLiteral("Tahoma"));
    EXPECT_NE(Own->Font()->Name(), QStringLiteral("Tahoma"));

    // Back to following: the parent's values return.
    Own->SetParentColor(true);
    EXPECT_EQ(Own->Color(), clLime);

    Follower->SetVisible(false);
    Follower->SetEnabled(false);
    Follower->SetEnabled(false);
    EXPECT_EQ(Follower->Count(CM_VISIBLECHANGED), 1);
    EXPECT_EQ(Follower->Count(CM_ENABLEDCHANGED), 1);
    EXPECT_FALSE(IsWindowEnabled(Follower->Handle()));

    // A child put on a parent takes the parent's font and colour.
    TCtBox *Late = TCtBox::Create(Form);
    Late->SetParent(Panel);
    EXPECT_EQ(Late->Color(), clLime);
    EXPECT_EQ(Late->Font()->Name(), QStringLiteral("Tahoma"));
}

TEST_F(ControlsTest, ControlsListWindowlessFirstThenWindowedInZOrder)
{
    TCtBox *W1 = Box(0, 0, 10, 10);
    TCtShape *S1 = Shape(0, 0, 10, 10);
    TCtBox *W2 = Box(0, 0, 10, 10);
    TCtShape *S2 = Shape(0, 0, 10, 10);
    auto Order = [this] {
        QList<TControl *> L;
        for (int I = 0; I < Form->ControlCount(); ++I)
            L.append(Form->Controls(I));
        return L;
    };
    EXPECT_EQ(Order(), (QList<TControl *>{S1, S2, W1, W2}));
    S1->BringToFront();
    W2->SendToBack();
    EXPECT_EQ(Order(), (QList<TControl *>{S2, S1, W2, W1}));
    // The windows follow: the one brought to the front is on top.
    W2->BringToFront();
    Form->HandleNeeded();
    W1->HandleNeeded();
    W2->HandleNeeded();
    EXPECT_EQ(GetWindow(Form->Handle(), GW_CHILD), W2->Handle());
}

TEST_F(ControlsTest, WindowlessChildrenPaintOverTheParentsOwnPainting)
{
    TCtBox *Panel = Box(10, 10, 100, 60);
    TCtShape *S = Shape(20, 10, 30, 20, Panel);
    TCtShape *Hidden = Shape(70, 10, 10, 10, Panel);
    Hidden->PaintColor = clLime;
    Hidden->SetVisible(false);
    ShowForm();
    Panel->Repaint();
    HWND H = Panel->Handle();
    EXPECT_EQ(ClientPixel(H, 5, 5), ColorToRGB(clRed));
    EXPECT_EQ(ClientPixel(H, 20, 10), ColorToRGB(clBlue));
    EXPECT_EQ(ClientPixel(H, 49, 29), ColorToRGB(clBlue));
    EXPECT_EQ(ClientPixel(H, 50, 30), ColorToRGB(clRed));
    EXPECT_EQ(ClientPixel(H, 75, 15), ColorToRGB(clRed));

    // Repainting the windowless child alone repaints its part of the parent.
    S->PaintColor = clYellow;
    S->Repaint();
    EXPECT_EQ(ClientPixel(H, 30, 15), ColorToRGB(clYellow));
}

TEST_F(ControlsTest, PaintWithADCInWParamDrawsIntoThatDC)
{
    TCtBox *Panel = Box(10, 10, 100, 60);
    Shape(20, 10, 30, 20, Panel);
    QImage Image(120, 80, QImage::Format_RGB32);
    Image.fill(Qt::white);
    HDC DC = CreateImageDC(&Image);
    // Drawn at an offset, as a child paints its parent's picture behind itself.
    SaveDC(DC);
    SetViewportOrgEx(DC, 10, 5, nullptr);
    Panel->Perform(WM_PAINT, WPARAM(DC), 0);
    RestoreDC(DC, -1);
    DeleteDC(DC);
    EXPECT_EQ(Image.pixel(10 + 5, 5 + 5), qRgb(255, 0, 0));
    EXPECT_EQ(Image.pixel(10 + 25, 5 + 15), qRgb(0, 0, 255));
    EXPECT_EQ(Image.pixel(5, 2), qRgb(255, 255, 255));
    EXPECT_FALSE(Panel->HandleAllocated());
}

// Transparent: paints its parent's background and windowless children behind itself into its own
// canvas, then a mark of its own.
class TCtSeeThrough : public TCustomControl
{
    KIV_OBJECT(TCtSeeThrough, TCustomControl)
protected:
    void Paint() override
    {
        HDC DC = Canvas()->Handle();
        const int Saved = SaveDC(DC);
        SetViewportOrgEx(DC, -Left(), -Top(), nullptr);
        IntersectClipRect(DC, 0, 0, Parent()->ClientWidth(), Parent()->ClientHeight());
        Parent()->Perform(WM_ERASEBKGND, WPARAM(DC), 0);
        Parent()->Perform(WM_PAINT, WPARAM(DC), 0);
        RestoreDC(DC, Saved);
        Canvas()->Brush()->SetColor(clBlack);
        Canvas()->FillRect(Rect(0, 0, 2, 2));
    }
};
KIV_PUBLISHED(TCtSeeThrough) {}

TEST_F(ControlsTest, ATransparentControlShowsItsParentsPaintingAndWindowlessChildren)
{
    TCtBox *Panel = Box(0, 0, 200, 100);
    Shape(40, 20, 30, 30, Panel);
    TCtSeeThrough *Glass = TCtSeeThrough::Create(Form);
    Glass->SetBounds(30, 10, 60, 50);
    Glass->SetParent(Panel);
    ShowForm();
    Glass->Repaint();
    HWND H = Glass->Handle();
    EXPECT_EQ(ClientPixel(H, 0, 0), ColorToRGB(clBlack));
    EXPECT_EQ(ClientPixel(H, 5, 5), ColorToRGB(clRed));
    // The shape at (40, 20) on the parent is at (10, 10) in the control.
    EXPECT_EQ(ClientPixel(H, 10, 10), ColorToRGB(clBlue));
    EXPECT_EQ(ClientPixel(H, 39, 39), ColorToRGB(clBlue));
    EXPECT_EQ(ClientPixel(H, 40, 40), ColorToRGB(clRed));
}

TEST_F(ControlsTest, PaintToDrawsTheWholeTreeWithWindowedChildrenAtTheirOffsets)
{
    TCtBox *Panel = Box(0, 0, 100, 60);
    TCtBox *Child = Box(50, 30, 20, 10, Panel);
    Child->PaintColor = clLime;
    Shape(5, 5, 10, 10, Panel);
    QImage Image(120, 80, QImage::Format_RGB32);
    Image.fill(Qt::white);
    HDC DC = CreateImageDC(&Image);
    Panel->PaintTo(DC, 10, 10);
    DeleteDC(DC);
    EXPECT_EQ(Image.pixel(10 + 1, 10 + 1), qRgb(255, 0, 0));
    EXPECT_EQ(Image.pixel(10 + 6, 10 + 6), qRgb(0, 0, 255));
    EXPECT_EQ(Image.pixel(10 + 55, 10 + 35), qRgb(0, 255, 0));
    EXPECT_EQ(Image.pixel(10 + 100, 10 + 30), qRgb(255, 255, 255));
}

TEST_F(ControlsTest, ACanvasUsedOutsidePaintingDrawsOnTheWindowAtOnce)
{
    TCtBox *Panel = Box(10, 10, 100, 60);
    TCtShape *S = Shape(20, 10, 30, 20, Panel);
    ShowForm();
    Panel->Repaint();
    HWND H = Panel->Handle();
    Panel->Canvas()->Brush()->SetColor(clLime);
    Panel->Canvas()->FillRect(Rect(0, 0, 5, 5));
    EXPECT_EQ(ClientPixel(H, 2, 2), ColorToRGB(clLime));
    // A windowless control draws on its parent's window, moved to its place and clipped to it.
    S->Canvas()->Brush()->SetColor(clYellow);
    S->Canvas()->FillRect(Rect(-10, -10, 100, 100));
    EXPECT_EQ(ClientPixel(H, 20, 10), ColorToRGB(clYellow));
    EXPECT_EQ(ClientPixel(H, 49, 29), ColorToRGB(clYellow));
    EXPECT_EQ(ClientPixel(H, 50, 30), ColorToRGB(clRed));
    EXPECT_EQ(ClientPixel(H, 19, 9), ColorToRGB(clRed));
    // The DCs taken go back once a message has been handled; the canvases take new ones when used again.
    SendMessage(H, WM_NULL, 0, 0);
    S->Canvas()->FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(ClientPixel(H, 21, 11), ColorToRGB(clYellow));
}

// A window whose class copies the built-in "EDIT": the edit's own procedure is its default handling.
class TCtEdit : public TWinControl
{
    KIV_OBJECT(TCtEdit, TWinControl)
public:
    void Construct(TComponent *AOwner) override
    {
        inherited::Construct(AOwner);
        SetBounds(0, 0, 120, 22);
        SetTabStop(true);
    }

protected:
    void CreateParams(TCreateParams &Params) override
    {
        inherited::CreateParams(Params);
        CreateSubClass(Params, QStringLiteral("EDIT"));
    }
};
KIV_PUBLISHED(TCtEdit) {}

TEST_F(ControlsTest, AControlOnABuiltInClassKeepsItsNameAndGetsTheBuiltInBehaviour)
{
    TCtEdit *Edit = TCtEdit::Create(Form);
    Edit->SetParent(Form);
    Edit->SetCaption(QStringLiteral("start"));
    TCtBox *Next = Box(0, 40, 20, 20);
    Next->SetTabStop(true);
    ShowForm();
    HWND H = Edit->Handle();
    EXPECT_EQ(GetClassName(H), QStringLiteral("TCtEdit"));
    EXPECT_EQ(FindControl(H), Edit);
    EXPECT_EQ(GetWindowText(H), QStringLiteral("start"));

    Edit->SetFocus();
    Edit->SetCaption(QString());
    QWidget *W = QApplication::focusWidget();
    ASSERT_TRUE(W);
    QTest::keyClicks(W, QStringLiteral("ab"));
    EXPECT_EQ(Edit->Caption(), QStringLiteral("ab"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(Next->Focused());
}

} // namespace
