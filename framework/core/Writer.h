#pragma once
// TWriter: writes a component tree as a text window layout, the form TReader reads.
//
// Each object block holds the published properties that are stored and differ from their defaults
// (in table order; a class's Stored function that says yes writes a property even at its default),
// then the defined properties, then the children in GetChildren order (for a root: its non-visual
// components, then its controls). A component's name is in its object line, not a property line.
// Strings are ASCII with #nnnn codes for the rest; long strings are split with '+'; binary data is
// written as lines of hex; events by the name of the root's method they are bound to; references
// by component name (Owner.Name for a component of another root).

#include "framework/core/Classes.h"

#include <QByteArray>

struct TPropInfo;

class TWriter : public TFiler
{
    KIV_OBJECT(TWriter, TFiler)
public:
    void Construct(TStream *AStream);

    void DefineProperty(const QString &Name, TReaderProc ReadData, TWriterProc WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const QString &Name, TStreamProc ReadData, TStreamProc WriteData,
                              bool HasData) override;

    void WriteRootComponent(TComponent *Root);
    void WriteComponent(TComponent *Component);
    // The body of an object block: Instance's properties, then its children
    // (TComponent::WriteState's work).
    void WriteData(TComponent *Instance);
    void WriteProperties(TPersistent *Instance);
    void WriteCollection(TCollection *Collection);

    // Values, for the writers of defined properties.
    void WriteListBegin();
    void WriteListEnd();
    void WriteString(const QString &Value);
    void WriteInteger(qint64 Value);
    void WriteBoolean(bool Value);
    void WriteFloat(double Value);
    void WriteIdent(const QString &Ident);

    // The text form of a string value: 'quoted' ASCII runs and #nnnn codes.
    static QByteArray QuotedString(const QString &Value);

private:
    void WriteProperty(TPersistent *Instance, const TPropInfo *Prop);
    void WritePropName(const QString &Name);
    void WriteValue(const QByteArray &Text);
    void WriteBinary(const QByteArray &Data);
    void NewLine();
    void Emit(const QByteArray &Text);
    QByteArray Indent() const { return QByteArray(FIndent * 2, ' '); }
    QString ReferenceName(TComponent *Component) const;

    int FIndent = 0;
    QString FPropPath;       // "Font." while writing a sub-object's properties
    int FListDepth = 0;      // inside ( ... ): each value on a line of its own
    bool FListEmpty = false; // nothing written since the last '('
};

// Writes Instance and its children as layout text.
QByteArray WriteComponentToText(TComponent *Instance);
