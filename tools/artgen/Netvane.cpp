#include "tools/artgen/Art.h"

#include <QPainterPath>

// The theme inside Netvane's window: light blue, a pale 40-pixel title bar carrying a small vane emblem,
// rounded 66 x 25 buttons, and 25 x 25 title buttons that light up under the mouse (red for close).

namespace Art {

namespace {

constexpr int TitleHeight = 40;
constexpr int ButtonTop = 7;

TLook Look()
{
    TLook L;
    L.Ground = Tc(0x00FAE5D8);
    L.Face = QColor(0xE4, 0xEE, 0xFC);
    L.FaceDark = QColor(0xB4, 0xCC, 0xEE);
    L.Border = Tc(0x00BB8B57);
    L.Accent = Tc(0x00D28E51);
    L.AccentDark = QColor(0x2A, 0x60, 0xB0);
    L.Mark = QColor(0x1E, 0x50, 0x9C);
    L.TitleTop = QColor(0xFA, 0xFC, 0xFF);
    L.TitleBottom = QColor(0xCC, 0xDE, 0xF6);
    L.TitleLine = Tc(0x00C67762);
    L.ScrollGround = Tc(0x00F9F9F9);
    L.Radius = 5;
    L.Gloss = true;
    return L;
}

TStateColours Faces(TState S)
{
    switch (S) {
    case sHover: return {QColor(Qt::white), QColor(0xD4, 0xE6, 0xFF), QColor(0x2E, 0x6C, 0xC8)};
    case sDown: return {QColor(0xA8, 0xC6, 0xEE), QColor(0xD6, 0xE6, 0xFA), QColor(0x2A, 0x58, 0xA0)};
    default: return {QColor(Qt::white), QColor(0xC4, 0xDA, 0xF6), Tc(0x00BB8B57)};
    }
}

QImage Title(const TLook &L, int W, int H)
{
    return TitleGradient(L, W, H);
}

// The emblem: a weather vane, an arrow on a pivot over a ring.
void Vane(QPainter &P, const QPointF &C, qreal R)
{
    Antialiased(P);
    P.setPen(QPen(QColor(0x2A, 0x60, 0xB0), 1.6));
    P.setBrush(QColor(255, 255, 255));
    P.drawEllipse(C, R, R);
    QPainterPath Arrow_;
    Arrow_.moveTo(C.x() - R * 0.75, C.y() + R * 0.45);
    Arrow_.lineTo(C.x() + R * 0.55, C.y() - R * 0.45);
    P.setPen(QPen(QColor(0x1E, 0x50, 0x9C), 2, Qt::SolidLine, Qt::RoundCap));
    P.drawPath(Arrow_);
    QPolygonF Head;
    Head << QPointF(C.x() + R * 0.8, C.y() - R * 0.65) << QPointF(C.x() + R * 0.2, C.y() - R * 0.55)
         << QPointF(C.x() + R * 0.6, C.y() - R * 0.05);
    P.setPen(Qt::NoPen);
    P.setBrush(QColor(0xE0, 0x6A, 0x1E));
    P.drawPolygon(Head);
    P.setBrush(QColor(0x1E, 0x50, 0x9C));
    P.drawEllipse(C, 1.8, 1.8);
}

QImage TitleLeft(const TLook &L, int W, int H)
{
    QImage Out = Title(L, W, H);
    QPainter P(&Out);
    Vane(P, QPointF(22, H / 2.0 - 1), 11);
    return Out;
}

void TitleButton(QPainter &P, const QRectF &R, TGlyph G, TState S)
{
    const QRectF Box = R.adjusted(1.5, 1.5, -1.5, -1.5);
    const bool Close = G == gClose;
    QColor Ink(0x20, 0x30, 0x50);
    if (S == sHover) {
        P.setPen(QPen(Close ? QColor(0xB0, 0x24, 0x18) : QColor(0x2E, 0x6C, 0xC8), 1));
        P.setBrush(Close ? Vertical(Box, QColor(0xF0, 0x6A, 0x50), QColor(0xD0, 0x34, 0x20))
                         : Vertical(Box, QColor(Qt::white), QColor(0xD4, 0xE6, 0xFF)));
        P.drawRoundedRect(Box, 5, 5);
        if (Close)
            Ink = Qt::white;
    } else if (S == sDown) {
        P.setPen(QPen(Close ? QColor(0x90, 0x1C, 0x10) : QColor(0x1E, 0x50, 0x9C), 1));
        P.setBrush(Close ? QColor(0xB8, 0x28, 0x18) : QColor(0x3C, 0x78, 0xD0));
        P.drawRoundedRect(Box, 5, 5);
        Ink = Qt::white;
    }
    const qreal M = 8;
    const qreal D = S == sDown ? 0.5 : 0;
    TitleGlyph(P, R.adjusted(M + D, M + D, -M + D, -M + D), G, Ink, 1.7);
}

QImage TitleButtons(const TLook &L, int W, int H)
{
    return TitleButtonStrip(W, H, Title(L, W / 18, TitleHeight).copy(0, ButtonTop, W / 18, H), false, TitleButton);
}

QImage Minimized(const TLook &L, int W, int H)
{
    // A title bar folded down to a small strip: the same gradient, the emblem and a frame.
    QImage Out = Title(L, W, H);
    QPainter P(&Out);
    P.setPen(L.TitleLine);
    P.drawRect(0, 0, W - 1, H - 1);
    Vane(P, QPointF(14, H / 2.0), 8);
    return Out;
}

const char *SuffixOf(const QString &Item)
{
    static const QList<QPair<QString, const char *>> Items = {
        {QStringLiteral("ButtonImage"), "BUTTON"},
        {QStringLiteral("CheckBoxImage"), "CHECKBOX"},
        {QStringLiteral("RadioButtonImage"), "RADIOBUTTON"},
        {QStringLiteral("ProgressBarImage"), "PROGRESSBAR"},
        {QStringLiteral("TrackBarBarImage"), "TRACKBAR_BAR"},
        {QStringLiteral("TrackBarSliderImage"), "TRACKBAR_SLIDER"},
        {QStringLiteral("TrackBarSliderVImage"), "TRACKBAR_SLIDER_V"},
        {QStringLiteral("ScrollBarButtonImage"), "SCROLLBAR_BUTTON"},
        {QStringLiteral("ScrollBarSliderImage"), "SCROLLBAR_TRACK"},
        {QStringLiteral("CheckListBoxImage"), "CHECKLIST"},
        {QStringLiteral("ScrollButtonImage"), "SCROLLBUTTON"},
        {QStringLiteral("TabControlTabImage"), "TAB"},
        {QStringLiteral("TabControlBarImage"), "TAB_LINE"},
        {QStringLiteral("SideChannelHandleImage"), "SIDECHENNEL_HANDLE"},
        {QStringLiteral("SideChannelBarImage"), "SIDECHENNEL_BAR"},
    };
    for (const auto &I : Items)
        if (I.first == Item)
            return I.second;
    return "";
}

// The window's own title buttons are frames of the theme's strip.
QImage WindowTitleButton(const TLook &L, const QString &Name)
{
    static const QList<QPair<QString, int>> First = {
        {QStringLiteral("ControlBox"), 1}, {QStringLiteral("Close"), 16}, {QStringLiteral("Max"), 7}, {QStringLiteral("Min"), 13}};
    static const QList<QPair<QString, int>> Offset = {
        {QStringLiteral("MouseDown"), 2}, {QStringLiteral("MouseOn"), 1}, {QStringLiteral("Normal"), 0}};
    const QString Rest = Name.mid(QStringLiteral("TitleButton").size());
    int Frame = 0;
    for (const auto &F : First)
        if (Rest.startsWith(F.first))
            for (const auto &O : Offset)
                if (Rest.mid(F.first.size()) == O.first)
                    Frame = F.second + O.second;
    if (Frame == 0)
        return QImage();
    return TitleButtons(L, 18 * 25, 25).copy((Frame - 1) * 25, 0, 25, 25);
}

} // namespace

QImage DrawNetvane(const QString &Item, int W, int H)
{
    const TLook L = Look();
    if (Item == u"TitleBarLeftImage")
        return TitleLeft(L, W, H);
    if (Item == u"TitleBarClientImage" || Item == u"TitleBarRightImage")
        return Title(L, W, H);
    if (Item == u"TitleBarButtonImage")
        return TitleButtons(L, W, H);
    if (Item == u"TitleBarMinimizedImage")
        return Minimized(L, W, H);
    if (Item.startsWith(u"TitleButton"))
        return WindowTitleButton(L, Item);
    return Standard(L, QString::fromLatin1(SuffixOf(Item)), W, H, Faces);
}

QString NetvaneThemeIni()
{
    QString Ini = QStringLiteral("[files]\n");
    for (const char *Item : {"ButtonImage", "CheckBoxImage", "RadioButtonImage", "TitleBarButtonImage",
                             "TitleBarLeftImage", "TitleBarClientImage", "TitleBarRightImage", "ProgressBarImage",
                             "TrackBarBarImage", "TrackBarSliderImage", "TrackBarSliderVImage", "ScrollBarButtonImage",
                             "ScrollBarSliderImage", "CheckListBoxImage", "ScrollButtonImage", "TabControlTabImage",
                             "TabControlBarImage", "SideChannelHandleImage", "SideChannelBarImage",
                             "TitleBarMinimizedImage"})
        Ini += QStringLiteral("%1=%1.bmp\n").arg(QLatin1String(Item));
    Ini += QStringLiteral(
        "\n[integers]\n"
        "TitleBarButtonLeftOffsetInt=8\n"
        "TitleBarButtonRightOffsetInt=-8\n"
        "TitleBarButtonTopInt=7\n"
        "FormMinWidthInt=200\n"
        "FormRoundCornerInt=0\n"
        "FormBackgroundColor=0x00FAE5D8\n"
        "FormBorderColor=0x00C67762\n"
        "FormBorderWidthInt=2\n"
        "MenuSelectedBorderColor=0x00A04A44\n"
        "MenuSelectedBackgroundColor=0x00D28E51\n"
        "MenuSelectedFontColor=0x00FFFFFF\n"
        "MenuBackgroundColor=0x00A25713\n"
        "MenuFontColor=0x00FFFFFF\n"
        "MenuBarColor=0x0097571E\n"
        "ControlBorderColor=0x00BB8B57\n"
        "ControlBackgroundColor=-16777196\n"
        "ControlFontColor=0x00050000\n"
        "ScrollBarBackgroundColor=0x00F9F9F9\n"
        "ToolBarButtonBorderColor=0x00B47734\n"
        "ToolBarButtonBackgroundColor=0x00A97438\n"
        "ToolBarButtonDownBackgroundColor=0x0079420E\n"
        "TitleBarFontColor=0x00000000\n"
        "FormBottomRoundCornerInt=0\n"
        "MenuMenuBarColor=0x00AD5939\n"
        "\n[flags]\n"
        "ButtonTransparentBool=0\n"
        "TitleBarButtonTransparentBool=0\n");
    return Ini;
}

} // namespace Art
