#include "tools/artgen/Art.h"

#include "skin/theme/Kivthemes.h"

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

struct TRow
{
    const char *Name;
    int W, H, Frames, Bits;
};

// Pictures whose size the skin leaves free.
const TRow FreeSizes[] = {
    {"MACOS_COMBOBOX_BUTTON", 51, 21, 3, 24},
    {"WINXP_COMBOBOX_BUTTON", 51, 21, 3, 24},
    {"DBNAV_BUTTON", 160, 16, 10, 24},
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

// A style's picture is named by its prefix; the rest (Item 0, or shared by several styles) are extras.
const TStyle *StyleOf(const TkivBitmapResource &R)
{
    if (R.Item == 0)
        return nullptr;
    for (const TStyle &S : Styles)
        if (QLatin1String(R.Name).startsWith(QLatin1String(S.Prefix) + u'_'))
            return &S;
    return nullptr;
}

QList<TPicture> Build(bool Draw)
{
    QList<TPicture> Out;
    QList<TPicture> Extras;
    for (const TkivBitmapResource &R : KIV_BITMAP_RESOURCES) {
        const QString Name = QString::fromLatin1(R.Name);
        int W = R.Width, H = R.Height, Frames = qMax(1, R.Frames);
        for (const TRow &F : FreeSizes)
            if (W == 0 && Name == QLatin1String(F.Name)) {
                W = F.W;
                H = F.H;
                Frames = F.Frames;
            }
        const TStyle *Style = StyleOf(R);
        TPicture P = Expected(Style ? QString::fromLatin1(Style->Name) : QStringLiteral("Extras"),
                              QStringLiteral("bitmaps"), Name, W, H, Frames, 24);
        if (Draw)
            P.Image = Style ? Style->Draw(Name.mid(int(qstrlen(Style->Prefix)) + 1), W, H) : DrawExtra(Name, W, H);
        (Style ? Out : Extras) << P;
    }
    Out << Extras;
    for (const TRow &R : NetvaneRows) {
        TPicture P = Expected(QStringLiteral("Netvane theme"), QStringLiteral("netvane-theme"),
                              QString::fromLatin1(R.Name), R.W, R.H, R.Frames, R.Bits);
        // An 8-bit file keeps every colour only when the picture has at most 256 of them.
        if (Draw)
            P.Image = R.Bits == 8 ? Quantized(DrawNetvane(P.Name, R.W, R.H), 256) : DrawNetvane(P.Name, R.W, R.H);
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
