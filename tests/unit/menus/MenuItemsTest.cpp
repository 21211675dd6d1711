// Menu items: the tree and who frees what, radio groups and the default item, Click with AutoCheck,
// command numbers, shortcuts run from the keyboard, changes reaching the menu, and the image list
// reference.
#include "framework/controls/Menus.h"
#include "framework/graphics/ImgList.h"
#include "platform/WindowObject.h"
#include "tests/unit/QtPrinters.h"

#include <QSet>
#include <gtest/gtest.h>

// Counts the items a menu still has when it hears that the menu goes.
class TMnWatcher : public TComponent
{
    KIV_OBJECT(TMnWatcher, TComponent)
public:
    TMenu *Watched = nullptr;
    int ItemsSeen = -1;
    void Notification(TComponent *AComponent, TOperation Operation) override
    {
        inherited::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == Watched)
            ItemsSeen = Watched->Items() ? Watched->Items()->Count() : -2;
    }
};
KIV_PUBLISHED(TMnWatcher) {}

namespace {

class MenuTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        WindowCore::SetKeyDown(VK_SHIFT, false);
        WindowCore::SetKeyDown(VK_CONTROL, false);
    }

    TMenuItem *Item(const QString &Caption, TMenuItem *Parent = nullptr)
    {
        TMenuItem *I = TMenuItem::Create(Owner.get());
        I->SetCaption(Caption);
        if (Parent)
            Parent->Add(I);
        return I;
    }
    static QString Captions(const TMenuItem *Parent)
    {
        QStringList List;
        for (int I = 0; I < Parent->Count(); ++I)
            List << Parent->Items(I)->Caption();
        return List.join(QLatin1Char('|'));
    }
    // The key as a key-down message would carry it; Ctrl and Shift are the keyboard's.
    bool PressShortCut(TMenu *Menu, quint16 Key, bool Ctrl, bool Alt = false)
    {
        WindowCore::SetKeyDown(VK_CONTROL, Ctrl);
        TMessage M{WM_KEYDOWN, Key, Alt ? KF_ALTDOWN_BIT : 0};
        TWMKey K{M};
        return Menu->IsShortCut(K);
    }

    TAutoFree<TComponent> Owner{TComponent::Create(nullptr)};
};

TEST_F(MenuTest, TheTreeTakesItemsInAtAnyPlaceAndGivesThemBackUnfreed)
{
    TPopupMenu *Menu = TPopupMenu::Create(Owner.get());
    TMenuItem *File = Item(QStringLiteral("&File"), Menu->Items());
    TMenuItem *Open = Item(QStringLiteral("&Open"), File);
    TMenuItem *Exit = Item(QStringLiteral("E&xit"), File);
    TMenuItem *Save = Item(QStringLiteral("&Save"));
    File->Insert(1, Save);
    EXPECT_EQ(Captions(File), QStringLiteral("&Open|&Save|E&xit"));
    EXPECT_EQ(Save->Parent(), File);
    EXPECT_EQ(Save->MenuIndex(), 1);
    EXPECT_EQ(File->Parent(), Menu->Items());
    EXPECT_EQ(Save->GetParentMenu(), Menu);
    EXPECT_EQ(File->Find(QStringLiteral("save")), Save) << "captions match without case and hotkeys";
    EXPECT_EQ(File->Find(QStringLiteral("&EXIT")), Exit);
    EXPECT_EQ(File->Find(QStringLiteral("Close")), nullptr);

    Exit->SetMenuIndex(0);
    EXPECT_EQ(Captions(File), QStringLiteral("E&xit|&Open|&Save"));
    Exit->SetMenuIndex(99);
    EXPECT_EQ(Captions(File), QStringLiteral("&Open|&Save|E&xit"));

    File->Remove(Open);
    File->Delete(0);
    EXPECT_EQ(Captions(File), QStringLiteral("E&xit"));
    EXPECT_EQ(Open->Parent(), nullptr);
    EXPECT_EQ(Save->GetParentMenu(), nullptr);
    EXPECT_EQ(Open->Owner(), Owner.get()) << "taken out, not freed";
    EXPECT_EQ(Owner->ComponentCount(), 5);

    // Each item has one place, and no item holds itself.
    EXPECT_THROW(File->Add(Exit), EMenuError);
    Open->Add(Save);
    EXPECT_THROW(Save->Add(Open), EMenuError);
    EXPECT_THROW(Save->Add(Save), EMenuError);
    Menu->Items()->Remove(File);
    EXPECT_THROW(Exit->Add(File), EMenuError);
    EXPECT_THROW(File->Add(Menu->Items()), EMenuError) << "a menu's root belongs to the menu";
    EXPECT_THROW(File->Insert(5, Open), EMenuError);
    EXPECT_THROW(File->Items(1), EMenuError);
    EXPECT_THROW(File->Remove(Open), EMenuError);
    EXPECT_EQ(Captions(File), QStringLiteral("E&xit"));
}

TEST_F(MenuTest, FreeingAnItemFreesItsSubItemsAndAMenuFreesItsWholeTree)
{
    TMainMenu *Menu = TMainMenu::Create(Owner.get());
    TMenuItem *File = Item(QStringLiteral("&File"), Menu->Items());
    Item(QStringLiteral("&Open"), File);
    TMenuItem *Recent = Item(QStringLiteral("&Recent"), File);
    Item(QStringLiteral("a.kiv"), Recent);
    Item(QStringLiteral("b.kiv"), Recent);
    TMenuItem *Edit = Item(QStringLiteral("&Edit"), Menu->Items());
    Item(QStringLiteral("Cu&t"), Edit);
    ASSERT_EQ(Owner->ComponentCount(), 8);

    Recent->Free();
    EXPECT_EQ(Captions(File), QStringLiteral("&Open"));
    EXPECT_EQ(Owner->ComponentCount(), 5) << "the item and its two sub-items left their owner";

    Edit->Clear();
    EXPECT_EQ(Edit->Count(), 0);
    EXPECT_EQ(Owner->ComponentCount(), 4);

    // The menu's removal notification still sees its tree; then the items go with the menu.
    TAutoFree<TMnWatcher> Watcher(TMnWatcher::Create(nullptr));
    Watcher->Watched = Menu;
    Watcher->FreeNotification(Menu);
    Menu->Free();
    EXPECT_EQ(Watcher->ItemsSeen, 2);
    EXPECT_EQ(Owner->ComponentCount(), 0);

    // An owner freed with a tree in it frees each item once, whatever the order.
    TAutoFree<TComponent> Other(TComponent::Create(nullptr));
    TPopupMenu *Popup = TPopupMenu::Create(Other.get());
    TMenuItem *Top = TMenuItem::Create(Other.get());
    Popup->Items()->Add(Top);
    for (int I = 0; I < 3; ++I)
        Top->Add(TMenuItem::Create(Other.get()));
    Top->Items(1)->Add(TMenuItem::Create(nullptr));
    Other.reset();
}

TEST_F(MenuTest, CheckingARadioItemUnchecksTheRadioItemsOfItsGroupAmongItsSiblings)
{
    TMenuItem *P = Item(QStringLiteral("P"));
    TMenuItem *Q = Item(QStringLiteral("Q"));
    auto Radio = [&](const char *Caption, TMenuItem *Parent, int Group) {
        TMenuItem *I = Item(QString::fromLatin1(Caption), Parent);
        I->SetGroupIndex(Group);
        I->SetRadioItem(true);
        return I;
    };
    TMenuItem *R1 = Radio("R1", P, 1), *R2 = Radio("R2", P, 1), *R3 = Radio("R3", P, 1);
    TMenuItem *G1 = Radio("G1", P, 2), *G2 = Radio("G2", P, 2);
    TMenuItem *Plain = Item(QStringLiteral("Plain"), P);
    Plain->SetGroupIndex(1);
    TMenuItem *Elsewhere = Radio("Elsewhere", Q, 1);
    auto Checked = [&] {
        QString S;
        for (TMenuItem *I : {R1, R2, R3, G1, G2, Plain, Elsewhere})
            S += I->Checked() ? QLatin1Char('x') : QLatin1Char('.');
        return S;
    };
    for (TMenuItem *I : {R1, G1, Plain, Elsewhere})
        I->SetChecked(true);
    EXPECT_EQ(Checked(), QStringLiteral("x..x.xx"));
    R2->SetChecked(true);
    EXPECT_EQ(Checked(), QStringLiteral(".x.x.xx")) << "only group 1's radio items under P";
    G2->SetChecked(true);
    EXPECT_EQ(Checked(), QStringLiteral(".x..xxx"));
    R2->SetChecked(false);
    EXPECT_EQ(Checked(), QStringLiteral("....xxx")) << "unchecking checks nothing else";
    R3->SetChecked(true);
    Plain->SetRadioItem(true);
    EXPECT_EQ(Checked(), QStringLiteral("....xxx")) << "a checked item turning radio wins its group";
    G2->SetGroupIndex(1);
    EXPECT_EQ(Checked(), QStringLiteral("....x.x")) << "so does a checked radio item changing group";

    // One default item among siblings.
    R1->SetDefault(true);
    R3->SetDefault(true);
    EXPECT_FALSE(R1->Default());
    EXPECT_TRUE(R3->Default());
    Elsewhere->SetDefault(true);
    EXPECT_TRUE(R3->Default());
}

TEST_F(MenuTest, ClickTogglesAnAutoCheckItemBeforeOnClickAndDoesNothingWhenDisabled)
{
    TMenuItem *P = Item(QStringLiteral("P"));
    TMenuItem *Wrap = Item(QStringLiteral("&Wrap"), P);
    TMenuItem *A = Item(QStringLiteral("A"), P);
    TMenuItem *B = Item(QStringLiteral("B"), P);
    for (TMenuItem *I : {Wrap, A, B})
        I->SetAutoCheck(true);
    A->SetRadioItem(true);
    B->SetRadioItem(true);
    QStringList Log;
    auto Logger = [&](TObject *Sender) {
        auto *I = static_cast<TMenuItem *>(Sender);
        Log << I->Caption() + (I->Checked() ? QStringLiteral("+") : QStringLiteral("-"));
    };
    for (TMenuItem *I : {Wrap, A, B})
        I->OnClick = Logger;
    Wrap->Click();
    Wrap->Click();
    A->Click();
    B->Click();
    EXPECT_EQ(Log, (QStringList{"&Wrap+", "&Wrap-", "A+", "B+"}));
    EXPECT_FALSE(A->Checked());

    Log.clear();
    Wrap->SetEnabled(false);
    Wrap->Click();
    EXPECT_TRUE(Log.isEmpty());
    EXPECT_FALSE(Wrap->Checked());
}

TEST_F(MenuTest, AnItemMayFreeItselfInItsOwnOnClick)
{
    TMenuItem *P = Item(QStringLiteral("P"));
    TMenuItem *Gone = Item(QStringLiteral("Gone"), P);
    Item(QStringLiteral("Sub"), Gone);
    const QString Tail = QStringLiteral("state the handler still reads after the free");
    QString Seen;
    Gone->OnClick = [&Seen, Tail](TObject *Sender) {
        Sender->Free();
        Seen = Tail;
    };
    Gone->Click();
    EXPECT_EQ(Seen, Tail);
    EXPECT_EQ(P->Count(), 0);
    EXPECT_EQ(Owner->ComponentCount(), 1);
}

TEST_F(MenuTest, EveryItemHasACommandOfItsOwnThatTheMenuFindsItBy)
{
    TPopupMenu *Menu = TPopupMenu::Create(Owner.get());
    QList<TMenuItem *> Items;
    for (int I = 0; I < 40; ++I)
        Items << Item(QString::number(I), I < 4 ? Menu->Items() : Items[I % 4]);
    QSet<int> Commands;
    for (TMenuItem *I : Items) {
        EXPECT_NE(I->Command(), 0);
        Commands.insert(I->Command());
        EXPECT_EQ(Menu->FindItem(I->Command(), fkCommand), I);
    }
    EXPECT_EQ(Commands.size(), Items.size());
    const int Freed = Items[7]->Command();
    Items[7]->Free();
    EXPECT_EQ(Menu->FindItem(Freed, fkCommand), nullptr);
    TMenuItem *Fresh = Item(QStringLiteral("fresh"), Menu->Items());
    for (int I = 0; I < Items.size(); ++I) {
        if (I != 7) {
            EXPECT_NE(Fresh->Command(), Items[I]->Command());
        }
    }
}

TEST_F(MenuTest, AShortCutKeyClicksItsItemAfterTheParentsFromTheTopDown)
{
    TMainMenu *Menu = TMainMenu::Create(Owner.get());
    QStringList Log;
    auto Logged = [&](const char *Caption, TMenuItem *Parent, TShortCut Key = scNone) {
        TMenuItem *I = Item(QString::fromLatin1(Caption), Parent);
        I->SetShortCut(Key);
        I->OnClick = [&Log](TObject *Sender) { Log << static_cast<TMenuItem *>(Sender)->Caption(); };
        return I;
    };
    TMenuItem *File = Logged("File", Menu->Items());
    TMenuItem *Recent = Logged("Recent", File);
    Logged("Save", File, ShortCut('S', {ssCtrl}));
    Logged("Last", Recent, ShortCut(VK_F5, {}));
    Logged("Close", File, ShortCut(VK_F4, {ssAlt}));
    TMenuItem *Edit = Logged("Edit", Menu->Items());
    TMenuItem *Cut = Logged("Cut", Edit, ShortCut('X', {ssCtrl}));

    EXPECT_TRUE(PressShortCut(Menu, 'S', true));
    EXPECT_TRUE(PressShortCut(Menu, VK_F5, false));
    EXPECT_TRUE(PressShortCut(Menu, VK_F4, false, true)) << "Alt comes from the key data";
    EXPECT_EQ(Log, (QStringList{"File", "Save", "File", "Recent", "Last", "File", "Close"}));

    Log.clear();
    EXPECT_FALSE(PressShortCut(Menu, 'S', false));
    EXPECT_FALSE(PressShortCut(Menu, VK_F4, false));
    EXPECT_EQ(Log, QStringList{});

    // The parents have their turn first, and their handlers may enable the item.
    Cut->SetEnabled(false);
    EXPECT_TRUE(PressShortCut(Menu, 'X', true)) << "the key is the disabled item's all the same";
    EXPECT_EQ(Log, QStringList{"Edit"});
    Edit->OnClick = [&](TObject *) {
        Log << QStringLiteral("Edit enables");
        Cut->SetEnabled(true);
    };
    EXPECT_TRUE(PressShortCut(Menu, 'X', true));
    EXPECT_EQ(Log, (QStringList{"Edit", "Edit enables", "Cut"}));
    Log.clear();
    Edit->SetEnabled(false);
    EXPECT_TRUE(PressShortCut(Menu, 'X', true));
    EXPECT_EQ(Log, QStringList{}) << "nothing runs under a disabled item";
}

TEST_F(MenuTest, AParentThatBuildsItsSubMenuAfreshInOnClickHasTheNewItemRun)
{
    TMainMenu *Menu = TMainMenu::Create(Owner.get());
    TMenuItem *File = Item(QStringLiteral("File"), Menu->Items());
    QStringList Log;
    auto Build = [&] {
        File->Clear();
        TMenuItem *Save = Item(QStringLiteral("Save"), File);
        Save->SetShortCut(ShortCut('S', {ssCtrl}));
        Save->OnClick = [&Log](TObject *) { Log << QStringLiteral("save"); };
    };
    Build();
    File->OnClick = [&](TObject *) {
        Log << QStringLiteral("build");
        Build();
    };
    EXPECT_TRUE(PressShortCut(Menu, 'S', true));
    EXPECT_EQ(Log, (QStringList{"build", "save"}));

    // A handler that frees the whole menu ends it there.
    File->OnClick = [Menu](TObject *) { Menu->Free(); };
    EXPECT_TRUE(PressShortCut(Menu, 'S', true));
    EXPECT_EQ(Owner->ComponentCount(), 0);
}

TEST_F(MenuTest, AChangeAnywhereInTheTreeReachesTheMenuWithTheItemThatChanged)
{
    TPopupMenu *Menu = TPopupMenu::Create(Owner.get());
    TMenuItem *File = Item(QStringLiteral("File"), Menu->Items());
    TMenuItem *Open = Item(QStringLiteral("Open"), File);
    QList<TMenuItem *> Sources;
    Menu->OnChange = [&](TObject *Sender, TMenuItem *Source, bool) {
        EXPECT_EQ(Sender, Menu);
        Sources << Source;
    };
    Open->SetCaption(QStringLiteral("&Open"));
    Open->SetChecked(true);
    File->SetEnabled(false);
    Item(QStringLiteral("Edit"), Menu->Items());
    EXPECT_EQ(Sources, (QList<TMenuItem *>{Open, Open, File, nullptr}));

    Sources.clear();
    Menu->SetComponentState(Menu->ComponentState() + csLoading);
    Open->SetCaption(QStringLiteral("Open"));
    EXPECT_TRUE(Sources.isEmpty()) << "a loading menu hears of its items once loaded";
    Menu->Loaded();
    EXPECT_EQ(Sources, QList<TMenuItem *>{nullptr});
}

TEST_F(MenuTest, AFreedImageListLeavesEveryMenuThatShowedIt)
{
    TAutoFree<TComponent> ListOwner(TComponent::Create(nullptr));
    TCustomImageList *Shared = TImageList::Create(ListOwner.get());
    TCustomImageList *Local = TImageList::Create(Owner.get());
    TMainMenu *Main = TMainMenu::Create(Owner.get());
    TPopupMenu *Popup = TPopupMenu::Create(Owner.get());
    Main->SetImages(Shared);
    Popup->SetImages(Shared);
    Shared->Free();
    EXPECT_EQ(Main->Images(), nullptr);
    EXPECT_EQ(Popup->Images(), nullptr);

    Main->SetImages(Local);
    Local->Free();
    EXPECT_EQ(Main->Images(), nullptr);

    // A menu freed first leaves no link behind in the list.
    TCustomImageList *Later = TImageList::Create(ListOwner.get());
    Popup->SetImages(Later);
    Popup->Free();
    Later->Free();
}

} // namespace
