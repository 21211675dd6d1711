#include "tools/artgen/Art.h"

#include "skin/theme/Kivthemes.h"

#include <QHash>

// A small window put together from a group's pictures, as the skin would lay them out, so that a style can be
// judged as a whole on the contact sheet.

namespace Art {

namespace {

struct TParts
{
    QString Left, Client, Right, Buttons, Button, Check, Radio, Tile;
    int Gap = 0, RightOffset = 0, Top = 0, BorderWidth = 1;
    QColor Caption, Background, Border, Text;
};

QColor FromTColor(TColor C)
{
    return Tc(quint32(C));
}

TParts StyleParts(const QString &Prefix, TkivUIStyle S)
{
    TParts P;
    P.Left = Prefix + QStringLiteral("_TITLE_LEFT");
    P.Client = Prefix + QStringLiteral("_TITLE_CLIENT");
    P.Right = Prefix + QStringLiteral("_TITLE_RIGHT");
    P.Buttons = Prefix + QStringLiteral("_TITLEBTN");
    P.Button = Prefix + QStringLiteral("_BUTTON");
    P.Check = Prefix + QStringLiteral("_CHECKBOX");
    P.Radio = Prefix + QStringLiteral("_RADIOBUTTON");
    P.Tile = Prefix + QStringLiteral("_FORM_BACKGROUND");
    P.Gap = GetInsideThemeInt(S, 7);
    P.RightOffset = GetInsideThemeInt(S, 8);
    P.Top = GetInsideThemeInt(S, 9);
    P.BorderWidth = GetInsideThemeInt(S, 17);
    P.Caption = FromTColor(GetInsideThemeColor(S, 44));
    P.Background = FromTColor(GetInsideThemeColor(S, 15));
    P.Border = FromTColor(GetInsideThemeColor(S, 16));
    P.Text = FromTColor(GetInsideThemeColor(S, 27));
    return P;
}

TParts NetvaneParts()
{
    TParts P;
    P.Left = QStringLiteral("TitleBarLeftImage");
    P.Client = QStringLiteral("TitleBarClientImage");
    P.Right = QStringLiteral("TitleBarRightImage");
    P.Buttons = QStringLiteral("TitleBarButtonImage");
    P.Button = QStringLiteral("ButtonImage");
    P.Check = QStringLiteral("CheckBoxImage");
    P.Radio = QStringLiteral("RadioButtonImage");
    P.Gap = 8;
    P.RightOffset = -8;
    P.Top = 7;
    P.BorderWidth = 2;
    P.Caption = Qt::black;
    P.Background = Tc(0x00FAE5D8);
    P.Border = Tc(0x00C67762);
    P.Text = Tc(0x00050000);
    return P;
}

// Magenta as real transparency.
QImage Clear(const QImage &Image)
{
    QImage Out = Image.convertToFormat(QImage::Format_ARGB32);
    for (int Y = 0; Y < Out.height(); ++Y) {
        QRgb *Row = reinterpret_cast<QRgb *>(Out.scanLine(Y));
        for (int X = 0; X < Out.width(); ++X)
            if ((Row[X] | 0xFF000000u) == Magenta)
                Row[X] = 0;
    }
    return Out;
}

QImage Frame(const QImage &Strip, int Count, int Index)
{
    const int FW = Strip.width() / Count;
    return Clear(Strip.copy((Index - 1) * FW, 0, FW, Strip.height()));
}

// Ends at their own width, the middle column stretched between them.
void ThreeSlice(QPainter &P, const QImage &Image, const QRect &R)
{
    const int Half = Image.width() / 2;
    P.drawImage(R.left(), R.top(), Image, 0, 0, Half, Image.height());
    P.drawImage(QRect(R.left() + Half, R.top(), R.width() - 2 * Half, Image.height()), Image,
                QRect(Half, 0, 1, Image.height()));
    P.drawImage(R.right() - Half + 1, R.top(), Image, Image.width() - Half, 0, Half, Image.height());
}

} // namespace

QImage Preview(const QList<TPicture> &Pictures, const QString &Group)
{
    static const QHash<QString, QPair<QString, TkivUIStyle>> Styles = {
        {QStringLiteral("MacOS"), {QStringLiteral("MACOS"), MacOS}},
        {QStringLiteral("WinXP"), {QStringLiteral("WINXP"), WinXP}},
        {QStringLiteral("DeepBlue"), {QStringLiteral("DEEPBLUE"), DeepBlue}},
        {QStringLiteral("Protein"), {QStringLiteral("PROTEIN"), Protein}},
        {QStringLiteral("BlueGlass"), {QStringLiteral("BLUEGLASS"), BlueGlass}},
    };
    TParts Parts;
    if (Styles.contains(Group))
        Parts = StyleParts(Styles[Group].first, Styles[Group].second);
    else if (Group == u"Netvane theme")
        Parts = NetvaneParts();
    else
        return QImage();
    QHash<QString, QImage> Images;
    for (const TPicture &P : Pictures)
        Images.insert(P.Name, P.Image);

    const QImage Left = Clear(Images[Parts.Left]), Client = Clear(Images[Parts.Client]),
                 Right = Clear(Images[Parts.Right]);
    const int W = 320, TitleH = Client.height(), H = TitleH + 72;
    QImage Out(W, H, QImage::Format_ARGB32);
    Out.fill(Qt::transparent);
    QPainter P(&Out);
    P.fillRect(0, TitleH, W, H - TitleH, Parts.Background);
    if (Images.contains(Parts.Tile))
        P.fillRect(0, TitleH, W, H - TitleH, QBrush(Images[Parts.Tile]));

    const int LeftW = qMin(Left.width(), W - Right.width());
    P.drawImage(QRect(LeftW, 0, W - LeftW - Right.width(), TitleH), Client);
    P.drawImage(0, 0, Left, 0, 0, LeftW, TitleH);
    P.drawImage(W - Right.width(), 0, Right);
    QFont Caption(QStringLiteral("DejaVu Sans"), 8, QFont::Bold);
    P.setFont(Caption);
    P.setPen(Parts.Caption);
    P.drawText(QRect(Group == u"Netvane theme" ? 44 : 8, 0, 200, TitleH - 2), Qt::AlignVCenter, Group);

    // Close, maximise, minimise from the right.
    int X = W + Parts.RightOffset;
    for (const int F : {16, 7, 13}) {
        const QImage B = Frame(Images[Parts.Buttons], 18, F);
        X -= B.width();
        P.drawImage(X, Parts.Top, B);
        X -= qMax(0, Parts.Gap) / 2;
    }

    P.setPen(QPen(Parts.Border, Parts.BorderWidth));
    P.setBrush(Qt::NoBrush);
    P.drawRect(QRectF(Parts.BorderWidth / 2.0, TitleH, W - Parts.BorderWidth, H - TitleH - Parts.BorderWidth / 2.0));

    const QImage Button = Frame(Images[Parts.Button], 3, 1);
    const QRect ButtonRect(14, TitleH + 14, 90, Button.height());
    ThreeSlice(P, Button, ButtonRect);
    QFont Text(QStringLiteral("DejaVu Sans"), 8);
    P.setFont(Text);
    P.setPen(Parts.Text);
    P.drawText(ButtonRect, Qt::AlignCenter, QStringLiteral("Apply"));
    const QImage Pressed = Frame(Images[Parts.Button], 3, 3);
    const QRect PressedRect(14, TitleH + 20 + Button.height(), 90, Pressed.height());
    ThreeSlice(P, Pressed, PressedRect);
    P.drawText(PressedRect, Qt::AlignCenter, QStringLiteral("Pressed"));

    const QImage Check = Frame(Images[Parts.Check], 4, 1);
    const QImage Radio = Frame(Images[Parts.Radio], 4, 1);
    P.drawImage(130, TitleH + 16, Check);
    P.drawText(134 + Check.width(), TitleH + 16 + Check.height() - 3, QStringLiteral("Checked"));
    P.drawImage(130, TitleH + 24 + Check.height(), Radio);
    P.drawText(134 + Radio.width(), TitleH + 24 + Check.height() + Radio.height() - 3, QStringLiteral("Chosen"));
    P.end();
    return Out;
}

} // namespace Art
