#include "kv71/TKV71Dictionary.h"

#include "kv71/dictionaryTables.h"

#include <cstring>
#include <string>

extern "C" {
TKV71Dictionary* _pSharedKV71Dict = nullptr;
}

namespace {

int liveDictionaries = 0;

} // namespace

TKV71Dictionary::TKV71Dictionary(const char* name, const char* path) : TGdbDictionary(name, path) {
    if (liveDictionaries == 0) {
        const std::string base = path ? path : "";
        std::string attr = base + "KV71ATTR.DIC", obj = base + "KV71OBJ.DIC",
                    hos = base + "HOSOURCE.DIC";
        // A loader that throws leaves this object unbuilt: the count is only
        // raised once the tables are there.
        try {
            InitKV71Dictionary(attr.data(), obj.data(), hos.data());
        } catch (...) {
            DoneKV71Dictionary();
            throw;
        }
    }
    ++liveDictionaries;
    if (!_pSharedKV71Dict) _pSharedKV71Dict = this;
}

TKV71Dictionary::~TKV71Dictionary() {
    if (--liveDictionaries == 0) DoneKV71Dictionary();
    // Never left pointing at a dictionary that is gone.
    if (_pSharedKV71Dict == this) _pSharedKV71Dict = nullptr;
}

int TKV71Dictionary::InstanceCount() {
    return liveDictionaries;
}

int TKV71Dictionary::GetObjectNum() const {
    return static_cast<int>(GetObjNum());
}

int TKV71Dictionary::GetObjectLabel(char* acronym) const {
    if (!acronym) return -1;
    const unsigned n = GetObjNum();
    for (unsigned i = 0; i < n; ++i)
        if (std::strcmp(GetObjDescr(i)->acronym, acronym) == 0) return static_cast<int>(i);
    return -1;
}

const char* TKV71Dictionary::GetObjectCode(int code) const {
    const KV71ObjectClass* c = GetObjDescr(static_cast<unsigned>(code));
    return c ? c->acronym : nullptr;
}

const char* TKV71Dictionary::GetObjectName(int code) const {
    const KV71ObjectClass* c = GetObjDescr(static_cast<unsigned>(code));
    return c ? c->name : nullptr;
}

int TKV71Dictionary::GetAttrNum() const {
    return static_cast<int>(GetAttNum());
}

int TKV71Dictionary::GetAttrLabel(char* acronym) const {
    if (!acronym) return -1;
    const unsigned n = GetAttNum();
    for (unsigned i = 0; i < n; ++i)
        if (std::strcmp(GetAttDescr(i)->acronym, acronym) == 0) return static_cast<int>(i);
    return -1;
}

const char* TKV71Dictionary::GetAttrCode(int code) const {
    const KV71AttributeClass* a = GetAttDescr(static_cast<unsigned>(code));
    return a ? a->acronym : nullptr;
}

const char* TKV71Dictionary::GetAttrName(int code) const {
    return GetAttrValueName(code, 0);
}

const char* TKV71Dictionary::GetAttrValueName(int code, int value) const {
    const KV71AttributeClass* a = GetAttDescr(static_cast<unsigned>(code));
    if (!a || !a->values || static_cast<unsigned>(value) >= a->valueCount) return nullptr;
    return a->values[value];
}

extern "C" {

TKV71Dictionary* new__TKV71Dictionary(const char* path) {
    return new TKV71Dictionary("", path);
}

void delete__TKV71Dictionary(TKV71Dictionary* dictionary) {
    delete dictionary;
}

int TKV71Dictionary__GetObjectNum(TKV71Dictionary* d) {
    return d->GetObjectNum();
}
int TKV71Dictionary__GetObjectLabel(TKV71Dictionary* d, char* acronym) {
    return d->GetObjectLabel(acronym);
}
const char* TKV71Dictionary__GetObjectCode(TKV71Dictionary* d, int code) {
    return d->GetObjectCode(code);
}
const char* TKV71Dictionary__GetObjectName(TKV71Dictionary* d, int code) {
    return d->GetObjectName(code);
}
int TKV71Dictionary__GetAttrNum(TKV71Dictionary* d) {
    return d->GetAttrNum();
}
int TKV71Dictionary__GetAttrLabel(TKV71Dictionary* d, char* acronym) {
    return d->GetAttrLabel(acronym);
}
const char* TKV71Dictionary__GetAttrCode(TKV71Dictionary* d, int code) {
    return d->GetAttrCode(code);
}
const char* TKV71Dictionary__GetAttrName(TKV71Dictionary* d, int code) {
    return d->GetAttrName(code);
}
const char* TKV71Dictionary__GetAttrValueName(TKV71Dictionary* d, int code, int value) {
    return d->GetAttrValueName(code, value);
}
}
