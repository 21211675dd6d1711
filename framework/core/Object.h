#pragma once
// TObject: the root of the framework's classes, with the classic two-phase object model that C++
// constructors cannot give. Objects are made only by T::Create(...) (or by metaclass, see
// CreateInstance) and destroyed only by Free():
//   C++ construction (member initialisers only) -> Construct(args) chain, where a virtual call
//   already reaches the most-derived override -> Constructed() (components: owner notified)
//   -> AfterConstruction().
//   Free(): BeforeDestruction() while the object is whole -> C++ destructors.
// An exception anywhere in creation frees the object and propagates.

#include "framework/core/Events.h"
#include "framework/core/Sets.h"

#include <QString>
#include <cstddef>
#include <memory>
#include <utility>

class TObject;
class TClassInfo;
using TClass = const TClassInfo *;

namespace KivDetail {
// A fresh C++ object of C, checked to descend from Base; raises for abstract or unrelated classes.
TObject *NewInstance(TClass C, TClass Base);
bool AutoRegister(const char *Name, TClass (*StaticClass)());
}

class TObject
{
public:
    static TClass StaticClass();
    virtual TClass ClassType() const;
    QString ClassName() const;
    bool InheritsFrom(TClass C) const;
    template <class T>
    bool Is() const { return InheritsFrom(T::StaticClass()); }

    void Free();
    virtual void AfterConstruction();
    virtual void BeforeDestruction();
    void Construct() {}

    TObject(const TObject &) = delete;
    TObject &operator=(const TObject &) = delete;

protected:
    TObject() = default;
    virtual ~TObject();
    static void *operator new(std::size_t Size);
    static void operator delete(void *Ptr);

    // Runs the creation sequence after the C++ object is complete; Body is the Construct call.
    template <class F>
    static void Initialize(TObject *Obj, F &&Body)
    {
        try {
            Body();
            Obj->Constructed();
            Obj->AfterConstruction();
        } catch (...) {
            Obj->Free();
            throw;
        }
    }

    template <class B, class... A>
    friend B *CreateInstance(TClass C, A &&...Args);

private:
    virtual void Constructed() {}
    bool FFreeing = false;
};

// Declares a framework class: KIV_OBJECT(TFoo, TBar) first in the class body. It gives the class
// its protected default constructor, so members take their initial values where they are declared
// and everything else goes in Construct(...). The class's .cpp registers it with KIV_PUBLISHED
// (TypInfo.h).
#define KIV_OBJECT(TSelf, TBase)                                                   \
public:                                                                            \
    using inherited = TBase;                                                       \
    static TClass StaticClass();                                                   \
    TClass ClassType() const override { return StaticClass(); }                    \
    template <class... A, class TMe = TSelf>                                       \
    static TMe *Create(A &&...Args)                                                \
    {                                                                              \
        TMe *Obj = new TMe();                                                      \
        TObject::Initialize(Obj, [&] { Obj->Construct(std::forward<A>(Args)...); }); \
        return Obj;                                                                \
    }                                                                              \
                                                                                   \
protected:                                                                         \
    TSelf() = default;                                                             \
    friend struct TSelf##_Published;                                               \
                                                                                   \
private:

// Virtual construction by metaclass: an instance of C (a descendant of B) built by the same
// sequence as T::Create, with B's (virtual) Construct(Args...).
template <class B, class... A>
B *CreateInstance(TClass C, A &&...Args)
{
    B *Obj = static_cast<B *>(KivDetail::NewInstance(C, B::StaticClass()));
    TObject::Initialize(Obj, [&] { Obj->Construct(std::forward<A>(Args)...); });
    return Obj;
}

template <class T>
void FreeAndNil(T *&Obj)
{
    TObject *Old = Obj;
    Obj = nullptr;
    if (Old)
        Old->Free();
}

struct TObjectFree
{
    void operator()(TObject *Obj) const noexcept;
};

// Scope guard for temporaries: TAutoFree<TStringList> L(TStringList::Create());
template <class T>
using TAutoFree = std::unique_ptr<T, TObjectFree>;

// The class registry for creation by name. Every class with KIV_PUBLISHED is registered when its
// unit is linked in (the first class linked in under a name keeps it); RegisterClass raises
// EFilerError for a second class of the same name, so a replacement is unregistered first.
void RegisterClass(TClass C);
void RegisterClasses(std::initializer_list<TClass> Classes);
void UnRegisterClass(TClass C);
TClass GetClass(const QString &Name);     // ignores case; nullptr when unknown
TClass FindClass(const QString &Name);    // raises EClassNotFound naming the class
