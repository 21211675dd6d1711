// The catalogue of the built-in styles and its lookups.

#include "skin/theme/Kivthemes.h"

#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"
#include "framework/forms/Forms.h"
#include "framework/graphics/Bitmap.h"
#include "skin/theme/Kivpublic.h"

namespace {

// MacOS
constexpr TkivStyleEntry KIV_MACOS_STYLE[KIV_FILETHEME_ITEMCOUNT] = {
    "MACOS_BUTTON",                     // 1 ButtonImage
    1,                                  // 2 ButtonTransparentBool
    "MACOS_CHECKBOX",                   // 3 CheckBoxImage
    "MACOS_RADIOBUTTON",                // 4 RadioButtonImage
    "MACOS_TITLEBTN",                   // 5 TitleBarButtonImage
    0,                                  // 6 TitleBarButtonTransparentBool
    3,                                  // 7 TitleBarButtonLeftOffsetInt
    -2,                                 // 8 TitleBarButtonRightOffsetInt
    4,                                  // 9 TitleBarButtonTopInt
    "MACOS_TITLE_LEFT",                 // 10 TitleBarLeftImage
    "MACOS_TITLE_CLIENT",               // 11 TitleBarClientImage
    "MACOS_TITLE_RIGHT",                // 12 TitleBarRightImage
    130,                                // 13 FormMinWidthInt
    0,                                  // 14 FormRoundCornerInt
    0x00E7E7E7,                         // 15 FormBackgroundColor
    0x007F7F7F,                         // 16 FormBorderColor
    1,                                  // 17 FormBorderWidthInt
    0x00C47339,                         // 18 MenuSelectedBorderColor
    0x00C47339,                         // 19 MenuSelectedBackgroundColor
    0x00FFFFFF,                         // 20 MenuSelectedFontColor
    0x00000000,                         // 21 MenuBackgroundColor
    0x00000000,                         // 22 MenuFontColor
    0x00000000,                         // 23 MenuBarColor
    "MACOS_PROGRESSBAR",                // 24 ProgressBarImage
    0x007F7F7F,                         // 25 ControlBorderColor
    0x00E7E7E7,                         // 26 ControlBackgroundColor
    0x00000000,                         // 27 ControlFontColor
    "MACOS_TRACKBAR_BAR",               // 28 TrackBarBarImage
    "MACOS_TRACKBAR_SLIDER",            // 29 TrackBarSliderImage
    "MACOS_TRACKBAR_SLIDER_V",          // 30 TrackBarSliderVImage
    0x00C9C9C9,                         // 31 ScrollBarBackgroundColor
    "MACOS_SCROLLBAR_BUTTON",           // 32 ScrollBarButtonImage
    "MACOS_SCROLLBAR_TRACK",            // 33 ScrollBarSliderImage
    "MACOS_CHECKLIST",                  // 34 CheckListBoxImage
    0x00474747,                         // 35 ToolBarButtonBorderColor
    0x00EFEFEF,                         // 36 ToolBarButtonBackgroundColor
    0x00D8D8D8,                         // 37 ToolBarButtonDownBackgroundColor
    "MACOS_SCROLLBUTTON",               // 38 ScrollButtonImage
    "MACOS_TAB",                        // 39 TabControlTabImage
    "MACOS_TAB_LINE",                   // 40 TabControlBarImage
    "MACOS_SIDECHENNEL_HANDLE",         // 41 SideChannelHandleImage
    "MACOS_SIDECHENNEL_BAR",            // 42 SideChannelBarImage
    "",                                 // 43 TitleBarMinimizedImage
    0x00000000,                         // 44 TitleBarFontColor
    "",                                 // 45 FormLeftBorderImage
    "",                                 // 46 FormBottomBorderImage
    0,                                  // 47 FormBottomRoundCornerInt
    0x00E7E7E7,                         // 48 MenuMenuBarColor
};

// WinXP
constexpr TkivStyleEntry KIV_WINXP_STYLE[KIV_FILETHEME_ITEMCOUNT] = {
    "WINXP_BUTTON",                     // 1 ButtonImage
    0,                                  // 2 ButtonTransparentBool
    "WINXP_CHECKBOX",                   // 3 CheckBoxImage
    "WINXP_RADIOBUTTON",                // 4 RadioButtonImage
    "WINXP_TITLEBTN",                   // 5 TitleBarButtonImage
    0,                                  // 6 TitleBarButtonTransparentBool
    2,                                  // 7 TitleBarButtonLeftOffsetInt
    -2,                                 // 8 TitleBarButtonRightOffsetInt
    5,                                  // 9 TitleBarButtonTopInt
    "WINXP_TITLE_LEFT",                 // 10 TitleBarLeftImage
    "WINXP_TITLE_CLIENT",               // 11 TitleBarClientImage
    "WINXP_TITLE_RIGHT",                // 12 TitleBarRightImage
    150,                                // 13 FormMinWidthInt
    13,                                 // 14 FormRoundCornerInt
    0x00DEEBEF,                         // 15 FormBackgroundColor
    0x00C82C00,                         // 16 FormBorderColor
    3,                                  // 17 FormBorderWidthInt
    0x00C66931,                         // 18 MenuSelectedBorderColor
    0x00EFD3C6,                         // 19 MenuSelectedBackgroundColor
    0x00000000,                         // 20 MenuSelectedFontColor
    0x00FFFFFF,                         // 21 MenuBackgroundColor
    0x00000000,                         // 22 MenuFontColor
    0x00CED3D6,                         // 23 MenuBarColor
    "WINXP_PROGRESSBAR",                // 24 ProgressBarImage
    0x00686868,                         // 25 ControlBorderColor
    0x00DEEBEF,                         // 26 ControlBackgroundColor
    0x00CF4602,                         // 27 ControlFontColor
    "WINXP_TRACKBAR_BAR",               // 28 TrackBarBarImage
    "WINXP_TRACKBAR_SLIDER",            // 29 TrackBarSliderImage
    "WINXP_TRACKBAR_SLIDER_V",          // 30 TrackBarSliderVImage
    0x00F9F9F9,                         // 31 ScrollBarBackgroundColor
    "WINXP_SCROLLBAR_BUTTON",           // 32 ScrollBarButtonImage
    "WINXP_SCROLLBAR_TRACK",            // 33 ScrollBarSliderImage
    "WINXP_CHECKLIST",                  // 34 CheckListBoxImage
    0x00C66931,                         // 35 ToolBarButtonBorderColor
    0x00EFD3C6,                         // 36 ToolBarButtonBackgroundColor
    0x00E1AC93,                         // 37 ToolBarButtonDownBackgroundColor
    "WINXP_SCROLLBUTTON",               // 38 ScrollButtonImage
    "WINXP_TAB",                        // 39 TabControlTabImage
    "WINXP_TAB_LINE",                   // 40 TabControlBarImage
    "WINXP_SIDECHENNEL_HANDLE",         // 41 SideChannelHandleImage
    "WINXP_SIDECHENNEL_BAR",            // 42 SideChannelBarImage
    "",                                 // 43 TitleBarMinimizedImage
    0x00FFFFFF,                         // 44 TitleBarFontColor
    "",                                 // 45 FormLeftBorderImage
    "",                                 // 46 FormBottomBorderImage
    0,                                  // 47 FormBottomRoundCornerInt
    0x00DEEBEF,                         // 48 MenuMenuBarColor
};

// DeepBlue
constexpr TkivStyleEntry KIV_DEEPBLUE_STYLE[KIV_FILETHEME_ITEMCOUNT] = {
    "DEEPBLUE_BUTTON",                  // 1 ButtonImage
    0,                                  // 2 ButtonTransparentBool
    "DEEPBLUE_CHECKBOX",                // 3 CheckBoxImage
    "DEEPBLUE_RADIOBUTTON",             // 4 RadioButtonImage
    "DEEPBLUE_TITLEBTN",                // 5 TitleBarButtonImage
    0,                                  // 6 TitleBarButtonTransparentBool
    0,                                  // 7 TitleBarButtonLeftOffsetInt
    0,                                  // 8 TitleBarButtonRightOffsetInt
    2,                                  // 9 TitleBarButtonTopInt
    "DEEPBLUE_TITLE_LEFT",              // 10 TitleBarLeftImage
    "DEEPBLUE_TITLE_CLIENT",            // 11 TitleBarClientImage
    "DEEPBLUE_TITLE_RIGHT",             // 12 TitleBarRightImage
    130,                                // 13 FormMinWidthInt
    0,                                  // 14 FormRoundCornerInt
    0x00E8E8E8,                         // 15 FormBackgroundColor
    0x00000000,                         // 16 FormBorderColor
    1,                                  // 17 FormBorderWidthInt
    0x00A04A44,                         // 18 MenuSelectedBorderColor
    0x00A04A44,                         // 19 MenuSelectedBackgroundColor
    0x00FFFFFF,                         // 20 MenuSelectedFontColor
    0x00FFFFFF,                         // 21 MenuBackgroundColor
    0x00000000,                         // 22 MenuFontColor
    0x00CED3D6,                         // 23 MenuBarColor
    "DEEPBLUE_PROGRESSBAR",             // 24 ProgressBarImage
    0x00000000,                         // 25 ControlBorderColor
    0x00E8E8E8,                         // 26 ControlBackgroundColor
    0x00000000,                         // 27 ControlFontColor
    "DEEPBLUE_TRACKBAR_BAR",            // 28 TrackBarBarImage
    "DEEPBLUE_TRACKBAR_SLIDER",         // 29 TrackBarSliderImage
    "DEEPBLUE_TRACKBAR_SLIDER_V",       // 30 TrackBarSliderVImage
    0x00F5F5F5,                         // 31 ScrollBarBackgroundColor
    "DEEPBLUE_SCROLLBAR_BUTTON",        // 32 ScrollBarButtonImage
    "DEEPBLUE_SCROLLBAR_TRACK",         // 33 ScrollBarSliderImage
    "DEEPBLUE_CHECKLIST",               // 34 CheckListBoxImage
    0x00474747,                         // 35 ToolBarButtonBorderColor
    0x00EFEFEF,                         // 36 ToolBarButtonBackgroundColor
    0x00D8D8D8,                         // 37 ToolBarButtonDownBackgroundColor
    "MORE_SCROLLBUTTON",                // 38 ScrollButtonImage
    "DEEPBLUE_TAB",                     // 39 TabControlTabImage
    "DEEPBLUE_TAB_LINE",                // 40 TabControlBarImage
    "DEEPBLUE_SIDECHENNEL_HANDLE",      // 41 SideChannelHandleImage
    "DEEPBLUE_SIDECHENNEL_BAR",         // 42 SideChannelBarImage
    "",                                 // 43 TitleBarMinimizedImage
    0x00FFFFFF,                         // 44 TitleBarFontColor
    "",                                 // 45 FormLeftBorderImage
    "",                                 // 46 FormBottomBorderImage
    0,                                  // 47 FormBottomRoundCornerInt
    0x00E8E8E8,                         // 48 MenuMenuBarColor
};

// Protein
constexpr TkivStyleEntry KIV_PROTEIN_STYLE[KIV_FILETHEME_ITEMCOUNT] = {
    "PROTEIN_BUTTON",                   // 1 ButtonImage
    0,                                  // 2 ButtonTransparentBool
    "PROTEIN_CHECKBOX",                 // 3 CheckBoxImage
    "PROTEIN_RADIOBUTTON",              // 4 RadioButtonImage
    "PROTEIN_TITLEBTN",                 // 5 TitleBarButtonImage
    1,                                  // 6 TitleBarButtonTransparentBool
    0,                                  // 7 TitleBarButtonLeftOffsetInt
    0,                                  // 8 TitleBarButtonRightOffsetInt
    2,                                  // 9 TitleBarButtonTopInt
    "PROTEIN_TITLE_LEFT",               // 10 TitleBarLeftImage
    "PROTEIN_TITLE_CLIENT",             // 11 TitleBarClientImage
    "PROTEIN_TITLE_RIGHT",              // 12 TitleBarRightImage
    130,                                // 13 FormMinWidthInt
    0,                                  // 14 FormRoundCornerInt
    0x00FBFBFB,                         // 15 FormBackgroundColor
    0x00000000,                         // 16 FormBorderColor
    1,                                  // 17 FormBorderWidthInt
    0x00C4302D,                         // 18 MenuSelectedBorderColor
    0x00C4302D,                         // 19 MenuSelectedBackgroundColor
    0x00FFFFFF,                         // 20 MenuSelectedFontColor
    0x00FFFFFF,                         // 21 MenuBackgroundColor
    0x00000000,                         // 22 MenuFontColor
    0x00CED3D6,                         // 23 MenuBarColor
    "PROTEIN_PROGRESSBAR",              // 24 ProgressBarImage
    0x00000000,                         // 25 ControlBorderColor
    0x00FBFBFB,                         // 26 ControlBackgroundColor
    0x00000000,                         // 27 ControlFontColor
    "PROTEIN_TRACKBAR_BAR",             // 28 TrackBarBarImage
    "PROTEIN_TRACKBAR_SLIDER",          // 29 TrackBarSliderImage
    "PROTEIN_TRACKBAR_SLIDER_V",        // 30 TrackBarSliderVImage
    0x00F5F5F5,                         // 31 ScrollBarBackgroundColor
    "PROTEIN_SCROLLBAR_BUTTON",         // 32 ScrollBarButtonImage
    "PROTEIN_SCROLLBAR_TRACK",          // 33 ScrollBarSliderImage
    "PROTEIN_CHECKLIST",                // 34 CheckListBoxImage
    0x00474747,                         // 35 ToolBarButtonBorderColor
    0x00EFEFEF,                         // 36 ToolBarButtonBackgroundColor
    0x00D8D8D8,                         // 37 ToolBarButtonDownBackgroundColor
    "MORE_SCROLLBUTTON",                // 38 ScrollButtonImage
    "PROTEIN_TAB",                      // 39 TabControlTabImage
    "PROTEIN_TAB_LINE",                 // 40 TabControlBarImage
    "PROTEIN_SIDECHENNEL_HANDLE",       // 41 SideChannelHandleImage
    "PROTEIN_SIDECHENNEL_BAR",          // 42 SideChannelBarImage
    "",                                 // 43 TitleBarMinimizedImage
    0x00FFFFFF,                         // 44 TitleBarFontColor
    "",                                 // 45 FormLeftBorderImage
    "",                                 // 46 FormBottomBorderImage
    0,                                  // 47 FormBottomRoundCornerInt
    0x00FBFBFB,                         // 48 MenuMenuBarColor
};

// BlueGlass
constexpr TkivStyleEntry KIV_BLUEGLASS_STYLE[KIV_FILETHEME_ITEMCOUNT] = {
    "BLUEGLASS_BUTTON",                 // 1 ButtonImage
    1,                                  // 2 ButtonTransparentBool
    "BLUEGLASS_CHECKBOX",               // 3 CheckBoxImage
    "BLUEGLASS_RADIOBUTTON",            // 4 RadioButtonImage
    "BLUEGLASS_TITLEBTN",               // 5 TitleBarButtonImage
    1,                                  // 6 TitleBarButtonTransparentBool
    4,                                  // 7 TitleBarButtonLeftOffsetInt
    -3,                                 // 8 TitleBarButtonRightOffsetInt
    6,                                  // 9 TitleBarButtonTopInt
    "BLUEGLASS_TITLE_LEFT",             // 10 TitleBarLeftImage
    "BLUEGLASS_TITLE_CLIENT",           // 11 TitleBarClientImage
    "BLUEGLASS_TITLE_RIGHT",            // 12 TitleBarRightImage
    270,                                // 13 FormMinWidthInt
    11,                                 // 14 FormRoundCornerInt
    0x00E7E7E7,                         // 15 FormBackgroundColor
    0x00000000,                         // 16 FormBorderColor
    1,                                  // 17 FormBorderWidthInt
    0x00EC5E5E,                         // 18 MenuSelectedBorderColor
    0x00EC5E5E,                         // 19 MenuSelectedBackgroundColor
    0x00FFFFFF,                         // 20 MenuSelectedFontColor
    0x00E7E7E7,                         // 21 MenuBackgroundColor
    0x00000000,                         // 22 MenuFontColor
    0x00CED3D6,                         // 23 MenuBarColor
    "BLUEGLASS_PROGRESSBAR",            // 24 ProgressBarImage
    0x00000000,                         // 25 ControlBorderColor
    0x00E7E7E7,                         // 26 ControlBackgroundColor
    0x00000000,                         // 27 ControlFontColor
    "BLUEGLASS_TRACKBAR_BAR",           // 28 TrackBarBarImage
    "BLUEGLASS_TRACKBAR_SLIDER",        // 29 TrackBarSliderImage
    "BLUEGLASS_TRACKBAR_SLIDER_V",      // 30 TrackBarSliderVImage
    0x00F4F4F4,                         // 31 ScrollBarBackgroundColor
    "BLUEGLASS_SCROLLBAR_BUTTON",       // 32 ScrollBarButtonImage
    "BLUEGLASS_SCROLLBAR_TRACK",        // 33 ScrollBarSliderImage
    "BLUEGLASS_CHECKLIST",              // 34 CheckListBoxImage
    0x00474747,                         // 35 ToolBarButtonBorderColor
    0x00EFEFEF,                         // 36 ToolBarButtonBackgroundColor
    0x00D8D8D8,                         // 37 ToolBarButtonDownBackgroundColor
    "MORE_SCROLLBUTTON",                // 38 ScrollButtonImage
    "BLUEGLASS_TAB",                    // 39 TabControlTabImage
    "BLUEGLASS_TAB_LINE",               // 40 TabControlBarImage
    "BLUEGLASS_SIDECHENNEL_HANDLE",     // 41 SideChannelHandleImage
    "BLUEGLASS_SIDECHENNEL_BAR",        // 42 SideChannelBarImage
    "",                                 // 43 TitleBarMinimizedImage
    0x00FFFFFF,                         // 44 TitleBarFontColor
    "",                                 // 45 FormLeftBorderImage
    "",                                 // 46 FormBottomBorderImage
    0,                                  // 47 FormBottomRoundCornerInt
    0x00E7E7E7,                         // 48 MenuMenuBarColor
};

constexpr const TkivStyleEntry *KIV_STYLE_TABLES[] = {
    nullptr, KIV_MACOS_STYLE, KIV_WINXP_STYLE, KIV_DEEPBLUE_STYLE, KIV_PROTEIN_STYLE, KIV_BLUEGLASS_STYLE,
};

// A picture the resources lack (the three empty names among them) raises EResNotFound.
void LoadStyleBitmap(const TkivItemValue &Item, TBitmap *Buf)
{
    if (Item.Type == TkivType::Str)
        Buf->LoadFromResourceName(HInstance, QString::fromLatin1(Item.Entry.Name));
}

} // namespace

TkivItemValue GetInsideThemeItem(TkivUIStyle UIStyle, int Index)
{
    const bool Listed = UIStyle >= MacOS && UIStyle <= BlueGlass && Index >= 1 && Index <= KIV_FILETHEME_ITEMCOUNT;
    if (!Listed)
        return {TkivType::Int, -1};
    return {KIV_ITEM_TYPE[Index - 1], KIV_STYLE_TABLES[UIStyle][Index - 1]};
}

void GetInsideThemeBitmap(TkivUIStyle UIStyle, int Index, TBitmap *Buf, int SpitCount, int SpitIndex)
{
    if (!Buf)
        return;
    const TkivItemValue Item = GetInsideThemeItem(UIStyle, Index);
    if (SpitCount == 0) {
        LoadStyleBitmap(Item, Buf);
        return;
    }
    TAutoFree<TBitmap> Whole(TBitmap::Create());
    LoadStyleBitmap(Item, Whole.get());
    SpitBitmap(Whole.get(), Buf, SpitCount, SpitIndex);
}

TColor GetInsideThemeColor(TkivUIStyle UIStyle, int Index)
{
    const TkivItemValue Item = GetInsideThemeItem(UIStyle, Index);
    return Item.Type == TkivType::Color ? Item.Entry.Value : 0;
}

int GetInsideThemeInt(TkivUIStyle UIStyle, int Index)
{
    const TkivItemValue Item = GetInsideThemeItem(UIStyle, Index);
    return Item.Type == TkivType::Int ? Item.Entry.Value : -1;
}

bool GetInsideThemeBool(TkivUIStyle UIStyle, int Index)
{
    const TkivItemValue Item = GetInsideThemeItem(UIStyle, Index);
    return Item.Type == TkivType::Bool && (Item.Entry.Value & 0xFF) != 0;
}

// The frame belongs to a unit above this one, so it is recognised by its registered class.
TkivUIStyle GetKIVFormStyle(TComponent *AComponent)
{
    if (!AComponent || !AComponent->Is<TCustomForm>())
        return DeepBlue;
    const TClass FrameClass = GetClass(QStringLiteral("TkivForm"));
    if (!FrameClass)
        return DeepBlue;
    auto *Form = static_cast<TCustomForm *>(AComponent);
    for (int I = 0; I < Form->ControlCount(); ++I) {
        TControl *Control = Form->Controls(I);
        if (Control->InheritsFrom(FrameClass))
            return TkivUIStyle(GetOrdProp(Control, QStringLiteral("UIStyle")));
    }
    return DeepBlue;
}
