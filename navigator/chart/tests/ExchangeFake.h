// The fake exchange library of the 3D view tests in the chart window's tests:
// loaded by the exchange like the real one, and opened by the test as well so
// that its record and status words can be read and set.
#pragma once

#include "ViewerExchange.h"
#include "fake/FakeExchange.h"

#include <dlfcn.h>

namespace charttest {

// The fake exchange library, opened by the test as well so that its state
// can be read and set; the exchange is unloaded when it goes.
class FakeExchange {
  public:
    FakeExchange() : handle_(::dlopen(FAKE_EXCHANGE_LIBRARY, RTLD_NOW | RTLD_LOCAL)) {
        if (handle_)
            state_ =
                reinterpret_cast<FakeExchangeStateFn>(::dlsym(handle_, "FakeExchange_State"))();
    }
    ~FakeExchange() {
        UnloadViewerExchange();
        if (handle_) ::dlclose(handle_);
    }
    FakeExchange(const FakeExchange&) = delete;
    FakeExchange& operator=(const FakeExchange&) = delete;
    FakeExchangeState* operator->() const { return state_; }

  private:
    void* handle_;
    FakeExchangeState* state_ = nullptr;
};

} // namespace charttest
