// Items on platform menus: the entries built from item properties and rebuilt after changes, commands back to
// Click, owner draw through the items, Popup's loop driven by keys sent from inside it, a form's bar, the
// context menu from the mouse and the keyboard, shortcuts, and bad input that must not crash or hang.
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/forms/Forms.h"
#include "framework/graphics/ImgList.h"
#include "platform/Window.h"
#include "platform/WindowObject.h"
#include "tests/unit/QtPrinters.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace {

class MenuHandleTest : public ::testing::Test
{
protected:
    void SetUp() override { Owner = TComponent::Create(nullptr); }
    void TearDown() override
    {
        WindowCore::SetKeyDown(VK_SHIFT, false);
        WindowCore::SetKeyDown(VK_CONTROL, false);
        Owner->Free();
        Application->ProcessMessages();
    }

    TMenuItem *Item(const QString &Caption, TMenuItem *Parent)
    {
        TMenuItem *I = TMenuItem::Create(Owner);
        I->SetCaption(Caption);
        Parent->Add(I);
        return I;
    }
    TMenuItem *Clickable(const QString &Caption, TMenuItem *Parent)
    {
        TMenuItem *I = Item(Caption, Parent);
        I->OnClick = [this](TObject *Sender) { Clicked << static_cast<TMenuItem *>(Sender)->Caption(); };
        return I;
    }
    static MENUITEMINFO Entry(HMENU Menu, int Pos)
    {
        MENUITEMINFO Info;
        Info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        EXPECT_TRUE(GetMenuItemInfo(Menu, UINT(Pos), TRUE, &Info));
        return Info;
    }
    // Keys for the open popup, sent once the loop runs.
    static void InLoop(std::function<void(QWidget *)> Step)
    {
        QTimer::singleShot(0, [Step] {
            if (QWidget *W = QApplication::activePopupWidget())
                Step(W);
            else
                EndMenu();
        });
    }
    bool WaitForClick()
    {
        return Application->ProcessMessagesUntil([this] { return !Clicked.isEmpty(); }, 5000);
    }

    TComponent *Owner = nullptr;
    QStringList Clicked;
};

TEST_F(MenuHandleTest, EachVisibleItemBecomesOnePlatformEntry)
{
    auto *Menu = TPopupMenu::Create(Owner);
    struct Case
    {
        std::function<void(TMenuItem *)> Set;
        UINT Type, State;
        QString Text;
    };
    const std::vector<Case> Cases{
        {[](TMenuItem *) {}, MFT_STRING, MFS_ENABLED, "&Plain"},
        {[](TMenuItem *I) { I->SetCaption("-"); }, MFT_SEPARATOR, MFS_ENABLED, ""},
        {[](TMenuItem *I) { I->SetEnabled(false); }, MFT_STRING, MFS_GRAYED, "&Plain"},
        {[](TMenuItem *I) { I->SetChecked(true); }, MFT_STRING, MFS_CHECKED, "&Plain"},
        {[](TMenuItem *I) { I->SetRadioItem(true); }, MFT_RADIOCHECK, MFS_ENABLED, "&Plain"},
        {[](TMenuItem *I) { I->SetDefault(true); }, MFT_STRING, MFS_DEFAULT, "&Plain"},
        {[](TMenuItem *I) { I->SetBreak(mbBreak); }, MFT_MENUBREAK, MFS_ENABLED, "&Plain"},
        {[](TMenuItem *I) { I->SetBreak(mbBarBreak); }, MFT_MENUBARBREAK, MFS_ENABLED, "&Plain"},
        {[](TMenuItem *I) { I->SetShortCut(ShortCut('S', {ssCtrl})); }, MFT_STRING, MFS_ENABLED, "&Plain\tCtrl+S"},
    };
    for (const Case &C : Cases) {
        TMenuItem *I = Item("&Plain", Menu->Items());
        C.Set(I);
    }
    Item("Hidden", Menu->Items())->SetVisible(false);
    HMENU H = Menu->Handle();
    ASSERT_EQ(GetMenuItemCount(H), int(Cases.size()));
    for (int P = 0; P < int(Cases.size()); ++P) {
        const MENUITEMINFO Info = Entry(H, P);
        EXPECT_EQ(Info.fType, Cases[P].Type) << P;
        EXPECT_EQ(Info.fState, Cases[P].State) << P;
        EXPECT_EQ(Info.wID, UINT(Menu->Items()->Items(P)->Command())) << P;
        if (!(Info.fType & MFT_SEPARATOR)) {
            EXPECT_EQ(Info.dwTypeData, Cases[P].Text) << P;
        }
    }

    // Owner draw marks every entry; a sub-menu is its item's handle, found again by FindItem.
    Menu->SetOwnerDraw(true);
    EXPECT_TRUE(Entry(H, 0).fType & MFT_OWNERDRAW);
    TMenuItem *Parent = Menu->Items()->Items(0);
    Item("Child", Parent);
    const MENUITEMINFO Opening = Entry(H, 0);
    ASSERT_TRUE(Opening.hSubMenu);
    EXPECT_EQ(Opening.hSubMenu, Parent->Handle());
    EXPECT_EQ(Menu->FindItem(reinterpret_cast<quintptr>(Opening.hSubMenu), fkHandle), Parent);
    EXPECT_EQ(GetMenuItemCount(Opening.hSubMenu), 1);
}

TEST_F(MenuHandleTest, ChangesRebuildTheEntriesAndAMainMenusBarItemsStayText)
{
    auto *Menu = TMainMenu::Create(Owner);
    Menu->SetOwnerDraw(true);
    TMenuItem *File = Item("&File", Menu->Items());
    TMenuItem *Open = Item("&Open", File);
    HMENU Bar = Menu->Handle();
    HMENU Drop = Entry(Bar, 0).hSubMenu;
    ASSERT_TRUE(Drop);
    EXPECT_FALSE(Entry(Bar, 0).fType & MFT_OWNERDRAW) << "the bar draws its own items";
    EXPECT_TRUE(Entry(Drop, 0).fType & MFT_OWNERDRAW);

    Open->SetChecked(true);
    EXPECT_TRUE(Entry(Drop, 0).fState & MFS_CHECKED);
    Open->SetCaption("&Open...");
    EXPECT_EQ(Entry(Drop, 0).dwTypeData, QStringLiteral("&Open..."));
    Item("&Save", File);
    EXPECT_EQ(GetMenuItemCount(Drop), 2);
    Open->SetVisible(false);
    EXPECT_EQ(Entry(Drop, 0).dwTypeData, QStringLiteral("&Save"));
    Open->Free();
    File->Items(0)->Free();
    EXPECT_FALSE(Entry(Bar, 0).hSubMenu) << "an item without sub-items opens nothing";
    File->Free();
    EXPECT_EQ(GetMenuItemCount(Bar), 0);
}

TEST_F(MenuHandleTest, CommandsRunTheirItemsOnAFormAndThroughThePopupList)
{
    auto *Form = TForm::CreateNew(Owner);
    auto *Bar = TMainMenu::Create(Form);
    TMenuItem *Save = Clickable("&Save", Item("&File", Bar->Items()));
    Form->SetMenu(Bar);
    Form->HandleNeeded();
    EXPECT_EQ(GetMenu(Form->Handle()), Bar->Handle());
    SendMessage(Form->Handle(), WM_COMMAND, WPARAM(Save->Command()), 0);
    EXPECT_EQ(Clicked, QStringList{"&Save"});

    auto *Popup = TPopupMenu::Create(Owner);
    TMenuItem *Cut = Clickable("Cu&t", Popup->Items());
    SendMessage(PopupList().Window(), WM_COMMAND, WPARAM(Cut->Command()), 0);
    EXPECT_EQ(Clicked, (QStringList{"&Save", "Cu&t"}));
    // A notification from a control is no menu command.
    SendMessage(PopupList().Window(), WM_COMMAND, MAKEWPARAM(WORD(Cut->Command()), 1), 0);
    EXPECT_EQ(Clicked.size(), 2);

    // The bar goes with the menu, and a form without one never shows one.
    Form->SetMenu(nullptr);
    EXPECT_FALSE(GetMenu(Form->Handle()));
    Form->SetMenu(Bar);
    Bar->Free();
    EXPECT_FALSE(GetMenu(Form->Handle()));
    EXPECT_FALSE(Form->Menu());
}

TEST_F(MenuHandleTest, PopupRunsOnPopupThenTheLoopThenTheChosenItemsClick)
{
    auto *Menu = TPopupMenu::Create(Owner);
    QStringList Order;
    Menu->OnPopup = [&](TObject *) { Order << "popup"; };
    Clickable("&Alpha", Menu->Items());
    Clickable("&Beta", Menu->Items());
    InLoop([](QWidget *W) {
        QTest::keyClick(W, Qt::Key_Down);
        QTest::keyClick(W, Qt::Key_Down);
        QTest::keyClick(W, Qt::Key_Return);
    });
    Menu->Popup(200, 200);
    Order << "returned";
    EXPECT_TRUE(Clicked.isEmpty()) << "the command comes back through the message loop";
    EXPECT_TRUE(WaitForClick());
    EXPECT_EQ(Clicked, QStringList{"&Beta"});
    EXPECT_EQ(Order, (QStringList{"popup", "returned"}));
}

// Classic: a parent item's OnClick runs as its sub-menu opens, so that it can fill it.
TEST_F(MenuHandleTest, AnItemsOnClickFillsItsSubMenuAsItOpens)
{
    auto *Menu = TPopupMenu::Create(Owner);
    TMenuItem *Recent = Item("&Recent", Menu->Items());
    Item("(none)", Recent);
    Recent->OnClick = [this, Recent](TObject *) {
        Recent->Clear();
        Clickable("&First", Recent);
        Clickable("&Second", Recent);
    };
    InLoop([](QWidget *W) {
        QTest::keyClick(W, Qt::Key_Down);
        QTest::keyClick(W, Qt::Key_Right);
        QTimer::singleShot(0, [W] {
            QWidget *Sub = QApplication::activePopupWidget();
            if (!Sub || Sub == W) {
                EndMenu();
                return;
            }
            // Opened from the keyboard, the sub-menu has its first item selected.
            QTest::keyClick(Sub, Qt::Key_Down);
            QTest::keyClick(Sub, Qt::Key_Return);
        });
    });
    Menu->Popup(150, 150);
    EXPECT_TRUE(WaitForClick());
    EXPECT_EQ(Clicked, QStringList{"&Second"});
}

TEST_F(MenuHandleTest, OwnerDrawnItemsAreMeasuredAndDrawnOnThePopupsOwnDC)
{
    auto *Menu = TPopupMenu::Create(Owner);
    Menu->SetOwnerDraw(true);
    TMenuItem *Custom = Clickable("&Custom", Menu->Items());
    TMenuItem *Plain = Clickable("&Plain\tx", Menu->Items());
    Plain->SetShortCut(ShortCut('P', {ssCtrl}));
    QString DrawnOn;
    HWND DrawnWnd = nullptr;
    TRect DrawnRect{};
    QList<bool> Selections;
    Custom->OnMeasureItem = [](TObject *, TCanvas *, int &W, int &H) {
        W = 120;
        H = 30;
    };
    Custom->OnDrawItem = [&](TObject *, TCanvas *C, const TRect &R, bool Selected) {
        DrawnWnd = WindowFromDC(C->Handle());
        DrawnOn = GetClassName(DrawnWnd);
        DrawnRect = R;
        Selections << Selected;
    };
    // The plain item has the default look; its picture is read while the menu shows.
    QImage Surface;
    InLoop([&](QWidget *W) {
        QTest::keyClick(W, Qt::Key_Down);
        if (DrawnWnd)
            Surface = WindowSurface(DrawnWnd)->copy();
        QTest::keyClick(W, Qt::Key_Escape);
    });
    Menu->Popup(100, 100);
    EXPECT_EQ(DrawnOn, QStringLiteral("#32768"));
    EXPECT_EQ(DrawnRect.Height(), 30);
    EXPECT_GE(DrawnRect.Width(), 120);
    EXPECT_TRUE(Selections.contains(false));
    EXPECT_TRUE(Selections.contains(true)) << "Down selects the first item";
    // The plain item lies under the custom one.
    const TRect PlainRect = Rect(DrawnRect.Left, DrawnRect.Bottom, DrawnRect.Right, DrawnRect.Bottom + 16);
    ASSERT_FALSE(Surface.isNull());
    // Ink of the caption: darker than the menu background, right of the glyph column only.
    const QColor Back = Surface.pixelColor(PlainRect.Left + 4 + 2, PlainRect.Top + 2);
    int FirstInk = -1;
    for (int X = PlainRect.Left; X < PlainRect.Right && FirstInk < 0; ++X)
        for (int Y = PlainRect.Top; Y < PlainRect.Bottom; ++Y)
            if (qGray(Surface.pixel(X + 2, Y + 2)) < qGray(Back.rgb()) - 60) {
                FirstInk = X - PlainRect.Left;
                break;
            }
    EXPECT_GE(FirstInk, 2 + 16 + 6 - 1);
    EXPECT_LE(FirstInk, 2 + 16 + 6 + 3);
}

TEST_F(MenuHandleTest, MenuCharAnswersForOwnerDrawnHotkeys)
{
    auto *Menu = TPopupMenu::Create(Owner);
    Menu->SetOwnerDraw(true);
    Item("&One", Menu->Items());
    Item("&Two", Menu->Items());
    Item("&Three", Menu->Items());
    Item("&Xoff", Menu->Items())->SetEnabled(false);
    HMENU H = Menu->Handle();
    auto Ask = [&](char16_t C) {
        return SendMessage(PopupList().Window(), WM_MENUCHAR, MAKEWPARAM(C, MF_POPUP), reinterpret_cast<LPARAM>(H));
    };
    EXPECT_EQ(Ask(u'o'), MAKELRESULT(0, MNC_EXECUTE));
    EXPECT_EQ(Ask(u't'), MAKELRESULT(1, MNC_SELECT)) << "two items share the letter";
    EXPECT_EQ(HIWORD(Ask(u'x')), MNC_IGNORE) << "a disabled item";
    EXPECT_EQ(HIWORD(Ask(u'q')), MNC_IGNORE);
}

TEST_F(MenuHandleTest, TheContextMenuOpensFromTheMouseAndTheKeyboardUnlessOnContextPopupTakesIt)
{
    auto *Form = TForm::CreateNew(Owner);
    Form->SetBounds(50, 50, 300, 200);
    auto *Panel = TPanel::Create(Form);
    Panel->SetParent(Form);
    Panel->SetBounds(10, 10, 100, 80);
    auto *Menu = TPopupMenu::Create(Owner);
    Clickable("&Item", Menu->Items());
    Panel->SetPopupMenu(Menu);
    Form->Show();
    int Popups = 0;
    Menu->OnPopup = [&](TObject *) {
        ++Popups;
        QTimer::singleShot(0, [] { EndMenu(); });
    };
    QList<TPoint> Asked;
    bool Take = false;
    Panel->OnContextPopup = [&](TObject *, TPoint P, bool &Handled) {
        Asked << P;
        Handled = Take;
    };

    SendMessage(Panel->Handle(), WM_RBUTTONUP, 0, PointToLParam(20, 30));
    EXPECT_EQ(Popups, 1);
    EXPECT_EQ(Menu->PopupComponent(), Panel);
    EXPECT_EQ(Menu->PopupPoint(), Panel->ClientToScreen(Point(20, 30)));
    SendMessage(Panel->Handle(), WM_KEYDOWN, VK_APPS, 0);
    EXPECT_EQ(Popups, 2);
    EXPECT_EQ(Menu->PopupPoint(), Panel->ClientToScreen(Point(0, 0)));
    WindowCore::SetKeyDown(VK_SHIFT, true);
    SendMessage(Panel->Handle(), WM_SYSKEYDOWN, VK_F10, 0);
    WindowCore::SetKeyDown(VK_SHIFT, false);
    EXPECT_EQ(Popups, 3);
    EXPECT_EQ(Asked, (QList<TPoint>{Point(20, 30), Point(-1, -1), Point(-1, -1)}));

    Take = true;
    SendMessage(Panel->Handle(), WM_RBUTTONUP, 0, PointToLParam(5, 5));
    EXPECT_EQ(Popups, 3);

    // A control without a menu leaves the question to its parent.
    Take = false;
    Panel->SetPopupMenu(nullptr);
    Form->SetPopupMenu(Menu);
    SendMessage(Panel->Handle(), WM_RBUTTONUP, 0, PointToLParam(5, 5));
    EXPECT_EQ(Popups, 4);
    EXPECT_EQ(Menu->PopupComponent(), Form);
}

TEST_F(MenuHandleTest, ShortCutsRunTheControlsPopupItemsFirstThenTheFormsMenu)
{
    auto *Form = TForm::CreateNew(Owner);
    auto *Panel = TPanel::Create(Form);
    Panel->SetParent(Form);
    auto *Bar = TMainMenu::Create(Form);
    TMenuItem *File = Item("&File", Bar->Items());
    Clickable("&Save", File)->SetShortCut(ShortCut('S', {ssCtrl}));
    Clickable("&Both", File)->SetShortCut(ShortCut('B', {ssCtrl}));
    Form->SetMenu(Bar);
    auto *Popup = TPopupMenu::Create(Owner);
    Clickable("&Local", Popup->Items())->SetShortCut(ShortCut('B', {ssCtrl}));
    TMenuItem *Off = Item("&Off", Popup->Items());
    Clickable("&Inside", Off)->SetShortCut(ShortCut('D', {ssCtrl}));
    Off->SetEnabled(false);
    Panel->SetPopupMenu(Popup);

    WindowCore::SetKeyDown(VK_CONTROL, true);
    auto Press = [&](quint16 Key) { return SendMessage(Panel->Handle(), CN_KEYDOWN, Key, 0); };
    EXPECT_NE(Press('S'), 0);
    EXPECT_NE(Press('B'), 0);
    EXPECT_NE(Press('D'), 0) << "the key is the menu's even where its item cannot run";
    EXPECT_EQ(Press('Q'), 0);
    EXPECT_EQ(Clicked, (QStringList{"&Save", "&Local"}));
}

// A shown form's bar from the keyboard: Alt and a letter open the drop-down, whose owner-drawn item's letter
// chooses it, whether or not a control has the focus.
TEST_F(MenuHandleTest, AFormsBarOpensByAltAndALetterAndAnOwnerDrawnItemRunsByItsLetter)
{
    auto *Form = TForm::CreateNew(Owner);
    Form->SetBounds(50, 50, 300, 200);
    auto *Bar = TMainMenu::Create(Form);
    Bar->SetOwnerDraw(true);
    TMenuItem *View = Item("&View", Bar->Items());
    Clickable("&Small", View);
    Clickable("&Large", View);
    Form->SetMenu(Bar);
    Form->Show();
    QWidget *W = WindowWidget(Form->Handle());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(W));
    for (bool Focused : {false, true}) {
        SCOPED_TRACE(Focused ? "a control has the focus" : "no control has the focus");
        if (Focused) {
            auto *Panel = TPanel::Create(Form);
            Panel->SetParent(Form);
            Panel->SetTabStop(true);
            Panel->SetFocus();
        }
        Clicked.clear();
        InLoop([](QWidget *Popup) { QTest::keyClick(Popup, Qt::Key_L); });
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : W, Qt::Key_V, Qt::AltModifier);
        EXPECT_TRUE(WaitForClick());
        EXPECT_EQ(Clicked, QStringList{"&Large"});
    }
}

// A real keyboard sends Alt down, the letter, Alt up to the focused Qt widget, which for a button or an edit
// is the hosted widget: the keys must still reach the bar, and the edit must not type the letter.
TEST_F(MenuHandleTest, AltAndALetterReachTheBarPastAFocusedHostedControl)
{
    auto *Form = TForm::CreateNew(Owner);
    Form->SetBounds(50, 50, 300, 200);
    auto *Bar = TMainMenu::Create(Form);
    TMenuItem *View = Item("&View", Bar->Items());
    Clickable("&Small", View);
    Clickable("&Large", View);
    Form->SetMenu(Bar);
    auto *Button = TButton::Create(Form);
    Button->SetParent(Form);
    auto *Edit = TEdit::Create(Form);
    Edit->SetParent(Form);
    Edit->SetTop(40);
    Form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(WindowWidget(Form->Handle())));
    for (TWinControl *Control : std::initializer_list<TWinControl *>{Button, Edit}) {
        SCOPED_TRACE(Control == Button ? "a button has the focus" : "an edit has the focus");
        Control->SetFocus();
        QWidget *Focused = QApplication::focusWidget();
        ASSERT_NE(Focused, WindowWidget(Control->Handle())) << "the focus is not on the hosted widget";
        Clicked.clear();
        InLoop([](QWidget *Popup) { QTest::keyClick(Popup, Qt::Key_L); });
        QTest::keyPress(Focused, Qt::Key_Alt);
        QTest::keyClick(Focused, Qt::Key_V, Qt::AltModifier);
        QTest::keyRelease(Focused, Qt::Key_Alt, Qt::AltModifier);
        EXPECT_TRUE(WaitForClick());
        EXPECT_EQ(Clicked, QStringList{"&Large"});
    }
    EXPECT_EQ(Edit->Text(), QString());
}

// Bad input: each case opens the menu, goes through it and closes it again.
TEST_F(MenuHandleTest, BadInputNeitherCrashesNorHangs)
{
    struct Case
    {
        const char *Name;
        std::function<void(TPopupMenu *)> Build;
        QPoint At;
    };
    auto *Images = TCustomImageList::Create(Owner);
    const std::vector<Case> Cases{
        {"empty caption", [this](TPopupMenu *M) { Clickable("", M->Items()); }, {100, 100}},
        {"caption of only &", [this](TPopupMenu *M) { Clickable("&", M->Items()); }, {100, 100}},
        {"a thousand items",
         [this](TPopupMenu *M) {
             for (int I = 0; I < 1000; ++I)
                 Clickable(QStringLiteral("Item %1").arg(I), M->Items());
         },
         {100, 100}},
        {"image index out of range",
         [&](TPopupMenu *M) {
             M->SetImages(Images);
             Clickable("&Pic", M->Items())->SetImageIndex(7);
         },
         {100, 100}},
        {"outside every screen", [this](TPopupMenu *M) { Clickable("&Far", M->Items()); }, {-30000, 30000}},
        {"freed in its own OnClick",
         [this](TPopupMenu *M) {
             TMenuItem *I = Clickable("&Gone", M->Items());
             I->OnClick = [this](TObject *Sender) {
                 Clicked << "gone";
                 static_cast<TMenuItem *>(Sender)->Free();
             };
         },
         {100, 100}},
        {"sub-menu removed while open",
         [this](TPopupMenu *M) {
             TMenuItem *Sub = Item("&Sub", M->Items());
             Clickable("&Inner", Sub);
             Sub->OnClick = [Sub](TObject *) { QTimer::singleShot(0, [Sub] { Sub->Free(); }); };
             Clickable("&After", M->Items());
         },
         {100, 100}},
    };
    for (const Case &C : Cases) {
        SCOPED_TRACE(C.Name);
        Clicked.clear();
        auto *Menu = TPopupMenu::Create(Owner);
        Menu->SetOwnerDraw(true);
        C.Build(Menu);
        QRect Shown;
        InLoop([&Shown](QWidget *W) {
            Shown = W->geometry();
            QTest::keyClick(W, Qt::Key_Down);
            QTest::keyClick(W, Qt::Key_Right);   // opens the first item's sub-menu, when it has one
            QTimer::singleShot(0, [] {
                if (QWidget *Top = QApplication::activePopupWidget())
                    QTest::keyClick(Top, Qt::Key_Return);
                // Whatever is still open closes with Esc.
                for (int I = 0; I < 5 && QApplication::activePopupWidget(); ++I)
                    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
            });
        });
        Menu->Popup(C.At.x(), C.At.y());
        Application->ProcessMessagesUntil([] { return !QApplication::activePopupWidget(); }, 5000);
        EXPECT_FALSE(QApplication::activePopupWidget()) << "the menu closed";
        Application->ProcessMessages();
        if (QByteArray(C.Name).startsWith("freed")) {
            EXPECT_EQ(Clicked, QStringList{"gone"});
        }
        if (C.At.x() < 0) {
            const QRect Work = QApplication::primaryScreen()->availableGeometry();
            EXPECT_TRUE(Work.contains(Shown.topLeft())) << "moved into the work area";
        }
        Menu->Free();
    }
}

} // namespace
