// The look itself: every item of the current style or theme file as the skin's controls receive it,
// pictures with their transparent key, colours as swatches, integers and flags as numbers.
#include "tools/gallery/GalleryPages.h"

#include "framework/controls/Controls.h"
#include "skin/theme/Kivmgr.h"
#include "skin/theme/Kivthemefile.h"
#include "skin/theme/Kivthemes.h"

#include <algorithm>
#include <iterator>

namespace {

class TThemeSheet : public TGallerySheet
{
    KIV_OBJECT(TThemeSheet, TGallerySheet)
protected:
    void Paint() override;

private:
    void DrawPicture(int Index, int &X, int &Y, int &RowHeight);
    void DrawValue(int Index, const TRect &Cell);
};

KIV_PUBLISHED(TThemeSheet) {}

constexpr TColor Magenta = 0x00FF00FF;
constexpr int Gap = 8;

void TThemeSheet::Paint()
{
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
    Canvas()->Font()->Assign(Font());
    int X = Gap, Y = Gap, RowHeight = 0;
    for (int Index = 1; Index <= KIV_FILETHEME_ITEMCOUNT; ++Index)
        if (KIV_ITEM_TYPE[Index - 1] == TkivType::Str)
            DrawPicture(Index, X, Y, RowHeight);
    // The values in three columns under the pictures.
    Y += RowHeight + 2 * Gap;
    const int ColumnWidth = (ClientWidth() - Gap) / 3;
    const int Values = int(std::count_if(std::begin(KIV_ITEM_TYPE), std::end(KIV_ITEM_TYPE),
                                         [](TkivType T) { return T != TkivType::Str; }));
    const int Rows = (Values + 2) / 3;
    int Shown = 0;
    for (int Index = 1; Index <= KIV_FILETHEME_ITEMCOUNT; ++Index) {
        if (KIV_ITEM_TYPE[Index - 1] == TkivType::Str)
            continue;
        DrawValue(Index, Rect(Gap + (Shown / Rows) * ColumnWidth, Y + (Shown % Rows) * 18,
                              Gap + (Shown / Rows + 1) * ColumnWidth - Gap, Y + (Shown % Rows + 1) * 18));
        ++Shown;
    }
}

void TThemeSheet::DrawPicture(int Index, int &X, int &Y, int &RowHeight)
{
    TAutoFree<TBitmap> Picture(TBitmap::Create());
    TkivUIStyle Style = UIStyle();
    try {
        if (UsingFileTheme(FileTheme(), UIStyle(), Style))
            FileTheme()->GetBitmap(Index, Picture.get());
        else
            GetInsideThemeBitmap(Style, Index, Picture.get());
    } catch (const Exception &) {
        // A style without this picture: nothing to show, as a control shows nothing for it.
    }
    const QString Name = QString::fromLatin1(KIV_FILETHEME_ITEMNAME[Index - 1]);
    const int Width = std::max(Picture->Width(), Canvas()->TextWidth(Name));
    const int Height = Picture->Height() + Canvas()->TextHeight(Name) + 2;
    if (X + Width > ClientWidth() - Gap && X > Gap) {
        X = Gap;
        Y += RowHeight + Gap;
        RowHeight = 0;
    }
    if (!Picture->Empty()) {
        Picture->SetTransparentColor(Magenta);
        Picture->SetTransparent(true);
        Canvas()->Draw(X, Y, Picture.get());
    }
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->TextOut(X, Y + Picture->Height() + 2, Name);
    Canvas()->Brush()->SetStyle(bsSolid);
    X += Width + Gap;
    RowHeight = std::max(RowHeight, Height);
}

void TThemeSheet::DrawValue(int Index, const TRect &Cell)
{
    const int X = Cell.Left, Y = Cell.Top;
    TkivUIStyle Style = UIStyle();
    const bool FromFile = UsingFileTheme(FileTheme(), UIStyle(), Style);
    const QString Name = QString::fromLatin1(KIV_FILETHEME_ITEMNAME[Index - 1]);
    QString Text;
    switch (KIV_ITEM_TYPE[Index - 1]) {
    case TkivType::Color: {
        const TColor Value = FromFile ? FileTheme()->GetColor(Index) : GetInsideThemeColor(Style, Index);
        Canvas()->Brush()->SetColor(Value);
        Canvas()->FillRect(Rect(X, Y + 1, X + 24, Y + 15));
        Canvas()->Brush()->SetColor(clBlack);
        Canvas()->FrameRect(Rect(X, Y + 1, X + 24, Y + 15));
        Text = QStringLiteral("%1  0x%2").arg(Name).arg(quint32(Value), 8, 16, QLatin1Char('0'));
        break;
    }
    case TkivType::Int:
        Text = QStringLiteral("%1  %2").arg(Name).arg(FromFile ? FileTheme()->GetInt(Index) : GetInsideThemeInt(Style, Index));
        break;
    default:
        Text = QStringLiteral("%1  %2").arg(Name).arg((FromFile ? FileTheme()->GetBool(Index) : GetInsideThemeBool(Style, Index))
                                                          ? QStringLiteral("True") : QStringLiteral("False"));
        break;
    }
    // Long names are cut at the column's edge rather than run into the next one.
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->TextRect(Rect(X + 30, Cell.Top, Cell.Right, Cell.Bottom), X + 30, Y, Text);
    Canvas()->Brush()->SetStyle(bsSolid);
}

const TGalleryPageRegistration Registration({QStringLiteral("look"), QStringLiteral("The look"),
                                             [](TWinControl *Host) {
                                                 TThemeSheet *Sheet = TThemeSheet::Create(Host->Owner());
                                                 Sheet->SetParent(Host);
                                                 Sheet->SetAlign(alClient);
                                             },
                                             nullptr});

} // namespace
