#pragma once
// TPersistent: objects that can be assigned to one another and stored in layouts; TFiler: the
// common base of the layout reader and writer, through which a class stores data that has no
// published property (DefineProperties).

#include "framework/core/Object.h"

#include <functional>

class TFiler;
class TReader;
class TWriter;
class TStream;
class TComponent;

class TPersistent : public TObject
{
    KIV_OBJECT(TPersistent, TObject)
public:
    // Copies Source into this object: Source->AssignTo(this) unless overridden to know Source.
    virtual void Assign(TPersistent *Source);
    virtual void DefineProperties(TFiler *Filer);
    virtual TPersistent *GetOwner();
    virtual QString GetNamePath();

protected:
    // The fallback of Assign: raises EConvertError "Cannot assign a X to a Y".
    virtual void AssignTo(TPersistent *Dest);
    void AssignError(TPersistent *Source);
};

class TFiler : public TObject
{
    KIV_OBJECT(TFiler, TObject)
public:
    using TReaderProc = std::function<void(TReader *)>;
    using TWriterProc = std::function<void(TWriter *)>;
    using TStreamProc = std::function<void(TStream *)>;

    void Construct(TStream *AStream);

    // HasData says whether the writer should store the property at all.
    virtual void DefineProperty(const QString &Name, TReaderProc ReadData, TWriterProc WriteData,
                                bool HasData) = 0;
    virtual void DefineBinaryProperty(const QString &Name, TStreamProc ReadData, TStreamProc WriteData,
                                      bool HasData) = 0;

    TStream *Stream() const { return FStream; }
    TComponent *Root() const { return FRoot; }
    virtual void SetRoot(TComponent *Value) { FRoot = Value; }
    // The object the writer compares against to leave out inherited values (nil: none).
    TPersistent *Ancestor() const { return FAncestor; }
    void SetAncestor(TPersistent *Value) { FAncestor = Value; }

protected:
    TStream *FStream = nullptr;
    TComponent *FRoot = nullptr;
    TPersistent *FAncestor = nullptr;
};
