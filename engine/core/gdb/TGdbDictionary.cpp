#include "gdb/TGdbDictionary.h"

#include "runtime/paths.h"

#include <cstring>

TGdbDictionary* TGdbDictionary::apGdbDict[TGdbDictionary::registrySize] = {};
int TGdbDictionary::nGdbDict = 0;

namespace {

char* copyText(const char* text) {
    if (!text) return nullptr;
    const std::size_t n = std::strlen(text) + 1;
    char* copy = new char[n];
    std::memcpy(copy, text, n);
    return copy;
}

} // namespace

TGdbDictionary::TGdbDictionary(const char* name, const char* path)
    : name_(copyText(name)), path_(newPath(path, nullptr)) {
    if (nGdbDict < registrySize) {
        for (int i = 0; i < registrySize; ++i) {
            if (!apGdbDict[i]) {
                apGdbDict[i] = this;
                slot_ = i;
                ++nGdbDict;
                break;
            }
        }
    }
}

TGdbDictionary::~TGdbDictionary() {
    if (slot_ >= 0 && apGdbDict[slot_] == this) {
        apGdbDict[slot_] = nullptr;
        --nGdbDict;
    }
    delete[] name_;
    delete[] path_;
}

int TGdbDictionary::GetObjectNum() const {
    return 0;
}
int TGdbDictionary::GetObjectLabel(char*) const {
    return -1;
}
const char* TGdbDictionary::GetObjectCode(int) const {
    return nullptr;
}
const char* TGdbDictionary::GetObjectName(int) const {
    return nullptr;
}
int TGdbDictionary::GetAttrNum() const {
    return 0;
}
int TGdbDictionary::GetAttrLabel(char*) const {
    return -1;
}
const char* TGdbDictionary::GetAttrCode(int) const {
    return nullptr;
}
const char* TGdbDictionary::GetAttrName(int) const {
    return nullptr;
}
const char* TGdbDictionary::GetAttrValueName(int, int) const {
    return nullptr;
}
