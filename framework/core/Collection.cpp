#include "framework/core/Collection.h"

#include "framework/core/List.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"

KIV_PUBLISHED(TCollectionItem) {}
KIV_PUBLISHED(TCollection) {}
KIV_PUBLISHED(TOwnedCollection) {}

TCollectionItem *CreateCollectionItem(TClass C, TCollection *ACollection)
{
    return CreateInstance<TCollectionItem>(C, ACollection);
}

// ---- TCollectionItem ---------------------------------------------------------------------------

void TCollectionItem::Construct(TCollection *ACollection)
{
    inherited::Construct();
    SetCollection(ACollection);
}

void TCollectionItem::BeforeDestruction()
{
    SetCollection(nullptr);
    inherited::BeforeDestruction();
}

void TCollectionItem::SetCollection(TCollection *Value)
{
    if (FCollection == Value)
        return;
    if (FCollection)
        FCollection->RemoveItem(this);
    if (Value)
        Value->InsertItem(this);
}

int TCollectionItem::Index() const
{
    return FCollection ? int(FCollection->FItems.indexOf(this)) : -1;
}

void TCollectionItem::SetIndex(int Value)
{
    int Cur = Index();
    if (Cur < 0 || Value == Cur)
        return;
    if (Value < 0 || Value >= FCollection->Count())
        ListIndexError(Value);
    FCollection->FItems.move(Cur, Value);
    Changed(true);
}

QString TCollectionItem::DisplayName() const
{
    return ClassName();
}

QString TCollectionItem::GetNamePath()
{
    if (!FCollection)
        return ClassName();
    return QStringLiteral("%1[%2]").arg(FCollection->GetNamePath()).arg(Index());
}

TPersistent *TCollectionItem::GetOwner()
{
    return FCollection;
}

void TCollectionItem::Changed(bool AllItems)
{
    if (FCollection && FCollection->FUpdateCount == 0)
        FCollection->Update(AllItems ? nullptr : this);
}

// ---- TCollection -------------------------------------------------------------------------------

void TCollection::Construct(TClass AItemClass)
{
    inherited::Construct();
    FItemClass = AItemClass;
}

TCollection::~TCollection()
{
    FUpdateCount = 1;   // no Update calls into a collection being destroyed
    Clear();
}

TCollectionItem *TCollection::Add()
{
    return CreateCollectionItem(FItemClass, this);
}

TCollectionItem *TCollection::Insert(int Index)
{
    if (Index < 0 || Index > Count())
        ListIndexError(Index);
    TCollectionItem *Item = Add();
    Item->SetIndex(Index);
    return Item;
}

void TCollection::Delete(int Index)
{
    Items(Index)->Free();
}

void TCollection::Clear()
{
    if (FItems.isEmpty())
        return;
    BeginUpdate();
    try {
        while (!FItems.isEmpty())
            FItems.last()->Free();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

TCollectionItem *TCollection::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        ListIndexError(Index);
    return FItems[Index];
}

void TCollection::SetItems(int Index, TCollectionItem *Value)
{
    Items(Index)->Assign(Value);
}

TCollectionItem *TCollection::FindItemID(int ID) const
{
    for (TCollectionItem *Item : FItems)
        if (Item->FID == ID)
            return Item;
    return nullptr;
}

void TCollection::BeginUpdate()
{
    ++FUpdateCount;
}

void TCollection::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        Changed();
}

void TCollection::Changed()
{
    if (FUpdateCount == 0)
        Update(nullptr);
}

void TCollection::Update(TCollectionItem *) {}

void TCollection::Assign(TPersistent *Source)
{
    if (auto *Other = dynamic_cast<TCollection *>(Source)) {
        if (Other == this)
            return;
        BeginUpdate();
        try {
            Clear();
            for (TCollectionItem *Item : std::as_const(Other->FItems))
                Add()->Assign(Item);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return;
    }
    inherited::Assign(Source);
}

QString TCollection::GetNamePath()
{
    TPersistent *Owner = GetOwner();
    if (!Owner)
        return ClassName();
    QString OwnerPath = Owner->GetNamePath();
    // The property name under which the owner publishes this collection.
    for (const TPropInfo *P : GetPropList(Owner))
        if (P->Kind == tkClass && GetPropValue(Owner, P).value<TObject *>() == this)
            return OwnerPath.isEmpty() ? P->Name : OwnerPath + QLatin1Char('.') + P->Name;
    return OwnerPath;
}

void TCollection::InsertItem(TCollectionItem *Item)
{
    if (!Item->InheritsFrom(FItemClass))
        throw EInvalidOperation(QStringLiteral("A %1 cannot be an item of a collection of %2")
                                    .arg(Item->ClassName(), FItemClass ? FItemClass->Name() : QStringLiteral("nil")));
    FItems.append(Item);
    Item->FCollection = this;
    Item->FID = FNextID++;
    Changed();
}

void TCollection::RemoveItem(TCollectionItem *Item)
{
    FItems.removeOne(Item);
    Item->FCollection = nullptr;
    Changed();
}

// ---- TOwnedCollection --------------------------------------------------------------------------

void TOwnedCollection::Construct(TPersistent *AOwner, TClass AItemClass)
{
    inherited::Construct(AItemClass);
    FOwner = AOwner;
}
