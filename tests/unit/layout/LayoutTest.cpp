#include "framework/core/LayoutParser.h"
#include "framework/core/Reader.h"
#include "framework/core/Streams.h"
#include "framework/core/Writer.h"
#include "tests/unit/layout/StandIns.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace LayoutStandIns;

namespace LayoutTestClasses {

// A non-visual component with a property of every kind, a collection whose items refer to
// components, and defined properties (a value list and a binary blob).
class THolderItem : public TCollectionItem
{
    KIV_OBJECT(THolderItem, TCollectionItem)
public:
    QString Text() const { return FText; }
    void SetText(const QString &Value) { FText = Value; }
    TComponent *Ref() const { return FRef; }
    void SetRef(TComponent *Value) { FRef = Value; }

private:
    QString FText;
    TComponent *FRef = nullptr;
};

class THolder : public TComponent
{
    KIV_OBJECT(THolder, TComponent)
public:
    void Construct(TComponent *AOwner) override
    {
        inherited::Construct(AOwner);
        FFont.reset(TFont::Create());
        FLines.reset(TStringList::Create());
        FItems.reset(TOwnedCollection::Create(this, THolderItem::StaticClass()));
    }
    void DefineProperties(TFiler *Filer) override
    {
        inherited::DefineProperties(Filer);
        Filer->DefineProperty(
            QStringLiteral("Values"),
            [this](TReader *R) {
                FValues.clear();
                R->ReadListBegin();
                while (!R->EndOfList()) {
                    FValues.append(QString::number(R->ReadInteger()));
                    FValues.append(R->ReadIdent());
                    FValues.append(QString::number(R->ReadFloat()));
                    FValues.append(R->ReadString());
                    FValues.append(R->ReadBoolean() ? QStringLiteral("yes") : QStringLiteral("no"));
                }
                R->ReadListEnd();
            },
            [this](TWriter *W) {
                W->WriteListBegin();
                for (int I = 0; I + 4 < FValues.size(); I += 5) {
                    W->WriteInteger(FValues[I].toLongLong());
                    W->WriteIdent(FValues[I + 1]);
                    W->WriteFloat(FValues[I + 2].toDouble());
                    W->WriteString(FValues[I + 3]);
                    W->WriteBoolean(FValues[I + 4] == QStringLiteral("yes"));
                }
                W->WriteListEnd();
            },
            !FValues.isEmpty());
        Filer->DefineBinaryProperty(
            QStringLiteral("Blob"),
            [this](TStream *S) {
                FBlob.resize(S->Size());
                S->ReadBuffer(FBlob.data(), FBlob.size());
            },
            [this](TStream *S) { S->WriteBuffer(FBlob); }, !FBlob.isEmpty());
    }
    void Loaded() override
    {
        inherited::Loaded();
        Log().append(QStringLiteral("Loaded ") + Name());
    }

    qint64 Int = 0;
    double Float = 0;
    QString Str;
    TAlign Align = alNone;
    bool Flag = false;
    TFontStyles Styles;
    int Color = 0;
    TComponent *Ref = nullptr;
    TComponent *Ref2 = nullptr;
    TNotifyEvent OnChange;
    TFont *Font() const { return FFont.get(); }
    TStrings *Lines() const { return FLines.get(); }
    TCollection *Items() const { return FItems.get(); }
    void SetRef(TComponent *Value)
    {
        Ref = Value;
        Log().append(QStringLiteral("Ref %1=%2%3")
                         .arg(Name(), Value ? Value->Name() : QStringLiteral("nil"),
                              ComponentState().Contains(csLoading) ? QStringLiteral(" (loading)") : QString()));
    }
    void SetRef2(TComponent *Value)
    {
        Ref2 = Value;
        Log().append(QStringLiteral("Ref2 %1=%2").arg(Name(), Value ? Value->Name() : QStringLiteral("nil")));
    }
    QStringList FValues;
    QByteArray FBlob;

private:
    TAutoFree<TFont> FFont;
    TAutoFree<TStringList> FLines;
    TAutoFree<TOwnedCollection> FItems;
};

KIV_PUBLISHED(THolderItem)
{
    Property("Text", &THolderItem::Text, &THolderItem::SetText);
    Property("Ref", &THolderItem::Ref, &THolderItem::SetRef);
}

KIV_PUBLISHED(THolder)
{
    Property("Int", &THolder::Int, &THolder::Int).Default(0);
    Property("Float", &THolder::Float, &THolder::Float);
    Property("Str", &THolder::Str, &THolder::Str);
    Property("Align", &THolder::Align, &THolder::Align).Default(alNone);
    Property("Flag", &THolder::Flag, &THolder::Flag).Default(false);
    Property("Styles", &THolder::Styles, &THolder::Styles).Default(TFontStyles());
    Property("Color", &THolder::Color, &THolder::Color).Idents(&ColorIdents).Default(0);
    Property("Ref", &THolder::Ref, &THolder::SetRef);
    Property("Ref2", &THolder::Ref2, &THolder::SetRef2);
    Property("OnChange", &THolder::OnChange, &THolder::OnChange);
    Property("Font", &THolder::Font);
    Property("Lines", &THolder::Lines);
    Property("Items", &THolder::Items);
}

} // namespace LayoutTestClasses

using namespace LayoutTestClasses;

namespace {

class LayoutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterStandIns();
        RegisterClass(THolder::StaticClass());
        Log().clear();
        Form.reset(TForm1::Create(nullptr));
    }

    // Reads Text into a fresh TForm1 (Form).
    void Read(const QByteArray &Text) { ReadComponentFromText(Text, Form.get()); }
    template <class T>
    T *Find(const QString &Name) const
    {
        return dynamic_cast<T *>(Form->FindComponent(Name));
    }

    TAutoFree<TForm1> Form;
};

QByteArray Fixture(const QString &Name)
{
    QFile F(QStringLiteral(KIV_FIXTURES "/layouts/") + Name);
    if (!F.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "missing fixture " << Name.toStdString();
    return F.readAll();
}

// Everything a tree holds that streaming should keep: each component's class, owner, parent and
// every published property (sub-objects, collection items and string lists included).
QString DescribeObject(TObject *Obj, int Depth = 0);

QString DescribeValue(TObject *Obj, const TPropInfo *Prop, int Depth)
{
    const QVariant Value = GetPropValue(Obj, Prop);
    switch (Prop->Kind) {
    case tkClass: {
        TObject *Sub = Value.value<TObject *>();
        if (!Sub)
            return QStringLiteral("nil");
        if (auto *C = dynamic_cast<TComponent *>(Sub))
            return QStringLiteral("->") + C->Name();
        if (auto *S = dynamic_cast<TStrings *>(Sub))
            return QStringLiteral("(") + S->ToStringList().join(QStringLiteral("|")) + QStringLiteral(")");
        if (auto *P = dynamic_cast<TPicture *>(Sub))
            return QStringLiteral("picture ") + QString::fromLatin1(P->Data().toHex());
        if (auto *L = dynamic_cast<TCollection *>(Sub)) {
            QString Items;
            for (int I = 0; I < L->Count(); ++I)
                Items += QStringLiteral("<") + DescribeObject(L->Items(I), Depth + 1) + QStringLiteral(">");
            return Items;
        }
        return QStringLiteral("{") + DescribeObject(Sub, Depth + 1) + QStringLiteral("}");
    }
    case tkMethod: {
        const TMethod M = Value.value<TMethod>();
        return M.IsNull() ? QStringLiteral("nil") : M.Name;
    }
    default:
        return Value.toString();
    }
}

QString DescribeObject(TObject *Obj, int Depth)
{
    QString Text;
    if (Depth > 8)
        return Text;
    for (const TPropInfo *Prop : GetPropList(Obj))
        Text += Prop->Name + QLatin1Char('=') + DescribeValue(Obj, Prop, Depth) + QLatin1Char(';');
    return Text;
}

QString DescribeTree(TComponent *Root)
{
    QString Text = Root->Name() + QLatin1Char(':') + Root->ClassName() + QLatin1Char(' ') + DescribeObject(Root) + QLatin1Char('\n');
    for (int I = 0; I < Root->ComponentCount(); ++I) {
        TComponent *C = Root->Components(I);
        TComponent *Parent = C->GetParentComponent();
        Text += C->Name() + QLatin1Char(':') + C->ClassName() + QStringLiteral(" in ") +
                (Parent ? Parent->Name() : QStringLiteral("-")) + QLatin1Char(' ') + DescribeObject(C) + QLatin1Char('\n');
    }
    return Text;
}

// ---- tokenizer -------------------------------------------------------------------------------

TEST(LayoutParserTest, TokensAndValues)
{
    struct TCase { QByteArray Text; TParser::TToken Kind; QString String; qint64 Int; double Float; };
    const TCase Cases[] = {
        {"Font", TParser::toSymbol, "Font", 0, 0},
        {"-11", TParser::toInteger, "-11", -11, 0},
        {"$FF", TParser::toInteger, "$FF", 255, 0},
        {"-$10", TParser::toInteger, "-$10", -16, 0},
        {"9223372036854775807", TParser::toInteger, "9223372036854775807", 9223372036854775807LL, 0},
        {"1.5", TParser::toFloat, "1.5", 0, 1.5},
        {"-2.5e-3", TParser::toFloat, "-2.5e-3", 0, -2.5e-3},
        {"1e3", TParser::toFloat, "1e3", 0, 1000},
        {"'It''s'", TParser::toString, "It's", 0, 0},
        {"''", TParser::toString, "", 0, 0},
        {"#35373#23450#27284", TParser::toString, QString::fromUtf8("設定檔"), 0, 0},
        {"'IP '#20301'x'#$41", TParser::toString, QString::fromUtf8("IP 位xA"), 0, 0},
        {"#55357#56832", TParser::toString, QString::fromUtf8("😀"), 0, 0},   // a surrogate pair
        {"'caf\xc3\xa9'", TParser::toString, QString::fromUtf8("café"), 0, 0},
        {"=", TParser::toChar, "=", 0, 0},
        {"  \n\t", TParser::toEOF, "", 0, 0},
    };
    for (const TCase &C : Cases) {
        TParser P(C.Text);
        EXPECT_EQ(P.Token(), C.Kind) << C.Text.constData();
        EXPECT_EQ(P.TokenString(), C.String) << C.Text.constData();
        if (C.Kind == TParser::toInteger) {
            EXPECT_EQ(P.TokenInt(), C.Int) << C.Text.constData();
        }
        if (C.Kind == TParser::toFloat) {
            EXPECT_DOUBLE_EQ(P.TokenFloat(), C.Float) << C.Text.constData();
        }
    }
}

TEST(LayoutParserTest, HexBlocksAndLineNumbers)
{
    TParser P("\n\n{ 4B69\n  76 }  next");
    EXPECT_EQ(P.SourceLine(), 3);
    EXPECT_EQ(P.HexToBinary(), QByteArray("Kiv"));
    EXPECT_TRUE(P.TokenSymbolIs("NEXT"));
    EXPECT_EQ(P.SourceLine(), 4);
}

// ---- reading and writing -----------------------------------------------------------------------

const QByteArray EveryKind =
    "object Form1: TForm1\n"
    "  Left = 0\n"
    "  Top = 0\n"
    "  Caption = 'Kinds'\n"
    "  ClientHeight = 0\n"
    "  ClientWidth = 0\n"
    "  Color = clBtnFace\n"
    "  Font.Charset = DEFAULT_CHARSET\n"
    "  Font.Color = clWindowText\n"
    "  Font.Height = -11\n"
    "  Font.Name = 'MS Sans Serif'\n"
    "  Font.Style = []\n"
    "  OldCreateOrder = False\n"
    "  PixelsPerInch = 96\n"
    "  object Holder1: THolder\n"
    "    Int = -42\n"
    "    Float = 2.5\n"
    "    Str = 'It''s '#8364' '#35373#23450#27284\n"
    "    Align = alClient\n"
    "    Flag = True\n"
    "    Styles = [fsBold, fsUnderline]\n"
    "    Color = clBtnFace\n"
    "    Ref = Holder2\n"
    "    OnChange = FormActivate\n"
    "    Font.Charset = DEFAULT_CHARSET\n"
    "    Font.Color = 255\n"
    "    Font.Height = -13\n"
    "    Font.Name = 'Tahoma'\n"
    "    Font.Style = [fsItalic]\n"
    "    Lines.Strings = (\n"
    "      'first'\n"
    "      ''\n"
    "      'third #3')\n"
    "    Items = <\n"
    "      item\n"
    "        Text = 'one'\n"
    "        Ref = Form1\n"
    "      end\n"
    "      item\n"
    "        Ref = Holder1\n"
    "      end>\n"
    "    Values = (\n"
    "      7\n"
    "      clNavy\n"
    "      0.125\n"
    "      'x'\n"
    "      True\n"
    "      -1\n"
    "      none\n"
    "      3.0\n"
    "      ''\n"
    "      False)\n"
    "    Blob = {\n"
    "      00FF10}\n"
    "  end\n"
    "  object Holder2: THolder\n"
    "    Int = 9223372036854775807\n"
    "    Color = 16442840\n"
    "    Font.Charset = DEFAULT_CHARSET\n"
    "    Font.Color = clWindowText\n"
    "    Font.Height = -11\n"
    "    Font.Name = 'MS Sans Serif'\n"
    "    Font.Style = []\n"
    "    Items = <>\n"
    "  end\n"
    "end\n";

TEST_F(LayoutTest, ReadsEveryValueKindAndWritesTheSameText)
{
    Read(EveryKind);
    auto *H = Find<THolder>("Holder1");
    auto *H2 = Find<THolder>("Holder2");
    ASSERT_TRUE(H && H2);
    EXPECT_EQ(H->Int, -42);
    EXPECT_EQ(H->Float, 2.5);
    EXPECT_EQ(H->Str, QString::fromUtf8("It's € 設定檔"));
    EXPECT_EQ(H->Align, alClient);
    EXPECT_TRUE(H->Flag);
    EXPECT_EQ(H->Styles, (TFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(H->Color, clBtnFace);
    EXPECT_EQ(H->Ref, H2);
    EXPECT_EQ(H->Font()->Height(), -13);
    EXPECT_EQ(H->Font()->Name(), "Tahoma");
    EXPECT_EQ(H->Font()->Style(), TFontStyles{fsItalic});
    EXPECT_EQ(H->Lines()->ToStringList(), (QStringList{"first", "", "third #3"}));
    ASSERT_EQ(H->Items()->Count(), 2);
    EXPECT_EQ(static_cast<THolderItem *>(H->Items()->Items(0))->Text(), "one");
    EXPECT_EQ(static_cast<THolderItem *>(H->Items()->Items(0))->Ref(), Form.get());
    EXPECT_EQ(static_cast<THolderItem *>(H->Items()->Items(1))->Ref(), H);
    EXPECT_EQ(H->FValues, (QStringList{"7", "clNavy", "0.125", "x", "yes", "-1", "none", "3", "", "no"}));
    EXPECT_EQ(H->FBlob, QByteArray("\x00\xff\x10", 3));
    EXPECT_EQ(H2->Int, 9223372036854775807LL);
    EXPECT_EQ(H2->Items()->Count(), 0);
    H->OnChange(H);
    EXPECT_TRUE(Log().contains("FormActivate"));

    EXPECT_EQ(WriteComponentToText(Form.get()).toStdString(), EveryKind.toStdString());
}

TEST_F(LayoutTest, LongStringsSplitAndNonAsciiBecomeCodes)
{
    const QString Long = QString(70, QLatin1Char('a')) + QString::fromUtf8("ü") + QString(10, QLatin1Char('\''));
    EXPECT_EQ(TWriter::QuotedString(QString::fromUtf8("a'b\tü")), "'a''b'#9#252");
    EXPECT_EQ(TWriter::QuotedString(QString()), "''");

    TAutoFree<TForm1> Source(TForm1::Create(nullptr));
    Source->SetName("Form1");
    Source->SetCaption(Long);
    const QByteArray Text = WriteComponentToText(Source.get());
    EXPECT_TRUE(Text.contains(" +\n")) << Text.constData();
    for (const QByteArray &Line : Text.split('\n'))
        EXPECT_LE(Line.size(), 80) << Line.constData();
    Read(Text);
    EXPECT_EQ(Form->Caption(), Long);
}

TEST_F(LayoutTest, ReferencesAreResolvedAfterReadingInRecordingOrderBeforeLoaded)
{
    Read("object Form1: TForm1\n"
         "  object Holder1: THolder\n"
         "    Ref = Holder3\n"        // forward reference
         "    Ref2 = Holder2\n"
         "  end\n"
         "  object Holder2: THolder\n"
         "    Ref2 = Form1\n"
         "    Ref = Holder1\n"
         "  end\n"
         "  object Holder3: THolder\n"
         "    Ref = nil\n"            // nil is set at once, not deferred
         "  end\n"
         "end\n");
    EXPECT_EQ(Log(), (QStringList{"Ref Holder3=nil (loading)", "Ref Holder1=Holder3 (loading)",
                                  "Ref2 Holder1=Holder2", "Ref2 Holder2=Form1", "Ref Holder2=Holder1 (loading)",
                                  "Loaded Form1", "Loaded Holder1", "Loaded Holder2", "Loaded Holder3"}));
    for (int I = 0; I < Form->ComponentCount(); ++I)
        EXPECT_FALSE(Form->Components(I)->ComponentState().Contains(csLoading));
    EXPECT_FALSE(Form->ComponentState().Contains(csLoading));
    EXPECT_FALSE(Form->ComponentState().Contains(csReading));
}

TEST_F(LayoutTest, CollectionsAreClearedAndRefilledInPlace)
{
    Read("object Form1: TForm1\n"
         "  object kivForm1: TkivForm\n"
         "  end\n"
         "end\n");
    auto *Frame = Find<TkivForm>("kivForm1");
    ASSERT_TRUE(Frame);
    TCollection *Buttons = Frame->TitleBarButtons();
    EXPECT_EQ(Buttons->Count(), 2);   // the constructor's defaults
    TCollectionItem *Old = Buttons->Items(0);

    TAutoFree<TForm1> Second(TForm1::Create(nullptr));
    ReadComponentFromText("object Form1: TForm1\n"
                          "  object kivForm1: TkivForm\n"
                          "    TitleBarButtons = <\n"
                          "      item\n"
                          "        ButtonType = kivMax\n"
                          "      end>\n"
                          "    TitleBarSections = <>\n"
                          "  end\n"
                          "end\n",
                          Second.get());
    auto *Frame2 = Second->kivForm1;
    EXPECT_EQ(Frame2->TitleBarButtons()->Count(), 1);
    EXPECT_EQ(static_cast<TkivTitleBarButton *>(Frame2->TitleBarButtons()->Items(0))->ButtonType(), kivMax);
    EXPECT_EQ(Frame2->TitleBarSections()->Count(), 0);
    EXPECT_EQ(Buttons->Items(0), Old);

    // An item whose reference is still pending when its collection is refilled leaves nothing
    // dangling: the pending reference follows the item's place, not the freed object.
    TAutoFree<TForm1> Third(TForm1::Create(nullptr));
    ReadComponentFromText("object Form1: TForm1\n"
                          "  object Holder1: THolder\n"
                          "    Items = <\n"
                          "      item\n"
                          "        Ref = Holder1\n"
                          "      end\n"
                          "      item\n"
                          "        Ref = Form1\n"
                          "      end>\n"
                          "    Items = <\n"
                          "      item\n"
                          "        Text = 'new'\n"
                          "      end>\n"
                          "  end\n"
                          "end\n",
                          Third.get());
    auto *H = dynamic_cast<THolder *>(Third->FindComponent("Holder1"));
    ASSERT_EQ(H->Items()->Count(), 1);
    EXPECT_EQ(static_cast<THolderItem *>(H->Items()->Items(0))->Text(), "new");
}

TEST_F(LayoutTest, EventsAndFieldsBindByName)
{
    Read("object Form1: TForm1\n"
         "  OnActivate = FormActivate\n"
         "  object kivForm1: TkivForm\n"
         "    object Button1: TkivButton\n"
         "      OnClick = kivtempButton1Click\n"
         "    end\n"
         "  end\n"
         "end\n");
    ASSERT_TRUE(Form->Button1);
    EXPECT_EQ(Form->Button1, Form->FindComponent("Button1"));
    EXPECT_EQ(Form->kivForm1, Form->FindComponent("kivForm1"));
    EXPECT_EQ(Form->Button1->GetParentComponent(), Form->kivForm1);
    EXPECT_EQ(Form->Button1->Owner(), Form.get());
    EXPECT_EQ(Form->Label1, nullptr);
    Log().clear();
    Form->Button1->OnClick(Form->Button1);
    Form->OnActivate(Form.get());
    EXPECT_EQ(Log(), (QStringList{"kivtempButton1Click Button1", "FormActivate"}));
    const QByteArray Text = WriteComponentToText(Form.get());
    EXPECT_TRUE(Text.contains("      OnClick = kivtempButton1Click\n")) << Text.constData();
    EXPECT_TRUE(Text.contains("  OnActivate = FormActivate\n")) << Text.constData();
    // A handler set in code has no name to write.
    Form->Button1->OnClick = [](TObject *) {};
    EXPECT_FALSE(WriteComponentToText(Form.get()).contains("OnClick"));
}

// A component without a name has a header without one.
TEST_F(LayoutTest, UnnamedComponentsRoundTrip)
{
    Read("object Form1: TForm1\n"
         "  object THolder\n"
         "    Int = 3\n"
         "  end\n"
         "end\n");
    ASSERT_EQ(Form->ComponentCount(), 1);
    auto *H = dynamic_cast<THolder *>(Form->Components(0));
    ASSERT_TRUE(H);
    EXPECT_EQ(H->Name(), "");
    EXPECT_EQ(H->Int, 3);
    const QByteArray Text = WriteComponentToText(Form.get());
    EXPECT_TRUE(Text.contains("\n  object THolder\n    Int = 3\n")) << Text.constData();
    TAutoFree<TForm1> Again(TForm1::Create(nullptr));
    ReadComponentFromText(Text, Again.get());
    EXPECT_EQ(WriteComponentToText(Again.get()), Text);
}

// Two windows of one layout under one owner: the second root takes a free name.
TEST_F(LayoutTest, RootsOfOneOwnerGetUniqueNames)
{
    TAutoFree<TComponent> Application(TComponent::Create(nullptr));
    auto *A = TForm1::Create(Application.get());
    auto *B = TForm1::Create(Application.get());
    ReadComponentFromText("object Form1: TForm1\nend\n", A);
    ReadComponentFromText("object Form1: TForm1\nend\n", B);
    EXPECT_EQ(A->Name(), "Form1");
    EXPECT_EQ(B->Name(), "Form1_1");
}

// Malformed layouts: the error names the line and the offending token, or the unknown name.
TEST_F(LayoutTest, MalformedLayoutsRaiseWithLineAndToken)
{
    struct TCase { QByteArray Text; QString Message; };
    const TCase Cases[] = {
        {"", "Line 1: expected 'object' but found end of file"},
        {"objec Form1: TForm1\nend", "Line 1: expected 'object' but found 'objec'"},
        {"object Form1 TForm1\nend", "Line 1: expected ':' but found 'TForm1'"},
        {"object Form1: TLabel\nend", "Line 1: a layout of TLabel cannot be read into a TForm1"},
        {"inherited Form1: TForm1\nend", "Line 1: 'inherited' layouts are not supported"},
        {"object Form1: TForm1\n  Caption 'x'\nend", "Line 2: expected '=' but found string 'x'"},
        {"object Form1: TForm1\n  Caption = 'x'", "Line 2: expected property name or 'end' but found end of file"},
        {"object Form1: TForm1\n  Caption = 'x\nend", "Line 2: unterminated string"},
        {"object Form1: TForm1\n\n  Foo = 1\nend", "Line 3: TForm1 has no property 'Foo'"},
        {"object Form1: TForm1\n  Font.Bogus = 1\nend", "Line 2: TFont has no property 'Bogus'"},
        {"object Form1: TForm1\n  Left = 'x'\nend", "Line 2: invalid value string 'x' for Left"},
        {"object Form1: TForm1\n  Color = clNoSuch\nend", "Line 2: invalid value 'clNoSuch' for Color"},
        {"object Form1: TForm1\n  BorderStyle = bsOval\nend", "Line 2: invalid value 'bsOval' for BorderStyle"},
        {"object Form1: TForm1\n  BorderIcons = [biSystemMenu biHelp]\nend", "Line 2: expected ',' but found 'biHelp'"},
        {"object Form1: TForm1\n  BorderIcons = [biSystemMenu, fsBold]\nend",
         "Line 2: invalid set element 'fsBold' for BorderIcons"},
        {"object Form1: TForm1\n  Left = 12abc\nend", "Line 2: invalid number '12a'"},
        {"object Form1: TForm1\n  Left = 99999999999999999999\nend", "Line 2: invalid number '99999999999999999999'"},
        {"object Form1: TForm1\n  Caption = #70000\nend", "Line 2: invalid character code '#70000'"},
        {"object Form1: TForm1\n  OnActivate = NoSuchHandler\nend", "Line 2: TForm1 has no method 'NoSuchHandler'"},
        {"object Form1: TForm1\n  object X: TNoSuchClass\n  end\nend", "Line 2: class TNoSuchClass not found"},
        {"object Form1: TForm1\n  object X: TFont\n  end\nend", "Line 2: TFont is not a class of components that can be created"},
        {"object Form1: TForm1\n  object H: THolder\n    Blob = { 0G }\n  end\nend", "Line 3: invalid binary data '0G'"},
        {"object Form1: TForm1\n  object H: THolder\n    Blob = { 0 }\n  end\nend", "Line 3: invalid binary data '0 '"},
        {"object Form1: TForm1\n  object H: THolder\n    Blob = { 00", "Line 3: expected '}' but found end of file"},
        {"object Form1: TForm1\n  object H: THolder\n    Items = < Text = 'a' >\n  end\nend",
         "Line 3: expected 'item' or '>' but found 'Text'"},
        {"object Form1: TForm1\n  object H: THolder\n    Lines.Strings = ( 'a' 1 )\n  end\nend",
         "Line 3: expected string but found '1'"},
        {"object Form1: TForm1\n  object H: THolder\n    Str = 'a' +\n  end\nend", "Line 4: expected string but found 'end'"},
        {"object Form1: TForm1\n  object H: THolder\n  end\n  Caption = 'late'\nend",
         "Line 4: expected 'object' or 'end' but found 'Caption'"},
        {"object Form1: TForm1\n  object H: THolder\n  end\n  object H: THolder\n  end\nend",
         "Line 4: a component named H already exists"},
        {"object Form1: TForm1\n  object H: THolder\n    Ref = Nowhere\n  end\nend",
         "Line 3: component Nowhere not found (Ref)"},
        {"object Form1: TForm1\nend\nextra", "Line 3: expected end of file but found 'extra'"},
        {"object Form1: TForm1\n  object H: THolder\n    inline X: THolder\n    end\n  end\nend",
         "Line 3: 'inline' objects are not supported"},
    };
    for (const TCase &C : Cases) {
        TAutoFree<TForm1> Target(TForm1::Create(nullptr));
        try {
            ReadComponentFromText(C.Text, Target.get());
            ADD_FAILURE() << "no error for: " << C.Text.constData();
        } catch (const EFilerError &E) {
            EXPECT_EQ(E.Message(), C.Message) << C.Text.constData();
        }
        // A failed read leaves nothing half-loaded.
        EXPECT_FALSE(Target->ComponentState().Contains(csLoading)) << C.Text.constData();
    }
}

// A setter's own error leaves the reader as it is (the form's constructor reports it).
TEST_F(LayoutTest, SetterErrorsPropagateUnchanged)
{
    try {
        Read("object Form1: TForm1\n"
             "  object kivRadioGroup1: TkivRadioGroup\n"
             "    ItemIndex = 5\n"
             "  end\n"
             "end\n");
        FAIL();
    } catch (const EListError &E) {
        EXPECT_EQ(E.Message(), "List index out of bounds (5)");
    }
    EXPECT_FALSE(Form->kivRadioGroup1->ComponentState().Contains(csLoading));
}

// Hostile nesting is refused before it exhausts the stack.
TEST_F(LayoutTest, NestingIsBounded)
{
    QByteArray Text = "object Form1: TForm1\n";
    for (int I = 0; I < 200; ++I)
        Text += "object L" + QByteArray::number(I) + ": TLabel\n";
    try {
        Read(Text);
        FAIL();
    } catch (const EReadError &E) {
        EXPECT_TRUE(E.Message().contains("nesting deeper than")) << E.Message().toStdString();
    }
}

// ---- the main window ---------------------------------------------------------------------------

TEST_F(LayoutTest, MainWindowReadsResolvesAndWritesBackTheSameTree)
{
    const QByteArray Text = Fixture("MainWindow.txt");
    Read(Text);

    // Every published field is bound to its streamed component, owned by the root.
    const QList<TComponent *> Fields = {Form->kivBuiltInFileTheme1, Form->kivForm1, Form->Label5, Form->Button1,
                                        Form->Memo1, Form->Button2, Form->kivRadioGroup1, Form->kivImagePanel1,
                                        Form->Label1, Form->Label2, Form->Label3, Form->Label4, Form->kivButton1};
    for (TComponent *C : Fields) {
        ASSERT_TRUE(C);
        EXPECT_EQ(C->Owner(), Form.get());
    }
    EXPECT_EQ(Form->ComponentCount(), 13);   // the title bar belongs to the frame

    // Parents are the enclosing streamed objects; the theme has none.
    EXPECT_EQ(Form->kivForm1->GetParentComponent(), Form.get());
    EXPECT_EQ(Form->Memo1->GetParentComponent(), Form->kivForm1);
    EXPECT_EQ(Form->Label3->GetParentComponent(), Form->kivImagePanel1);
    EXPECT_EQ(Form->kivBuiltInFileTheme1->GetParentComponent(), nullptr);
    EXPECT_EQ(Form->kivForm1->TitleBar()->Owner(), Form->kivForm1);

    // Root properties, sub-objects, identifiers and sets.
    EXPECT_EQ(Form->BorderStyle(), bsDialog);
    EXPECT_EQ(Form->BorderIcons(), (TBorderIcons{biSystemMenu, biMinimize}));
    EXPECT_EQ(Form->Color(), clBtnFace);
    EXPECT_EQ(Form->Constraints()->MinWidth(), 200);
    EXPECT_EQ(Form->Font()->Height(), -11);
    EXPECT_FALSE(Form->Scaled());
    EXPECT_EQ(Form->TextHeight(), 13);
    EXPECT_EQ(Form->kivBuiltInFileTheme1->DesignInfo(), 8 | (8 << 16));

    // The theme and the frame.
    const QByteArray Skin = Form->kivBuiltInFileTheme1->SkinData();
    EXPECT_EQ(Skin.size(), 61440);
    EXPECT_TRUE(Skin.startsWith("Kivrona_TB"));
    TkivForm *Frame = Form->kivForm1;
    EXPECT_EQ(Frame->Font(), Frame->TitleBar()->Font());
    EXPECT_EQ(Frame->Font()->Name(), "Tahoma");
    EXPECT_EQ(Frame->Font()->Style(), TFontStyles{fsBold});
    ASSERT_EQ(Frame->TitleBarButtons()->Count(), 4);
    auto *Close = static_cast<TkivTitleBarButton *>(Frame->TitleBarButtons()->Items(1));
    EXPECT_EQ(Close->ButtonType(), kivClose);
    EXPECT_TRUE(Close->PicMouseOn()->Data().startsWith(QByteArray("\x07TBitmap", 8)));
    EXPECT_EQ(Close->PicMouseOn()->Data().mid(12, 2), "BM");
    ASSERT_EQ(Frame->TitleBarSections()->Count(), 3);
    EXPECT_EQ(static_cast<TkivTitleBarSection *>(Frame->TitleBarSections()->Items(2))->Align(), kivClient);

    // Wide captions, string lists, references and events.
    EXPECT_EQ(Form->kivRadioGroup1->Caption(), QString::fromUtf8("設定檔"));
    EXPECT_EQ(Form->kivRadioGroup1->Items()->ToStringList(), (QStringList{"Home1", "Home2"}));
    EXPECT_EQ(Form->kivRadioGroup1->ItemIndex(), -1);
    EXPECT_EQ(Form->Label4->Caption(), QString::fromUtf8("慣用 DNS 伺服器"));
    EXPECT_EQ(Form->Label5->Caption(), "");
    for (TStandInControl *C : std::initializer_list<TStandInControl *>{Frame, Form->Button1, Form->Memo1, Form->Button2,
                                                                      Form->kivRadioGroup1, Form->kivButton1})
        EXPECT_EQ(C->FileTheme(), Form->kivBuiltInFileTheme1) << C->Name().toStdString();

    // Fix-ups in recording order, all while loading, all before the first Loaded; the theme is
    // streamed (and loaded) first.
    const QStringList Expected = {"FileTheme kivForm1 (loading)", "FileTheme Button1 (loading)",
                                  "FileTheme Memo1 (loading)", "FileTheme Button2 (loading)",
                                  "FileTheme kivRadioGroup1 (loading)", "FileTheme kivButton1 (loading)",
                                  "Loaded Form1", "Loaded kivBuiltInFileTheme1", "Loaded kivForm1"};
    EXPECT_EQ(Log().mid(0, Expected.size()), Expected);
    EXPECT_EQ(Log().size(), 6 + 14);

    Log().clear();
    Form->Button1->OnClick(Form->Button1);
    Form->Button2->OnClick(Form->Button2);
    Form->kivButton1->OnClick(Form->kivButton1);
    Form->kivRadioGroup1->OnClick(Form->kivRadioGroup1);
    Form->OnActivate(Form.get());
    EXPECT_EQ(Log(), (QStringList{"kivtempButton1Click Button1", "Button2Click", "kivButton1Click",
                                  "kivRadioGroup1Click", "FormActivate"}));

    // Writing gives the layout back, and reading that gives the same tree.
    const QByteArray Written = WriteComponentToText(Form.get());
    EXPECT_EQ(Written.toStdString(), Text.toStdString());
    TAutoFree<TForm1> Again(TForm1::Create(nullptr));
    ReadComponentFromText(Written, Again.get());
    EXPECT_EQ(DescribeTree(Again.get()), DescribeTree(Form.get()));
    EXPECT_EQ(Again->kivBuiltInFileTheme1->SkinData(), Skin);
}

// The notification window: a non-visual timer with its event, handlers of two signatures.
TEST_F(LayoutTest, PopupWindowBindsHandlersOfEverySignature)
{
    const QByteArray Text = Fixture("PopupWindow.txt");
    TAutoFree<TfrmMSNPopForm> Pop(TfrmMSNPopForm::Create(nullptr));
    ReadComponentFromText(Text, Pop.get());
    ASSERT_TRUE(Pop->Timer1 && Pop->lbl_title && Pop->lbl_text);
    EXPECT_FALSE(Pop->Timer1->Enabled());
    EXPECT_EQ(Pop->Timer1->Interval(), 100);
    EXPECT_EQ(Pop->lbl_text->Alignment(), taCenter);
    EXPECT_TRUE(Pop->lbl_text->WordWrap());
    EXPECT_EQ(Pop->FormStyle(), fsStayOnTop);

    Log().clear();
    Pop->OnMouseDown(Pop.get(), mbRight, TShiftState{ssShift}, 3, 4);
    Pop->Timer1->OnTimer(Pop->Timer1);
    Pop->OnShow(Pop.get());
    EXPECT_EQ(Log(), (QStringList{"FormMouseDown mbRight shift 3,4", "Timer1Timer", "FormShow"}));
    EXPECT_EQ(WriteComponentToText(Pop.get()).toStdString(), Text.toStdString());

    // A handler of another signature is refused, naming both.
    TAutoFree<TfrmMSNPopForm> Wrong(TfrmMSNPopForm::Create(nullptr));
    try {
        ReadComponentFromText("object frmMSNPopForm: TfrmMSNPopForm\n  OnClick = FormMouseDown\nend\n", Wrong.get());
        ADD_FAILURE();
    } catch (const EReadError &E) {
        EXPECT_TRUE(E.Message().startsWith("Line 2: FormMouseDown cannot be bound to OnClick")) << E.Message().toStdString();
    }
}

} // namespace
