#pragma once
// TkivMainMenu: a form's main menu with every item owner-drawn in the colours of the style or file theme.
// It keeps a check-mark picture of its own; the menu's images slot holds it while the user gives none.
//
// Until the skinned frame shows the menu in a bar of its own, the form keeps the menu as its platform menu
// bar and only the drop-downs are skinned; the hooks below are where the frame will be told.

#include "skin/menus/Kivskinnedmenu.h"

class TkivMainMenu : public TkivSkinnedMenu<TMainMenu>
{
    KIV_OBJECT(TkivMainMenu, TkivSkinnedMenu<TMainMenu>)
public:
    void Construct(TComponent *AOwner) override;
    void AfterConstruction() override;

    void MenuAdded() override;
    void MenuChanged(TObject *Sender, TMenuItem *Source, bool Rebuild) override;

    // Published as Images: none while the check-mark list stands in; assigning none puts it back.
    TCustomImageList *UserImageList() const;
    void SetImages2(TCustomImageList *Value);
    void SetUseSystemFont(bool Value);

protected:
    TCustomImageList *CheckImages() const override { return FCheckImages; }
    TCustomImageList *UserImages() const override { return UserImageList(); }

private:
    // The skinned frame's menu bar: attached once the menu is whole, refreshed when the items change,
    // repainted when the font does. Nothing shows the menu that way yet.
    void AttachToFrame() {}
    void RefreshFrame() {}
    void RepaintFrame() {}

    TCustomImageList *FCheckImages = nullptr;   // owned; freed with the menu
};
