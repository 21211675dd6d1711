#pragma once
// TkivSkinnedMenu: what the skinned main and popup menus share over their framework base: the look
// properties, the style step that resets them, and the measuring and painting of every item by them.
// The two menus differ only in where a check mark's picture comes from and which images are the user's.

#include "framework/controls/Menus.h"
#include "framework/graphics/ImgList.h"
#include "skin/theme/Kivmgr.h"
#include "skin/theme/Kivthemes.h"

#include <memory>

template <class TBase>
class TkivSkinnedMenu : public TBase
{
public:
    // The framework's OwnerDraw is set once for all: the framework draws every item through its events.
    void Construct(TComponent *AOwner) override;

    // Every top-level item and its sub-items get this menu's DrawItem and MeasureItem.
    virtual void MenuAdded();
    void Loaded() override;

    void MeasureItem(TObject *Sender, TCanvas *ACanvas, int &Width, int &Height);
    void DrawItem(TObject *Sender, TCanvas *ACanvas, const TRect &ARect, bool Selected);

    // ---- look properties
    // Resets the heights, BarWidth, SeparatorColor and the six theme colours.
    TkivUIStyle UIStyle() const { return FUIStyle; }
    void SetUIStyle(TkivUIStyle Value);
    TkivFileTheme *FileTheme() const { return FFileTheme; }
    void SetFileTheme(TkivFileTheme *Value);
    // Fixed under MacOS.
    int MenuItemHeight() const { return FMenuItemHeight; }
    void SetMenuItemHeight(int Value);
    int SeparatorHeight() const { return FSeparatorHeight; }
    void SetSeparatorHeight(int Value);
    TColor BarColor() const { return FBarColor; }
    void SetBarColor(TColor Value) { FBarColor = Value; }
    int BarWidth() const { return FBarWidth; }
    void SetBarWidth(int Value) { FBarWidth = Value; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TColor SeparatorColor() const { return FSeparatorColor; }
    void SetSeparatorColor(TColor Value) { FSeparatorColor = Value; }
    TColor SelectedBorderColor() const { return FSelectedBorderColor; }
    void SetSelectedBorderColor(TColor Value) { FSelectedBorderColor = Value; }
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value) { FSelectedColor = Value; }
    TColor SelectedFontColor() const { return FSelectedFontColor; }
    void SetSelectedFontColor(TColor Value) { FSelectedFontColor = Value; }
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor Value) { FFontColor = Value; }
    // Stored only; nothing draws with it.
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { FBorderColor = Value; }
    // The drop-down window's frame is painted flat at every item painted.
    bool FlatMenu() const { return FFlatMenu; }
    void SetFlatMenu(bool Value) { FFlatMenu = Value; }
    QString FontName() const { return FFontName; }
    void SetFontName(const QString &Value) { FFontName = Value; }
    int FontSize() const { return FFontSize; }
    void SetFontSize(int Value) { FFontSize = Value; }
    TFontCharset FontCharset() const { return FFontCharset; }
    void SetFontCharset(TFontCharset Value) { FFontCharset = Value; }
    bool UseSystemFont() const { return FUseSystemFont; }
    void SetUseSystemFont(bool Value) { FUseSystemFont = Value; }
    // Published as OwnerDraw: always True, and writing it changes nothing.
    bool OwnerDrawn() const { return true; }
    void SetOwnerDraw2(bool) {}

protected:
    TkivSkinnedMenu() = default;
    void Notification(TComponent *AComponent, TOperation Operation) override;

    // Image 0 is the check mark of a checked item without an image of its own.
    virtual TCustomImageList *CheckImages() const = 0;
    // The user's item images, or null.
    virtual TCustomImageList *UserImages() const = 0;

private:
    void SetItemEvent(TMenuItem *Item);
    bool ShowsImage(const TMenuItem *Item) const;
    // Theme item Item of the file theme when it is used, else of the built-in style.
    TColor ThemeColor(int Item) const;
    void DrawSeparator(TCanvas *ACanvas, const TRect &ARect, bool RightToLeft) const;
    void DrawGutterAndBackground(TCanvas *ACanvas, const TRect &ARect, bool RightToLeft) const;
    void DrawItemBackground(TCanvas *ACanvas, const TRect &ARect, bool Highlighted, bool RightToLeft) const;
    void SelectItemFont(TCanvas *ACanvas, const TMenuItem *Item, bool Selected) const;
    void DrawCaptionAndShortCut(TCanvas *ACanvas, const TMenuItem *Item, const TRect &ARect, bool RightToLeft) const;
    void DrawGlyph(TCanvas *ACanvas, const TMenuItem *Item, const TRect &ARect, bool RightToLeft) const;

    TkivUIStyle FUIStyle = DeepBlue;
    int FMenuItemHeight = 21;
    int FSeparatorHeight = 21;
    TColor FBarColor = clBtnFace;
    int FBarWidth = 0;
    TColor FColor = clWhite;
    TColor FSeparatorColor = clGray;
    TColor FSelectedBorderColor = clHighlight;
    TColor FSelectedColor = clHighlight;
    TColor FSelectedFontColor = clWhite;
    TColor FFontColor = clWhite;
    TColor FBorderColor = clBlack;
    bool FFlatMenu = false;
    QString FFontName = QStringLiteral("MS Sans Serif");
    int FFontSize = 8;
    TFontCharset FFontCharset = DEFAULT_CHARSET;
    bool FUseSystemFont = true;
    TkivFileTheme *FFileTheme = nullptr;
    std::shared_ptr<TkivSkinnedMenu *> FSelf = std::make_shared<TkivSkinnedMenu *>(this);
};

extern template class TkivSkinnedMenu<TMainMenu>;
extern template class TkivSkinnedMenu<TPopupMenu>;

// The look properties in the order both menus publish them, after the properties of their own. Publish is
// the class builder's Property.
template <class T, class TPublish>
void PublishMenuLook(TPublish &&Publish)
{
    Publish("FileTheme", &T::FileTheme, &T::SetFileTheme);
    Publish("UIStyle", &T::UIStyle, &T::SetUIStyle);
    Publish("MenuItemHeight", &T::MenuItemHeight, &T::SetMenuItemHeight);
    Publish("SeparatorHeight", &T::SeparatorHeight, &T::SetSeparatorHeight);
    Publish("BarWidth", &T::BarWidth, &T::SetBarWidth);
    Publish("BarColor", &T::BarColor, &T::SetBarColor).Idents(&ColorIdents());
    Publish("Color", &T::Color, &T::SetColor).Idents(&ColorIdents());
    Publish("SeparatorColor", &T::SeparatorColor, &T::SetSeparatorColor).Idents(&ColorIdents());
    Publish("SelectedBorderColor", &T::SelectedBorderColor, &T::SetSelectedBorderColor).Idents(&ColorIdents());
    Publish("SelectedColor", &T::SelectedColor, &T::SetSelectedColor).Idents(&ColorIdents());
    Publish("SelectedFontColor", &T::SelectedFontColor, &T::SetSelectedFontColor).Idents(&ColorIdents());
    Publish("FontColor", &T::FontColor, &T::SetFontColor).Idents(&ColorIdents());
    Publish("BorderColor", &T::BorderColor, &T::SetBorderColor).Idents(&ColorIdents());
    Publish("FlatMenu", &T::FlatMenu, &T::SetFlatMenu);
    Publish("FontName", &T::FontName, &T::SetFontName);
    Publish("FontSize", &T::FontSize, &T::SetFontSize);
    Publish("FontCharset", &T::FontCharset, &T::SetFontCharset).Idents(&CharsetIdents());
    Publish("UseSystemFont", &T::UseSystemFont, &T::SetUseSystemFont);
}
