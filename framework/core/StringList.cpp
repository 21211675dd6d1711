#include "framework/core/StringList.h"

#include "framework/core/List.h"
#include "framework/core/Reader.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"
#include "framework/core/Writer.h"

#include <algorithm>

KIV_PUBLISHED(TStrings) {}
KIV_PUBLISHED(TStringList) {}

// ---- TStrings ----------------------------------------------------------------------------------

void TStrings::Error(int Index) const
{
    ListIndexError(Index);
}

int TStrings::CompareStrings(const QString &S1, const QString &S2) const
{
    return S1.compare(S2, FCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

int TStrings::Add(const QString &S)
{
    int Index = Count();
    Insert(Index, S);
    return Index;
}

int TStrings::AddObject(const QString &S, TObject *AObject)
{
    int Index = Add(S);
    SetObjects(Index, AObject);
    return Index;
}

void TStrings::AddStrings(TStrings *Strings)
{
    BeginUpdate();
    try {
        for (int I = 0; I < Strings->Count(); ++I)
            AddObject(Strings->Strings(I), Strings->Objects(I));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::InsertObject(int Index, const QString &S, TObject *AObject)
{
    Insert(Index, S);
    SetObjects(Index, AObject);
}

void TStrings::Exchange(int Index1, int Index2)
{
    BeginUpdate();
    QString S = Strings(Index1);
    TObject *O = Objects(Index1);
    SetStrings(Index1, Strings(Index2));
    SetObjects(Index1, Objects(Index2));
    SetStrings(Index2, S);
    SetObjects(Index2, O);
    EndUpdate();
}

void TStrings::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    BeginUpdate();
    QString S = Strings(CurIndex);
    TObject *O = Objects(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, S, O);
    EndUpdate();
}

void TStrings::SetStrings(int Index, const QString &S)
{
    TObject *O = Objects(Index);
    Delete(Index);
    InsertObject(Index, S, O);
}

TObject *TStrings::Objects(int Index) const
{
    if (Index < 0 || Index >= Count())
        Error(Index);
    return nullptr;
}

void TStrings::SetObjects(int, TObject *) {}

int TStrings::IndexOf(const QString &S) const
{
    for (int I = 0; I < Count(); ++I)
        if (CompareStrings(Strings(I), S) == 0)
            return I;
    return -1;
}

int TStrings::IndexOfName(const QString &Name) const
{
    for (int I = 0; I < Count(); ++I) {
        QString S = Strings(I);
        qsizetype P = S.indexOf(QLatin1Char('='));
        if (P >= 0 && CompareStrings(S.left(P), Name) == 0)
            return I;
    }
    return -1;
}

int TStrings::IndexOfObject(TObject *AObject) const
{
    for (int I = 0; I < Count(); ++I)
        if (Objects(I) == AObject)
            return I;
    return -1;
}

QString TStrings::Names(int Index) const
{
    QString S = Strings(Index);
    qsizetype P = S.indexOf(QLatin1Char('='));
    return P >= 0 ? S.left(P) : QString();
}

QString TStrings::Values(const QString &Name) const
{
    int Index = IndexOfName(Name);
    return Index >= 0 ? ValueFromIndex(Index) : QString();
}

void TStrings::SetValues(const QString &Name, const QString &Value)
{
    int Index = IndexOfName(Name);
    if (!Value.isEmpty()) {
        if (Index < 0)
            Add(Name + QLatin1Char('=') + Value);
        else
            SetStrings(Index, Name + QLatin1Char('=') + Value);
    } else if (Index >= 0) {
        Delete(Index);
    }
}

QString TStrings::ValueFromIndex(int Index) const
{
    QString S = Strings(Index);
    qsizetype P = S.indexOf(QLatin1Char('='));
    return P >= 0 ? S.mid(P + 1) : QString();
}

QString TStrings::Text() const
{
    QString Result;
    for (int I = 0; I < Count(); ++I)
        Result += Strings(I) + QLatin1Char('\n');
    return Result;
}

void TStrings::SetText(const QString &Value)
{
    BeginUpdate();
    Clear();
    qsizetype Start = 0;
    const qsizetype N = Value.size();
    while (Start < N) {
        qsizetype End = Start;
        while (End < N && Value[End] != u'\n' && Value[End] != u'\r')
            ++End;
        Add(Value.mid(Start, End - Start));
        if (End < N && Value[End] == u'\r')
            ++End;
        if (End < N && Value[End] == u'\n')
            ++End;
        Start = End;
    }
    EndUpdate();
}

QString TStrings::CommaText() const
{
    QStringList Items;
    for (int I = 0; I < Count(); ++I) {
        QString S = Strings(I);
        bool Quote = S.isEmpty();
        for (QChar C : S)
            if (C <= u' ' || C == u',' || C == u'"')
                Quote = true;
        if (Quote) {
            S.replace(QLatin1String("\""), QLatin1String("\"\""));
            S = QLatin1Char('"') + S + QLatin1Char('"');
        }
        Items.append(S);
    }
    return Items.join(QLatin1Char(','));
}

// Items are separated by commas or blanks; a double-quoted item may hold both, "" standing for ".
void TStrings::SetCommaText(const QString &Value)
{
    BeginUpdate();
    Clear();
    const qsizetype N = Value.size();
    qsizetype P = 0;
    auto SkipBlanks = [&] {
        while (P < N && Value[P] <= u' ')
            ++P;
    };
    SkipBlanks();
    while (P < N) {
        QString Item;
        if (Value[P] == u'"') {
            ++P;
            while (P < N) {
                if (Value[P] == u'"') {
                    if (P + 1 < N && Value[P + 1] == u'"') {
                        Item += u'"';
                        P += 2;
                        continue;
                    }
                    ++P;
                    break;
                }
                Item += Value[P++];
            }
        } else {
            while (P < N && Value[P] > u' ' && Value[P] != u',')
                Item += Value[P++];
        }
        Add(Item);
        SkipBlanks();
        if (P < N && Value[P] == u',') {
            ++P;
            SkipBlanks();
            if (P == N)
                Add(QString());
        }
    }
    EndUpdate();
}

QStringList TStrings::ToStringList() const
{
    QStringList Result;
    for (int I = 0; I < Count(); ++I)
        Result.append(Strings(I));
    return Result;
}

void TStrings::LoadFromStream(TStream *Stream)
{
    QByteArray Bytes(Stream->Size() - Stream->Position(), '\0');
    Stream->ReadBuffer(Bytes.data(), Bytes.size());
    if (Bytes.startsWith("\xEF\xBB\xBF"))
        Bytes.remove(0, 3);
    SetText(QString::fromUtf8(Bytes));
}

void TStrings::SaveToStream(TStream *Stream)
{
    Stream->WriteBuffer(Text().toUtf8());
}

void TStrings::LoadFromFile(const QString &FileName)
{
    TAutoFree<TFileStream> Stream(TFileStream::Create(FileName, quint16(fmOpenRead | fmShareDenyWrite)));
    LoadFromStream(Stream.get());
}

void TStrings::SaveToFile(const QString &FileName)
{
    TAutoFree<TFileStream> Stream(TFileStream::Create(FileName, quint16(fmCreate)));
    SaveToStream(Stream.get());
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount++ == 0)
        SetUpdateState(true);
}

void TStrings::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

bool TStrings::Equals(TStrings *Strings) const
{
    if (Count() != Strings->Count())
        return false;
    for (int I = 0; I < Count(); ++I)
        if (this->Strings(I) != Strings->Strings(I))
            return false;
    return true;
}

void TStrings::Assign(TPersistent *Source)
{
    if (auto *Other = dynamic_cast<TStrings *>(Source)) {
        if (Other == this)
            return;
        BeginUpdate();
        try {
            Clear();
            AddStrings(Other);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return;
    }
    inherited::Assign(Source);
}

// The lines travel in layouts as "Strings = ( 'a' 'b' )".
void TStrings::DefineProperties(TFiler *Filer)
{
    inherited::DefineProperties(Filer);
    auto *Ancestor = dynamic_cast<TStrings *>(Filer->Ancestor());
    const bool HasData = Ancestor ? !Equals(Ancestor) : Count() > 0;
    Filer->DefineProperty(QStringLiteral("Strings"), [this](TReader *Reader) { ReadData(Reader); },
                          [this](TWriter *Writer) { WriteData(Writer); }, HasData);
}

void TStrings::ReadData(TReader *Reader)
{
    Reader->ReadListBegin();
    BeginUpdate();
    try {
        Clear();
        while (!Reader->EndOfList())
            Add(Reader->ReadString());
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    Reader->ReadListEnd();
}

void TStrings::WriteData(TWriter *Writer)
{
    Writer->WriteListBegin();
    for (int I = 0; I < Count(); ++I)
        Writer->WriteString(Strings(I));
    Writer->WriteListEnd();
}

// ---- TStringList -------------------------------------------------------------------------------

TStringList::~TStringList()
{
    OnChange = nullptr;
    OnChanging = nullptr;
    if (FOwnsObjects)
        for (const TItem &Item : std::as_const(FList))
            FreeObject(Item.FObject);
}

void TStringList::FreeObject(TObject *AObject)
{
    if (FOwnsObjects && AObject)
        AObject->Free();
}

void TStringList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        Error(Index);
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating)
{
    if (Updating)
        Changing();
    else
        Changed();
}

int TStringList::Add(const QString &S)
{
    return AddObject(S, nullptr);
}

int TStringList::AddObject(const QString &S, TObject *AObject)
{
    int Index = Count();
    if (FSorted && Find(S, Index)) {
        if (FDuplicates == dupIgnore)
            return Index;
        if (FDuplicates == dupError)
            throw EListError(QStringLiteral("String list does not allow duplicates"));
    }
    InsertItem(Index, S, AObject);
    return Index;
}

void TStringList::Insert(int Index, const QString &S)
{
    if (FSorted)
        throw EListError(QStringLiteral("Operation not allowed on sorted list"));
    if (Index < 0 || Index > Count())
        Error(Index);
    InsertItem(Index, S, nullptr);
}

void TStringList::InsertItem(int Index, const QString &S, TObject *AObject)
{
    Changing();
    FList.insert(Index, TItem{S, AObject});
    Changed();
}

void TStringList::Delete(int Index)
{
    CheckIndex(Index);
    Changing();
    TObject *Obj = FList[Index].FObject;
    FList.removeAt(Index);
    FreeObject(Obj);
    Changed();
}

void TStringList::Clear()
{
    if (FList.isEmpty())
        return;
    Changing();
    QList<TItem> Old;
    Old.swap(FList);
    for (const TItem &Item : std::as_const(Old))
        FreeObject(Item.FObject);
    Changed();
}

void TStringList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    Changing();
    FList.swapItemsAt(Index1, Index2);
    Changed();
}

QString TStringList::Strings(int Index) const
{
    CheckIndex(Index);
    return FList[Index].FString;
}

void TStringList::SetStrings(int Index, const QString &S)
{
    if (FSorted)
        throw EListError(QStringLiteral("Operation not allowed on sorted list"));
    CheckIndex(Index);
    Changing();
    FList[Index].FString = S;
    Changed();
}

TObject *TStringList::Objects(int Index) const
{
    CheckIndex(Index);
    return FList[Index].FObject;
}

void TStringList::SetObjects(int Index, TObject *AObject)
{
    CheckIndex(Index);
    Changing();
    FList[Index].FObject = AObject;
    Changed();
}

int TStringList::IndexOf(const QString &S) const
{
    if (!FSorted)
        return inherited::IndexOf(S);
    int Index = -1;
    return Find(S, Index) ? Index : -1;
}

bool TStringList::Find(const QString &S, int &Index) const
{
    int L = 0;
    int H = Count() - 1;
    bool Found = false;
    while (L <= H) {
        int I = (L + H) / 2;
        int C = CompareStrings(FList[I].FString, S);
        if (C < 0) {
            L = I + 1;
        } else {
            H = I - 1;
            if (C == 0) {
                Found = true;
                if (FDuplicates != dupAccept)
                    L = I;
            }
        }
    }
    Index = L;
    return Found;
}

void TStringList::Sort()
{
    CustomSort([](TStringList *List, int I1, int I2) {
        return List->CompareStrings(List->FList[I1].FString, List->FList[I2].FString);
    });
}

void TStringList::CustomSort(std::function<int(TStringList *List, int Index1, int Index2)> Compare)
{
    if (Count() < 2)
        return;
    Changing();
    // Sort a permutation so that Compare can look at the list by index, then apply it.
    QList<int> Order(Count());
    for (int I = 0; I < Count(); ++I)
        Order[I] = I;
    std::stable_sort(Order.begin(), Order.end(), [&](int A, int B) { return Compare(this, A, B) < 0; });
    QList<TItem> Sorted;
    Sorted.reserve(Count());
    for (int I : Order)
        Sorted.append(FList[I]);
    FList = Sorted;
    Changed();
}

void TStringList::SetSorted(bool Value)
{
    if (FSorted == Value)
        return;
    if (Value)
        Sort();
    FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value)
{
    if (Value == CaseSensitive())
        return;
    inherited::SetCaseSensitive(Value);
    if (FSorted)
        Sort();
}
