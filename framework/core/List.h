#pragma once
// TList: a list of untyped pointers that does not own them.

#include "framework/core/Object.h"

#include <QList>

class TList : public TObject
{
    KIV_OBJECT(TList, TObject)
public:
    int Add(void *Item);
    void Insert(int Index, void *Item);
    void Delete(int Index);
    int Remove(void *Item);             // the index it had, or -1
    void *Extract(void *Item);
    void Clear() { FItems.clear(); }
    int IndexOf(void *Item) const { return int(FItems.indexOf(Item)); }
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);

    int Count() const { return int(FItems.size()); }
    void *Items(int Index) const;
    void SetItems(int Index, void *Item);
    void *First() const { return Items(0); }
    void *Last() const { return Items(Count() - 1); }

private:
    void CheckIndex(int Index) const;
    QList<void *> FItems;
};

// Raises EListError "List index out of bounds (Index)".
[[noreturn]] void ListIndexError(int Index);
