#include "framework/graphics/Graphic.h"

#include "framework/core/Streams.h"
#include "framework/graphics/Bitmap.h"

// ---- TGraphic -----------------------------------------------------------------------------------------

KIV_PUBLISHED(TGraphic) {}

void TGraphic::Construct()
{
    inherited::Construct();
}

void TGraphic::SetTransparent(bool Value)
{
    if (Value == FTransparent)
        return;
    FTransparent = Value;
    Changed();
}

void TGraphic::SetModified(bool Value)
{
    if (Value)
        Changed();
    else
        FModified = false;
}

void TGraphic::Changed()
{
    FModified = true;
    if (OnChange)
        OnChange(this);
}

void TGraphic::LoadFromFile(const QString &FileName)
{
    TAutoFree<TFileStream> Stream(TFileStream::Create(FileName, quint16(fmOpenRead | fmShareDenyWrite)));
    LoadFromStream(Stream.get());
}

void TGraphic::SaveToFile(const QString &FileName)
{
    TAutoFree<TFileStream> Stream(TFileStream::Create(FileName, quint16(fmCreate)));
    SaveToStream(Stream.get());
}

void TGraphic::DefineProperties(TFiler *Filer)
{
    Filer->DefineBinaryProperty(
        QStringLiteral("Data"), [this](TStream *S) { ReadData(S); }, [this](TStream *S) { WriteData(S); }, !Empty());
}

void TGraphic::ReadData(TStream *Stream)
{
    LoadFromStream(Stream);
}

void TGraphic::WriteData(TStream *Stream)
{
    SaveToStream(Stream);
}

// ---- TPicture -----------------------------------------------------------------------------------------

KIV_PUBLISHED(TPicture) {}

TPicture::~TPicture()
{
    FreeAndNil(FGraphic);
}

void TPicture::ForceGraphic(TGraphic *Value)
{
    TGraphic *Old = std::exchange(FGraphic, Value);
    if (Old)
        Old->Free();
    if (FGraphic)
        FGraphic->OnChange = [this](TObject *Sender) { Changed(Sender); };
    Changed(this);
}

void TPicture::SetGraphic(TGraphic *Value)
{
    if (!Value) {
        ForceGraphic(nullptr);
        return;
    }
    TGraphic *Copy = CreateInstance<TGraphic>(Value->ClassType());
    try {
        Copy->Assign(Value);
    } catch (...) {
        Copy->Free();
        throw;
    }
    ForceGraphic(Copy);
}

TBitmap *TPicture::Bitmap()
{
    if (!FGraphic || !FGraphic->Is<TBitmap>())
        ForceGraphic(TBitmap::Create());
    return static_cast<TBitmap *>(FGraphic);
}

void TPicture::SetBitmap(TBitmap *Value)
{
    SetGraphic(Value);
}

int TPicture::Width() const
{
    return FGraphic ? FGraphic->Width() : 0;
}

int TPicture::Height() const
{
    return FGraphic ? FGraphic->Height() : 0;
}

void TPicture::Assign(TPersistent *Source)
{
    if (!Source)
        SetGraphic(nullptr);
    else if (auto *P = dynamic_cast<TPicture *>(Source))
        SetGraphic(P->Graphic());
    else if (auto *G = dynamic_cast<TGraphic *>(Source))
        SetGraphic(G);
    else
        inherited::Assign(Source);
}

void TPicture::AssignTo(TPersistent *Dest)
{
    if (FGraphic && Dest && Dest->InheritsFrom(FGraphic->ClassType()))
        Dest->Assign(FGraphic);
    else
        inherited::AssignTo(Dest);
}

void TPicture::Changed(TObject *)
{
    if (OnChange)
        OnChange(this);
}

void TPicture::LoadFromFile(const QString &FileName)
{
    const QString Ext = FileName.section(u'.', -1).toLower();
    if (Ext != QLatin1String("bmp"))
        throw EInvalidGraphic(QStringLiteral("Unknown picture file extension (.%1)").arg(Ext));
    TBitmap *B = TBitmap::Create();
    try {
        B->LoadFromFile(FileName);
    } catch (...) {
        B->Free();
        throw;
    }
    ForceGraphic(B);
}

void TPicture::SaveToFile(const QString &FileName)
{
    if (FGraphic)
        FGraphic->SaveToFile(FileName);
}

void TPicture::DefineProperties(TFiler *Filer)
{
    Filer->DefineBinaryProperty(
        QStringLiteral("Data"), [this](TStream *S) { ReadData(S); }, [this](TStream *S) { WriteData(S); },
        FGraphic != nullptr);
}

// The graphic's class name as a length-prefixed string, then the graphic's own data.
void TPicture::ReadData(TStream *Stream)
{
    quint8 Length = 0;
    Stream->ReadBuffer(&Length, 1);
    QByteArray Name(Length, '\0');
    Stream->ReadBuffer(Name.data(), Length);
    if (Name.isEmpty()) {
        ForceGraphic(nullptr);
        return;
    }
    const TClass C = GetClass(QString::fromLatin1(Name));
    if (!C || !C->InheritsFrom(TGraphic::StaticClass()) || C->IsAbstract())
        throw EInvalidGraphic(QStringLiteral("Unknown graphic class %1").arg(QString::fromLatin1(Name)));
    TGraphic *G = CreateInstance<TGraphic>(C);
    try {
        G->ReadData(Stream);
    } catch (...) {
        G->Free();
        throw;
    }
    ForceGraphic(G);
}

void TPicture::WriteData(TStream *Stream)
{
    const QByteArray Name = FGraphic ? FGraphic->ClassName().toLatin1() : QByteArray();
    const quint8 Length = quint8(Name.size());
    Stream->WriteBuffer(&Length, 1);
    Stream->WriteBuffer(Name);
    if (FGraphic)
        FGraphic->WriteData(Stream);
}
