#pragma once
// Kivmenu: the drawing helpers every skinned menu shares. They hold no state: each call paints with what it
// is given.

#include "framework/controls/Menus.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImgList.h"
#include "platform/Window.h"


// The item and all its sub-items, depth first in index order, get the two handlers.
void Menu_SetItemEvent(TMenuItem *Item, const TMenuDrawItemEvent &OnDraw, const TMenuMeasureItemEvent &OnMeasure);

void Menu_DrawBorder(TCanvas *ACanvas, const TRect &ARect, TColor AColor);
void Menu_DrawBackGround(TCanvas *ACanvas, const TRect &ARect, TColor AColor);
// A separator's line on the row's third pixel row, from 4 pixels past the gutter to 2 before the far edge.
void Menu_DrawLineItem(TCanvas *ACanvas, const TRect &ARect, TColor AColor, bool LeftToRight, int BarWidth);

// The MacOS strips, cut to their top rows and stretched over ARect.
void Menu_DrawMacOSLineItem(TCanvas *ACanvas, const TRect &ARect);
void Menu_DrawMacOSSelectedItem(TCanvas *ACanvas, const TRect &ARect);
void Menu_DrawMacOSNonSelectedItem(TCanvas *ACanvas, const TRect &ARect);

// Paints Wnd's frame flat through the screen: a rectangle of OuterColor one pixel inside its top, right and
// bottom edges, a white one inside that, and EdgeColor along its outermost bottom row, right column and
// top row.
void Menu_DrawWindowBorder(HWND Wnd, TColor OuterColor, TColor EdgeColor);

// The system's menu font, in clMenuText; the font is left as it was when the system does not answer.
void Menu_GetSystemFont(TFont *AFont);

// Adds the check-mark picture ("MENU_CHECKED") masked, white being its transparent colour.
void Menu_AddCheckImage(TCustomImageList *Images);
