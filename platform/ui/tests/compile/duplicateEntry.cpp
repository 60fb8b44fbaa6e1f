// Must not compile: command 5 has two handlers (EV_BN_CLICKED is EV_COMMAND's key).
#include "ui/Window.h"

class TTwice : public ui::TWindow {
  public:
    TTwice() : TWindow(nullptr) {}
    void CmOne();
    void CmTwo();
    DECLARE_RESPONSE_TABLE(TTwice);
};
DEFINE_RESPONSE_TABLE1(TTwice, ui::TWindow)
EV_COMMAND(5, CmOne),
EV_BN_CLICKED(5, CmTwo),
END_RESPONSE_TABLE;
