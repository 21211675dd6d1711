#pragma once
// TGraphic, the abstract picture a canvas can draw, and TPicture, the container that layouts and
// controls hold (its graphic is made by class when a layout is read).

#include "framework/core/Classes.h"
#include "framework/graphics/Types.h"

class TCanvas;
class TBitmap;
class TStream;

class TGraphic : public TPersistent
{
    KIV_OBJECT(TGraphic, TPersistent)
public:
    // Virtual so that a picture can make a graphic of a class found by name.
    virtual void Construct();

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int Value) = 0;
    virtual void SetHeight(int Value) = 0;
    virtual bool Empty() const = 0;
    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool Value);
    bool Modified() const { return FModified; }
    void SetModified(bool Value);

    virtual void LoadFromStream(TStream *Stream) = 0;
    virtual void SaveToStream(TStream *Stream) = 0;
    void LoadFromFile(const QString &FileName);
    void SaveToFile(const QString &FileName);

    void DefineProperties(TFiler *Filer) override;

    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    friend class TPicture;
    virtual void Draw(TCanvas *ACanvas, const TRect &Rect) = 0;
    virtual void Changed();
    // The "Data" property of layouts.
    virtual void ReadData(TStream *Stream);
    virtual void WriteData(TStream *Stream);

private:
    bool FTransparent = false;
    bool FModified = false;
};

using TGraphicClass = TClass;

class TPicture : public TPersistent
{
    KIV_OBJECT(TPicture, TPersistent)
public:
    ~TPicture() override;

    TGraphic *Graphic() const { return FGraphic; }
    // Holds a copy of Value (nullptr empties the picture).
    void SetGraphic(TGraphic *Value);
    // The bitmap, made on access (replacing any other kind of graphic).
    TBitmap *Bitmap();
    void SetBitmap(TBitmap *Value);
    int Width() const;
    int Height() const;

    // A picture, a graphic or nullptr.
    void Assign(TPersistent *Source) override;
    void LoadFromFile(const QString &FileName);
    void SaveToFile(const QString &FileName);
    void DefineProperties(TFiler *Filer) override;

    TNotifyEvent OnChange;

protected:
    void AssignTo(TPersistent *Dest) override;
    virtual void Changed(TObject *Sender);

private:
    void ForceGraphic(TGraphic *Value);   // takes ownership
    void ReadData(TStream *Stream);
    void WriteData(TStream *Stream);
    TGraphic *FGraphic = nullptr;
};
