// A timer of the forms' thread: OnTimer runs every Interval milliseconds
// (1000 by default) while it is Enabled (the default) and the interval is
// above 0. Changing the interval, also inside OnTimer, starts the next wait
// with the new interval; the timer keeps running. Ticks come from the loop
// (the main loop, a modal form's, or ProcessMessages).
#pragma once

#include "ui/forms/Component.h"

#include <memory>

class QTimer;

namespace ui::forms {

class TTimer : public TComponent {
  public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    const char* ClassName() const override { return "TTimer"; }

    int GetInterval() const { return interval_; }
    void SetInterval(int milliseconds);
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    TNotifyEvent OnTimer;

    TEventSlot FindEvent(std::string_view name) override;

    // Whether the timer is waiting for its next tick now.
    bool IsRunning() const;

  protected:
    void Describe(const TComponentDesc& desc, std::vector<std::string>& problems) override;

  private:
    void Apply();
    std::unique_ptr<QTimer> timer_;
    int interval_ = 1000;
    bool enabled_ = true;
};

} // namespace ui::forms
