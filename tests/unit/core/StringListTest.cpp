// TStrings/TStringList and TList.

#include "framework/core/Classes.h"
#include "framework/core/Streams.h"
#include "framework/core/TypInfo.h"
#include "tests/unit/QtPrinters.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QStringList Freed;
}

// An attached object that says when it is freed.
class TTracked : public TObject
{
    KIV_OBJECT(TTracked, TObject)
public:
    void Construct(const QString &Name)
    {
        inherited::Construct();
        FName = Name;
    }
    ~TTracked() override { Freed << FName; }

private:
    QString FName;
};

KIV_PUBLISHED(TTracked) {}

class StringList : public ::testing::Test
{
protected:
    void SetUp() override { Freed.clear(); }
    TAutoFree<TStringList> List{TStringList::Create()};
    void Fill(const QStringList &Lines)
    {
        for (const QString &S : Lines)
            List->Add(S);
    }
};

TEST_F(StringList, AddInsertDeleteAndIndexErrors)
{
    EXPECT_EQ(List->Add(QStringLiteral("a")), 0);
    EXPECT_EQ(List->Add(QStringLiteral("Memory allocation error\n")), 1);   // one line, LF kept
    List->Insert(0, QStringLiteral("first"));
    EXPECT_EQ(List->ToStringList(), QStringList({"first", "a", "Memory allocation error\n"}));
    List->Delete(1);
    EXPECT_EQ(List->Count(), 2);
    EXPECT_EQ(List->IndexOf(QStringLiteral("FIRST")), 0);
    EXPECT_EQ(List->IndexOf(QStringLiteral("zz")), -1);

    const std::function<void()> Bad[] = {
        [&] { List->Strings(2); },        [&] { List->Strings(-1); }, [&] { List->Delete(2); },
        [&] { List->Objects(5); },        [&] { List->SetStrings(2, {}); },
        [&] { List->Insert(3, {}); },     [&] { List->Exchange(0, 2); },
    };
    const int BadIndex[] = {2, -1, 2, 5, 2, 3, 2};
    for (size_t I = 0; I < std::size(Bad); ++I) {
        try {
            Bad[I]();
            ADD_FAILURE() << I;
        } catch (const EListError &E) {
            EXPECT_EQ(E.Message(), QStringLiteral("List index out of bounds (%1)").arg(BadIndex[I]));
        }
    }
}

TEST_F(StringList, NameValueLinesIgnoreCaseAndTheFirstLineWins)
{
    Fill({"Path=a", "b=2", "PATH=c", "novalue", "=x", "e=f=g"});
    EXPECT_EQ(List->IndexOfName(QStringLiteral("path")), 0);
    EXPECT_EQ(List->Values(QStringLiteral("pAtH")), "a");
    EXPECT_EQ(List->Values(QStringLiteral("novalue")), "");
    EXPECT_EQ(List->Names(3), "");
    EXPECT_EQ(List->Names(5), "e");
    EXPECT_EQ(List->ValueFromIndex(5), "f=g");
    EXPECT_EQ(List->IndexOfName(QString()), 4);

    List->SetValues(QStringLiteral("B"), QStringLiteral("3"));
    EXPECT_EQ(List->Strings(1), "B=3");
    List->SetValues(QStringLiteral("new"), QStringLiteral("1"));
    EXPECT_EQ(List->Strings(List->Count() - 1), "new=1");
    List->SetValues(QStringLiteral("path"), QString());   // deletes the first one only
    EXPECT_EQ(List->Values(QStringLiteral("Path")), "c");
}

TEST_F(StringList, AttachedObjectsAreFreedOnlyWhenOwned)
{
    List->AddObject(QStringLiteral("a"), TTracked::Create(QStringLiteral("A")));
    List->AddObject(QStringLiteral("b"), TTracked::Create(QStringLiteral("B")));
    EXPECT_EQ(List->IndexOfObject(List->Objects(1)), 1);
    List->SetOwnsObjects(true);
    List->Delete(0);
    EXPECT_EQ(Freed, QStringList({"A"}));
    List->Add(QStringLiteral("c"));
    List->SetObjects(1, TTracked::Create(QStringLiteral("C")));
    List.reset();
    EXPECT_EQ(Freed, QStringList({"A", "B", "C"}));

    TAutoFree<TStringList> NotOwning(TStringList::Create());
    TAutoFree<TTracked> Kept(TTracked::Create(QStringLiteral("K")));
    NotOwning->AddObject(QStringLiteral("k"), Kept.get());
    NotOwning->Clear();
    EXPECT_EQ(Freed.size(), 3);
}

TEST_F(StringList, OnChangeFiresOncePerChangeOrUpdateBlock)
{
    int Changes = 0, Changings = 0;
    List->OnChange = [&](TObject *Sender) {
        EXPECT_EQ(Sender, List.get());
        ++Changes;
    };
    List->OnChanging = [&](TObject *) { ++Changings; };
    List->Add(QStringLiteral("a"));
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Changings, 1);
    List->BeginUpdate();
    List->BeginUpdate();
    Fill({"b", "c"});
    List->Delete(0);
    List->EndUpdate();
    EXPECT_EQ(Changes, 1);
    List->EndUpdate();
    EXPECT_EQ(Changes, 2);
    TAutoFree<TStringList> Source(TStringList::Create());
    Source->SetText(QStringLiteral("x\ny\n"));
    List->Assign(Source.get());
    EXPECT_EQ(Changes, 3);
    List->SetText(QStringLiteral("one"));
    EXPECT_EQ(Changes, 4);
}

TEST_F(StringList, TextSplitsAtEveryLineBreakAndJoinsWithLF)
{
    const std::pair<const char *, QStringList> Cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\nc\r", {"a", "b", "c"}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"\n", {""}},
        {"x\r\r\ny", {"x", "", "y"}},
    };
    for (const auto &[Text, Lines] : Cases) {
        List->SetText(QString::fromLatin1(Text));
        EXPECT_EQ(List->ToStringList(), Lines) << Text;
    }
    List->SetText(QStringLiteral("a\r\nb"));
    EXPECT_EQ(List->Text(), "a\nb\n");
}

TEST_F(StringList, FilesAndStreamsHoldUtf8Text)
{
    QTemporaryDir Dir;
    const QString File = Dir.filePath(QStringLiteral("lines.txt"));
    Fill({QStringLiteral("Home1"), QString::fromUtf8("\xe5\xae\xb6")});
    List->SaveToFile(File);
    TAutoFree<TStringList> Copy(TStringList::Create());
    Copy->LoadFromFile(File);
    EXPECT_TRUE(Copy->Equals(List.get()));

    TAutoFree<TMemoryStream> Stream(TMemoryStream::Create());
    Stream->WriteBuffer(QByteArray("\xEF\xBB\xBFskip\r\na"));
    Stream->SetPosition(3 + 4);
    Copy->LoadFromStream(Stream.get());   // from the position on
    EXPECT_EQ(Copy->ToStringList(), QStringList({"", "a"}));
    Stream->SetPosition(0);
    Copy->LoadFromStream(Stream.get());
    EXPECT_EQ(Copy->ToStringList(), QStringList({"skip", "a"}));
    EXPECT_THROW(Copy->LoadFromFile(Dir.filePath(QStringLiteral("missing.txt"))), EFOpenError);
}

TEST_F(StringList, CommaTextQuotesWhatNeedsItAndReadsItBack)
{
    const std::pair<const char *, QStringList> Cases[] = {
        {"a,b", {"a", "b"}},
        {" a b , c ", {"a", "b", "c"}},
        {"\"d e\",\"x\"\"y\"", {"d e", "x\"y"}},
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a", ""}},
        {"\"\"", {""}},
        {"", {}},
    };
    for (const auto &[Text, Items] : Cases) {
        List->SetCommaText(QString::fromLatin1(Text));
        EXPECT_EQ(List->ToStringList(), Items) << Text;
    }
    const QStringList Items = {"plain", "with space", "", "q\"uote", "a,b"};
    List->Clear();
    Fill(Items);
    EXPECT_EQ(List->CommaText(), "plain,\"with space\",\"\",\"q\"\"uote\",\"a,b\"");
    List->SetCommaText(List->CommaText());
    EXPECT_EQ(List->ToStringList(), Items);
}

TEST_F(StringList, SortedListsKeepOrderAndHandleDuplicates)
{
    Fill({"pear", "Apple", "fig"});
    List->SetSorted(true);
    EXPECT_EQ(List->ToStringList(), QStringList({"Apple", "fig", "pear"}));
    EXPECT_EQ(List->Add(QStringLiteral("banana")), 1);
    EXPECT_EQ(List->Add(QStringLiteral("APPLE")), 0);   // dupIgnore: the existing index
    EXPECT_EQ(List->Count(), 4);
    int Index = -1;
    EXPECT_TRUE(List->Find(QStringLiteral("FIG"), Index));
    EXPECT_EQ(Index, 2);
    EXPECT_FALSE(List->Find(QStringLiteral("grape"), Index));
    EXPECT_EQ(Index, 3);
    EXPECT_EQ(List->IndexOf(QStringLiteral("Pear")), 3);
    EXPECT_THROW(List->Insert(0, QStringLiteral("x")), EListError);
    List->SetDuplicates(dupError);
    EXPECT_THROW(List->Add(QStringLiteral("fig")), EListError);
    List->SetDuplicates(dupAccept);
    List->Add(QStringLiteral("fig"));
    EXPECT_EQ(List->Count(), 5);
}

TEST_F(StringList, AssignCopiesLinesAndObjectsAndRejectsOtherClasses)
{
    TAutoFree<TStringList> Source(TStringList::Create());
    TAutoFree<TTracked> Obj(TTracked::Create(QStringLiteral("O")));
    Source->AddObject(QStringLiteral("a"), Obj.get());
    Source->Add(QStringLiteral("b"));
    Fill({"old"});
    List->Assign(Source.get());
    EXPECT_TRUE(List->Equals(Source.get()));
    EXPECT_EQ(List->Objects(0), Obj.get());
    List->Assign(List.get());
    EXPECT_EQ(List->Count(), 2);
    TAutoFree<TCollection> Other(TCollection::Create(TCollectionItem::StaticClass()));
    EXPECT_THROW(List->Assign(Other.get()), EConvertError);
}

TEST_F(StringList, CaseSensitivityAndReordering)
{
    Fill({"a", "B", "c"});
    List->SetCaseSensitive(true);
    EXPECT_EQ(List->IndexOf(QStringLiteral("b")), -1);
    List->Exchange(0, 2);
    List->Move(0, 1);
    EXPECT_EQ(List->ToStringList(), QStringList({"B", "c", "a"}));
}

TEST(List, PointersByIndexWithBoundsChecks)
{
    TAutoFree<TList> L(TList::Create());
    int A = 1, B = 2, C = 3;
    EXPECT_EQ(L->Add(&A), 0);
    L->Add(&B);
    L->Add(&C);
    EXPECT_EQ(L->Items(1), &B);
    EXPECT_EQ(L->Last(), &C);
    L->Delete(1);
    EXPECT_EQ(L->Count(), 2);
    EXPECT_EQ(L->Remove(&A), 0);
    EXPECT_EQ(L->Remove(&A), -1);
    EXPECT_EQ(L->First(), &C);
    L->Clear();
    EXPECT_THROW(L->Last(), EListError);
    EXPECT_THROW(L->Delete(0), EListError);
    EXPECT_THROW(L->Insert(1, &A), EListError);
}
