#include "ui/forms/Component.h"

#include <algorithm>
#include <deque>

namespace ui::forms {

namespace {

int eventDepth = 0;
bool draining = false;

std::deque<std::function<void()>>& afterEvents() {
    static std::deque<std::function<void()>> q;
    return q;
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

} // namespace

namespace detail {

TEventScope::TEventScope() {
    ++eventDepth;
}

TEventScope::~TEventScope() {
    if (--eventDepth > 0 || draining) return;
    // Work put off by the events runs now; events it fires put theirs behind.
    draining = true;
    auto& q = afterEvents();
    while (!q.empty()) {
        std::function<void()> work = std::move(q.front());
        q.pop_front();
        work();
    }
    draining = false;
}

bool InEvent() {
    return eventDepth > 0;
}

void AfterEvents(std::function<void()> work) {
    if (eventDepth > 0) {
        afterEvents().push_back(std::move(work));
        return;
    }
    // Run as an event, so that what its own events put off waits for its end.
    const TEventScope scope;
    work();
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

} // namespace detail

const char* EventTypeName(const std::type_info& type) {
    // TCloseQueryEvent and TTabChangingEvent are one type.
    if (type == typeid(TNotifyEvent)) return "(TObject* Sender)";
    if (type == typeid(TCloseEvent)) return "(TObject* Sender, TCloseAction& Action)";
    if (type == typeid(TCloseQueryEvent)) return "(TObject* Sender, bool& Value)";
    if (type == typeid(TMouseEvent))
        return "(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)";
    if (type == typeid(TMouseMoveEvent))
        return "(TObject* Sender, TShiftState Shift, int X, int Y)";
    return "(?)";
}

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
    DestroyComponents();
    if (owner_) std::erase(owner_->components_, this);
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* last = components_.back();
        components_.pop_back();
        last->owner_ = nullptr;
        delete last;
    }
}

void TComponent::LeaveOwnerInEvent() {
    freed_ = freedInEvent_ = true;
    if (owner_) {
        std::erase(owner_->components_, this);
        owner_ = nullptr;
    }
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (detail::SameName(c->name_, name)) return c;
    return nullptr;
}

void TComponent::Free() {
    if (freed_) return;
    freed_ = true;
    if (!detail::InEvent()) {
        delete this;
        return;
    }
    // Gone for everyone now; deleted once the running events have returned.
    LeaveOwnerInEvent();
    Withdraw();
    detail::AfterEvents([this] { delete this; });
}

TEventSlot TComponent::FindEvent(std::string_view) {
    return {};
}

void TComponent::PlaceIn(TComponent* parent, bool named, std::vector<std::string>& problems) {
    if (named)
        problems.push_back(name_ + " (" + ClassName() + ") cannot be placed on " +
                           parent->GetName());
}

void TComponent::Describe(const TComponentDesc&, std::vector<std::string>&) {}

} // namespace ui::forms
