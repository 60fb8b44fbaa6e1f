// What a form class publishes for binding by name: its component fields and
// its event handlers.
//
//   class TFoWarning : public TForm {
//     public:
//       using TForm::TForm;
//       PUBLISHED_FIELD(TLabel, LblWarningHeading); // declares TLabel* LblWarningHeading
//       PUBLISHED_FIELD(TTimer, Timer1);
//       void Timer1Timer(TObject* Sender);
//       PUBLISHED_METHOD(Timer1Timer);
//   };
//
// Building the form (CreateForm) sets each field to the component of its name
// and binds each "OnTimer=Timer1Timer" of the description to the method of
// that name. The fields are null in the form's constructor: work on the
// components belongs in OnCreate. A published method must have the signature of an event type
// (TNotifyEvent, TCloseEvent, TCloseQueryEvent, TTabChangingEvent,
// TMouseEvent, TMouseMoveEvent), else it does not compile; a field must point
// to a component class. Whether each name, class and signature fits is checked
// when the form is built.
#pragma once

#include "ui/forms/Component.h"

#include <functional>
#include <type_traits>
#include <typeinfo>

namespace ui::forms {

class TForm;

namespace detail {

struct TPublishedField {
    const char* Name;
    const char* TypeName; // the field's component class ("TLabel")
    void* Field;          // the T* member
    // Sets the field when the component is of its class; false otherwise.
    bool (*Assign)(void* field, TComponent* component);
};

struct TPublishedMethod {
    const char* Name;
    const std::type_info* Type; // the event type it fits
    // Sets an event member of that type to call the method.
    std::function<void(void* slot)> AssignTo;
};

void Publish(TForm& form, TPublishedField field);
void Publish(TForm& form, TPublishedMethod method);

template <class E>
inline constexpr bool kIsEventType =
    std::is_same_v<E, TNotifyEvent> || std::is_same_v<E, TCloseEvent> ||
    std::is_same_v<E, TCloseQueryEvent> || std::is_same_v<E, TTabChangingEvent> ||
    std::is_same_v<E, TMouseEvent> || std::is_same_v<E, TMouseMoveEvent>;

template <class T> bool AssignComponent(void* field, TComponent* component) {
    T* typed = dynamic_cast<T*>(component);
    if (!typed) return false;
    *static_cast<T**>(field) = typed;
    return true;
}

// Registers a field with the form while the form is being made.
class TFieldEntry {
  public:
    template <class S, class T>
    TFieldEntry(S* self, const char* name, const char* typeName, T** field) {
        static_assert(std::is_base_of_v<TComponent, T>, "a published field points to a component");
        Publish(*self, TPublishedField{name, typeName, field, &AssignComponent<T>});
    }
};

// Registers a handler with the form while the form is being made.
class TMethodEntry {
  public:
    template <class S, class C, class... A>
    TMethodEntry(S* self, const char* name, void (C::*method)(A...)) {
        static_assert(std::is_base_of_v<C, S>);
        using E = std::function<void(A...)>;
        static_assert(kIsEventType<E>, "a published method has the signature of an event type");
        Publish(*self, TPublishedMethod{name, &typeid(E), [self, method](void* slot) {
                                            *static_cast<E*>(slot) = [self, method](A... args) {
                                                (self->*method)(std::forward<A>(args)...);
                                            };
                                        }});
    }
};

} // namespace detail

} // namespace ui::forms

// Declares the component field `Type* Name` (null until the form is built) and
// publishes it under its name.
#define PUBLISHED_FIELD(Type, Name)                                                                \
    Type* Name = nullptr;                                                                          \
    ::ui::forms::detail::TFieldEntry Name##PublishedEntry_ {                                       \
        this, #Name, #Type, &Name                                                                  \
    }

// Publishes the handler `Name`, a method of the class, under its name.
#define PUBLISHED_METHOD(Name)                                                                     \
    ::ui::forms::detail::TMethodEntry Name##PublishedEntry_ {                                      \
        this, #Name, &std::remove_pointer_t<decltype(this)>::Name                                  \
    }
