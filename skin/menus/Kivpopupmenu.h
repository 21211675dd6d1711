#pragma once
// TkivPopupMenu: a context menu with every item owner-drawn in the colours of the style or file theme. All
// popup menus share one check-mark picture; the menu's Images are only the user's.
//
// Items get their handlers when the menu is read from a layout, when a menu item joins the owner, or at
// MenuAdded, which a menu that builds its items in code calls after adding them.

#include "skin/menus/Kivskinnedmenu.h"

class TkivPopupMenu : public TkivSkinnedMenu<TPopupMenu>
{
    KIV_OBJECT(TkivPopupMenu, TkivSkinnedMenu<TPopupMenu>)
protected:
    TCustomImageList *CheckImages() const override;
    TCustomImageList *UserImages() const override { return Images(); }
};

// The process-wide check-mark list, made on first use and freed at exit, after every menu.
TCustomImageList *g_CheckImages();
