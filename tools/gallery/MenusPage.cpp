// The menus: a skinned main menu on the gallery window's menu bar and a skinned popup menu, each with every
// kind of item (plain, default, checked, a radio group, disabled, with image, with shortcut, separators, a
// sub-menu two levels deep, a long caption, a caption in Chinese).
#include "tools/gallery/GalleryPages.h"

#include "framework/controls/StdCtrls.h"
#include "framework/forms/Forms.h"
#include "framework/graphics/ImgList.h"
#include "platform/Menu.h"
#include "skin/menus/Kivmainmenu.h"
#include "skin/menus/Kivpopupmenu.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <utility>
#include <vector>

namespace {

// One line of a menu: its caption ("-" a separator), shortcut text, image, state and sub-items.
struct TItemLine
{
    enum TKind { Plain, Default, Checked, Radio, RadioChecked, Disabled };

    TItemLine(QString ACaption, QString AShortCut = {}, int AImageIndex = -1, TKind AKind = Plain,
              std::vector<TItemLine> AItems = {})
        : Caption(std::move(ACaption)), ShortCut(std::move(AShortCut)), ImageIndex(AImageIndex), Kind(AKind),
          Items(std::move(AItems))
    {
    }

    QString Caption;
    QString ShortCut;
    int ImageIndex;
    TKind Kind;
    std::vector<TItemLine> Items;
};

using TItems = std::vector<TItemLine>;

const TItems &SubMenuTwoLevels()
{
    static const TItems Items{
        {QStringLiteral("First sub-item")},
        {QStringLiteral("&Deeper"), {}, -1, TItemLine::Plain,
         {{QStringLiteral("Deepest &one")}, {QStringLiteral("Deepest &two"), {}, -1, TItemLine::Checked}}},
        {QStringLiteral("Last sub-item"), QStringLiteral("F6")},
    };
    return Items;
}

const TItems &MainMenuItems()
{
    static const TItems Items{
        {QStringLiteral("&File"), {}, -1, TItemLine::Plain,
         {{QStringLiteral("&New"), QStringLiteral("Ctrl+N"), 0},
          {QStringLiteral("&Open..."), QStringLiteral("Ctrl+O"), 1, TItemLine::Default},
          {QStringLiteral("&Save"), QStringLiteral("Ctrl+S"), 2},
          {QStringLiteral("-")},
          {QStringLiteral("&Recent"), {}, -1, TItemLine::Plain, SubMenuTwoLevels()},
          {QStringLiteral("-")},
          {QStringLiteral("E&xit"), QStringLiteral("Alt+F4")}}},
        {QStringLiteral("&Edit"), {}, -1, TItemLine::Plain,
         {{QStringLiteral("&Undo"), QStringLiteral("Ctrl+Z"), -1, TItemLine::Disabled},
          {QStringLiteral("-")},
          {QStringLiteral("Cu&t"), QStringLiteral("Ctrl+X"), 3},
          {QStringLiteral("&Copy"), QStringLiteral("Ctrl+C"), 2},
          {QStringLiteral("&Word wrap"), {}, -1, TItemLine::Checked}}},
        {QStringLiteral("&View"), {}, -1, TItemLine::Plain,
         {{QStringLiteral("&Small"), {}, -1, TItemLine::Radio},
          {QStringLiteral("&Medium"), {}, -1, TItemLine::RadioChecked},
          {QStringLiteral("&Large"), {}, -1, TItemLine::Radio},
          {QStringLiteral("-")},
          {QStringLiteral("An item with a long caption that makes the menu wide")},
          {QStringLiteral("網路介面卡設定")}}},
        {QStringLiteral("&Help"), {}, -1, TItemLine::Plain,
         {{QStringLiteral("&About the gallery..."), QStringLiteral("F1"), -1, TItemLine::Default}}},
    };
    return Items;
}

// Down presses from the freshly opened popup to its "More" item (separators are stepped over).
constexpr int MoreItemStops = 9;

const TItems &PopupMenuItems()
{
    static const TItems Items{
        {QStringLiteral("&Open"), {}, -1, TItemLine::Default},
        {QStringLiteral("Cu&t"), QStringLiteral("Ctrl+X"), 3},
        {QStringLiteral("&Copy"), QStringLiteral("Ctrl+C"), 2},
        {QStringLiteral("&Paste"), QStringLiteral("Ctrl+V"), -1, TItemLine::Disabled},
        {QStringLiteral("-")},
        {QStringLiteral("Show &toolbar"), {}, -1, TItemLine::Checked},
        {QStringLiteral("Align &left"), {}, -1, TItemLine::RadioChecked},
        {QStringLiteral("Align &right"), {}, -1, TItemLine::Radio},
        {QStringLiteral("New &image"), {}, 0, TItemLine::Checked},
        {QStringLiteral("&More"), {}, -1, TItemLine::Plain, SubMenuTwoLevels()},
        {QStringLiteral("-")},
        {QStringLiteral("An item with a long caption that makes the menu wide")},
        {QStringLiteral("顯示網路設定")},
        {QStringLiteral("P&roperties"), QStringLiteral("Alt+Enter")},
    };
    return Items;
}

void ItemClick(TObject *Sender)
{
    ReportClicked(static_cast<TMenuItem *>(Sender)->Caption());
}

void AddItems(TComponent *Owner, TMenuItem *Parent, const TItems &Lines)
{
    for (const TItemLine &Line : Lines) {
        TMenuItem *Item = TMenuItem::Create(Owner);
        Item->SetCaption(Line.Caption);
        Item->SetShortCut(TextToShortCut(Line.ShortCut));
        Item->SetImageIndex(Line.ImageIndex);
        Item->SetDefault(Line.Kind == TItemLine::Default);
        Item->SetEnabled(Line.Kind != TItemLine::Disabled);
        if (Line.Kind == TItemLine::Radio || Line.Kind == TItemLine::RadioChecked) {
            Item->SetRadioItem(true);
            Item->SetGroupIndex(1);
            Item->SetAutoCheck(true);
        }
        if (Line.Kind == TItemLine::Checked)
            Item->SetAutoCheck(true);
        Item->SetChecked(Line.Kind == TItemLine::Checked || Line.Kind == TItemLine::RadioChecked);
        Parent->Add(Item);
        if (Line.Items.empty())
            Item->OnClick = &ItemClick;
        else
            AddItems(Owner, Item, Line.Items);
    }
}

// Four 16 x 16 pictures for the items: framed squares of four colours over a white key.
TCustomImageList *MakeImages(TComponent *Owner)
{
    TCustomImageList *Images = TImageList::Create(Owner);
    Images->SetSize(16, 16);
    const TColor Fills[] = {TColor(0x00F0F0F0), TColor(0x0040C0F0), TColor(0x00C06030), TColor(0x004040C0)};
    for (TColor Fill : Fills) {
        TAutoFree<TBitmap> Picture(TBitmap::Create());
        Picture->SetSize(16, 16);
        TCanvas *C = Picture->Canvas();
        C->Brush()->SetColor(clWhite);
        C->FillRect(Rect(0, 0, 16, 16));
        C->Brush()->SetColor(Fill);
        C->FillRect(Rect(2, 2, 14, 14));
        C->Brush()->SetColor(TColor(0x00303030));
        C->FrameRect(Rect(2, 2, 14, 14));
        Images->AddMasked(Picture.get(), clWhite);
    }
    return Images;
}

// The page: a sheet that holds both menus and gives them the gallery's look.
class TMenuSheet : public TGallerySheet
{
    KIV_OBJECT(TMenuSheet, TGallerySheet)
public:
    void Construct(TComponent *AOwner) override;
    void BeforeDestruction() override;
    // The label and the button, once the sheet has its parent.
    void AddControls();

    TkivMainMenu *MainMenu1 = nullptr;
    TkivPopupMenu *PopupMenu1 = nullptr;
    TButton *ShowPopup = nullptr;

    // Where the popup opens: below the button.
    TPoint PopupPoint();

protected:
    void LookChanged() override;

private:
    void ShowPopupClick(TObject *Sender);
};

KIV_PUBLISHED(TMenuSheet) {}

void TMenuSheet::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    TCustomImageList *Images = MakeImages(this);

    MainMenu1 = TkivMainMenu::Create(this);
    MainMenu1->SetImages(Images);
    AddItems(this, MainMenu1->Items(), MainMenuItems());
    MainMenu1->MenuAdded();

    PopupMenu1 = TkivPopupMenu::Create(this);
    PopupMenu1->SetImages(Images);
    AddItems(this, PopupMenu1->Items(), PopupMenuItems());
    PopupMenu1->MenuAdded();
    SetPopupMenu(PopupMenu1);
}

void TMenuSheet::AddControls()
{
    TLabel *Hint = TLabel::Create(this);
    Hint->SetParent(this);
    Hint->SetBounds(16, 16, 420, 40);
    Hint->SetAutoSize(false);
    Hint->SetWordWrap(true);
    Hint->SetCaption(QStringLiteral("The main menu is on the window's menu bar. Right-click anywhere on this page, "
                                    "or use the button, for the popup menu."));
    ShowPopup = TButton::Create(this);
    ShowPopup->SetParent(this);
    ShowPopup->SetBounds(16, 64, 140, 25);
    ShowPopup->SetCaption(QStringLiteral("Show &popup menu"));
    ShowPopup->OnClick = [this](TObject *Sender) { ShowPopupClick(Sender); };
}

TMenuSheet *Sheet = nullptr;

void TMenuSheet::BeforeDestruction()
{
    if (Sheet == this)
        Sheet = nullptr;
    if (TCustomForm *Form = GetParentForm(this); Form && Form->Menu() == MainMenu1)
        static_cast<TForm *>(Form)->SetMenu(nullptr);
    inherited::BeforeDestruction();
}

void TMenuSheet::LookChanged()
{
    if (!MainMenu1 || !PopupMenu1)
        return;
    MainMenu1->SetFileTheme(FileTheme());
    MainMenu1->SetUIStyle(UIStyle());
    PopupMenu1->SetFileTheme(FileTheme());
    PopupMenu1->SetUIStyle(UIStyle());
}

TPoint TMenuSheet::PopupPoint()
{
    return ClientToScreen(TPoint(ShowPopup->Left(), ShowPopup->Top() + ShowPopup->Height()));
}

void TMenuSheet::ShowPopupClick(TObject *)
{
    const TPoint P = PopupPoint();
    PopupMenu1->SetPopupComponent(ShowPopup);
    PopupMenu1->Popup(P.X, P.Y);
}

void Press(int Key)
{
    QWidget *Target = QApplication::activePopupWidget();
    if (!Target)
        return;
    QKeyEvent Down(QEvent::KeyPress, Key, Qt::NoModifier);
    QCoreApplication::sendEvent(Target, &Down);
    QKeyEvent Up(QEvent::KeyRelease, Key, Qt::NoModifier);
    QCoreApplication::sendEvent(Target, &Up);
}

int OpenPopups()
{
    int Count = 0;
    for (QWidget *W : QApplication::topLevelWidgets())
        Count += W->isVisible() && W->windowType() == Qt::Popup;
    return Count;
}

// The popup open below its button, its "More" sub-menu open beside it, "Deeper" selected there.
void OpenPopupScene(const std::function<void()> &Shoot)
{
    bool Shot = false;
    if (!Sheet) {
        Shoot();
        return;
    }
    QTimer InLoop;
    InLoop.setSingleShot(true);
    QObject::connect(&InLoop, &QTimer::timeout, [&] {
        if (!Application->ProcessMessagesUntil([] { return OpenPopups() == 1; }, 5000))
            return;
        for (int I = 0; I < MoreItemStops; ++I)
            Press(Qt::Key_Down);
        Press(Qt::Key_Right);
        if (Application->ProcessMessagesUntil([] { return OpenPopups() == 2; }, 5000)) {
            Press(Qt::Key_Down);
            Application->ProcessMessages();
            Shoot();
            Shot = true;
        }
        EndMenu();
    });
    InLoop.start(0);
    const TPoint P = Sheet->PopupPoint();
    Sheet->PopupMenu1->Popup(P.X, P.Y);
    if (!Shot)
        Shoot();
}

const TGalleryPageRegistration Registration({QStringLiteral("menus"), QStringLiteral("Menus"),
                                             [](TWinControl *Host) {
                                                 Sheet = TMenuSheet::Create(Host->Owner());
                                                 Sheet->SetParent(Host);
                                                 Sheet->SetAlign(alClient);
                                                 Sheet->AddControls();
                                                 if (auto *Form = dynamic_cast<TForm *>(GetParentForm(Host)))
                                                     Form->SetMenu(Sheet->MainMenu1);
                                             },
                                             &OpenPopupScene});

} // namespace
