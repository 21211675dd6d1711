#pragma once
// TComponent: owned objects with names, removal notification and the streaming hooks of the layout
// reader and writer.
//
// A component joins its owner at the start of TComponent::Construct (so derived constructor bodies
// already see Owner and siblings); the owner's Notification(opInsert) comes once the object is whole.
// Free() sends the component's own removal notification before any destructor runs, forwarded by
// every owner to all its owned components recursively (the removed one included).

#include "framework/core/Persistent.h"

#include <QList>

enum TOperation { opInsert, opRemove };

KIV_ENUM(TComponentStateItem, csLoading, csReading, csWriting, csDestroying, csDesigning, csUpdating,
         csFixups)
using TComponentState = TSet<TComponentStateItem>;

using TGetChildProc = std::function<void(TComponent *Child)>;

class TComponent : public TPersistent
{
    KIV_OBJECT(TComponent, TPersistent)
public:
    virtual void Construct(TComponent *AOwner);
    void BeforeDestruction() override;

    TComponent *Owner() const { return FOwner; }
    QString Name() const { return FName; }
    // Raises EComponentError for a name that is not an identifier or that a sibling already has.
    virtual void SetName(const QString &NewName);
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }

    int ComponentCount() const { return int(FComponents.size()); }
    TComponent *Components(int Index) const;
    int ComponentIndex() const;
    void SetComponentIndex(int Value);
    TComponent *FindComponent(const QString &AName) const;   // ignores case; nullptr when absent

    TComponentState ComponentState() const { return FComponentState; }
    // For the layout reader (csLoading, csReading) and tests; SetDesigning also reaches owned components.
    void SetComponentState(TComponentState Value) { FComponentState = Value; }
    void SetDesigning(bool Value, bool SetChildren = true);

    virtual void Notification(TComponent *AComponent, TOperation Operation);
    // Both components learn when the other is freed (for references across owners).
    void FreeNotification(TComponent *AComponent);
    void RemoveFreeNotification(TComponent *AComponent);

    void InsertComponent(TComponent *AComponent);
    void RemoveComponent(TComponent *AComponent);
    void DestroyComponents();
    void Destroying();

    // Left (low word) and Top (high word) of a non-visual component in a layout.
    qint32 DesignInfo() const { return FDesignInfo; }
    void SetDesignInfo(qint32 Value) { FDesignInfo = Value; }

    // Streaming hooks.
    virtual void Loaded();
    virtual bool HasParent() const { return false; }
    virtual TComponent *GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent *Value);
    // As a root (Root == this): its owned components that have no parent, in creation order.
    virtual void GetChildren(TGetChildProc Proc, TComponent *Root);
    virtual TComponent *GetChildOwner() { return nullptr; }
    virtual TComponent *GetChildParent() { return this; }
    virtual void SetChildOrder(TComponent *Child, int Order);
    virtual void ReadState(TReader *Reader);
    virtual void WriteState(TWriter *Writer);
    virtual void Updating();
    virtual void Updated();
    void DefineProperties(TFiler *Filer) override;
    QString GetNamePath() override;
    TPersistent *GetOwner() override { return FOwner; }

protected:
    virtual void ValidateRename(TComponent *AComponent, const QString &CurName, const QString &NewName);
    virtual void ValidateInsert(TComponent *AComponent);
    // Points the owner's published field named after this component at it (or clears it).
    void SetReference(bool Enable);

private:
    void Constructed() override;
    void Insert(TComponent *AComponent);
    void Remove(TComponent *AComponent);
    void RemoveFreeNotifications();

    TComponent *FOwner = nullptr;
    QString FName;
    int FTag = 0;
    QList<TComponent *> FComponents;
    QList<TComponent *> FFreeNotifies;
    TComponentState FComponentState;
    qint32 FDesignInfo = 0;
};

// Virtual construction by metaclass (the layout reader): same sequence as T::Create(AOwner).
TComponent *CreateComponent(TClass C, TComponent *AOwner);
