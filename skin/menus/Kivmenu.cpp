#include "skin/menus/Kivmenu.h"

#include "framework/graphics/Bitmap.h"

namespace {

void DrawStripTop(TCanvas *ACanvas, const TRect &ARect, const char *Name, int Rows)
{
    TAutoFree<TBitmap> Strip(TBitmap::Create());
    Strip->LoadFromResourceName(HInstance, QString::fromLatin1(Name));
    Strip->SetHeight(Rows);
    ACanvas->StretchDraw(ARect, Strip.get());
}

} // namespace

void Menu_SetItemEvent(TMenuItem *Item, const TMenuDrawItemEvent &OnDraw, const TMenuMeasureItemEvent &OnMeasure)
{
    Item->OnDrawItem = OnDraw;
    Item->OnMeasureItem = OnMeasure;
    for (int I = 0; I < Item->Count(); ++I)
        Menu_SetItemEvent(Item->Items(I), OnDraw, OnMeasure);
}

void Menu_DrawBorder(TCanvas *ACanvas, const TRect &ARect, TColor AColor)
{
    ACanvas->Brush()->SetColor(AColor);
    ACanvas->FrameRect(ARect);
}

void Menu_DrawBackGround(TCanvas *ACanvas, const TRect &ARect, TColor AColor)
{
    ACanvas->Brush()->SetColor(AColor);
    ACanvas->FillRect(ARect);
}

void Menu_DrawLineItem(TCanvas *ACanvas, const TRect &ARect, TColor AColor, bool LeftToRight, int BarWidth)
{
    ACanvas->Pen()->SetColor(AColor);
    const int Y = ARect.Top + 2;
    if (LeftToRight) {
        ACanvas->MoveTo(ARect.Left + BarWidth + 4, Y);
        ACanvas->LineTo(ARect.Right - 2, Y);
    } else {
        ACanvas->MoveTo(ARect.Left + 2, Y);
        ACanvas->LineTo(ARect.Right - BarWidth - 4, Y);
    }
}

void Menu_DrawMacOSLineItem(TCanvas *ACanvas, const TRect &ARect)
{
    DrawStripTop(ACanvas, ARect, "MACOS_MENU_BAR", 12);
}

void Menu_DrawMacOSSelectedItem(TCanvas *ACanvas, const TRect &ARect)
{
    DrawStripTop(ACanvas, ARect, "MACOS_MENU_SELECT", 20);
}

void Menu_DrawMacOSNonSelectedItem(TCanvas *ACanvas, const TRect &ARect)
{
    DrawStripTop(ACanvas, ARect, "MACOS_MENU_BAR", 20);
}

void Menu_DrawWindowBorder(HWND Wnd, TColor OuterColor, TColor EdgeColor)
{
    RECT W;
    if (!GetWindowRect(Wnd, &W))
        return;
    HWND Desktop = GetDesktopWindow();
    HDC DC = GetWindowDC(Desktop);
    if (!DC)
        return;
    TAutoFree<TCanvas> Screen(TCanvas::Create());
    Screen->SetHandle(DC);
    Menu_DrawBorder(Screen.get(), Rect(W.Left, W.Top + 1, W.Right - 1, W.Bottom - 1), OuterColor);
    Menu_DrawBorder(Screen.get(), Rect(W.Left + 1, W.Top + 2, W.Right - 2, W.Bottom - 2), clWhite);
    Screen->Pen()->SetColor(EdgeColor);
    Screen->MoveTo(W.Left, W.Bottom - 1);
    Screen->LineTo(W.Right - 1, W.Bottom - 1);
    Screen->LineTo(W.Right - 1, W.Top);
    Screen->LineTo(W.Right, W.Top);
    Screen->LineTo(W.Left, W.Top);
    Screen->SetHandle(nullptr);
    ReleaseDC(Desktop, DC);
}

void Menu_GetSystemFont(TFont *AFont)
{
    NONCLIENTMETRICS Metrics;
    Metrics.cbSize = 340;
    if (!SystemParametersInfo(SPI_GETNONCLIENTMETRICS, 0, &Metrics, 0))
        return;
    AFont->SetHandle(CreateFontIndirect(&Metrics.lfMenuFont));
    AFont->SetColor(clMenuText);
}

void Menu_AddCheckImage(TCustomImageList *Images)
{
    TAutoFree<TBitmap> Check(TBitmap::Create());
    Check->LoadFromResourceName(HInstance, QStringLiteral("MENU_CHECKED"));
    Check->SetTransparent(true);
    Images->AddMasked(Check.get(), clWhite);
}
