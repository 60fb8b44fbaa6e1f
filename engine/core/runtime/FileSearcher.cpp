#include "runtime/FileSearcher.h"

int FileSearcher::first(const char* mask, int attributes) {
    return search_.first(mask, static_cast<unsigned>(attributes), *this);
}

int FileSearcher::next() {
    return search_.next(*this);
}
