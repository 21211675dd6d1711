// Which items the skinned menus draw: those read with the menu from a layout, those given at MenuAdded, and
// menu items that join the menu's owner later; never through a menu that is gone.
#include "tests/unit/kivmenus/KivMenuFixture.h"

#include "framework/core/Reader.h"
#include "framework/forms/Forms.h"

using namespace KivMenuTest;

namespace {

class MenuItemEvents : public SkinnedMenuTest
{
protected:
    bool DrawnBySkin(TMenuItem *Item)
    {
        Bmp->Canvas()->Brush()->SetColor(Unpainted);
        Bmp->Canvas()->FillRect(Rect(0, 0, Bmp->Width(), Bmp->Height()));
        if (!Item->OnDrawItem || !Item->OnMeasureItem)
            return false;
        int Width = 0, Height = 0;
        Item->OnMeasureItem(Item, Bmp->Canvas(), Width, Height);
        Item->OnDrawItem(Item, Bmp->Canvas(), Rect(L, T, R, T + 21), false);
        return Height == 21 && PixelAt(Bmp.get(), L, T) != Unpainted;
    }
};

TEST_F(MenuItemEvents, ItemsBuiltInCodeAreDrawnBySkinOnlyAfterMenuAdded)
{
    TMenuItem *File = AddItem(Popup.get(), QStringLiteral("File"));
    TMenuItem *Open = TMenuItem::Create(nullptr);
    File->Add(Open);
    EXPECT_FALSE(File->OnDrawItem);
    EXPECT_FALSE(Open->OnMeasureItem);
    Popup->MenuAdded();
    EXPECT_TRUE(DrawnBySkin(File));
    EXPECT_TRUE(DrawnBySkin(Open));
}

TEST_F(MenuItemEvents, AMenuItemJoiningTheOwnerGetsTheHandlersWhicheverMenuItJoins)
{
    TAutoFree<TComponent> Owner(TComponent::Create(nullptr));
    auto *Skinned = TkivMainMenu::Create(Owner.get());
    auto *Plain = TPopupMenu::Create(Owner.get());
    TMenuItem *Joined = TMenuItem::Create(Owner.get());
    Plain->Items()->Add(Joined);
    EXPECT_TRUE(DrawnBySkin(Joined));
    TMenuItem *Elsewhere = TMenuItem::Create(nullptr);
    Skinned->Items()->Add(Elsewhere);
    EXPECT_FALSE(Elsewhere->OnDrawItem);

    // The handlers outlive the menu that gave them without reaching it.
    Skinned->Free();
    Bmp->Canvas()->Brush()->SetColor(Unpainted);
    Bmp->Canvas()->FillRect(Rect(0, 0, Bmp->Width(), Bmp->Height()));
    ASSERT_TRUE(Joined->OnDrawItem);
    Joined->OnDrawItem(Joined, Bmp->Canvas(), Rect(L, T, R, T + 21), false);
    EXPECT_EQ(PixelAt(Bmp.get(), L, T), Unpainted);
}

TEST_F(MenuItemEvents, LayoutReadsSkinnedMenusWithTheirLookAndDrawnItems)
{
    Application->Initialize();
    TAutoFree<TForm> Form(TCustomForm::CreateNew<TForm>(nullptr));
    ReadComponentFromText(R"(object MenuForm: TForm
  Menu = MainMenu1
  object MainMenu1: TkivMainMenu
    UIStyle = WinXP
    FlatMenu = True
    object File1: TMenuItem
      Caption = '&File'
      object Open1: TMenuItem
        Caption = '&Open'
      end
    end
  end
  object PopupMenu1: TkivPopupMenu
    UIStyle = Protein
    SelectedColor = clRed
    FontCharset = GB2312_CHARSET
    object Copy1: TMenuItem
      Caption = '&Copy'
      ShortCut = 16451
    end
    object N1: TMenuItem
      Caption = '-'
    end
  end
end
)", Form.get());
    auto *Main = dynamic_cast<TkivMainMenu *>(Form->FindComponent(QStringLiteral("MainMenu1")));
    auto *Popup1 = dynamic_cast<TkivPopupMenu *>(Form->FindComponent(QStringLiteral("PopupMenu1")));
    ASSERT_TRUE(Main && Popup1);
    EXPECT_EQ(Form->Menu(), Main);   // the form keeps it as its menu bar while no skinned bar exists
    EXPECT_EQ(Main->UIStyle(), WinXP);
    EXPECT_TRUE(Main->FlatMenu());
    EXPECT_EQ(Popup1->UIStyle(), Protein);
    EXPECT_EQ(Popup1->SelectedColor(), clRed);
    EXPECT_EQ(Popup1->FontCharset(), 134);
    EXPECT_EQ(Popup1->BarColor(), GetInsideThemeColor(Protein, 23));
    ASSERT_EQ(Popup1->Items()->Count(), 2);
    EXPECT_EQ(Popup1->Items()->Items(0)->ShortCut(), scCtrl | 'C');
    for (const char *Name : {"File1", "Open1", "Copy1", "N1"})
        EXPECT_TRUE(dynamic_cast<TMenuItem *>(Form->FindComponent(QString::fromLatin1(Name)))->OnDrawItem) << Name;
    EXPECT_TRUE(DrawnBySkin(Popup1->Items()->Items(0)));
}

} // namespace
