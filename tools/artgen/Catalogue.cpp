#include "tools/artgen/Art.h"

namespace Art {

namespace {

struct TStyle
{
    const char *Name;
    const char *Prefix;
    QImage (*Draw)(const QString &, int, int);
};

const TStyle Styles[] = {
    {"MacOS", "MACOS", DrawMacOS},          {"WinXP", "WINXP", DrawWinXP},
    {"DeepBlue", "DEEPBLUE", DrawDeepBlue}, {"Protein", "PROTEIN", DrawProtein},
    {"BlueGlass", "BLUEGLASS", DrawBlueGlass},
};

// Style pictures: suffix, frames, then width and height for MacOS, WinXP, DeepBlue, Protein, BlueGlass
// (0 x 0: the style shares another picture).
struct TStyleRow
{
    const char *Suffix;
    int Frames;
    int Size[5][2];
};

const TStyleRow StyleRows[] = {
    {"BUTTON", 3, {{252, 23}, {54, 21}, {222, 21}, {222, 21}, {231, 27}}},
    {"CHECKBOX", 4, {{60, 17}, {52, 13}, {52, 13}, {52, 13}, {52, 13}}},
    {"RADIOBUTTON", 4, {{64, 17}, {52, 13}, {52, 13}, {52, 13}, {52, 13}}},
    {"TITLEBTN", 18, {{306, 17}, {378, 21}, {342, 19}, {342, 19}, {342, 19}}},
    {"TITLE_LEFT", 1, {{48, 23}, {35, 29}, {97, 32}, {441, 23}, {162, 33}}},
    {"TITLE_CLIENT", 1, {{49, 23}, {37, 29}, {98, 32}, {1, 23}, {179, 33}}},
    {"TITLE_RIGHT", 1, {{48, 23}, {35, 29}, {97, 32}, {1, 23}, {101, 33}}},
    {"PROGRESSBAR", 1, {{13, 10}, {6, 10}, {1, 10}, {1, 10}, {1, 10}}},
    {"TRACKBAR_BAR", 3, {{45, 5}, {45, 8}, {45, 4}, {45, 4}, {45, 4}}},
    {"TRACKBAR_SLIDER", 1, {{11, 20}, {11, 21}, {11, 20}, {11, 20}, {11, 20}}},
    {"TRACKBAR_SLIDER_V", 1, {{19, 11}, {22, 11}, {18, 11}, {18, 11}, {18, 11}}},
    {"SCROLLBAR_BUTTON", 6, {{96, 22}, {96, 17}, {96, 16}, {96, 16}, {102, 16}}},
    {"SCROLLBAR_TRACK", 3, {{33, 16}, {21, 16}, {21, 16}, {21, 16}, {21, 16}}},
    {"CHECKLIST", 4, {{40, 11}, {44, 11}, {44, 11}, {44, 11}, {44, 11}}},
    {"SCROLLBUTTON", 4, {{72, 18}, {72, 18}, {0, 0}, {0, 0}, {0, 0}}},
    {"TAB", 1, {{36, 27}, {18, 18}, {12, 17}, {18, 17}, {18, 17}}},
    {"TAB_LINE", 1, {{17, 7}, {8, 1}, {5, 5}, {10, 5}, {10, 5}}},
    {"SIDECHENNEL_HANDLE", 1, {{7, 84}, {8, 86}, {8, 83}, {8, 83}, {8, 86}}},
    {"SIDECHENNEL_BAR", 1, {{1, 21}, {1, 21}, {1, 20}, {1, 21}, {1, 21}}},
};

struct TRow
{
    const char *Name;
    int W, H, Frames, Bits;
};

const TRow ExtraRows[] = {
    {"MORE_SCROLLBUTTON", 72, 17, 4, 24},  {"MACOS_FORM_BACKGROUND", 8, 8, 1, 24},
    {"PROTEIN_FORM_BACKGROUND", 8, 8, 1, 24}, {"MACOS_MENU_BAR", 1, 22, 1, 24},
    {"MACOS_MENU_SELECT", 1, 21, 1, 24},   {"MDI_CONTROL_BUTTON", 48, 16, 3, 24},
    {"MENU_CHECKED", 16, 16, 1, 24},       {"PANEL_BUTTON", 52, 12, 4, 24},
    {"MSNPOPFORM", 181, 116, 1, 24},       {"MACOS_COMBOBOX_BUTTON", 51, 21, 3, 24},
    {"WINXP_COMBOBOX_BUTTON", 51, 21, 3, 24}, {"DBNAV_BUTTON", 160, 16, 10, 24},
};

// The theme inside Netvane's window, by item name.
const TRow NetvaneRows[] = {
    {"ButtonImage", 198, 25, 3, 8},           {"CheckBoxImage", 60, 15, 4, 8},
    {"RadioButtonImage", 60, 15, 4, 8},       {"TitleBarButtonImage", 450, 25, 18, 8},
    {"TitleBarLeftImage", 57, 40, 1, 8},      {"TitleBarClientImage", 57, 40, 1, 8},
    {"TitleBarRightImage", 156, 40, 1, 8},    {"ProgressBarImage", 6, 8, 1, 8},
    {"TrackBarBarImage", 45, 5, 3, 8},        {"TrackBarSliderImage", 11, 21, 1, 8},
    {"TrackBarSliderVImage", 22, 11, 1, 8},   {"ScrollBarButtonImage", 96, 17, 6, 8},
    {"ScrollBarSliderImage", 21, 16, 3, 8},   {"CheckListBoxImage", 44, 11, 4, 8},
    {"ScrollButtonImage", 68, 17, 4, 8},      {"TabControlTabImage", 30, 17, 2, 8},
    {"TabControlBarImage", 8, 1, 1, 8},       {"SideChannelHandleImage", 7, 84, 1, 8},
    {"SideChannelBarImage", 1, 26, 1, 24},    {"TitleBarMinimizedImage", 160, 27, 1, 24},
};

TPicture Expected(const QString &Group, const QString &Folder, const QString &Name, int W, int H, int Frames,
                  int Bits)
{
    TPicture P;
    P.Group = Group;
    P.Folder = Folder;
    P.Name = Name;
    P.Width = W;
    P.Height = H;
    P.Frames = Frames;
    P.Bits = Bits;
    return P;
}

QList<TPicture> Build(bool Draw)
{
    QList<TPicture> Out;
    for (int S = 0; S < 5; ++S)
        for (const TStyleRow &R : StyleRows) {
            const int W = R.Size[S][0], H = R.Size[S][1];
            if (W == 0)
                continue;
            const QString Suffix = QString::fromLatin1(R.Suffix);
            TPicture P = Expected(QString::fromLatin1(Styles[S].Name), QStringLiteral("bitmaps"),
                                  QString::fromLatin1(Styles[S].Prefix) + u'_' + Suffix, W, H, R.Frames, 24);
            if (Draw)
                P.Image = Styles[S].Draw(Suffix, W, H);
            Out << P;
        }
    for (const TRow &R : ExtraRows) {
        TPicture P = Expected(QStringLiteral("Extras"), QStringLiteral("bitmaps"), QString::fromLatin1(R.Name), R.W,
                              R.H, R.Frames, R.Bits);
        if (Draw)
            P.Image = DrawExtra(P.Name, R.W, R.H);
        Out << P;
    }
    for (const TRow &R : NetvaneRows) {
        TPicture P = Expected(QStringLiteral("Netvane theme"), QStringLiteral("netvane-theme"),
                              QString::fromLatin1(R.Name), R.W, R.H, R.Frames, R.Bits);
        // An 8-bit file keeps every colour only when the picture has at most 256 of them.
        if (Draw)
            P.Image = R.Bits == 8 ? Posterized(DrawNetvane(P.Name, R.W, R.H), 256) : DrawNetvane(P.Name, R.W, R.H);
        Out << P;
    }
    // The window's own title-bar buttons, in the order the window lists them.
    for (const char *Button : {"ControlBox", "Close", "Max", "Min"})
        for (const char *State : {"Normal", "MouseOn", "MouseDown"}) {
            const QString Name = QStringLiteral("TitleButton%1%2").arg(QLatin1String(Button), QLatin1String(State));
            TPicture P = Expected(QStringLiteral("Netvane window"), QStringLiteral("netvane-window"), Name, 25, 25,
                                  1, 32);
            if (Draw)
                P.Image = DrawNetvane(Name, 25, 25);
            Out << P;
        }
    return Out;
}

} // namespace

QList<TPicture> AllPictures()
{
    return Build(true);
}

QList<TPicture> ExpectedPictures()
{
    return Build(false);
}

} // namespace Art
