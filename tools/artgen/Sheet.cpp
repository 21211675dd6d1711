#include "tools/artgen/Art.h"

#include <QFontMetrics>

namespace Art {

namespace {

constexpr int SheetWidth = 1600;
constexpr int Margin = 16;
constexpr int Gap = 18;

// Keyed pixels over a light checker board, so the outline the controls will see is plain.
QImage Shown(const QImage &Image)
{
    QImage Out(Image.width() * 2, Image.height() * 2, QImage::Format_RGB32);
    for (int Y = 0; Y < Out.height(); ++Y)
        for (int X = 0; X < Out.width(); ++X) {
            const QRgb C = Image.pixel(X / 2, Y / 2) | 0xFF000000u;
            const bool Dark = ((X / 6) + (Y / 6)) % 2;
            Out.setPixel(X, Y, C == Magenta ? (Dark ? 0xFFC8C8C8u : 0xFFF4F4F4u) : C);
        }
    return Out;
}

struct TPlaced
{
    QPoint At;
    QString Label;
    QImage Image;
    int Frames;
};

} // namespace

bool WriteSheet(const QList<TPicture> &Pictures, const QString &File)
{
    QFont Label(QStringLiteral("DejaVu Sans"), 8);
    QFont Heading(QStringLiteral("DejaVu Sans"), 13, QFont::Bold);
    const QFontMetrics LM(Label), HM(Heading);

    // Lay out first: one band per group, pictures flowing left to right.
    QList<TPlaced> Placed;
    QList<QPair<int, QString>> Headings;
    int Y = Margin;
    QString Group;
    int X = Margin, RowHeight = 0;
    auto Place = [&](const QString &Text, const QImage &Image, int Frames) {
        const int W = qMax(Image.width(), LM.horizontalAdvance(Text));
        if (X + W > SheetWidth - Margin && X > Margin) {
            X = Margin;
            Y += RowHeight + Gap;
            RowHeight = 0;
        }
        Placed << TPlaced{QPoint(X, Y), Text, Image, Frames};
        X += W + Gap;
        RowHeight = qMax(RowHeight, LM.height() + 2 + Image.height());
    };
    for (const TPicture &P : Pictures) {
        if (P.Group != Group) {
            Y += RowHeight + (Group.isEmpty() ? 0 : Gap);
            Group = P.Group;
            Headings << qMakePair(Y, Group);
            Y += HM.height() + 6;
            X = Margin;
            RowHeight = 0;
            const QImage Window = Preview(Pictures, Group);
            if (!Window.isNull()) {
                QImage Shown2(Window.size() * 2, QImage::Format_RGB32);
                Shown2.fill(Qt::white);
                QPainter WP(&Shown2);
                WP.drawImage(Shown2.rect(), Window);
                WP.end();
                Place(QStringLiteral("put together"), Shown2, 1);
            }
        }
        Place(QStringLiteral("%1  %2x%3").arg(P.Name).arg(P.Width).arg(P.Height), Shown(P.Image), P.Frames);
    }
    Y += RowHeight + Margin;

    QImage Sheet(SheetWidth, Y, QImage::Format_RGB32);
    Sheet.fill(QColor(0xFF, 0xFF, 0xFF));
    QPainter Pa(&Sheet);
    Pa.setPen(QColor(0x20, 0x20, 0x20));
    Pa.setFont(Heading);
    for (const auto &H : Headings) {
        Pa.drawText(Margin, H.first + HM.ascent(), H.second);
        Pa.fillRect(Margin, H.first + HM.height() + 1, SheetWidth - 2 * Margin, 1, QColor(0xB0, 0xB0, 0xB0));
    }
    Pa.setFont(Label);
    for (const TPlaced &P : Placed) {
        Pa.setPen(QColor(0x40, 0x40, 0x40));
        Pa.drawText(P.At.x(), P.At.y() + LM.ascent(), P.Label);
        const QPoint At(P.At.x(), P.At.y() + LM.height() + 2);
        Pa.drawImage(At, P.Image);
        // Frame boundaries as ticks below the picture.
        Pa.setPen(QColor(0xE0, 0x40, 0x40));
        const int FW = P.Image.width() / P.Frames;
        for (int F = 1; F < P.Frames; ++F)
            Pa.drawLine(At.x() + F * FW, At.y() + P.Image.height(), At.x() + F * FW, At.y() + P.Image.height() + 3);
    }
    Pa.end();
    return Sheet.save(File, "PNG");
}

} // namespace Art
