#include "framework/core/List.h"

#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"

KIV_PUBLISHED(TList) {}

void ListIndexError(int Index)
{
    throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

void TList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        ListIndexError(Index);
}

int TList::Add(void *Item)
{
    FItems.append(Item);
    return Count() - 1;
}

void TList::Insert(int Index, void *Item)
{
    if (Index < 0 || Index > Count())
        ListIndexError(Index);
    FItems.insert(Index, Item);
}

void TList::Delete(int Index)
{
    CheckIndex(Index);
    FItems.removeAt(Index);
}

int TList::Remove(void *Item)
{
    int Index = IndexOf(Item);
    if (Index >= 0)
        FItems.removeAt(Index);
    return Index;
}

void *TList::Extract(void *Item)
{
    return Remove(Item) >= 0 ? Item : nullptr;
}

void TList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    FItems.swapItemsAt(Index1, Index2);
}

void TList::Move(int CurIndex, int NewIndex)
{
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    FItems.move(CurIndex, NewIndex);
}

void *TList::Items(int Index) const
{
    CheckIndex(Index);
    return FItems[Index];
}

void TList::SetItems(int Index, void *Item)
{
    CheckIndex(Index);
    FItems[Index] = Item;
}
