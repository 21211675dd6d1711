#include "framework/core/Object.h"

#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"

#include <QMap>
#include <new>

TClass TObject::StaticClass()
{
    static const TClassInfo Info("TObject", nullptr, nullptr);
    return &Info;
}

TClass TObject::ClassType() const
{
    return StaticClass();
}

QString TObject::ClassName() const
{
    return ClassType()->Name();
}

bool TObject::InheritsFrom(TClass C) const
{
    return ClassType()->InheritsFrom(C);
}

TObject::~TObject() = default;

void *TObject::operator new(std::size_t Size)
{
    return ::operator new(Size);
}

void TObject::operator delete(void *Ptr)
{
    ::operator delete(Ptr);
}

void TObject::Free()
{
    if (FFreeing)
        return;
    FFreeing = true;
    // An object whose last work fails (a writer's final save) is still released before the error goes on.
    try {
        BeforeDestruction();
    } catch (...) {
        delete this;
        throw;
    }
    delete this;
}

void TObjectFree::operator()(TObject *Obj) const noexcept
{
    if (!Obj)
        return;
    // A scope guard runs in a destructor, where an error cannot go on: it is told rather than ending the program.
    try {
        Obj->Free();
    } catch (const std::exception &E) {
        qWarning("%s", E.what());
    }
}

void TObject::AfterConstruction() {}

void TObject::BeforeDestruction() {}

// ---- class registry ----------------------------------------------------------------------------

namespace {
// Entries registered by unit are resolved on first use, so no class table is built during static
// initialisation.
struct TRegistryEntry
{
    TClass Class = nullptr;
    TClass (*StaticClass)() = nullptr;
    TClass Resolve()
    {
        if (!Class && StaticClass)
            Class = StaticClass();
        return Class;
    }
};

QMap<QString, TRegistryEntry> &Registry()
{
    static QMap<QString, TRegistryEntry> Map;
    return Map;
}
} // namespace

bool KivDetail::AutoRegister(const char *Name, TClass (*StaticClass)())
{
    QString Key = QString::fromLatin1(Name).toLower();
    if (!Registry().contains(Key))
        Registry().insert(Key, TRegistryEntry{nullptr, StaticClass});
    return true;
}

TObject *KivDetail::NewInstance(TClass C, TClass Base)
{
    if (!C)
        throw EInvalidOperation(QStringLiteral("Cannot create an instance of a nil class"));
    if (!C->InheritsFrom(Base))
        throw EInvalidOperation(QStringLiteral("%1 is not a %2").arg(C->Name(), Base->Name()));
    if (C->IsAbstract())
        throw EInvalidOperation(QStringLiteral("Cannot create an instance of the abstract class %1").arg(C->Name()));
    return C->FNewInstance();
}

void RegisterClass(TClass C)
{
    QString Key = C->Name().toLower();
    auto It = Registry().find(Key);
    if (It == Registry().end()) {
        Registry().insert(Key, TRegistryEntry{C, nullptr});
        return;
    }
    if (It->Resolve() != C)
        throw EFilerError(QStringLiteral("A class named %1 already exists").arg(C->Name()));
}

void RegisterClasses(std::initializer_list<TClass> Classes)
{
    for (TClass C : Classes)
        RegisterClass(C);
}

void UnRegisterClass(TClass C)
{
    auto It = Registry().find(C->Name().toLower());
    if (It != Registry().end() && It->Resolve() == C)
        Registry().erase(It);
}

TClass GetClass(const QString &Name)
{
    auto It = Registry().find(Name.toLower());
    return It == Registry().end() ? nullptr : It->Resolve();
}

TClass FindClass(const QString &Name)
{
    TClass C = GetClass(Name);
    if (!C)
        throw EClassNotFound(QStringLiteral("Class %1 not found").arg(Name));
    return C;
}
