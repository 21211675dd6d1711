// Menus in layouts: items nested under their menu and parent item, owned by the form, written back in
// the same nesting; a form's Menu and a control's PopupMenu as typed references.
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Menus.h"
#include "framework/core/Reader.h"
#include "framework/core/Writer.h"
#include "framework/forms/Forms.h"
#include "platform/WindowObject.h"
#include "tests/unit/QtPrinters.h"

#include <gtest/gtest.h>

#include <QTimer>

class TMnForm : public TForm
{
    KIV_OBJECT(TMnForm, TForm)
public:
    TMainMenu *MainMenu1 = nullptr;
    TMenuItem *File1 = nullptr;
    TMenuItem *Open1 = nullptr;
    TMenuItem *Exit1 = nullptr;
    TPopupMenu *PopupMenu1 = nullptr;
    TPanel *Panel1 = nullptr;
    QStringList Log;

    void ItemClick(TObject *Sender) { Log << QStringLiteral("click ") + static_cast<TComponent *>(Sender)->Name(); }
    void MenuPopup(TObject *Sender) { Log << QStringLiteral("popup ") + static_cast<TComponent *>(Sender)->Name(); }
    void ItemDraw(TObject *Sender, TCanvas *, const TRect &ARect, bool Selected)
    {
        Log << QStringLiteral("draw %1 %2 %3").arg(static_cast<TComponent *>(Sender)->Name()).arg(ARect.Bottom).arg(int(Selected));
    }
    void ItemMeasure(TObject *, TCanvas *, int &Width, int &Height)
    {
        Width = 80;
        Height = 21;
    }
};
KIV_PUBLISHED(TMnForm)
{
    Field("MainMenu1", &TMnForm::MainMenu1);
    Field("File1", &TMnForm::File1);
    Field("Open1", &TMnForm::Open1);
    Field("Exit1", &TMnForm::Exit1);
    Field("PopupMenu1", &TMnForm::PopupMenu1);
    Field("Panel1", &TMnForm::Panel1);
    Method("ItemClick", &TMnForm::ItemClick);
    Method("MenuPopup", &TMnForm::MenuPopup);
    Method("ItemDraw", &TMnForm::ItemDraw);
    Method("ItemMeasure", &TMnForm::ItemMeasure);
}

namespace {

// The menu blocks as the writer writes them, so that they must come back unchanged.
const QByteArray MainMenuBlock = R"(  object MainMenu1: TMainMenu
    Left = 8
    Top = 8
    object File1: TMenuItem
      Caption = '&File'
      object Open1: TMenuItem
        Caption = '&Open...'
        ShortCut = 16463
        OnClick = ItemClick
      end
      object Recent1: TMenuItem
        Caption = '&Recent'
        object First1: TMenuItem
          Caption = 'first.kiv'
          Checked = True
          GroupIndex = 1
          RadioItem = True
        end
        object Second1: TMenuItem
          Caption = 'second.kiv'
          GroupIndex = 1
          RadioItem = True
        end
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object Exit1: TMenuItem
        Caption = 'E&xit'
        Default = True
        ShortCut = 32883
        OnClick = ItemClick
      end
    end
    object Edit1: TMenuItem
      Caption = '&Edit'
      Enabled = False
      Hint = 'Nothing to edit'
      ImageIndex = 2
    end
    object Help1: TMenuItem
      Caption = #35498#26126'(&H)'
    end
  end
)";

const QByteArray PopupMenuBlock = R"(  object PopupMenu1: TPopupMenu
    AutoPopup = False
    OnPopup = MenuPopup
    Left = 40
    Top = 8
    object Cut1: TMenuItem
      AutoCheck = True
      Caption = 'Cu&t'
      ShortCut = 16472
      OnDrawItem = ItemDraw
      OnMeasureItem = ItemMeasure
    end
  end
)";

QByteArray Layout(const QByteArray &FormProperties, const QByteArray &PanelProperties)
{
    return "object MnForm: TMnForm\n" + FormProperties + MainMenuBlock + PopupMenuBlock +
           "  object Panel1: TPanel\n" + PanelProperties + "  end\nend\n";
}

QByteArray Block(const QByteArray &Text, const QByteArray &Header)
{
    const qsizetype Start = Text.indexOf("  object " + Header + "\n");
    const qsizetype End = Text.indexOf("\n  end\n", Start);
    return Start < 0 || End < 0 ? QByteArray() : Text.mid(Start, End + 7 - Start);
}

class MenuLayoutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Application->Initialize();
    }
    void TearDown() override { WindowCore::SetKeyDown(VK_CONTROL, false); }

    TMnForm *Read(const QByteArray &Text)
    {
        TMnForm *F = TCustomForm::CreateNew<TMnForm>(nullptr);
        Forms.emplace_back(F);
        ReadComponentFromText(Text, F);
        return F;
    }
    template <class T>
    static T *Find(TComponent *Root, const char *Name)
    {
        return dynamic_cast<T *>(Root->FindComponent(QString::fromLatin1(Name)));
    }

    std::vector<TAutoFree<TMnForm>> Forms;
};

TEST_F(MenuLayoutTest, MenusTwoLevelsDeepAreReadIntoTheFormAndWrittenBackInTheSameNesting)
{
    const QByteArray Text = Layout("  Menu = MainMenu1\n", "    PopupMenu = PopupMenu1\n");
    TMnForm *F = Read(Text);
    ASSERT_TRUE(F->MainMenu1 && F->File1 && F->Open1 && F->Exit1 && F->PopupMenu1 && F->Panel1);
    EXPECT_EQ(F->Menu(), F->MainMenu1);
    EXPECT_EQ(F->Panel1->PopupMenu(), F->PopupMenu1);

    auto *First = Find<TMenuItem>(F, "First1");
    auto *Second = Find<TMenuItem>(F, "Second1");
    auto *Cut = Find<TMenuItem>(F, "Cut1");
    ASSERT_TRUE(First && Second && Cut);
    for (TMenuItem *I : {F->File1, F->Open1, First, Cut}) {
        EXPECT_EQ(I->Owner(), F) << "items are the form's";
        EXPECT_FALSE(I->ComponentState().Contains(csLoading));
    }
    EXPECT_EQ(F->MainMenu1->Items()->Count(), 3);
    EXPECT_EQ(F->File1->Parent(), F->MainMenu1->Items());
    EXPECT_EQ(F->File1->GetParentComponent(), F->MainMenu1);
    EXPECT_EQ(First->Parent()->Parent(), F->File1);
    EXPECT_EQ(First->GetParentMenu(), F->MainMenu1);
    EXPECT_EQ(Cut->GetParentMenu(), F->PopupMenu1);
    EXPECT_TRUE(Find<TMenuItem>(F, "N1")->IsLine());
    EXPECT_EQ(Find<TMenuItem>(F, "Help1")->Caption(), QStringLiteral("說明(&H)"));
    EXPECT_TRUE(First->Checked());
    EXPECT_EQ(ShortCutToText(F->Open1->ShortCut()), QStringLiteral("Ctrl+O"));
    EXPECT_EQ(F->MainMenu1->DesignInfo(), 8 | (8 << 16));

    // The events are the form's methods.
    F->Open1->Click();
    WindowCore::SetKeyDown(VK_CONTROL, false);
    TMessage Key{WM_SYSKEYDOWN, VK_F1 + 3, KF_ALTDOWN_BIT};
    TWMKey AltF4{Key};
    EXPECT_TRUE(F->MainMenu1->IsShortCut(AltF4));
    // The menu shows until it is closed from inside its loop.
    QTimer::singleShot(0, [] { EndMenu(); });
    F->PopupMenu1->Popup(10, 20);
    int Width = 0, Height = 0;
    Cut->OnMeasureItem(Cut, nullptr, Width, Height);
    Cut->OnDrawItem(Cut, nullptr, Rect(0, 0, Width, Height), true);
    EXPECT_EQ(F->Log, (QStringList{"click Open1", "click Exit1", "popup PopupMenu1", "draw Cut1 21 1"}));
    EXPECT_EQ(F->PopupMenu1->PopupPoint(), Point(10, 20));

    // Written back: the same blocks, and a text that reads back into itself.
    const QByteArray Written = WriteComponentToText(F);
    EXPECT_EQ(Block(Written, "MainMenu1: TMainMenu").toStdString(), MainMenuBlock.toStdString());
    EXPECT_EQ(Block(Written, "PopupMenu1: TPopupMenu").toStdString(), PopupMenuBlock.toStdString());
    EXPECT_TRUE(Written.contains("\n  Menu = MainMenu1\n"));
    EXPECT_TRUE(Block(Written, "Panel1: TPanel").contains("\n    PopupMenu = PopupMenu1\n"));
    EXPECT_EQ(WriteComponentToText(Read(Written)).toStdString(), Written.toStdString());
}

TEST_F(MenuLayoutTest, AFormsMenuAndAControlsPopupMenuHoldOnlyTheirOwnKindAndLetGoOfFreedMenus)
{
    EXPECT_THROW(Read(Layout("  Menu = PopupMenu1\n", "")), EReadError);
    EXPECT_THROW(Read(Layout("", "    PopupMenu = MainMenu1\n")), EReadError);

    TMnForm *F = Read(Layout("  Menu = MainMenu1\n", "    PopupMenu = PopupMenu1\n"));
    TMnForm *Other = Read(Layout("", ""));
    EXPECT_THROW(Other->SetMenu(F->MainMenu1), EInvalidOperation) << "one menu bar per form";
    EXPECT_EQ(Other->Menu(), nullptr);
    Other->SetMenu(Other->MainMenu1);
    EXPECT_EQ(Other->Menu(), Other->MainMenu1);

    // A popup menu of another form is a plain reference that goes when that menu goes.
    Other->Panel1->SetPopupMenu(F->PopupMenu1);
    F->PopupMenu1->Free();
    EXPECT_EQ(F->Panel1->PopupMenu(), nullptr);
    EXPECT_EQ(Other->Panel1->PopupMenu(), nullptr);
    F->MainMenu1->Free();
    EXPECT_EQ(F->Menu(), nullptr);
    EXPECT_EQ(F->File1, nullptr) << "the items went with their menu";
}

} // namespace
