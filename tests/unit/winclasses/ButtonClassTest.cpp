// The "BUTTON" window class: clicks reach the parent as BN_CLICKED, check states by kind, radio groups.
#include "tests/unit/winclasses/ClassFixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

using ButtonClass = ClassTest;

LRESULT Check(HWND B) { return SendMessage(B, BM_GETCHECK, 0, 0); }

TEST_F(ButtonClass, ClicksNotifyTheParent)
{
    HWND B = Make(QStringLiteral("BUTTON"), BS_PUSHBUTTON, 10, 10, 80, 24, 42, QStringLiteral("&Save"));
    auto *W = qobject_cast<QPushButton *>(HostedWidget(B));
    ASSERT_TRUE(W);
    EXPECT_EQ(W->text(), "&Save");          // the accelerator prefix is Qt's too
    EXPECT_EQ(GetWindowText(B), "&Save");

    SendMessage(B, BM_CLICK, 0, 0);
    ASSERT_EQ(Notes.size(), 1u);
    EXPECT_EQ(Notes[0], (TNotification{42, BN_CLICKED, B}));

    // A real click, through the window layer's input translation.
    QTest::mouseClick(W, Qt::LeftButton, Qt::NoModifier, W->rect().center());
    EXPECT_EQ(Count(B, BN_CLICKED), 2);

    // Disabled buttons do not click.
    EnableWindow(B, FALSE);
    SendMessage(B, BM_CLICK, 0, 0);
    EXPECT_EQ(Count(B, BN_CLICKED), 2);

    EXPECT_EQ(SendMessage(B, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
    SendMessage(B, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_TRUE(W->isDefault());
    EXPECT_EQ(SendMessage(B, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    SendMessage(B, BM_SETSTATE, TRUE, 0);
    EXPECT_TRUE(SendMessage(B, BM_GETSTATE, 0, 0) & BST_PUSHED);
}

TEST_F(ButtonClass, CheckStatesByKind)
{
    // Clicking an automatic box changes it; the others wait for their owner's BM_SETCHECK.
    const struct { DWORD Style; std::vector<LRESULT> AfterClicks; } Cases[] = {
        {BS_AUTOCHECKBOX, {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}},
        {BS_CHECKBOX, {BST_UNCHECKED, BST_UNCHECKED, BST_UNCHECKED}},
        {BS_AUTO3STATE, {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}},
        {BS_3STATE, {BST_UNCHECKED, BST_UNCHECKED, BST_UNCHECKED}},
        {BS_RADIOBUTTON, {BST_UNCHECKED, BST_UNCHECKED, BST_UNCHECKED}},
        {BS_AUTORADIOBUTTON, {BST_CHECKED, BST_CHECKED, BST_CHECKED}},
    };
    for (const auto &C : Cases) {
        HWND B = Make(QStringLiteral("BUTTON"), C.Style, 10, 10, 120, 20);
        std::vector<LRESULT> Seen;
        for (size_t I = 0; I < C.AfterClicks.size(); ++I) {
            SendMessage(B, BM_CLICK, 0, 0);
            Seen.push_back(Check(B));
        }
        EXPECT_EQ(Seen, C.AfterClicks) << C.Style;
        EXPECT_EQ(Count(B, BN_CLICKED), 3) << C.Style;

        SendMessage(B, BM_SETCHECK, BST_CHECKED, 0);
        EXPECT_EQ(Check(B), BST_CHECKED) << C.Style;
        SendMessage(B, BM_SETCHECK, BST_INDETERMINATE, 0);     // only three-state boxes have it
        const bool ThreeState = C.Style == BS_3STATE || C.Style == BS_AUTO3STATE;
        EXPECT_EQ(Check(B), ThreeState ? BST_INDETERMINATE : BST_CHECKED) << C.Style;
        SendMessage(B, BM_SETCHECK, BST_UNCHECKED, 0);
        EXPECT_EQ(Check(B), BST_UNCHECKED) << C.Style;
        EXPECT_EQ(Count(B, BN_CLICKED), 3) << C.Style;   // setting is no click
        DestroyWindow(B);
    }

    // A real click on an automatic box.
    HWND Box = Make(QStringLiteral("BUTTON"), BS_AUTOCHECKBOX | BS_LEFTTEXT, 10, 10, 120, 20, 0, QStringLiteral("Box"));
    auto *W = qobject_cast<QCheckBox *>(HostedWidget(Box));
    ASSERT_TRUE(W);
    EXPECT_EQ(W->layoutDirection(), Qt::RightToLeft);
    QTest::mouseClick(W, Qt::LeftButton, Qt::NoModifier, QPoint(W->width() - 8, W->height() / 2));   // the box
    EXPECT_EQ(Check(Box), BST_CHECKED);
    EXPECT_EQ(Count(Box, BN_CLICKED), 1);
}

TEST_F(ButtonClass, AutoRadioButtonsUncheckTheirGroup)
{
    // Group fences (WS_GROUP) on both sides, so the group is the same whichever way the siblings run.
    auto Radio = [&](DWORD Extra, int Y) { return Make(QStringLiteral("BUTTON"), BS_AUTORADIOBUTTON | Extra, 10, Y, 120, 20); };
    HWND Fence1 = Make(QStringLiteral("BUTTON"), BS_PUSHBUTTON | WS_GROUP, 10, 0, 60, 20);
    HWND A = Radio(0, 20), B = Radio(0, 40), C = Radio(0, 60);
    HWND Manual = Make(QStringLiteral("BUTTON"), BS_RADIOBUTTON, 10, 80, 120, 20);
    HWND Fence2 = Make(QStringLiteral("BUTTON"), BS_PUSHBUTTON | WS_GROUP, 10, 100, 60, 20);
    HWND Other = Radio(0, 120);
    (void)Fence2;

    SendMessage(Other, BM_SETCHECK, BST_CHECKED, 0);
    SendMessage(Manual, BM_SETCHECK, BST_CHECKED, 0);
    SendMessage(A, BM_CLICK, 0, 0);
    EXPECT_EQ(Check(A), BST_CHECKED);
    SendMessage(C, BM_CLICK, 0, 0);
    EXPECT_EQ(Check(C), BST_CHECKED);
    EXPECT_EQ(Check(A), BST_UNCHECKED);
    EXPECT_EQ(Check(B), BST_UNCHECKED);
    EXPECT_EQ(Check(Manual), BST_CHECKED);      // not an automatic one
    EXPECT_EQ(Check(Other), BST_CHECKED);       // another group

    auto *W = qobject_cast<QRadioButton *>(HostedWidget(B));
    ASSERT_TRUE(W);
    QTest::mouseClick(W, Qt::LeftButton, Qt::NoModifier, QPoint(8, W->height() / 2));
    EXPECT_EQ(Check(B), BST_CHECKED);
    EXPECT_EQ(Check(C), BST_UNCHECKED);
    EXPECT_EQ(SendMessage(B, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_RADIOBUTTON);

    // Radio buttons tell double clicks apart.
    SendMessage(B, WM_LBUTTONDBLCLK, MK_LBUTTON, PointToLParam(8, 10));
    EXPECT_EQ(Count(B, BN_DOUBLECLICKED), 1);
    SendMessage(Fence1, WM_LBUTTONDBLCLK, MK_LBUTTON, PointToLParam(8, 10));
    EXPECT_EQ(Count(Fence1, BN_DOUBLECLICKED), 0);
}

TEST_F(ButtonClass, GroupBoxIsAFrameWithACaption)
{
    HWND G = Make(QStringLiteral("BUTTON"), BS_GROUPBOX, 10, 10, 200, 100, 0, QStringLiteral("&Options"));
    auto *W = qobject_cast<QGroupBox *>(HostedWidget(G));
    ASSERT_TRUE(W);
    EXPECT_EQ(W->title(), "&Options");
    EXPECT_TRUE(W->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(SendMessage(G, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
    SetWindowText(G, QStringLiteral("Other"));
    EXPECT_EQ(W->title(), "Other");
    EXPECT_EQ(Check(G), 0);

    // A control on the group box is its sibling window, not a Qt child of the frame.
    HWND Inside = Make(QStringLiteral("BUTTON"), BS_AUTOCHECKBOX, 20, 30, 100, 20);
    EXPECT_FALSE(W->isAncestorOf(HostedWidget(Inside)));

    // Changing the kind of button changes the widget.
    SendMessage(G, BM_SETSTYLE, BS_AUTOCHECKBOX, TRUE);
    EXPECT_TRUE(qobject_cast<QCheckBox *>(HostedWidget(G)));
    EXPECT_EQ(GetWindowText(G), "Other");
}

TEST_F(ButtonClass, FontFromTheMessage)
{
    HWND B = Make(QStringLiteral("BUTTON"), BS_PUSHBUTTON, 10, 10, 80, 24);
    LOGFONT L;
    L.lfHeight = -20;
    L.lfWeight = FW_BOLD;
    L.lfFaceName = QStringLiteral("Tahoma");
    HFONT F = CreateFontIndirect(&L);
    SendMessage(B, WM_SETFONT, reinterpret_cast<WPARAM>(F), TRUE);
    EXPECT_EQ(SendMessage(B, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(F));
    EXPECT_EQ(HostedWidget(B)->font(), F->QtFont());
    DestroyWindow(B);
    DeleteObject(F);
}

} // namespace
