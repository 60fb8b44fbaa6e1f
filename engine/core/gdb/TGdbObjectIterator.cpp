#include "gdb/TGdbObjectIterator.h"

int TGdbObjectIterator::init(GeoCover&, unsigned long) {
    return 0;
}
int TGdbObjectIterator::done() {
    return 0;
}
int TGdbObjectIterator::setFormula(const void*) {
    return -1;
}
GdbObject* TGdbObjectIterator::currentGdbObject() {
    return nullptr;
}
GdbObject* TGdbObjectIterator::firstGdbObject() {
    return nullptr;
}
GdbObject* TGdbObjectIterator::nextGdbObject() {
    return nullptr;
}
int TGdbObjectIterator::resetPriorityLayers(int, int) {
    return 0;
}
