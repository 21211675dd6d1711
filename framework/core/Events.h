#pragma once
// Events: closures that also remember the published method they were bound to by name, so that a
// layout writer can write "OnClick = Button1Click" back.

#include "framework/core/Sets.h"

#include <QChar>
#include <QString>
#include <functional>
#include <type_traits>

class TObject;

// A method reference by name: Data is the object whose published method Name is called.
struct TMethod
{
    TObject *Data = nullptr;
    QString Name;

    bool IsNull() const { return Data == nullptr || Name.isEmpty(); }
    friend bool operator==(const TMethod &, const TMethod &) = default;
};

template <class Sig>
class TEvent : public std::function<Sig>
{
    using TFunction = std::function<Sig>;

public:
    using TSignature = Sig;
    TEvent() = default;
    TEvent(std::nullptr_t) {}
    template <class F>
        requires(!std::is_same_v<std::decay_t<F>, TEvent> && std::is_constructible_v<TFunction, F>)
    TEvent(F &&Fn) : TFunction(std::forward<F>(Fn))
    {
    }

    // Assigning a plain callable forgets the bound name; copying an event keeps it.
    template <class F>
        requires(!std::is_same_v<std::decay_t<F>, TEvent> && std::is_assignable_v<TFunction &, F>)
    TEvent &operator=(F &&Fn)
    {
        TFunction::operator=(std::forward<F>(Fn));
        FMethod = TMethod();
        return *this;
    }

    const TMethod &Method() const { return FMethod; }
    void Bind(const TMethod &Method, TFunction Fn)
    {
        TFunction::operator=(std::move(Fn));
        FMethod = Method;
    }

private:
    TMethod FMethod;
};

template <class T>
struct TIsEvent : std::false_type {};
template <class Sig>
struct TIsEvent<TEvent<Sig>> : std::true_type {};

KIV_ENUM(TShiftStateItem, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
using TShiftState = TSet<TShiftStateItem>;
KIV_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle)

// The event types every layer shares; those that need window or graphics types live with them.
using TNotifyEvent = TEvent<void(TObject *Sender)>;
using TMouseEvent = TEvent<void(TObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TEvent<void(TObject *Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = TEvent<void(TObject *Sender, quint16 &Key, TShiftState Shift)>;
using TKeyPressEvent = TEvent<void(TObject *Sender, QChar &Key)>;
