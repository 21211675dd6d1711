// TCollection and TCollectionItem.

#include "framework/core/Classes.h"
#include "framework/core/TypInfo.h"
#include "tests/unit/QtPrinters.h"

#include <gtest/gtest.h>

namespace {
QStringList Updates;
}

class TTestItem : public TCollectionItem
{
    KIV_OBJECT(TTestItem, TCollectionItem)
public:
    void Construct(TCollection *ACollection) override
    {
        inherited::Construct(ACollection);
        StyleChanged();
    }
    virtual void StyleChanged() { FCaption = QStringLiteral("base"); }
    QString Caption() const { return FCaption; }
    void SetCaption(const QString &Value)
    {
        FCaption = Value;
        Changed(false);
    }
    void Assign(TPersistent *Source) override
    {
        if (auto *Item = dynamic_cast<TTestItem *>(Source)) {
            SetCaption(Item->Caption());
            return;
        }
        inherited::Assign(Source);
    }

private:
    QString FCaption;
};

class TTestItemEx : public TTestItem
{
    KIV_OBJECT(TTestItemEx, TTestItem)
public:
    void StyleChanged() override { SetCaption(QStringLiteral("derived")); }
};

class TTestCollection : public TOwnedCollection
{
    KIV_OBJECT(TTestCollection, TOwnedCollection)
protected:
    void Update(TCollectionItem *Item) override
    {
        inherited::Update(Item);
        Updates << (Item ? static_cast<TTestItem *>(Item)->Caption() : QStringLiteral("all"));
    }
};

class TCollectionOwner : public TComponent
{
    KIV_OBJECT(TCollectionOwner, TComponent)
public:
    void Construct(TComponent *AOwner) override
    {
        inherited::Construct(AOwner);
        FButtons = TTestCollection::Create(this, TTestItemEx::StaticClass());
    }
    ~TCollectionOwner() override { FButtons->Free(); }
    TTestCollection *Buttons() const { return FButtons; }

private:
    TTestCollection *FButtons = nullptr;
};

KIV_PUBLISHED(TTestItem)
{
    Property("Caption", &TTestItem::Caption, &TTestItem::SetCaption);
}
KIV_PUBLISHED(TTestItemEx) {}
KIV_PUBLISHED(TTestCollection) {}
KIV_PUBLISHED(TCollectionOwner)
{
    Property("Buttons", &TCollectionOwner::Buttons);
}

class Collection : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Owner->SetName(QStringLiteral("Bar"));
        Updates.clear();
    }
    TAutoFree<TCollectionOwner> Owner{TCollectionOwner::Create(nullptr)};
    TTestCollection *Buttons() { return Owner->Buttons(); }
    TTestItem *Item(int I) { return static_cast<TTestItem *>(Buttons()->Items(I)); }
    QStringList Captions()
    {
        QStringList Result;
        for (int I = 0; I < Buttons()->Count(); ++I)
            Result << Item(I)->Caption();
        return Result;
    }
};

TEST_F(Collection, AddCreatesTheItemClassVirtuallyAndReportsUpdates)
{
    auto *First = Buttons()->Add();
    EXPECT_EQ(First->ClassName(), "TTestItemEx");
    EXPECT_EQ(Item(0)->Caption(), "derived");   // the item's constructor reached the override
    EXPECT_EQ(First->Collection(), Buttons());
    EXPECT_EQ(First->GetOwner(), Buttons());
    EXPECT_EQ(Buttons()->GetOwner(), Owner.get());
    Buttons()->Add();
    EXPECT_EQ(Buttons()->Count(), 2);
    EXPECT_EQ(Item(1)->Index(), 1);
    EXPECT_EQ(Buttons()->FindItemID(1), Item(1));
    EXPECT_EQ(Item(1)->GetNamePath(), "Bar.Buttons[1]");
    EXPECT_EQ(Updates, QStringList({"all", "derived", "all", "derived"}));

    Updates.clear();
    Item(0)->SetCaption(QStringLiteral("x"));
    EXPECT_EQ(Updates, QStringList({"x"}));
    Updates.clear();
    Buttons()->BeginUpdate();
    Buttons()->Add();
    Item(0)->SetCaption(QStringLiteral("y"));
    Buttons()->EndUpdate();
    EXPECT_EQ(Updates, QStringList({"all"}));
}

TEST_F(Collection, AssignClearsAddsAndAssignsEachItem)
{
    TAutoFree<TCollectionOwner> Other(TCollectionOwner::Create(nullptr));
    for (const char *C : {"a", "b"})
        static_cast<TTestItem *>(Other->Buttons()->Add())->SetCaption(QString::fromLatin1(C));
    for (int I = 0; I < 3; ++I)
        Buttons()->Add();
    Updates.clear();
    Buttons()->Assign(Other->Buttons());
    EXPECT_EQ(Captions(), QStringList({"a", "b"}));
    EXPECT_EQ(Updates, QStringList({"all"}));
    EXPECT_NE(Buttons()->Items(0), Other->Buttons()->Items(0));

    TAutoFree<TStringList> NotACollection(TStringList::Create());
    EXPECT_THROW(Buttons()->Assign(NotACollection.get()), EConvertError);
}

TEST_F(Collection, ItemsWriteThroughAssign)
{
    Buttons()->Add();
    TCollectionItem *Kept = Buttons()->Items(0);
    TAutoFree<TCollection> Loose(TCollection::Create(TTestItem::StaticClass()));
    auto *Source = static_cast<TTestItem *>(Loose->Add());
    Source->SetCaption(QStringLiteral("copied"));
    Buttons()->SetItems(0, Source);
    EXPECT_EQ(Buttons()->Items(0), Kept);
    EXPECT_EQ(Item(0)->Caption(), "copied");
}

TEST_F(Collection, DeleteInsertMoveAndFree)
{
    for (const char *C : {"a", "b", "c"})
        static_cast<TTestItem *>(Buttons()->Add())->SetCaption(QString::fromLatin1(C));
    Buttons()->Delete(0);
    EXPECT_EQ(Captions(), QStringList({"b", "c"}));
    static_cast<TTestItem *>(Buttons()->Insert(0))->SetCaption(QStringLiteral("z"));
    EXPECT_EQ(Captions(), QStringList({"z", "b", "c"}));
    Item(0)->SetIndex(2);
    EXPECT_EQ(Captions(), QStringList({"b", "c", "z"}));
    Item(1)->Free();
    EXPECT_EQ(Captions(), QStringList({"b", "z"}));
    EXPECT_THROW(Buttons()->Items(2), EListError);
    EXPECT_THROW(Buttons()->Delete(-1), EListError);
    Buttons()->Clear();
    EXPECT_EQ(Buttons()->Count(), 0);
}

TEST_F(Collection, OnlyItemsOfTheItemClassJoin)
{
    EXPECT_THROW(CreateCollectionItem(TTestItem::StaticClass(), Buttons()), EInvalidOperation);
    EXPECT_EQ(Buttons()->Count(), 0);
    EXPECT_EQ(CreateCollectionItem(TTestItemEx::StaticClass(), Buttons())->Collection(), Buttons());
}
