// The classic object model: two-phase creation and destruction, owner notification, free
// notification, names, the class registry and creation by metaclass.

#include "framework/core/Classes.h"
#include "framework/core/TypInfo.h"
#include "tests/unit/QtPrinters.h"

#include <gtest/gtest.h>

namespace {
QStringList Log;

QString OpName(TOperation Op)
{
    return Op == opInsert ? QStringLiteral("insert") : QStringLiteral("remove");
}

QString Describe(TComponent *AComponent);
} // namespace

// Logs its constructor body, a virtual call made from it, AfterConstruction and every notification.
class TModelBase : public TComponent
{
    KIV_OBJECT(TModelBase, TComponent)
public:
    void Construct(TComponent *AOwner) override
    {
        inherited::Construct(AOwner);
        Log << QStringLiteral("base body, owner has %1").arg(Owner() ? Owner()->ComponentCount() : -1);
        StyleChanged();
    }
    virtual void StyleChanged() { Log << QStringLiteral("base StyleChanged"); }
    void AfterConstruction() override
    {
        inherited::AfterConstruction();
        Log << QStringLiteral("AfterConstruction %1").arg(ClassName());
    }
    void Notification(TComponent *AComponent, TOperation Operation) override
    {
        QString Who = Name().isEmpty() ? ClassName() : Name();
        QString What = AComponent->Name().isEmpty() ? AComponent->ClassName() : AComponent->Name();
        Log << QStringLiteral("%1: %2 %3").arg(Who, OpName(Operation), What) + Describe(AComponent);
        inherited::Notification(AComponent, Operation);
    }
    ~TModelBase() override { Log << QStringLiteral("~%1").arg(Name().isEmpty() ? QStringLiteral("TModelBase") : Name()); }
};

class TModelDerived : public TModelBase
{
    KIV_OBJECT(TModelDerived, TModelBase)
public:
    void Construct(TComponent *AOwner) override
    {
        inherited::Construct(AOwner);
        FReady = true;
        Log << QStringLiteral("derived body");
    }
    void StyleChanged() override { Log << QStringLiteral("derived StyleChanged"); }
    bool Ready() const { return FReady; }
    ~TModelDerived() override { Log << QStringLiteral("~TModelDerived"); }

private:
    bool FReady = false;
};

class TModelThrows : public TModelBase
{
    KIV_OBJECT(TModelThrows, TModelBase)
public:
    void Construct(TComponent *AOwner) override
    {
        inherited::Construct(AOwner);
        throw EInvalidOperation(QStringLiteral("boom"));
    }
};

// A holder of a reference across owners, which it must drop when the target goes.
class TModelHolder : public TComponent
{
    KIV_OBJECT(TModelHolder, TComponent)
public:
    TComponent *Target() const { return FTarget; }
    void SetTarget(TComponent *Value)
    {
        FTarget = Value;
        if (Value)
            Value->FreeNotification(this);
    }
    void Notification(TComponent *AComponent, TOperation Operation) override
    {
        inherited::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == FTarget) {
            Log << QStringLiteral("%1 drops %2%3")
                       .arg(Name(), AComponent->Name(),
                            AComponent->ComponentState().Contains(csDestroying) ? QStringLiteral(" (destroying)") : QString());
            FTarget = nullptr;
        }
    }

private:
    TComponent *FTarget = nullptr;
};

// A root with a published field, bound to the owned component of the same name.
class TModelRoot : public TModelBase
{
    KIV_OBJECT(TModelRoot, TModelBase)
public:
    TModelBase *Button1 = nullptr;
};

namespace {
// What a notification sees of the component: its derived state exists only while it is whole.
QString Describe(TComponent *AComponent)
{
    auto *D = dynamic_cast<TModelDerived *>(AComponent);
    return D ? QStringLiteral(" (derived, ready=%1)").arg(D->Ready()) : QString();
}
} // namespace

KIV_PUBLISHED(TModelBase) {}
KIV_PUBLISHED(TModelDerived) {}
KIV_PUBLISHED(TModelThrows) {}
KIV_PUBLISHED(TModelHolder) {}
KIV_PUBLISHED(TModelRoot)
{
    Field("Button1", &TModelRoot::Button1);
}

template <class T>
concept PlainNewable = requires { new T(); };
static_assert(!PlainNewable<TModelDerived> && !PlainNewable<TStringList>, "only Create makes objects");
// "delete Obj" fails too (TObject's operator delete is protected), but compilers do not check the
// deallocation function's access inside a requires-expression, so that one cannot be asserted here.
static_assert(!std::is_default_constructible_v<TModelDerived>, "no objects on the stack");
static_assert(!std::is_copy_constructible_v<TStringList>);

class ObjectModel : public ::testing::Test
{
protected:
    void SetUp() override { Log.clear(); }
    template <class T>
    T *Make(TComponent *Owner, const QString &Name)
    {
        T *C = T::Create(Owner);
        C->SetName(Name);
        return C;
    }
};

TEST_F(ObjectModel, CreationRunsBodiesWithVirtualDispatchThenNotifiesThenAfterConstruction)
{
    TAutoFree<TModelBase> Owner(Make<TModelBase>(nullptr, QStringLiteral("Owner")));
    Log.clear();
    TModelDerived::Create(Owner.get());
    EXPECT_EQ(Log, QStringList({
                       "base body, owner has 1",               // joined the owner before the bodies
                       "derived StyleChanged",                 // virtual call from the base body
                       "derived body",
                       "Owner: insert TModelDerived (derived, ready=1)",   // once whole
                       "TModelDerived: insert TModelDerived (derived, ready=1)",   // forwarded to itself
                       "AfterConstruction TModelDerived",
                   }));
}

TEST_F(ObjectModel, CreationByMetaclassFollowsTheSameSequence)
{
    TAutoFree<TModelBase> Owner(Make<TModelBase>(nullptr, QStringLiteral("Owner")));
    Log.clear();
    TComponent *C = CreateComponent(GetClass(QStringLiteral("tmodelderived")), Owner.get());
    EXPECT_EQ(C->ClassName(), "TModelDerived");
    EXPECT_EQ(Log, QStringList({"base body, owner has 1", "derived StyleChanged", "derived body",
                                "Owner: insert TModelDerived (derived, ready=1)",
                                "TModelDerived: insert TModelDerived (derived, ready=1)", "AfterConstruction TModelDerived"}));
    EXPECT_THROW(CreateComponent(TStringList::StaticClass(), Owner.get()), EInvalidOperation);
    EXPECT_THROW(CreateComponent(TFiler::StaticClass(), Owner.get()), EInvalidOperation);   // not a component
    EXPECT_EQ(Owner->ComponentCount(), 1);
}

TEST_F(ObjectModel, FreeSendsOwnRemovalToDerivedOverrideWhileWholeThenDestroys)
{
    TAutoFree<TModelBase> Owner(Make<TModelBase>(nullptr, QStringLiteral("Owner")));
    TModelDerived *Child = Make<TModelDerived>(Owner.get(), QStringLiteral("Child"));
    Log.clear();
    Child->Free();
    EXPECT_EQ(Log, QStringList({
                       "Owner: remove Child (derived, ready=1)",
                       "Child: remove Child (derived, ready=1)",   // its own, derived override, whole
                       "~TModelDerived",
                       "~Child",
                   }));
    EXPECT_EQ(Owner->ComponentCount(), 0);
}

TEST_F(ObjectModel, NotificationsReachEveryOwnedComponentRecursively)
{
    TAutoFree<TModelBase> Root(Make<TModelBase>(nullptr, QStringLiteral("Root")));
    TModelBase *A = Make<TModelBase>(Root.get(), QStringLiteral("A"));
    Make<TModelBase>(A, QStringLiteral("A1"));
    TModelBase *B = Make<TModelBase>(Root.get(), QStringLiteral("B"));

    Log.clear();
    TModelBase::Create(Root.get());
    EXPECT_EQ(Log.filter(QStringLiteral(": insert")),
              QStringList({"Root: insert TModelBase", "A: insert TModelBase", "A1: insert TModelBase",
                           "B: insert TModelBase", "TModelBase: insert TModelBase"}));

    Log.clear();
    B->Free();
    EXPECT_EQ(Log, QStringList({"Root: remove B", "A: remove B", "A1: remove B", "B: remove B",
                                "TModelBase: remove B", "~B"}));
}

TEST_F(ObjectModel, FreeingAnOwnerFreesOwnedComponentsEachWithItsNotifications)
{
    TModelBase *Root = Make<TModelBase>(nullptr, QStringLiteral("Root"));
    TModelBase *A = Make<TModelBase>(Root, QStringLiteral("A"));
    Make<TModelDerived>(A, QStringLiteral("A1"));
    Log.clear();
    Root->Free();
    EXPECT_EQ(Log, QStringList({"A: remove A1 (derived, ready=1)", "A1: remove A1 (derived, ready=1)",
                                "~TModelDerived", "~A1", "Root: remove A", "A: remove A", "~A", "~Root"}));
}

TEST_F(ObjectModel, ExceptionInConstructorFreesTheObjectAndPropagates)
{
    TAutoFree<TModelBase> Owner(Make<TModelBase>(nullptr, QStringLiteral("Owner")));
    Log.clear();
    try {
        TModelThrows::Create(Owner.get());
        FAIL() << "no exception";
    } catch (const EInvalidOperation &E) {
        EXPECT_EQ(E.Message(), "boom");
    }
    EXPECT_EQ(Owner->ComponentCount(), 0);
    EXPECT_TRUE(Log.contains("~TModelBase")) << Log.join('\n').toStdString();
    EXPECT_FALSE(Log.contains("AfterConstruction TModelThrows"));
}

TEST_F(ObjectModel, FreeNotificationAcrossOwnersDropsTheReference)
{
    TAutoFree<TModelBase> OwnerX(Make<TModelBase>(nullptr, QStringLiteral("X")));
    TModelBase *OwnerY = Make<TModelBase>(nullptr, QStringLiteral("Y"));
    auto *Holder = Make<TModelHolder>(OwnerX.get(), QStringLiteral("Holder"));
    Holder->SetTarget(Make<TModelBase>(OwnerY, QStringLiteral("Target")));
    Log.clear();
    OwnerY->Free();
    EXPECT_EQ(Holder->Target(), nullptr);
    EXPECT_TRUE(Log.contains("Holder drops Target (destroying)"));

    // The link goes both ways: a freed holder is never notified afterwards.
    auto *Target = Make<TModelBase>(nullptr, QStringLiteral("Target2"));
    Holder->SetTarget(Target);
    Holder->Free();
    Log.clear();
    Target->Free();
    EXPECT_EQ(Log, QStringList({"~Target2"}));
}

TEST_F(ObjectModel, NamesAreIdentifiersUniqueAmongSiblingsIgnoringCase)
{
    TAutoFree<TModelBase> Owner(Make<TModelBase>(nullptr, QStringLiteral("Owner")));
    TModelBase *C = Make<TModelBase>(Owner.get(), QStringLiteral("Button1"));
    TModelBase *D = TModelBase::Create(Owner.get());
    for (const char *Bad : {"1Button", "a b", "x-y", "Grün"}) {
        try {
            D->SetName(QString::fromUtf8(Bad));
            ADD_FAILURE() << Bad;
        } catch (const EComponentError &E) {
            EXPECT_EQ(E.Message(), QStringLiteral("'%1' is not a valid component name").arg(QString::fromUtf8(Bad)));
        }
    }
    try {
        D->SetName(QStringLiteral("BUTTON1"));
        ADD_FAILURE() << "duplicate accepted";
    } catch (const EComponentError &E) {
        EXPECT_EQ(E.Message(), "A component named BUTTON1 already exists");
    }
    EXPECT_TRUE(D->Name().isEmpty());
    C->SetName(QStringLiteral("BUTTON1"));   // itself, in another case
    D->SetName(QStringLiteral("_Button_2"));
    EXPECT_EQ(Owner->FindComponent(QStringLiteral("button1")), C);
    EXPECT_EQ(Owner->FindComponent(QStringLiteral("_BUTTON_2")), D);
    EXPECT_EQ(Owner->FindComponent(QString()), nullptr);
    TAutoFree<TModelBase> Other(Make<TModelBase>(nullptr, QStringLiteral("Other")));
    Make<TModelBase>(Other.get(), QStringLiteral("Button1"));   // another owner: no clash
}

TEST_F(ObjectModel, PublishedFieldFollowsTheOwnedComponentOfItsName)
{
    TAutoFree<TModelRoot> Root(TModelRoot::Create(nullptr));
    TModelBase *B = Make<TModelBase>(Root.get(), QStringLiteral("button1"));
    EXPECT_EQ(Root->Button1, B);
    B->SetName(QStringLiteral("Other"));
    EXPECT_EQ(Root->Button1, nullptr);
    B->SetName(QStringLiteral("Button1"));
    EXPECT_EQ(Root->Button1, B);
    B->Free();
    EXPECT_EQ(Root->Button1, nullptr);
    Make<TModelHolder>(Root.get(), QStringLiteral("Button1"));   // wrong class: field untouched
    EXPECT_EQ(Root->Button1, nullptr);
}

TEST_F(ObjectModel, OwnershipOrderStateAndReowning)
{
    TAutoFree<TModelBase> Owner(Make<TModelBase>(nullptr, QStringLiteral("Owner")));
    TModelBase *A = Make<TModelBase>(Owner.get(), QStringLiteral("A"));
    TModelBase *B = Make<TModelBase>(Owner.get(), QStringLiteral("B"));
    EXPECT_EQ(A->ComponentIndex(), 0);
    B->SetComponentIndex(0);
    EXPECT_EQ(Owner->Components(0), B);
    EXPECT_THROW(Owner->Components(2), EListError);

    Owner->SetDesigning(true);
    EXPECT_TRUE(A->ComponentState().Contains(csDesigning));
    EXPECT_TRUE(TModelBase::Create(Owner.get())->ComponentState().Contains(csDesigning));

    TAutoFree<TModelBase> Other(Make<TModelBase>(nullptr, QStringLiteral("Other")));
    Log.clear();
    Other->InsertComponent(A);
    EXPECT_EQ(A->Owner(), Other.get());
    EXPECT_EQ(Owner->ComponentCount(), 2);
    EXPECT_TRUE(Log.contains("Owner: remove A"));
    EXPECT_TRUE(Log.contains("Other: insert A"));

    A->SetComponentState(A->ComponentState() + csLoading);
    A->Loaded();
    EXPECT_FALSE(A->ComponentState().Contains(csLoading));
}

TEST_F(ObjectModel, ClassIdentityAndRegistry)
{
    TAutoFree<TModelDerived> D(TModelDerived::Create(nullptr));
    EXPECT_EQ(D->ClassName(), "TModelDerived");
    EXPECT_TRUE(D->Is<TModelBase>());
    EXPECT_TRUE(D->Is<TPersistent>());
    EXPECT_FALSE(D->Is<TStrings>());
    EXPECT_EQ(D->ClassType()->Parent(), TModelBase::StaticClass());
    EXPECT_EQ(GetClass(QStringLiteral("TSTRINGLIST")), TStringList::StaticClass());
    EXPECT_EQ(GetClass(QStringLiteral("TNoSuchClass")), nullptr);
    try {
        FindClass(QStringLiteral("TNoSuchClass"));
        FAIL();
    } catch (const EClassNotFound &E) {
        EXPECT_EQ(E.Message(), "Class TNoSuchClass not found");
    }
    RegisterClass(TModelDerived::StaticClass());   // again: harmless
    TModelBase *Null = nullptr;
    FreeAndNil(Null);
}

TEST_F(ObjectModel, AssignWithoutSupportRaisesConversionError)
{
    TAutoFree<TModelBase> C(TModelBase::Create(nullptr));
    TAutoFree<TStringList> L(TStringList::Create());
    try {
        C->Assign(L.get());
        FAIL();
    } catch (const EConvertError &E) {
        EXPECT_EQ(E.Message(), "Cannot assign a TStringList to a TModelBase");
    }
    EXPECT_THROW(L->Assign(nullptr), EConvertError);
}
