#include "gdb/TGeoDb.h"

TGeoDb* TGeoDb::pGdbList[TGeoDb::registrySize] = {};
int TGeoDb::nGdbNum = 0;

TGeoDb::TGeoDb(TGdbDictionary& dictionary) : dictionary_(&dictionary) {
    if (nGdbNum < registrySize) {
        for (int i = 0; i < registrySize; ++i) {
            if (!pGdbList[i]) {
                pGdbList[i] = this;
                slot_ = i;
                ++nGdbNum;
                break;
            }
        }
    }
}

TGeoDb::~TGeoDb() {
    if (slot_ >= 0 && pGdbList[slot_] == this) {
        pGdbList[slot_] = nullptr;
        --nGdbNum;
    }
}

int TGeoDb::openGdbQuery(TGdbQuery&) {
    return -1;
}
int TGeoDb::processFormula(TGdbQuery&, const void*) {
    return -1;
}
TGdbObjectIterator* TGeoDb::newGdbObjectIterator() {
    return nullptr;
}
TGdbObjectIterator* TGeoDb::newGdbObjectIterator(GeoCover&, unsigned long, const void*) {
    return nullptr;
}
GeoCover TGeoDb::getCover(GeoRect&, unsigned long) {
    return GeoCover();
}
int TGeoDb::getLevel(unsigned long) {
    return -1;
}
unsigned long TGeoDb::getScale(int) {
    return 0;
}
int TGeoDb::flush() {
    return 0;
}
