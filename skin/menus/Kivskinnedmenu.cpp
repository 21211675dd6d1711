#include "skin/menus/Kivskinnedmenu.h"

#include "skin/menus/Kivmenu.h"

namespace {

// Theme item numbers.
constexpr int FormBackgroundColorItem = 15;
constexpr int MenuSelectedBorderColorItem = 18;
constexpr int MenuSelectedBackgroundColorItem = 19;
constexpr int MenuSelectedFontColorItem = 20;
constexpr int MenuBackgroundColorItem = 21;
constexpr int MenuFontColorItem = 22;
constexpr int MenuBarColorItem = 23;

constexpr TColor DisabledFontColor = clGray;

} // namespace

template <class TBase>
void TkivSkinnedMenu<TBase>::Construct(TComponent *AOwner)
{
    TBase::Construct(AOwner);
    TBase::SetOwnerDraw(true);
    SetUIStyle(GetKIVFormStyle(AOwner));
}

// The handlers reach the menu through a weak reference: an item of another menu that took them at its
// insertion may outlive this one, and is then no longer drawn by it.
template <class TBase>
void TkivSkinnedMenu<TBase>::SetItemEvent(TMenuItem *Item)
{
    const std::weak_ptr<TkivSkinnedMenu *> Menu = FSelf;
    Menu_SetItemEvent(
        Item,
        [Menu](TObject *Sender, TCanvas *ACanvas, const TRect &ARect, bool Selected) {
            if (const auto M = Menu.lock())
                (*M)->DrawItem(Sender, ACanvas, ARect, Selected);
        },
        [Menu](TObject *Sender, TCanvas *ACanvas, int &Width, int &Height) {
            if (const auto M = Menu.lock())
                (*M)->MeasureItem(Sender, ACanvas, Width, Height);
        });
}

template <class TBase>
void TkivSkinnedMenu<TBase>::MenuAdded()
{
    TMenuItem *Root = this->Items();
    for (int I = 0; I < Root->Count(); ++I)
        SetItemEvent(Root->Items(I));
}

template <class TBase>
void TkivSkinnedMenu<TBase>::Loaded()
{
    TBase::Loaded();
    MenuAdded();
}

template <class TBase>
void TkivSkinnedMenu<TBase>::Notification(TComponent *AComponent, TOperation Operation)
{
    TBase::Notification(AComponent, Operation);
    if (!AComponent)
        return;
    if (Operation == opRemove && AComponent == FFileTheme) {
        FFileTheme = nullptr;
        SetUIStyle(DeepBlue);
    }
    if (Operation == opInsert && this->Owner() && AComponent->Owner() == this->Owner())
        if (auto *Item = dynamic_cast<TMenuItem *>(AComponent))
            SetItemEvent(Item);
}

// ---- look properties ------------------------------------------------------------------------------------

template <class TBase>
TColor TkivSkinnedMenu<TBase>::ThemeColor(int Item) const
{
    TkivUIStyle Style;
    if (!UsingFileTheme(FFileTheme, FUIStyle, Style))
        return GetInsideThemeColor(Style, Item);
    // A theme without the colour answers -1, which paints black on black: the default style's keeps the
    // menu legible.
    const TColor Value = FFileTheme->GetColor(Item);
    return Value == TColor(-1) ? GetInsideThemeColor(DeepBlue, Item) : Value;
}

template <class TBase>
void TkivSkinnedMenu<TBase>::SetUIStyle(TkivUIStyle Value)
{
    FUIStyle = Value;
    FBarWidth = 26;
    const bool Mac = Value == MacOS;
    FMenuItemHeight = Mac ? 20 : 21;
    FSeparatorHeight = Mac ? 12 : 5;
    FSeparatorColor = Mac ? clBlack : TColor(0x00848284);
    FBarColor = ThemeColor(MenuBarColorItem);
    FColor = ThemeColor(MenuBackgroundColorItem);
    FFontColor = ThemeColor(MenuFontColorItem);
    FSelectedBorderColor = ThemeColor(MenuSelectedBorderColorItem);
    FSelectedColor = ThemeColor(MenuSelectedBackgroundColorItem);
    FSelectedFontColor = ThemeColor(MenuSelectedFontColorItem);
}

template <class TBase>
void TkivSkinnedMenu<TBase>::SetFileTheme(TkivFileTheme *Value)
{
    if (Value != FFileTheme) {
        if (FFileTheme)
            FFileTheme->RemoveFreeNotification(this);
        FFileTheme = Value;
        if (Value)
            Value->FreeNotification(this);
    }
    SetUIStyle(FUIStyle);
}

template <class TBase>
void TkivSkinnedMenu<TBase>::SetMenuItemHeight(int Value)
{
    if (FUIStyle != MacOS)
        FMenuItemHeight = Value;
}

template <class TBase>
void TkivSkinnedMenu<TBase>::SetSeparatorHeight(int Value)
{
    if (FUIStyle != MacOS)
        FSeparatorHeight = Value;
}

// ---- measuring and painting -------------------------------------------------------------------------------

template <class TBase>
void TkivSkinnedMenu<TBase>::MeasureItem(TObject *Sender, TCanvas *ACanvas, int &Width, int &Height)
{
    auto *Item = dynamic_cast<TMenuItem *>(Sender);
    if (!Item || !ACanvas)
        return;
    Height = Item->IsLine() ? FSeparatorHeight : FMenuItemHeight;
    Width = ACanvas->TextWidth(Item->Caption()) + ACanvas->TextWidth(ShortCutToText(Item->ShortCut())) + FBarWidth + 40;
}

template <class TBase>
void TkivSkinnedMenu<TBase>::DrawItem(TObject *Sender, TCanvas *ACanvas, const TRect &ARect, bool Selected)
{
    auto *Item = dynamic_cast<TMenuItem *>(Sender);
    if (!Item || !ACanvas)
        return;
    const bool RightToLeft = this->IsRightToLeft();
    if (FFlatMenu)
        if (HWND Wnd = WindowFromDC(ACanvas->Handle()))
            Menu_DrawWindowBorder(Wnd, clBlack, ThemeColor(FormBackgroundColorItem));
    if (Item->IsLine()) {
        DrawSeparator(ACanvas, ARect, RightToLeft);
        return;
    }
    DrawItemBackground(ACanvas, ARect, Selected && Item->Enabled(), RightToLeft);
    SelectItemFont(ACanvas, Item, Selected);
    DrawCaptionAndShortCut(ACanvas, Item, ARect, RightToLeft);
    DrawGlyph(ACanvas, Item, ARect, RightToLeft);
}

template <class TBase>
void TkivSkinnedMenu<TBase>::DrawGutterAndBackground(TCanvas *ACanvas, const TRect &ARect, bool RightToLeft) const
{
    const TRect &R = ARect;
    if (FBarWidth > 0)
        Menu_DrawBackGround(ACanvas,
                            RightToLeft ? Rect(R.Right - FBarWidth, R.Top, R.Right, R.Bottom)
                                        : Rect(R.Left, R.Top, R.Left + FBarWidth, R.Bottom),
                            FBarColor);
    Menu_DrawBackGround(ACanvas,
                        RightToLeft ? Rect(R.Left, R.Top, R.Right - FBarWidth, R.Bottom)
                                    : Rect(R.Left + FBarWidth, R.Top, R.Right, R.Bottom),
                        FColor);
}

template <class TBase>
void TkivSkinnedMenu<TBase>::DrawSeparator(TCanvas *ACanvas, const TRect &ARect, bool RightToLeft) const
{
    if (FUIStyle == MacOS) {
        Menu_DrawMacOSLineItem(ACanvas, ARect);
        return;
    }
    DrawGutterAndBackground(ACanvas, ARect, RightToLeft);
    Menu_DrawLineItem(ACanvas, ARect, FSeparatorColor, !RightToLeft, FBarWidth);
}

// A selected item that is disabled looks like any other.
template <class TBase>
void TkivSkinnedMenu<TBase>::DrawItemBackground(TCanvas *ACanvas, const TRect &ARect, bool Highlighted,
                                                bool RightToLeft) const
{
    if (FUIStyle == MacOS) {
        if (Highlighted)
            Menu_DrawMacOSSelectedItem(ACanvas, ARect);
        else
            Menu_DrawMacOSNonSelectedItem(ACanvas, ARect);
    } else if (Highlighted) {
        Menu_DrawBackGround(ACanvas, ARect, FSelectedColor);
        Menu_DrawBorder(ACanvas, ARect, FSelectedBorderColor);
    } else {
        DrawGutterAndBackground(ACanvas, ARect, RightToLeft);
    }
}

// Bold is taken off again for an item that is not the default, since one canvas may paint several items.
template <class TBase>
void TkivSkinnedMenu<TBase>::SelectItemFont(TCanvas *ACanvas, const TMenuItem *Item, bool Selected) const
{
    TFont *Font = ACanvas->Font();
    if (FUseSystemFont) {
        Menu_GetSystemFont(Font);
    } else {
        Font->SetName(FFontName);
        Font->SetSize(FFontSize);
        Font->SetCharset(FFontCharset);
    }
    ACanvas->Brush()->SetStyle(bsClear);
    Font->SetColor(!Item->Enabled() ? DisabledFontColor : Selected ? FSelectedFontColor : FFontColor);
    Font->SetStyle(Item->Default() ? Font->Style() + fsBold : Font->Style() - fsBold);
}

template <class TBase>
void TkivSkinnedMenu<TBase>::DrawCaptionAndShortCut(TCanvas *ACanvas, const TMenuItem *Item, const TRect &ARect,
                                                    bool RightToLeft) const
{
    const TRect &R = ARect;
    RECT Text = RightToLeft ? Rect(R.Left, R.Top + 4, R.Right - FBarWidth - 4, R.Bottom)
                            : Rect(R.Left + FBarWidth + 4, R.Top + 4, R.Right, R.Bottom);
    DrawText(ACanvas->Handle(), Item->Caption(), -1, &Text, (RightToLeft ? DT_RIGHT : DT_LEFT) | DT_SINGLELINE);
    const QString ShortCut = ShortCutToText(Item->ShortCut());
    ACanvas->TextOut(RightToLeft ? R.Left + 16 : R.Right - ACanvas->TextWidth(ShortCut) - 16, R.Top + 4, ShortCut);
}

// The user's image, or for a checked item without one the check mark; a checked image sits on a framed box.
template <class TBase>
void TkivSkinnedMenu<TBase>::DrawGlyph(TCanvas *ACanvas, const TMenuItem *Item, const TRect &ARect,
                                       bool RightToLeft) const
{
    const int G = RightToLeft ? ARect.Right - 20 : ARect.Left + 4;
    const int T = ARect.Top;
    const bool Image = ShowsImage(Item);
    if (Item->Checked()) {
        if (Image) {
            Menu_DrawBorder(ACanvas, Rect(G - 2, T + 1, G + 17, T + 20), clBlack);
            Menu_DrawBackGround(ACanvas, Rect(G - 1, T + 2, G + 16, T + 19), FSelectedColor);
        } else if (TCustomImageList *Check = CheckImages()) {
            Check->Draw(ACanvas, G, T + 3, 0, Item->Enabled());
        }
    }
    if (Image)
        UserImages()->Draw(ACanvas, G, T + 3, Item->ImageIndex(), Item->Enabled());
}

// Any negative index counts as none.
template <class TBase>
bool TkivSkinnedMenu<TBase>::ShowsImage(const TMenuItem *Item) const
{
    const TCustomImageList *Images = UserImages();
    return Images && Item->ImageIndex() >= 0 && Item->ImageIndex() < Images->Count();
}

template class TkivSkinnedMenu<TMainMenu>;
template class TkivSkinnedMenu<TPopupMenu>;
