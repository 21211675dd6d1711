// Feeds arbitrary bytes to the layout reader. Reading may raise a framework exception; it must
// never crash, hang or leak. A layout that reads must also write back to text that reads again.

#include "framework/core/Classes.h"
#include "framework/core/Reader.h"
#include "framework/core/Streams.h"
#include "framework/core/TypInfo.h"
#include "framework/core/Writer.h"

#include <cstdio>
#include <cstdlib>

namespace FuzzClasses {

KIV_ENUM(TFuzzKind, fkNone, fkOne, fkTwo)
using TFuzzKinds = TSet<TFuzzKind>;

class TFuzzItem : public TCollectionItem
{
    KIV_OBJECT(TFuzzItem, TCollectionItem)
public:
    QString Text;
    TComponent *Ref = nullptr;
};

KIV_PUBLISHED(TFuzzItem)
{
    Property("Text", &TFuzzItem::Text, &TFuzzItem::Text);
    Property("Ref", &TFuzzItem::Ref, &TFuzzItem::Ref);
}

class TFuzzSub : public TPersistent
{
    KIV_OBJECT(TFuzzSub, TPersistent)
public:
    void DefineProperties(TFiler *Filer) override
    {
        inherited::DefineProperties(Filer);
        Filer->DefineBinaryProperty(
            QStringLiteral("Data"),
            [this](TStream *S) {
                Data.resize(S->Size());
                S->ReadBuffer(Data.data(), Data.size());
            },
            [this](TStream *S) { S->WriteBuffer(Data); }, !Data.isEmpty());
    }
    qint64 Size = 0;
    double Scale = 0;
    QByteArray Data;
};

KIV_PUBLISHED(TFuzzSub)
{
    Property("Size", &TFuzzSub::Size, &TFuzzSub::Size);
    Property("Scale", &TFuzzSub::Scale, &TFuzzSub::Scale);
}

// A component with a parent hook and a property of every kind.
class TFuzzControl : public TComponent
{
    KIV_OBJECT(TFuzzControl, TComponent)
public:
    void Construct(TComponent *AOwner) override
    {
        inherited::Construct(AOwner);
        FSub.reset(TFuzzSub::Create());
        FLines.reset(TStringList::Create());
        FItems.reset(TOwnedCollection::Create(this, TFuzzItem::StaticClass()));
    }
    void BeforeDestruction() override
    {
        SetParentComponent(nullptr);
        for (TFuzzControl *C : std::as_const(FControls))
            C->FParent = nullptr;
        FControls.clear();
        inherited::BeforeDestruction();
    }
    bool HasParent() const override { return true; }
    TComponent *GetParentComponent() const override { return FParent; }
    void SetParentComponent(TComponent *Value) override
    {
        if (FParent)
            FParent->FControls.removeOne(this);
        FParent = dynamic_cast<TFuzzControl *>(Value);
        if (FParent)
            FParent->FControls.append(this);
    }
    void GetChildren(TGetChildProc Proc, TComponent *Root) override
    {
        if (this == Root)
            for (int I = 0; I < ComponentCount(); ++I)
                if (!Components(I)->HasParent())
                    Proc(Components(I));
        for (TFuzzControl *C : std::as_const(FControls))
            if (C->Owner() == Root)
                Proc(C);
    }
    void Notification(TComponent *AComponent, TOperation Operation) override
    {
        inherited::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == Ref)
            Ref = nullptr;
    }
    void SetRef(TComponent *Value)
    {
        Ref = Value;
        if (Value)
            Value->FreeNotification(this);
    }
    void Click(TObject *) {}

    int Left = 0;
    QString Caption;
    TFuzzKind Kind = fkNone;
    bool Flag = false;
    TFuzzKinds Kinds;
    TComponent *Ref = nullptr;
    TNotifyEvent OnClick;
    TFuzzSub *Sub() const { return FSub.get(); }
    TStrings *Lines() const { return FLines.get(); }
    TCollection *Items() const { return FItems.get(); }

private:
    TFuzzControl *FParent = nullptr;
    QList<TFuzzControl *> FControls;
    TAutoFree<TFuzzSub> FSub;
    TAutoFree<TStringList> FLines;
    TAutoFree<TOwnedCollection> FItems;
};

KIV_PUBLISHED(TFuzzControl)
{
    Property("Left", &TFuzzControl::Left, &TFuzzControl::Left).Default(0);
    Property("Caption", &TFuzzControl::Caption, &TFuzzControl::Caption);
    Property("Kind", &TFuzzControl::Kind, &TFuzzControl::Kind).Default(fkNone);
    Property("Flag", &TFuzzControl::Flag, &TFuzzControl::Flag).Default(false);
    Property("Kinds", &TFuzzControl::Kinds, &TFuzzControl::Kinds).Default(TFuzzKinds());
    Property("Ref", &TFuzzControl::Ref, &TFuzzControl::SetRef);
    Property("OnClick", &TFuzzControl::OnClick, &TFuzzControl::OnClick);
    Property("Sub", &TFuzzControl::Sub);
    Property("Lines", &TFuzzControl::Lines);
    Property("Items", &TFuzzControl::Items);
    Method("Click", &TFuzzControl::Click);
}

// A non-visual component.
class TFuzzTimer : public TComponent
{
    KIV_OBJECT(TFuzzTimer, TComponent)
public:
    int Interval = 1000;
};

KIV_PUBLISHED(TFuzzTimer)
{
    Property("Interval", &TFuzzTimer::Interval, &TFuzzTimer::Interval).Default(1000);
}

} // namespace FuzzClasses

using namespace FuzzClasses;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    static const bool Registered = [] {
        RegisterClasses({TFuzzControl::StaticClass(), TFuzzTimer::StaticClass()});
        return true;
    }();
    (void)Registered;

    const QByteArray Text(reinterpret_cast<const char *>(Data), qsizetype(Size));
    TAutoFree<TFuzzControl> Root(TFuzzControl::Create(nullptr));
    try {
        ReadComponentFromText(Text, Root.get());
    } catch (const Exception &) {
        return 0;
    }
    const QByteArray Written = WriteComponentToText(Root.get());
    TAutoFree<TFuzzControl> Again(TFuzzControl::Create(nullptr));
    try {
        ReadComponentFromText(Written, Again.get());
    } catch (const Exception &E) {
        std::fprintf(stderr, "written layout does not read back: %s\n%s\n", E.what(), Written.constData());
        std::abort();
    }
    if (WriteComponentToText(Again.get()) != Written) {
        std::fprintf(stderr, "second write differs from the first:\n%s\n", Written.constData());
        std::abort();
    }
    return 0;
}
