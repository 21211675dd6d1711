#pragma once
// A skinned popup menu with one item at a time, painted onto a bitmap, and readers of what was painted.

#include "framework/graphics/Bitmap.h"
#include "skin/menus/Kivmainmenu.h"
#include "skin/menus/Kivpopupmenu.h"

#include <gtest/gtest.h>

#include <QRect>

namespace KivMenuTest {

// The row is painted away from the bitmap's corner, so drawing that ignores the rectangle shows.
constexpr int L = 10, T = 6, R = 190;
constexpr TColor Unpainted = clFuchsia;

inline TColor PixelAt(TBitmap *Bmp, int X, int Y) { return Bmp->Canvas()->Pixels(X, Y); }

// The box of the pixels in the rectangle that are none of the given background colours.
inline QRect InkBox(TBitmap *Bmp, const TRect &Area, std::initializer_list<TColor> Backgrounds)
{
    QRect Box;
    for (int Y = Area.Top; Y < Area.Bottom; ++Y)
        for (int X = Area.Left; X < Area.Right; ++X) {
            const TColor P = PixelAt(Bmp, X, Y);
            bool Background = false;
            for (TColor B : Backgrounds)
                Background = Background || P == TColor(ColorToRGB(B));
            if (!Background)
                Box |= QRect(X, Y, 1, 1);
        }
    return Box;
}

// Whether every non-white pixel of the check-mark picture is on the bitmap at (X, Y).
inline bool CheckMarkAt(TBitmap *Bmp, int X, int Y)
{
    TAutoFree<TBitmap> Check(TBitmap::Create());
    Check->LoadFromResourceName(HInstance, QStringLiteral("MENU_CHECKED"));
    int Seen = 0;
    for (int CY = 0; CY < Check->Height(); ++CY)
        for (int CX = 0; CX < Check->Width(); ++CX) {
            const TColor C = PixelAt(Check.get(), CX, CY);
            if (C == clWhite)
                continue;
            ++Seen;
            if (PixelAt(Bmp, X + CX, Y + CY) != C)
                return false;
        }
    return Seen > 0;
}

class SkinnedMenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Popup.reset(TkivPopupMenu::Create(nullptr));
        Bmp.reset(TBitmap::Create());
        Bmp->SetSize(200, 40);
    }
    void TearDown() override { SysLocale.MiddleEast = false; }

    TMenuItem *AddItem(TMenu *Menu, const QString &Caption)
    {
        TMenuItem *Item = TMenuItem::Create(nullptr);
        Item->SetCaption(Caption);
        Menu->Items()->Add(Item);
        return Item;
    }

    // Measures the item, then paints it selected or not on a blank bitmap; answers the row.
    template <class TMenuType>
    TRect Paint(TMenuType *Menu, TMenuItem *Item, bool Selected)
    {
        Bmp->Canvas()->Brush()->SetColor(Unpainted);
        Bmp->Canvas()->FillRect(Rect(0, 0, Bmp->Width(), Bmp->Height()));
        int Width = 0, Height = 0;
        Menu->MeasureItem(Item, Bmp->Canvas(), Width, Height);
        const TRect Row = Rect(L, T, R, T + Height);
        Menu->DrawItem(Item, Bmp->Canvas(), Row, Selected);
        return Row;
    }

    TAutoFree<TkivPopupMenu> Popup;
    TAutoFree<TBitmap> Bmp;
};

} // namespace KivMenuTest
