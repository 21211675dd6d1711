#pragma once
// TCollection: an owned, ordered list of items of one item class, created by that class
// (virtual construction), and telling the collection's Update about every change unless updating.

#include "framework/core/Persistent.h"

#include <QList>

class TCollection;

class TCollectionItem : public TPersistent
{
    KIV_OBJECT(TCollectionItem, TPersistent)
public:
    virtual void Construct(TCollection *ACollection);
    void BeforeDestruction() override;

    TCollection *Collection() const { return FCollection; }
    void SetCollection(TCollection *Value);
    int Index() const;
    virtual void SetIndex(int Value);
    int ID() const { return FID; }
    virtual QString DisplayName() const;
    QString GetNamePath() override;
    TPersistent *GetOwner() override;

protected:
    // Tells the collection: Update(this), or Update(nullptr) when AllItems.
    void Changed(bool AllItems);

private:
    friend class TCollection;
    TCollection *FCollection = nullptr;
    int FID = 0;
};

class TCollection : public TPersistent
{
    KIV_OBJECT(TCollection, TPersistent)
public:
    void Construct(TClass AItemClass);
    ~TCollection() override;

    TCollectionItem *Add();
    TCollectionItem *Insert(int Index);
    void Delete(int Index);
    void Clear();
    int Count() const { return int(FItems.size()); }
    TCollectionItem *Items(int Index) const;
    void SetItems(int Index, TCollectionItem *Value);   // assigns Value to the item there
    TCollectionItem *FindItemID(int ID) const;
    TClass ItemClass() const { return FItemClass; }

    virtual void BeginUpdate();
    virtual void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    void Assign(TPersistent *Source) override;
    TPersistent *GetOwner() override { return nullptr; }
    QString GetNamePath() override;

protected:
    // Item is the changed item, or nullptr when the whole collection changed.
    virtual void Update(TCollectionItem *Item);
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem *Item);
    void RemoveItem(TCollectionItem *Item);

    TClass FItemClass = nullptr;
    QList<TCollectionItem *> FItems;
    int FUpdateCount = 0;
    int FNextID = 0;
};

// A collection that reports an owner (for name paths and the layout writer).
class TOwnedCollection : public TCollection
{
    KIV_OBJECT(TOwnedCollection, TCollection)
public:
    void Construct(TPersistent *AOwner, TClass AItemClass);
    TPersistent *GetOwner() override { return FOwner; }

private:
    TPersistent *FOwner = nullptr;
};

// Virtual construction of an item by its class, into ACollection.
TCollectionItem *CreateCollectionItem(TClass C, TCollection *ACollection);
