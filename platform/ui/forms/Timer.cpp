#include "ui/forms/Timer.h"

#include "ui/forms/Control.h"
#include "ui/forms/Description.h"

#include <QTimer>

namespace ui::forms {

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    detail::EnsureQt();
    timer_ = std::make_unique<QTimer>();
    QObject::connect(timer_.get(), &QTimer::timeout, [this] { Fire(OnTimer, this); });
    Apply();
}

TTimer::~TTimer() {
    timer_->stop();
    if (FreedInEvent()) {
        // Qt may still be inside the timer's signal.
        timer_->disconnect();
        detail::DeleteSoon(timer_.release());
    }
}

void TTimer::SetInterval(int milliseconds) {
    interval_ = milliseconds;
    Apply();
}

void TTimer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Apply();
}

bool TTimer::IsRunning() const {
    return timer_->isActive();
}

void TTimer::Apply() {
    if (enabled_ && interval_ > 0)
        timer_->start(interval_); // restarts the wait, also from inside OnTimer
    else
        timer_->stop();
}

void TTimer::Describe(const TComponentDesc& desc, std::vector<std::string>&) {
    interval_ = desc.Interval > 0 ? desc.Interval : 1000;
    enabled_ = desc.Enabled;
    Apply();
}

TEventSlot TTimer::FindEvent(std::string_view name) {
    if (name == "OnTimer") return TEventSlot::Of(OnTimer);
    return TComponent::FindEvent(name);
}

} // namespace ui::forms
