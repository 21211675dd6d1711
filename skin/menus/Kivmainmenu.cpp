#include "skin/menus/Kivmainmenu.h"

#include "skin/menus/Kivmenu.h"

KIV_PUBLISHED(TkivMainMenu)
{
    Property("Images", &TkivMainMenu::UserImageList, &TkivMainMenu::SetImages2);
    Property("OwnerDraw", &TkivMainMenu::OwnerDrawn, &TkivMainMenu::SetOwnerDraw2);
    PublishMenuLook<TkivMainMenu>([this](const char *Name, auto Get, auto Set) { return Property(Name, Get, Set); });
}

void TkivMainMenu::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FCheckImages = TCustomImageList::Create(this);
    Menu_AddCheckImage(FCheckImages);
    SetImages(FCheckImages);
}

// The form keeps this menu as its platform menu bar for now (see the header).
void TkivMainMenu::AfterConstruction()
{
    inherited::AfterConstruction();
    AttachToFrame();
}

void TkivMainMenu::MenuAdded()
{
    inherited::MenuAdded();
    RefreshFrame();
}

void TkivMainMenu::MenuChanged(TObject *Sender, TMenuItem *Source, bool Rebuild)
{
    inherited::MenuChanged(Sender, Source, Rebuild);
    RefreshFrame();
}

TCustomImageList *TkivMainMenu::UserImageList() const
{
    return Images() == FCheckImages ? nullptr : Images();
}

void TkivMainMenu::SetImages2(TCustomImageList *Value)
{
    SetImages(Value ? Value : FCheckImages);
}

void TkivMainMenu::SetUseSystemFont(bool Value)
{
    inherited::SetUseSystemFont(Value);
    RepaintFrame();
}
