#pragma once
// Kivthemes: the five built-in styles. For each style and each theme item (numbered 1 to 48 as in
// KIV_FILETHEME_ITEMNAME) a constant catalogue gives the name of a bitmap resource, a colour, an
// integer or a flag; the GetInsideTheme functions read it with the neutral value for a wrong type.

#include "framework/core/Sets.h"
#include "framework/graphics/Colors.h"
#include "skin/theme/Kivthemefile.h"

#include <QtGlobal>

class TBitmap;
class TComponent;

// One byte wide like the values layouts store, so not declared with KIV_ENUM (which gives an int).
enum TkivUIStyle : quint8 { FromThemeFile, MacOS, WinXP, DeepBlue, Protein, BlueGlass };
inline const TEnumInfo *KivEnumInfo(TkivUIStyle)
{
    static const TEnumInfo Info("TkivUIStyle", "FromThemeFile, MacOS, WinXP, DeepBlue, Protein, BlueGlass");
    return &Info;
}

// The value type of a theme item. Str items are pictures: their value names a bitmap resource.
enum class TkivType : quint8 { Int, Color, Str, Bool };

inline constexpr TkivType KIV_ITEM_TYPE[KIV_FILETHEME_ITEMCOUNT] = {
    TkivType::Str,   TkivType::Bool,  TkivType::Str,   TkivType::Str,   TkivType::Str,    //  1- 5
    TkivType::Bool,  TkivType::Int,   TkivType::Int,   TkivType::Int,   TkivType::Str,    //  6-10
    TkivType::Str,   TkivType::Str,   TkivType::Int,   TkivType::Int,   TkivType::Color,  // 11-15
    TkivType::Color, TkivType::Int,   TkivType::Color, TkivType::Color, TkivType::Color,  // 16-20
    TkivType::Color, TkivType::Color, TkivType::Color, TkivType::Str,   TkivType::Color,  // 21-25
    TkivType::Color, TkivType::Color, TkivType::Str,   TkivType::Str,   TkivType::Str,    // 26-30
    TkivType::Color, TkivType::Str,   TkivType::Str,   TkivType::Str,   TkivType::Color,  // 31-35
    TkivType::Color, TkivType::Color, TkivType::Str,   TkivType::Str,   TkivType::Str,    // 36-40
    TkivType::Str,   TkivType::Str,   TkivType::Str,   TkivType::Color, TkivType::Str,    // 41-45
    TkivType::Str,   TkivType::Int,   TkivType::Color,                                    // 46-48
};

// One catalogue cell: a resource name for a Str item, otherwise a 32-bit value (TColor, integer,
// or 0/1 for a flag).
struct TkivStyleEntry
{
    constexpr TkivStyleEntry(qint32 AValue) : Value(AValue) {}
    constexpr TkivStyleEntry(const char *AName) : Name(AName) {}

    qint32 Value = 0;
    const char *Name = nullptr;
};

struct TkivItemValue
{
    TkivType Type;
    TkivStyleEntry Entry;
};

// The catalogue's type and value of item Index in UIStyle. FromThemeFile, a value above BlueGlass
// and an item number outside 1..48 have no entry: they count as Int -1.
TkivItemValue GetInsideThemeItem(TkivUIStyle UIStyle, int Index);

// Buf becomes the item's picture (SpitCount 0) or frame SpitIndex, counted from 1, of SpitCount equal
// frames of it. An item that is not a picture leaves Buf unchanged with SpitCount 0 and empty
// otherwise; a picture the program's resources lack raises EResNotFound with Buf unchanged. A null Buf
// does nothing.
void GetInsideThemeBitmap(TkivUIStyle UIStyle, int Index, TBitmap *Buf, int SpitCount = 0, int SpitIndex = 0);
TColor GetInsideThemeColor(TkivUIStyle UIStyle, int Index);   // 0 unless a Color item
int GetInsideThemeInt(TkivUIStyle UIStyle, int Index);        // -1 unless an Int item
bool GetInsideThemeBool(TkivUIStyle UIStyle, int Index);      // False unless a Bool item

// The stored UIStyle of the first skinned frame (TkivForm or a descendant) among the direct child
// controls of the form AComponent; DeepBlue when AComponent is null, not a form, or has no frame.
TkivUIStyle GetKIVFormStyle(TComponent *AComponent);

// Every bitmap resource the skin loads by name, with its size and the number of equal frames the
// controls cut it into: 1 for a picture used whole, 0 when no control cuts it at a fixed count.
// Item is the theme item the catalogue names it for (0: loaded by name outside the catalogue); a
// resource shared by several styles is listed once. Width and Height 0: the size is free.
struct TkivBitmapResource
{
    const char *Name;
    int Item;
    int Width, Height, Frames;
};

inline constexpr TkivBitmapResource KIV_BITMAP_RESOURCES[] = {
    // MacOS
    {"MACOS_BUTTON", 1, 252, 23, 3},
    {"MACOS_CHECKBOX", 3, 60, 17, 4},
    {"MACOS_RADIOBUTTON", 4, 64, 17, 4},
    {"MACOS_TITLEBTN", 5, 306, 17, 18},
    {"MACOS_TITLE_LEFT", 10, 48, 23, 1},
    {"MACOS_TITLE_CLIENT", 11, 49, 23, 1},
    {"MACOS_TITLE_RIGHT", 12, 48, 23, 1},
    {"MACOS_PROGRESSBAR", 24, 13, 10, 1},
    {"MACOS_TRACKBAR_BAR", 28, 45, 5, 1},
    {"MACOS_TRACKBAR_SLIDER", 29, 11, 20, 1},
    {"MACOS_TRACKBAR_SLIDER_V", 30, 19, 11, 1},
    {"MACOS_SCROLLBAR_BUTTON", 32, 96, 22, 6},
    {"MACOS_SCROLLBAR_TRACK", 33, 33, 16, 3},
    {"MACOS_CHECKLIST", 34, 40, 11, 0},
    {"MACOS_SCROLLBUTTON", 38, 72, 18, 0},
    {"MACOS_TAB", 39, 36, 27, 0},
    {"MACOS_TAB_LINE", 40, 17, 7, 0},
    {"MACOS_SIDECHENNEL_HANDLE", 41, 7, 84, 0},
    {"MACOS_SIDECHENNEL_BAR", 42, 1, 21, 1},
    // WinXP
    {"WINXP_BUTTON", 1, 54, 21, 3},
    {"WINXP_CHECKBOX", 3, 52, 13, 4},
    {"WINXP_RADIOBUTTON", 4, 52, 13, 4},
    {"WINXP_TITLEBTN", 5, 378, 21, 18},
    {"WINXP_TITLE_LEFT", 10, 35, 29, 1},
    {"WINXP_TITLE_CLIENT", 11, 37, 29, 1},
    {"WINXP_TITLE_RIGHT", 12, 35, 29, 1},
    {"WINXP_PROGRESSBAR", 24, 6, 10, 1},
    {"WINXP_TRACKBAR_BAR", 28, 45, 8, 1},
    {"WINXP_TRACKBAR_SLIDER", 29, 11, 21, 1},
    {"WINXP_TRACKBAR_SLIDER_V", 30, 22, 11, 1},
    {"WINXP_SCROLLBAR_BUTTON", 32, 96, 17, 6},
    {"WINXP_SCROLLBAR_TRACK", 33, 21, 16, 3},
    {"WINXP_CHECKLIST", 34, 44, 11, 0},
    {"WINXP_SCROLLBUTTON", 38, 72, 18, 0},
    {"WINXP_TAB", 39, 18, 18, 0},
    {"WINXP_TAB_LINE", 40, 8, 1, 0},
    {"WINXP_SIDECHENNEL_HANDLE", 41, 8, 86, 0},
    {"WINXP_SIDECHENNEL_BAR", 42, 1, 21, 1},
    // DeepBlue
    {"DEEPBLUE_BUTTON", 1, 222, 21, 3},
    {"DEEPBLUE_CHECKBOX", 3, 52, 13, 4},
    {"DEEPBLUE_RADIOBUTTON", 4, 52, 13, 4},
    {"DEEPBLUE_TITLEBTN", 5, 342, 19, 18},
    {"DEEPBLUE_TITLE_LEFT", 10, 97, 32, 1},
    {"DEEPBLUE_TITLE_CLIENT", 11, 98, 32, 1},
    {"DEEPBLUE_TITLE_RIGHT", 12, 97, 32, 1},
    {"DEEPBLUE_PROGRESSBAR", 24, 1, 10, 1},
    {"DEEPBLUE_TRACKBAR_BAR", 28, 45, 4, 1},
    {"DEEPBLUE_TRACKBAR_SLIDER", 29, 11, 20, 1},
    {"DEEPBLUE_TRACKBAR_SLIDER_V", 30, 18, 11, 1},
    {"DEEPBLUE_SCROLLBAR_BUTTON", 32, 96, 16, 6},
    {"DEEPBLUE_SCROLLBAR_TRACK", 33, 21, 16, 3},
    {"DEEPBLUE_CHECKLIST", 34, 44, 11, 0},
    {"MORE_SCROLLBUTTON", 38, 72, 17, 0},   // also Protein's and BlueGlass's
    {"DEEPBLUE_TAB", 39, 12, 17, 0},
    {"DEEPBLUE_TAB_LINE", 40, 5, 5, 0},
    {"DEEPBLUE_SIDECHENNEL_HANDLE", 41, 8, 83, 0},
    {"DEEPBLUE_SIDECHENNEL_BAR", 42, 1, 20, 1},
    // Protein
    {"PROTEIN_BUTTON", 1, 222, 21, 3},
    {"PROTEIN_CHECKBOX", 3, 52, 13, 4},
    {"PROTEIN_RADIOBUTTON", 4, 52, 13, 4},
    {"PROTEIN_TITLEBTN", 5, 342, 19, 18},
    {"PROTEIN_TITLE_LEFT", 10, 441, 23, 1},
    {"PROTEIN_TITLE_CLIENT", 11, 1, 23, 1},
    {"PROTEIN_TITLE_RIGHT", 12, 1, 23, 1},
    {"PROTEIN_PROGRESSBAR", 24, 1, 10, 1},
    {"PROTEIN_TRACKBAR_BAR", 28, 45, 4, 1},
    {"PROTEIN_TRACKBAR_SLIDER", 29, 11, 20, 1},
    {"PROTEIN_TRACKBAR_SLIDER_V", 30, 18, 11, 1},
    {"PROTEIN_SCROLLBAR_BUTTON", 32, 96, 16, 6},
    {"PROTEIN_SCROLLBAR_TRACK", 33, 21, 16, 3},
    {"PROTEIN_CHECKLIST", 34, 44, 11, 0},
    {"PROTEIN_TAB", 39, 18, 17, 0},
    {"PROTEIN_TAB_LINE", 40, 10, 5, 0},
    {"PROTEIN_SIDECHENNEL_HANDLE", 41, 8, 83, 0},
    {"PROTEIN_SIDECHENNEL_BAR", 42, 1, 21, 1},
    // BlueGlass
    {"BLUEGLASS_BUTTON", 1, 231, 27, 3},
    {"BLUEGLASS_CHECKBOX", 3, 52, 13, 4},
    {"BLUEGLASS_RADIOBUTTON", 4, 52, 13, 4},
    {"BLUEGLASS_TITLEBTN", 5, 342, 19, 18},
    {"BLUEGLASS_TITLE_LEFT", 10, 162, 33, 1},
    {"BLUEGLASS_TITLE_CLIENT", 11, 179, 33, 1},
    {"BLUEGLASS_TITLE_RIGHT", 12, 101, 33, 1},
    {"BLUEGLASS_PROGRESSBAR", 24, 1, 10, 1},
    {"BLUEGLASS_TRACKBAR_BAR", 28, 45, 4, 1},
    {"BLUEGLASS_TRACKBAR_SLIDER", 29, 11, 20, 1},
    {"BLUEGLASS_TRACKBAR_SLIDER_V", 30, 18, 11, 1},
    {"BLUEGLASS_SCROLLBAR_BUTTON", 32, 102, 16, 6},
    {"BLUEGLASS_SCROLLBAR_TRACK", 33, 21, 16, 3},
    {"BLUEGLASS_CHECKLIST", 34, 44, 11, 0},
    {"BLUEGLASS_TAB", 39, 18, 17, 0},
    {"BLUEGLASS_TAB_LINE", 40, 10, 5, 0},
    {"BLUEGLASS_SIDECHENNEL_HANDLE", 41, 8, 86, 0},
    {"BLUEGLASS_SIDECHENNEL_BAR", 42, 1, 21, 1},
    // Outside the catalogue
    {"MACOS_FORM_BACKGROUND", 0, 8, 8, 1},
    {"PROTEIN_FORM_BACKGROUND", 0, 8, 8, 1},
    {"MACOS_MENU_BAR", 0, 1, 22, 1},
    {"MACOS_MENU_SELECT", 0, 1, 21, 1},
    {"MDI_CONTROL_BUTTON", 0, 48, 16, 3},
    {"MENU_CHECKED", 0, 16, 16, 1},
    {"PANEL_BUTTON", 0, 52, 12, 4},
    {"MSNPOPFORM", 0, 181, 116, 1},
    {"MACOS_COMBOBOX_BUTTON", 0, 0, 0, 0},
    {"WINXP_COMBOBOX_BUTTON", 0, 0, 0, 0},
    {"DBNAV_BUTTON", 0, 0, 0, 0},
};
