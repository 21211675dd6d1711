// Owner-drawn menu items: the handlers when assigned, else the plain menu look (a glyph column for the
// check mark or the image, the caption with its hotkey underlined, the shortcut right-aligned).
#include "framework/controls/Menus.h"

#include "framework/graphics/ImgList.h"

#include <algorithm>

namespace {

constexpr int GlyphLeft = 2;
constexpr int MinGlyphWidth = 16;
constexpr int TextGap = 6;
constexpr int ShortCutGap = 16;
// Room for the arrow of an item that opens a sub-menu.
constexpr int RightMargin = 16;
constexpr int LineHeight = 8;
constexpr int TextPadding = 4;

// The image the item shows, or nullptr (no list, or an index it does not hold).
TCustomImageList *ImagesFor(const TMenuItem *Item)
{
    const TMenu *Menu = Item->GetParentMenu();
    TCustomImageList *Images = Menu ? Menu->Images() : nullptr;
    if (!Images || Item->ImageIndex() < 0 || Item->ImageIndex() >= Images->Count())
        return nullptr;
    return Images;
}

int GlyphWidth(const TMenuItem *Item)
{
    const TMenu *Menu = Item->GetParentMenu();
    const TCustomImageList *Images = Menu ? Menu->Images() : nullptr;
    return std::max(MinGlyphWidth, Images ? Images->Width() : 0);
}

void UseItemFont(TCanvas *ACanvas, const TMenuItem *Item)
{
    TFontStyles Style = ACanvas->Font()->Style();
    if (Item->Default())
        Style.Include(fsBold);
    ACanvas->Font()->SetStyle(Style);
}

void DrawCheck(TCanvas *ACanvas, const TRect &Box, bool Radio)
{
    const int Cx = (Box.Left + Box.Right) / 2, Cy = (Box.Top + Box.Bottom) / 2;
    ACanvas->Brush()->SetColor(ACanvas->Font()->Color());
    ACanvas->Pen()->SetColor(ACanvas->Font()->Color());
    if (Radio) {
        ACanvas->FillRect(Rect(Cx - 2, Cy - 2, Cx + 3, Cy + 3));
        return;
    }
    for (int D = 0; D < 2; ++D) {
        ACanvas->MoveTo(Cx - 3, Cy - 1 + D);
        ACanvas->LineTo(Cx - 1, Cy + 1 + D);
        ACanvas->LineTo(Cx + 4, Cy - 4 + D);
    }
}

} // namespace

void TMenuItem::MeasureItem(TCanvas *ACanvas, int &Width, int &Height)
{
    if (OnMeasureItem)
        OnMeasureItem(this, ACanvas, Width, Height);
    else
        DefaultMeasureItem(ACanvas, Width, Height);
}

void TMenuItem::DrawItem(TCanvas *ACanvas, const TRect &ARect, bool Selected)
{
    if (OnDrawItem)
        OnDrawItem(this, ACanvas, ARect, Selected);
    else
        DefaultDrawItem(ACanvas, ARect, Selected);
}

void TMenuItem::DefaultMeasureItem(TCanvas *ACanvas, int &Width, int &Height)
{
    if (IsLine()) {
        Height = LineHeight;
        return;
    }
    UseItemFont(ACanvas, this);
    int W = GlyphLeft + GlyphWidth(this) + TextGap + ACanvas->TextWidth(StripHotkey(FCaption)) + RightMargin;
    if (const QString Keys = ShortCutToText(FShortCut); !Keys.isEmpty())
        W += ShortCutGap + ACanvas->TextWidth(Keys);
    int H = ACanvas->TextHeight(QStringLiteral("Wg")) + TextPadding;
    if (const TCustomImageList *Images = ImagesFor(this))
        H = std::max(H, Images->Height() + TextPadding);
    Width = std::max(Width, W);
    Height = std::max(Height, H);
}

void TMenuItem::DefaultDrawItem(TCanvas *ACanvas, const TRect &ARect, bool Selected)
{
    ACanvas->Brush()->SetColor(Selected && !IsLine() ? clHighlight : clMenu);
    ACanvas->FillRect(ARect);
    if (IsLine()) {
        const int Y = (ARect.Top + ARect.Bottom) / 2 - 1;
        ACanvas->Brush()->SetColor(clBtnShadow);
        ACanvas->FillRect(Rect(ARect.Left + 1, Y, ARect.Right - 1, Y + 1));
        ACanvas->Brush()->SetColor(clBtnHighlight);
        ACanvas->FillRect(Rect(ARect.Left + 1, Y + 1, ARect.Right - 1, Y + 2));
        return;
    }
    ACanvas->Font()->SetColor(!FEnabled ? clGrayText : Selected ? clHighlightText : clMenuText);
    UseItemFont(ACanvas, this);

    const TRect Glyph = Rect(ARect.Left + GlyphLeft, ARect.Top, ARect.Left + GlyphLeft + GlyphWidth(this), ARect.Bottom);
    if (TCustomImageList *Images = ImagesFor(this))
        Images->Draw(ACanvas, Glyph.Left + (Glyph.Width() - Images->Width()) / 2,
                     Glyph.Top + (Glyph.Height() - Images->Height()) / 2, FImageIndex, FEnabled);
    else if (FChecked)
        DrawCheck(ACanvas, Glyph, FRadioItem);

    HDC DC = ACanvas->Handle();
    SetBkMode(DC, TRANSPARENT);
    TRect Text = Rect(Glyph.Right + TextGap, ARect.Top, ARect.Right - RightMargin, ARect.Bottom);
    DrawText(DC, FCaption, -1, &Text, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    if (const QString Keys = ShortCutToText(FShortCut); !Keys.isEmpty())
        DrawText(DC, Keys, -1, &Text, DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}
