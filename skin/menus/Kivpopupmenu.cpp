#include "skin/menus/Kivpopupmenu.h"

#include "skin/menus/Kivmenu.h"

KIV_PUBLISHED(TkivPopupMenu)
{
    Property("OwnerDraw", &TkivPopupMenu::OwnerDrawn, &TkivPopupMenu::SetOwnerDraw2);
    PublishMenuLook<TkivPopupMenu>([this](const char *Name, auto Get, auto Set) { return Property(Name, Get, Set); });
}

TCustomImageList *TkivPopupMenu::CheckImages() const
{
    return g_CheckImages();
}

TCustomImageList *g_CheckImages()
{
    static const TAutoFree<TCustomImageList> List = [] {
        TAutoFree<TCustomImageList> Made(TCustomImageList::Create(16, 16));
        Menu_AddCheckImage(Made.get());
        return Made;
    }();
    return List.get();
}
