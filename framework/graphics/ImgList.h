#pragma once
// TCustomImageList: equal-sized images with masks, drawn masked or greyed (disabled).

#include "framework/core/Classes.h"
#include "framework/graphics/Graphics.h"

#include <QImage>
#include <QList>

class TCustomImageList : public TComponent
{
    KIV_OBJECT(TCustomImageList, TComponent)
public:
    void Construct(TComponent *AOwner) override;
    // The classic CreateSize: an unowned list of AWidth x AHeight images.
    void Construct(int AWidth, int AHeight);
    static TCustomImageList *CreateSize(int AWidth, int AHeight) { return Create(AWidth, AHeight); }

    int Width() const { return FWidth; }
    void SetWidth(int Value) { SetSize(Value, FHeight); }
    int Height() const { return FHeight; }
    void SetHeight(int Value) { SetSize(FWidth, Value); }
    // Changing the size clears the list.
    void SetSize(int AWidth, int AHeight);
    int Count() const { return int(FImages.size()); }

    // Cuts Image into Width-wide frames (at least one); the mask's non-black pixels are transparent.
    // Answers the index of the first frame added, or -1.
    int Add(TBitmap *Image, TBitmap *Mask = nullptr);
    // Pixels of MaskColor are transparent (clDefault: the bitmap's transparent colour).
    int AddMasked(TBitmap *Image, TColor MaskColor);
    void Delete(int Index);
    void Clear();

    // Masked; a disabled image is drawn greyed: its shape (the non-white opaque pixels) in the button
    // highlight colour one pixel down and right, then in the button shadow colour over it.
    void Draw(TCanvas *Canvas, int X, int Y, int Index, bool Enabled = true);
    // Image becomes Width x Height with the frame drawn (masked) over its pixels.
    void GetBitmap(int Index, TBitmap *Image);

    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    int AddFrames(TBitmap *Image, const std::function<bool(int X, int Y)> &Transparent);
    int FWidth = 16;
    int FHeight = 16;
    QList<QImage> FImages;      // ARGB32, alpha 0 where masked out
};

class TImageList : public TCustomImageList
{
    KIV_OBJECT(TImageList, TCustomImageList)
public:
    using TCustomImageList::Construct;
};
