// Icons: loading the image nearest a size from an icon file, copying at a size, drawing with alpha.
#include "platform/Icon.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

QImage Solid(int Size, QRgb Colour)
{
    QImage I(Size, Size, QImage::Format_ARGB32);
    I.fill(Colour);
    return I;
}

// One icon file holding every image: the single-image files Qt writes, their directories merged.
QByteArray IconFile(const QList<QImage> &Images)
{
    QList<QByteArray> Entries, Data;
    for (const QImage &I : Images) {
        QByteArray One;
        QBuffer B(&One);
        B.open(QIODevice::WriteOnly);
        QImageWriter W(&B, "ico");
        EXPECT_TRUE(W.write(I)) << W.errorString().toStdString();
        const quint32 Offset = qFromLittleEndian<quint32>(One.constData() + 6 + 12);
        Entries << One.mid(6, 16);
        Data << One.mid(Offset);
    }
    QByteArray File(6, '\0');
    qToLittleEndian<quint16>(1, File.data() + 2);
    qToLittleEndian<quint16>(quint16(Images.size()), File.data() + 4);
    quint32 Offset = quint32(6 + 16 * Images.size());
    for (int I = 0; I < Images.size(); ++I) {
        QByteArray E = Entries[I];
        qToLittleEndian<quint32>(Offset, E.data() + 12);
        File += E;
        Offset += quint32(Data[I].size());
    }
    for (const QByteArray &D : Data)
        File += D;
    return File;
}

class IconTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        Path = Dir.filePath(QStringLiteral("two.ico")).toUtf8();
        QFile F(QString::fromUtf8(Path));
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        // A red 16 x 16 image and a blue 32 x 32 one tell which was taken.
        F.write(IconFile({Solid(16, qRgb(255, 0, 0)), Solid(32, qRgb(0, 0, 255))}));
    }

    static QRgb Centre(HICON I) { return IconImage(I).pixel(IconImage(I).width() / 2, IconImage(I).height() / 2); }

    QTemporaryDir Dir;
    QByteArray Path;
};

TEST_F(IconTest, LoadTakesTheNearestImageAtTheAskedSize)
{
    struct Case
    {
        int Cx, Cy;
        UINT Flags;
        int Size;
        QRgb Colour;
    };
    const Case Cases[] = {
        {16, 16, 0, 16, qRgb(255, 0, 0)},
        {20, 20, 0, 20, qRgb(255, 0, 0)},
        {30, 30, 0, 30, qRgb(0, 0, 255)},
        {0, 0, 0, 32, qRgb(0, 0, 255)},    // the largest
        {0, 0, LR_DEFAULTSIZE, 32, qRgb(0, 0, 255)},
    };
    for (const Case &C : Cases) {
        SCOPED_TRACE(testing::Message() << C.Cx << " x " << C.Cy);
        HICON I = LoadImageA(nullptr, Path.constData(), IMAGE_ICON, C.Cx, C.Cy, C.Flags | LR_LOADFROMFILE);
        ASSERT_TRUE(I);
        EXPECT_EQ(IconImage(I).size(), QSize(C.Size, C.Size));
        EXPECT_EQ(Centre(I), C.Colour);
        DestroyIcon(I);
    }
    EXPECT_EQ(LoadImageA(nullptr, Path.constData(), IMAGE_BITMAP, 16, 16, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, "NOSUCHICON", IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR), nullptr);
}

TEST_F(IconTest, CopyScalesOrGoesBackToTheFile)
{
    HICON Large = LoadImageA(nullptr, Path.constData(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE);
    HICON Scaled = CopyImage(Large, IMAGE_ICON, 16, 16, 0);
    HICON FromFile = CopyImage(Large, IMAGE_ICON, 16, 16, LR_COPYFROMRESOURCE);
    HICON Same = CopyImage(Large, IMAGE_ICON, 0, 0, 0);
    EXPECT_EQ(IconImage(Scaled).size(), QSize(16, 16));
    EXPECT_EQ(Centre(Scaled), qRgb(0, 0, 255));
    EXPECT_EQ(Centre(FromFile), qRgb(255, 0, 0));
    EXPECT_EQ(IconImage(Same).size(), QSize(32, 32));
    EXPECT_EQ(CopyImage(Large, IMAGE_BITMAP, 16, 16, 0), nullptr);
    for (HICON I : {Large, Scaled, FromFile, Same})
        EXPECT_TRUE(DestroyIcon(I));
}

TEST(Icon, DrawBlendsByAlpha)
{
    QImage Picture(3, 1, QImage::Format_ARGB32);
    Picture.setPixel(0, 0, qRgba(255, 0, 0, 255));
    Picture.setPixel(1, 0, qRgba(0, 255, 0, 0));
    Picture.setPixel(2, 0, qRgba(0, 0, 255, 128));
    HICON I = CreateIconFromImage(Picture);
    QImage Surface(5, 2, QImage::Format_RGB32);
    Surface.fill(qRgb(255, 255, 255));
    HDC DC = CreateImageDC(&Surface);
    SetViewportOrgEx(DC, 1, 1, nullptr);
    EXPECT_TRUE(DrawIconEx(DC, 0, 0, I, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(Surface.pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(Surface.pixel(2, 1), qRgb(255, 255, 255));
    EXPECT_EQ(Surface.pixel(3, 1), qRgb(127, 127, 255));
    EXPECT_EQ(Surface.pixel(1, 0), qRgb(255, 255, 255));
    DeleteDC(DC);
    DestroyIcon(I);
}

} // namespace
