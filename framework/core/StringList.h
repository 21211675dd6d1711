#pragma once
// TStrings: an abstract list of text lines, each with an attached object, with name=value access
// and change events; TStringList: the stored implementation (sorting, duplicates, owned objects).
// Lines compare without regard to case unless CaseSensitive is set.

#include "framework/core/Persistent.h"

#include <QList>

KIV_ENUM(TDuplicates, dupIgnore, dupAccept, dupError)

class TStrings : public TPersistent
{
    KIV_OBJECT(TStrings, TPersistent)
public:
    virtual int Add(const QString &S);                // the new line's index
    virtual int AddObject(const QString &S, TObject *AObject);
    void AddStrings(TStrings *Strings);
    void Append(const QString &S) { Add(S); }
    virtual void Insert(int Index, const QString &S) = 0;
    void InsertObject(int Index, const QString &S, TObject *AObject);
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int Index1, int Index2);
    virtual void Move(int CurIndex, int NewIndex);

    virtual int Count() const = 0;
    virtual QString Strings(int Index) const = 0;
    virtual void SetStrings(int Index, const QString &S);
    virtual TObject *Objects(int Index) const;
    virtual void SetObjects(int Index, TObject *AObject);

    virtual int IndexOf(const QString &S) const;
    int IndexOfName(const QString &Name) const;       // the first line named Name, or -1
    int IndexOfObject(TObject *AObject) const;

    // name=value lines. Values(Name) is the first such line's value; SetValues with an empty value
    // deletes the line.
    QString Names(int Index) const;
    QString Values(const QString &Name) const;
    void SetValues(const QString &Name, const QString &Value);
    QString ValueFromIndex(int Index) const;

    // Lines joined by "\n" with a trailing "\n"; SetText splits at "\r\n", "\n" or "\r".
    virtual QString Text() const;
    virtual void SetText(const QString &Value);
    // Comma-separated, items with spaces, commas or quotes in double quotes (doubled inside).
    QString CommaText() const;
    void SetCommaText(const QString &Value);
    QStringList ToStringList() const;

    // UTF-8 text (a byte-order mark is skipped) from the stream's position to its end.
    virtual void LoadFromStream(TStream *Stream);
    virtual void SaveToStream(TStream *Stream);
    void LoadFromFile(const QString &FileName);
    void SaveToFile(const QString &FileName);

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    bool CaseSensitive() const { return FCaseSensitive; }
    virtual void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }
    bool Equals(TStrings *Strings) const;

    void Assign(TPersistent *Source) override;
    void DefineProperties(TFiler *Filer) override;

protected:
    virtual void SetUpdateState(bool Updating);
    void ReadData(TReader *Reader);
    void WriteData(TWriter *Writer);
    int CompareStrings(const QString &S1, const QString &S2) const;
    void Error(int Index) const;

private:
    int FUpdateCount = 0;
    bool FCaseSensitive = false;
};

class TStringList : public TStrings
{
    KIV_OBJECT(TStringList, TStrings)
public:
    ~TStringList() override;

    int Add(const QString &S) override;
    int AddObject(const QString &S, TObject *AObject) override;
    void Insert(int Index, const QString &S) override;
    void Delete(int Index) override;
    void Clear() override;
    void Exchange(int Index1, int Index2) override;

    int Count() const override { return int(FList.size()); }
    QString Strings(int Index) const override;
    void SetStrings(int Index, const QString &S) override;
    TObject *Objects(int Index) const override;
    void SetObjects(int Index, TObject *AObject) override;
    int IndexOf(const QString &S) const override;

    // Binary search of a sorted list: true when found; Index is where S is or would go.
    bool Find(const QString &S, int &Index) const;
    void Sort();
    void CustomSort(std::function<int(TStringList *List, int Index1, int Index2)> Compare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
    void SetCaseSensitive(bool Value) override;
    // Owned objects are freed when their line is deleted or the list is freed.
    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    void SetUpdateState(bool Updating) override;
    virtual void Changed();
    virtual void Changing();
    void InsertItem(int Index, const QString &S, TObject *AObject);

private:
    struct TItem
    {
        QString FString;
        TObject *FObject = nullptr;
    };
    void CheckIndex(int Index) const;
    void FreeObject(TObject *AObject);

    QList<TItem> FList;
    bool FSorted = false;
    TDuplicates FDuplicates = dupIgnore;
    bool FOwnsObjects = false;
};
