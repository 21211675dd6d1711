#include "framework/core/Component.h"

#include "framework/core/List.h"
#include "framework/core/Reader.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"
#include "framework/core/Writer.h"

KIV_PUBLISHED(TComponent)
{
    Property("Name", &TComponent::Name, &TComponent::SetName);
    Property("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
}

namespace {
bool IsValidIdent(const QString &Ident)
{
    auto IsAlpha = [](QChar C) { return (C >= u'A' && C <= u'Z') || (C >= u'a' && C <= u'z') || C == u'_'; };
    if (Ident.isEmpty() || !IsAlpha(Ident[0]))
        return false;
    for (QChar C : Ident)
        if (!IsAlpha(C) && !(C >= u'0' && C <= u'9'))
            return false;
    return true;
}
} // namespace

TComponent *CreateComponent(TClass C, TComponent *AOwner)
{
    return CreateInstance<TComponent>(C, AOwner);
}

// Joining the owner here, before the derived bodies run, lets them see Owner and their siblings;
// the owner hears of the new component only once it is whole (Constructed).
void TComponent::Construct(TComponent *AOwner)
{
    inherited::Construct();
    if (AOwner) {
        AOwner->Insert(this);
        if (AOwner->FComponentState.Contains(csDesigning))
            SetDesigning(true);
    }
}

void TComponent::Constructed()
{
    if (FOwner)
        FOwner->Notification(this, opInsert);
}

void TComponent::BeforeDestruction()
{
    Destroying();
    RemoveFreeNotifications();
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
    inherited::BeforeDestruction();
}

void TComponent::Destroying()
{
    if (FComponentState.Contains(csDestroying))
        return;
    FComponentState.Include(csDestroying);
    for (TComponent *C : std::as_const(FComponents))
        C->Destroying();
}

// Each owned component leaves with its full removal notification, like any other Free.
void TComponent::DestroyComponents()
{
    while (!FComponents.isEmpty()) {
        TComponent *Last = FComponents.last();
        Last->Free();
        if (!FComponents.isEmpty() && FComponents.last() == Last)
            Remove(Last);   // it was already being freed further up the stack
    }
}

TComponent *TComponent::Components(int Index) const
{
    if (Index < 0 || Index >= ComponentCount())
        ListIndexError(Index);
    return FComponents[Index];
}

int TComponent::ComponentIndex() const
{
    return FOwner ? int(FOwner->FComponents.indexOf(this)) : -1;
}

void TComponent::SetComponentIndex(int Value)
{
    if (!FOwner)
        return;
    int Count = FOwner->ComponentCount();
    Value = Value < 0 ? 0 : (Value >= Count ? Count - 1 : Value);
    FOwner->FComponents.move(ComponentIndex(), Value);
}

TComponent *TComponent::FindComponent(const QString &AName) const
{
    if (AName.isEmpty())
        return nullptr;
    for (TComponent *C : FComponents)
        if (SameText(C->FName, AName))
            return C;
    return nullptr;
}

void TComponent::SetName(const QString &NewName)
{
    if (FName == NewName)
        return;
    if (!NewName.isEmpty() && !IsValidIdent(NewName))
        throw EComponentError(QStringLiteral("'%1' is not a valid component name").arg(NewName));
    if (FOwner)
        FOwner->ValidateRename(this, FName, NewName);
    else
        ValidateRename(nullptr, FName, NewName);
    SetReference(false);
    FName = NewName;
    SetReference(true);
}

void TComponent::ValidateRename(TComponent *AComponent, const QString &CurName, const QString &NewName)
{
    if (AComponent && !SameText(CurName, NewName) && AComponent->FOwner == this) {
        TComponent *Other = FindComponent(NewName);
        if (Other && Other != AComponent)
            throw EComponentError(QStringLiteral("A component named %1 already exists").arg(NewName));
    }
}

void TComponent::ValidateInsert(TComponent *) {}

void TComponent::SetReference(bool Enable)
{
    if (!FOwner || FName.isEmpty())
        return;
    const TFieldInfo *Field = GetFieldInfo(FOwner->ClassType(), FName);
    if (!Field)
        return;
    if (Enable)
        Field->Set(FOwner, this);
    else if (Field->Get(FOwner) == this)
        Field->Set(FOwner, nullptr);
}

void TComponent::SetDesigning(bool Value, bool SetChildren)
{
    if (Value)
        FComponentState.Include(csDesigning);
    else
        FComponentState.Exclude(csDesigning);
    if (SetChildren)
        for (TComponent *C : std::as_const(FComponents))
            C->SetDesigning(Value);
}

// Every owned component hears of every insertion and removal below this owner, recursively, the
// removed component included; a removed component also drops out of the free-notification links.
void TComponent::Notification(TComponent *AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent)
        RemoveFreeNotification(AComponent);
    for (int I = 0; I < FComponents.size(); ++I)
        FComponents[I]->Notification(AComponent, Operation);
}

void TComponent::FreeNotification(TComponent *AComponent)
{
    if (!AComponent || AComponent == this)
        return;
    if (!FFreeNotifies.contains(AComponent))
        FFreeNotifies.append(AComponent);
    if (!AComponent->FFreeNotifies.contains(this))
        AComponent->FFreeNotifies.append(this);
}

void TComponent::RemoveFreeNotification(TComponent *AComponent)
{
    if (!AComponent)
        return;
    FFreeNotifies.removeAll(AComponent);
    AComponent->FFreeNotifies.removeAll(this);
}

void TComponent::RemoveFreeNotifications()
{
    while (!FFreeNotifies.isEmpty()) {
        TComponent *Holder = FFreeNotifies.takeLast();
        Holder->FFreeNotifies.removeAll(this);
        Holder->Notification(this, opRemove);
    }
}

void TComponent::InsertComponent(TComponent *AComponent)
{
    if (AComponent->FOwner == this)
        return;
    ValidateInsert(AComponent);
    ValidateRename(AComponent, QString(), AComponent->FName);
    if (AComponent->FOwner)
        AComponent->FOwner->RemoveComponent(AComponent);
    Insert(AComponent);
    AComponent->SetReference(true);
    if (FComponentState.Contains(csDesigning))
        AComponent->SetDesigning(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent *AComponent)
{
    if (AComponent->FOwner != this)
        return;
    Notification(AComponent, opRemove);
    AComponent->SetReference(false);
    Remove(AComponent);
}

void TComponent::Insert(TComponent *AComponent)
{
    FComponents.append(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent *AComponent)
{
    FComponents.removeOne(AComponent);
    AComponent->FOwner = nullptr;
}

void TComponent::Loaded()
{
    FComponentState.Exclude(csLoading);
}

void TComponent::SetParentComponent(TComponent *) {}

// A root streams its non-visual owned components; controls add their child controls after these.
void TComponent::GetChildren(TGetChildProc Proc, TComponent *Root)
{
    if (Root != this)
        return;
    for (TComponent *C : std::as_const(FComponents))
        if (!C->HasParent())
            Proc(C);
}

void TComponent::SetChildOrder(TComponent *, int) {}

void TComponent::ReadState(TReader *Reader)
{
    Reader->ReadData(this);
}

void TComponent::WriteState(TWriter *Writer)
{
    Writer->WriteData(this);
}

void TComponent::Updating()
{
    FComponentState.Include(csUpdating);
}

void TComponent::Updated()
{
    FComponentState.Exclude(csUpdating);
}

// A non-visual component keeps its place on the design surface as "Left" and "Top": read, kept in
// DesignInfo and written back when it differs from the ancestor's.
void TComponent::DefineProperties(TFiler *Filer)
{
    inherited::DefineProperties(Filer);
    auto *Ancestor = dynamic_cast<TComponent *>(Filer->Ancestor());
    const qint32 AncestorInfo = Ancestor ? Ancestor->FDesignInfo : 0;
    auto Left = [](qint32 Info) { return qint16(Info & 0xFFFF); };
    auto Top = [](qint32 Info) { return qint16((Info >> 16) & 0xFFFF); };
    auto Pack = [](qint16 L, qint16 T) { return qint32((quint32(quint16(T)) << 16) | quint16(L)); };
    Filer->DefineProperty(
        QStringLiteral("Left"),
        [this, Top, Pack](TReader *Reader) { FDesignInfo = Pack(qint16(Reader->ReadInteger()), Top(FDesignInfo)); },
        [this, Left](TWriter *Writer) { Writer->WriteInteger(Left(FDesignInfo)); },
        Left(FDesignInfo) != Left(AncestorInfo));
    Filer->DefineProperty(
        QStringLiteral("Top"),
        [this, Left, Pack](TReader *Reader) { FDesignInfo = Pack(Left(FDesignInfo), qint16(Reader->ReadInteger())); },
        [this, Top](TWriter *Writer) { Writer->WriteInteger(Top(FDesignInfo)); },
        Top(FDesignInfo) != Top(AncestorInfo));
}

QString TComponent::GetNamePath()
{
    return FName;
}
