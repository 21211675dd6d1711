#include "framework/graphics/ImgList.h"

KIV_PUBLISHED(TCustomImageList)
{
    Property("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight).Default(16);
    Property("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth).Default(16);
    Property("OnChange", &TCustomImageList::OnChange);
}

KIV_PUBLISHED(TImageList) {}

void TCustomImageList::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
}

void TCustomImageList::Construct(int AWidth, int AHeight)
{
    Construct(nullptr);
    SetSize(AWidth, AHeight);
}

void TCustomImageList::SetSize(int AWidth, int AHeight)
{
    AWidth = std::max(1, AWidth);
    AHeight = std::max(1, AHeight);
    if (AWidth == FWidth && AHeight == FHeight)
        return;
    FWidth = AWidth;
    FHeight = AHeight;
    Clear();
}

void TCustomImageList::Change()
{
    if (OnChange)
        OnChange(this);
}

int TCustomImageList::AddFrames(TBitmap *Image, const std::function<bool(int X, int Y)> &Transparent)
{
    if (!Image || Image->Empty())
        return -1;
    const QImage &Source = Image->Image();
    const int Frames = std::max(1, Source.width() / FWidth);
    const int Rows = std::min(FHeight, int(Source.height()));
    const int First = Count();
    for (int F = 0; F < Frames; ++F) {
        QImage Frame(FWidth, FHeight, QImage::Format_ARGB32);
        Frame.fill(0);
        for (int Y = 0; Y < Rows; ++Y) {
            const QRgb *In = reinterpret_cast<const QRgb *>(Source.constScanLine(Y));
            QRgb *Out = reinterpret_cast<QRgb *>(Frame.scanLine(Y));
            for (int X = 0; X < FWidth; ++X) {
                const int SX = F * FWidth + X;
                if (SX < Source.width() && !Transparent(SX, Y))
                    Out[X] = In[SX] | 0xFF000000u;
            }
        }
        FImages.append(Frame);
    }
    Change();
    return First;
}

int TCustomImageList::Add(TBitmap *Image, TBitmap *Mask)
{
    if (!Mask || Mask->Empty())
        return AddFrames(Image, [](int, int) { return false; });
    const QImage &M = Mask->Image();
    return AddFrames(Image, [&M](int X, int Y) {
        return X < M.width() && Y < M.height() && (M.pixel(X, Y) & 0xFFFFFFu) != 0;
    });
}

int TCustomImageList::AddMasked(TBitmap *Image, TColor MaskColor)
{
    if (!Image)
        return -1;
    const QRgb Key = [&] {
        const COLORREF C = ColorToRGB(MaskColor == clDefault ? Image->TransparentColor() : MaskColor);
        return qRgb(GetRValue(C), GetGValue(C), GetBValue(C)) & 0xFFFFFFu;
    }();
    const QImage &Source = Image->Image();
    return AddFrames(Image, [&](int X, int Y) {
        return (reinterpret_cast<const QRgb *>(Source.constScanLine(Y))[X] & 0xFFFFFFu) == Key;
    });
}

void TCustomImageList::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        throw EListError(QStringLiteral("Image list index out of bounds (%1)").arg(Index));
    FImages.removeAt(Index);
    Change();
}

void TCustomImageList::Clear()
{
    if (FImages.isEmpty())
        return;
    FImages.clear();
    Change();
}

namespace {

// The frame's shape in one colour: opaque where the frame has an opaque pixel that is not white.
QImage Shape(const QImage &Frame, COLORREF Colour)
{
    QImage S(Frame.size(), QImage::Format_ARGB32);
    S.fill(0);
    const QRgb P = qRgb(GetRValue(Colour), GetGValue(Colour), GetBValue(Colour));
    for (int Y = 0; Y < Frame.height(); ++Y)
        for (int X = 0; X < Frame.width(); ++X) {
            const QRgb C = Frame.pixel(X, Y);
            if (qAlpha(C) != 0 && (C & 0xFFFFFFu) != 0xFFFFFFu)
                S.setPixel(X, Y, P);
        }
    return S;
}

} // namespace

void TCustomImageList::Draw(TCanvas *Canvas, int X, int Y, int Index, bool Enabled)
{
    if (!Canvas || Index < 0 || Index >= Count())
        return;
    const QImage &Frame = FImages[Index];
    HDC DC = Canvas->Handle();
    if (Enabled)
        DrawMaskedImage(DC, X, Y, Frame);
    else {
        DrawMaskedImage(DC, X + 1, Y + 1, Shape(Frame, ColorToRGB(clBtnHighlight)));
        DrawMaskedImage(DC, X, Y, Shape(Frame, ColorToRGB(clBtnShadow)));
    }
}

void TCustomImageList::GetBitmap(int Index, TBitmap *Image)
{
    if (!Image || Index < 0 || Index >= Count())
        return;
    Image->SetHeight(FHeight);
    Image->SetWidth(FWidth);
    Draw(Image->Canvas(), 0, 0, Index);
}
