#pragma once
// TReader: reads a text window layout into a component tree.
//
// The root is read into an existing instance (its own properties first, then its children). Every
// other object is created by class name through the class registry, owned by the root, parented
// (SetParentComponent) to the enclosing streamed object when it has a parent, and bound to the
// root's published field of its name. Component references are recorded and resolved after the
// whole layout is read, in recording order, while csLoading is still set; then Loaded runs on every
// streamed component in creation order. Events are bound by name to the root's published methods.
//
// Limits that keep hostile input from exhausting the stack: objects, collections and lists nest at
// most MaxNesting deep, and a property path has at most MaxPathParts parts.

#include "framework/core/Classes.h"

#include <QList>
#include <QStringList>
#include <memory>

class TParser;
struct TPropInfo;

class TReader : public TFiler
{
    KIV_OBJECT(TReader, TFiler)
public:
    static constexpr int MaxNesting = 64;
    static constexpr int MaxPathParts = 16;

    // Takes the stream's bytes from its position to its end.
    void Construct(TStream *AStream);
    ~TReader() override;

    void DefineProperty(const QString &Name, TReaderProc ReadData, TWriterProc WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const QString &Name, TStreamProc ReadData, TStreamProc WriteData,
                              bool HasData) override;

    // Reads the layout into Root and returns it.
    TComponent *ReadRootComponent(TComponent *Root);
    // The body of an object block: Instance's properties, then its child objects, up to "end"
    // (TComponent::ReadState's work).
    void ReadData(TComponent *Instance);
    void ReadProperty(TPersistent *Instance);
    void ReadCollection(TCollection *Collection);

    // Values, for the readers of defined properties.
    bool EndOfList();                 // the next token closes a list: ')'
    void ReadListBegin();
    void ReadListEnd();
    QString ReadString();             // 'a' #1234 'b' + 'c'
    qint64 ReadInteger();
    bool ReadBoolean();
    double ReadFloat();
    QString ReadIdent();

    TComponent *Owner() const { return FOwner; }
    TComponent *Parent() const { return FParent; }
    int SourceLine() const;

private:
    // A component reference waiting for the end of the layout. Path leads from Component to the
    // object that has the property: sub-object getters ("Font") and collection items ("#3"), so a
    // collection cleared and refilled later in the layout never leaves a dangling pointer.
    struct TFixup
    {
        TComponent *Component = nullptr;
        QStringList Path;
        QString PropName;
        QString Reference;
        int Line = 0;
    };

    int ReadObjectHeader(QString &Name, QString &ClassName);
    void ReadCollectionItems(TCollection *Collection);
    TComponent *ReadChildComponent();
    void ReadPropValue(TPersistent *Instance, const TPropInfo *Prop);
    qint64 ReadSetValue(const TPropInfo *Prop);
    void ReadReference(TPersistent *Instance, const TPropInfo *Prop);
    void ReadMethod(TPersistent *Instance, const TPropInfo *Prop);
    TComponent *FindReference(const QString &Reference) const;
    void FixupReferences();
    void Nest();
    void Unnest() { --FDepth; }

    std::unique_ptr<TParser> FParser;
    TComponent *FOwner = nullptr;
    TComponent *FParent = nullptr;
    QList<TComponent *> FLoaded;
    QList<TFixup> FFixups;
    // Where the property being read sits, for fix-ups: its component and path.
    TComponent *FPropComponent = nullptr;
    QStringList FPropPath;
    QString FPropName;   // the defined property being looked for; cleared once found
    int FDepth = 0;
};

// Reads a layout from the Qt resource system (TResourceStream, type RT_RCDATA) into Instance.
TComponent *ReadComponentRes(const QString &ResName, TComponent *Instance);
// Reads a layout from text into Instance.
TComponent *ReadComponentFromText(const QByteArray &Text, TComponent *Instance);
