// Must not compile: the timer handler takes an int where its entry passes the
// timer id as UINT.
#include "ui/Window.h"

class TWrong : public ui::TWindow {
  public:
    TWrong() : TWindow(nullptr) {}
    void EvTimer(int id);
    DECLARE_RESPONSE_TABLE(TWrong);
};
DEFINE_RESPONSE_TABLE1(TWrong, ui::TWindow)
EV_WM_TIMER,
END_RESPONSE_TABLE;
