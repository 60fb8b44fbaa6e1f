// A stand-in for the exchange library in tests: the eight entry points over a
// record and three status words of its own, recording every call. Tests reach
// its state through FakeExchange_State(), which the library exports beside the
// entry points, and set its status words and record there.
//
// Built twice: libFakeExchange.so with all eight entry points and
// libFakeExchangePartial.so without _tGetStatC.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct FakeExchangeCall {
    std::string name;                // "PutRec", "GetRec", "PutStatA", ..., "GetStatC"
    int length = 0;                  // record calls: the length given
    std::uint32_t word = 0;          // status calls: the word put or answered
    std::uint32_t statC = 0;         // status word C when the call came
    std::vector<std::uint8_t> bytes; // record calls: the bytes moved (at most 128)
};

struct FakeExchangeState {
    std::uint8_t record[128] = {};
    std::uint32_t words[3] = {}; // A, B, C
    std::vector<FakeExchangeCall> calls;

    void reset() { *this = FakeExchangeState{}; }
    // The calls of one name.
    std::vector<FakeExchangeCall> named(const std::string& name) const {
        std::vector<FakeExchangeCall> out;
        for (const FakeExchangeCall& c : calls)
            if (c.name == name) out.push_back(c);
        return out;
    }
};

extern "C" {
FakeExchangeState* FakeExchange_State();
}
using FakeExchangeStateFn = FakeExchangeState* (*)();
