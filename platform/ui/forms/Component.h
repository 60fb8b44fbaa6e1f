// The base of everything on a form: objects, components with an owner and a
// name, the event types, and the rule by which events run.
//
// - A component belongs to its owner, which deletes it; components are made
//   with `new` and ended with Free() (or by their owner). FindComponent looks
//   among the components a component owns, by name, without regard to ASCII
//   case.
// - Events are public members (`OnClick`, `OnChange`, ...) holding a handler;
//   an empty one does nothing. A form description binds them by name
//   ("OnClick=BtnCopyClick", Form.h); code assigns them directly.
// - While an event runs, Free() of any component takes it out of its owner and
//   off the screen at once, and deletes it after the outermost event running
//   has returned, so a component may free itself from its own event.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

namespace ui::forms {

struct TComponentDesc;
class TForm;

class TObject {
  public:
    virtual ~TObject() = default;
    // The class's name as messages give it ("TButton").
    virtual const char* ClassName() const = 0;
};

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Keys and mouse buttons held during a mouse event.
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle };
class TShiftState {
  public:
    constexpr TShiftState() = default;
    constexpr TShiftState(std::initializer_list<TShiftStateItem> items) {
        for (TShiftStateItem i : items)
            bits_ |= 1u << i;
    }
    constexpr bool Contains(TShiftStateItem item) const { return bits_ & (1u << item); }
    constexpr TShiftState& operator<<(TShiftStateItem item) {
        bits_ |= 1u << item;
        return *this;
    }
    constexpr bool operator==(const TShiftState&) const = default;

  private:
    unsigned bits_ = 0;
};

// What OnClose does with the form: caHide closes it, caNone keeps it open.
enum TCloseAction { caNone, caHide };

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;
// X and Y are pixels in the component's own coordinates.
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;

// The parameters of an event type ("(TObject* Sender)"), for messages.
const char* EventTypeName(const std::type_info& type);

// An event member found by its name, for binding.
struct TEventSlot {
    const std::type_info* Type = nullptr; // the event's type (TNotifyEvent, ...)
    void* Slot = nullptr;                 // the member
    explicit operator bool() const { return Slot != nullptr; }
    template <class E> static TEventSlot Of(E& event) { return {&typeid(E), &event}; }
};

class TComponent : public TObject {
  public:
    // Owned by `owner` when given; with none the caller ends it.
    explicit TComponent(TComponent* owner);
    // Deletes the components it owns, the last made first.
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& GetName() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    TComponent* GetOwner() const { return owner_; }

    // The owned component of that name (ASCII case ignored), or null.
    TComponent* FindComponent(std::string_view name) const;

    // Ends the component: at once, or, while an event runs, it leaves its
    // owner and the screen now and is deleted once the outermost event has
    // returned.
    void Free();

    // The event member called `name` ("OnClick"), for binding by name.
    virtual TEventSlot FindEvent(std::string_view name);

  protected:
    // Deletes the owned components now (a class whose members they may use
    // calls it first in its destructor).
    void DestroyComponents();
    // Takes the component out of view before a deferred delete (controls hide).
    virtual void Withdraw() {}
    // Leaves the owner and counts as freed inside an event (a control freed
    // with its parent).
    void LeaveOwnerInEvent();
    bool FreedInEvent() const { return freedInEvent_; }

    // Building from a description (Form.h): places the component on `parent`
    // (the form when the entry names none: `named` false) and takes the parts
    // of the entry it uses. Each problem found is added to `problems`.
    virtual void PlaceIn(TComponent* parent, bool named, std::vector<std::string>& problems);
    virtual void Describe(const TComponentDesc& desc, std::vector<std::string>& problems);
    friend class TForm;

  private:
    std::string name_;
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    bool freed_ = false, freedInEvent_ = false;
};

namespace detail {

// Counts the events running. When the outermost one returns, the work put off
// with AfterEvents runs, in order.
class TEventScope {
  public:
    TEventScope();
    ~TEventScope();
    TEventScope(const TEventScope&) = delete;
    TEventScope& operator=(const TEventScope&) = delete;
};

// Whether any event runs now.
bool InEvent();

// Runs work now when no event runs, else once the outermost event returns.
void AfterEvents(std::function<void()> work);

// Compares names without regard to ASCII case.
bool SameName(std::string_view a, std::string_view b);

} // namespace detail

// Runs an event's handler, if any, as an event. The handler is copied first,
// so it may reassign its own event member or free its component.
template <class E, class... A> void Fire(const E& event, A&&... args) {
    if (!event) return;
    const E handler = event;
    detail::TEventScope scope;
    handler(std::forward<A>(args)...);
}

} // namespace ui::forms
