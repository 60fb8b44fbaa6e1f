#include "runtime/TLocker.h"

namespace TOS {

TLocker::TLocker() : cs_(new std::recursive_mutex) {}

TLocker::~TLocker() { delete cs_; }

void TLocker::lock() { cs_->lock(); }

void TLocker::unlock() { cs_->unlock(); }

} // namespace TOS
