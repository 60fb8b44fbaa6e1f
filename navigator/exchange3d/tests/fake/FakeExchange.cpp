#include "FakeExchange.h"

#include "d5arer/D5arer.h"

#include <algorithm>
#include <cstring>

namespace {

FakeExchangeState& state() {
    static FakeExchangeState s;
    return s;
}

void record(const char* name, int length, std::uint32_t word, const std::uint8_t* bytes, int n) {
    FakeExchangeCall c;
    c.name = name;
    c.length = length;
    c.word = word;
    c.statC = state().words[2];
    if (bytes && n > 0) c.bytes.assign(bytes, bytes + n);
    state().calls.push_back(std::move(c));
}

void put(int i, const char* name, std::uint32_t word) {
    record(name, 0, word, nullptr, 0);
    state().words[i] = word;
}

std::uint32_t get(int i, const char* name) {
    record(name, 0, state().words[i], nullptr, 0);
    return state().words[i];
}

} // namespace

extern "C" {

D5ARER_EXPORT FakeExchangeState* FakeExchange_State() {
    return &state();
}

D5ARER_EXPORT void _tPutRec(const void* r, int length) {
    const int n = std::clamp(length, 0, 128);
    if (r) std::memcpy(state().record, r, static_cast<std::size_t>(n));
    record("PutRec", length, 0, static_cast<const std::uint8_t*>(r), n);
}

D5ARER_EXPORT void _tGetRec(void* r, int length) {
    const int n = std::clamp(length, 0, 128);
    if (r && length > 0) {
        std::memset(r, 0, static_cast<std::size_t>(length));
        std::memcpy(r, state().record, static_cast<std::size_t>(n));
    }
    record("GetRec", length, 0, state().record, n);
}

D5ARER_EXPORT void _tPutStatA(std::uint32_t w) {
    put(0, "PutStatA", w);
}
D5ARER_EXPORT void _tPutStatB(std::uint32_t w) {
    put(1, "PutStatB", w);
}
D5ARER_EXPORT void _tPutStatC(std::uint32_t w) {
    put(2, "PutStatC", w);
}
D5ARER_EXPORT std::uint32_t _tGetStatA() {
    return get(0, "GetStatA");
}
D5ARER_EXPORT std::uint32_t _tGetStatB() {
    return get(1, "GetStatB");
}
#ifndef FAKE_WITHOUT_GETSTATC
D5ARER_EXPORT std::uint32_t _tGetStatC() {
    return get(2, "GetStatC");
}
#endif
}
