// A driver that runs record-file calls chosen by a byte string over a small
// key space and checks every answer, every record and the current record
// against a model kept in standard containers. The model test feeds it
// random bytes of fixed seeds; the fuzz target feeds it the fuzzer's bytes.
//
// Two file sets in one folder: a fixed file (number 0, 10-byte records, key 1
// a signed 16-bit and an unsigned 16-bit segment, key 2 one unsigned 16-bit
// segment) and a variable file (number 3, 4-byte fixed part, key 4 one
// unsigned 16-bit segment). Each step takes three bytes: the call and two
// arguments.
#pragma once

#include "isam/isam.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace isammodel {

using Bytes = std::vector<std::uint8_t>;

class Driver {
  public:
    // Makes both sets in `folder`, replacing any files of an earlier run.
    explicit Driver(const std::string& folder) {
        fixed_ = description(folder + "/fixed", 0, 10, false,
                             {{{2, 2, true}, {4, 2, false}}, {{6, 2, false}}});
        variable_ = description(folder + "/variable", 3, 4, true, {{{2, 2, false}}});
        for (const auto* f : {&fixed_, &variable_}) {
            const isam::FileSet set = isam::FileSetPaths(f->name);
            std::error_code ec;
            std::filesystem::remove(set.data, ec);
            std::filesystem::remove(set.index, ec);
            for (const auto& c : set.companions)
                std::filesystem::remove(c, ec);
        }
        if (isam::INTISAM(18, 13, 8) != 0 || isam::CREIFIL(fixed_) != 0 ||
            isam::CREIFIL(variable_) != 0)
            fail("the files cannot be made");
    }

    ~Driver() {
        isam::CLIFIL(fixed_);
        isam::CLIFIL(variable_);
    }

    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    // "" while everything agrees, else the first difference.
    const std::string& error() const { return error_; }

    // Runs the steps of `data` and compares the reopened files with the
    // model at the end.
    void run(const std::uint8_t* data, std::size_t size) {
        for (std::size_t i = 0; i + 3 <= size && error_.empty(); i += 3)
            step(data[i], data[i + 1], data[i + 2]);
        if (!error_.empty()) return;
        reopen(false);
        compareWhole();
    }

    void step(std::uint8_t op, std::uint8_t a, std::uint8_t b) {
        ++counter_;
        char what[64];
        std::snprintf(what, sizeof what, "step %d (%d, %d, %d): ", counter_, op, a, b);
        where_ = what;
        switch (op % 24) {
        case 0:
            addFixed(fixedRecord(a, b));
            break;
        case 1:
            rewriteFixed(fixedRecord(a, b));
            break;
        case 2:
            deleteFixed();
            break;
        case 3:
        case 4:
        case 5:
            searchFixed(1 + a % 2, op % 24 - 3, a, b);
            break;
        case 6:
            stepFixed(1 + a % 2, true);
            break;
        case 7:
            stepFixed(1 + a % 2, false);
            break;
        case 8:
            keyTest(1 + a % 2, a, b);
            break;
        case 9:
            batch(a, b);
            break;
        case 10:
            addVariable(variableRecord(a, b));
            break;
        case 11:
            rewriteVariable(variableRecord(a, b));
            break;
        case 12:
            deleteVariable();
            break;
        case 13:
            readVariable(b);
            break;
        case 14:
            searchVariable(a % 5, b);
            break;
        case 15:
        case 16:
            addFixed(fixedRecord(a, b));
            break;
        case 17:
        case 18:
            stepFixed(1 + a % 2, true);
            break;
        case 19:
            searchFixed(1 + a % 2, 1, a, b);
            break;
        case 20:
            addVariable(variableRecord(a, b));
            break;
        case 21:
            searchVariable(3, b);
            break;
        case 22:
            deleteFixed();
            break;
        case 23:
            // Closing and opening costs a thousand times a call: kept rare.
            if (a % 2 == 0) reopen(b % 8 == 0);
            break;
        }
    }

  private:
    struct Current {
        Bytes bytes;
        bool positioned = false;
        bool live = false;
    };

    // ---- Descriptions and records ---------------------------------------------

    struct Seg {
        int position, length;
        bool isSigned;
    };

    static isam::FileDescription description(const std::string& name, int number, int length,
                                             bool variable, std::vector<std::vector<Seg>> keys) {
        isam::FileDescription f;
        f.name = name;
        f.dataFileNumber = number;
        f.recordLength = length;
        f.variable = variable;
        f.fileMode = variable ? 0x46 : 0x42;
        for (std::size_t k = 0; k < keys.size(); ++k) {
            isam::Index index;
            index.keyNumber = number + 1 + static_cast<int>(k);
            for (const Seg& s : keys[k]) {
                index.segments.push_back({s.position, s.length, isam::kSegmentMode, s.isSigned});
                index.keyLength += s.length;
            }
            f.indexes.push_back(index);
        }
        return f;
    }

    static void put16(Bytes& r, std::size_t at, int v) {
        r[at] = static_cast<std::uint8_t>(v);
        r[at + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    static int getS16(const std::uint8_t* p) { return static_cast<std::int16_t>(p[0] | p[1] << 8); }
    static int getU16(const std::uint8_t* p) { return p[0] | p[1] << 8; }

    // Values near the ends of each segment's range.
    static int signedValue(int x) { return x % 5 - 2; }
    static int unsignedValue(int x) {
        static const int values[] = {0, 1, 0x7FFF, 0x8000, 0xFFFF};
        return values[x % 5];
    }

    Bytes fixedRecord(std::uint8_t a, std::uint8_t b) const {
        Bytes r(10, 0);
        put16(r, 0, counter_);
        put16(r, 2, signedValue(a));
        put16(r, 4, unsignedValue(b));
        put16(r, 6, (a / 5 + b) % 8 == 7 ? 0xFFFF : (a / 5 + b) % 8);
        put16(r, 8, ~counter_);
        return r;
    }

    Bytes variableRecord(std::uint8_t a, std::uint8_t b) const {
        Bytes r(4 + b % 41, static_cast<std::uint8_t>(counter_));
        put16(r, 0, counter_);
        put16(r, 2, a % 8);
        return r;
    }

    // Keys as pairs of numbers in their order; key 4 is the variable file's.
    static std::pair<long, long> keyOf(int key, const Bytes& r) {
        switch (key) {
        case 1:
            return {getS16(&r[2]), getU16(&r[4])};
        case 2:
            return {getU16(&r[6]), 0};
        default:
            return {getU16(&r[2]), 0};
        }
    }

    static Bytes targetOf(int key, std::uint8_t a, std::uint8_t b) {
        Bytes t(key == 1 ? 4 : 2);
        if (key == 1) {
            put16(t, 0, signedValue(a));
            put16(t, 2, unsignedValue(b));
        } else {
            put16(t, 0, key == 2 ? ((a + b) % 9 == 8 ? 0xFFFF : (a + b) % 9) : (a + b) % 9);
        }
        return t;
    }
    static std::pair<long, long> keyOfTarget(int key, const Bytes& t) {
        if (key == 1) return {getS16(&t[0]), getU16(&t[2])};
        return {getU16(&t[0]), 0};
    }

    // The model's records of a file in the order of one key.
    std::vector<Bytes> ordered(int key) const {
        std::vector<Bytes> all = key == 4 ? variables_ : fixeds_;
        std::sort(all.begin(), all.end(),
                  [key](const Bytes& x, const Bytes& y) { return keyOf(key, x) < keyOf(key, y); });
        return all;
    }

    // ---- Checks ---------------------------------------------------------------

    void fail(const std::string& what) {
        if (error_.empty()) error_ = where_ + what;
    }

    bool expect(int got, int want, const char* call) {
        if (got == want) return true;
        fail(std::string(call) + " answered " + std::to_string(got) + ", expected " +
             std::to_string(want));
        return false;
    }

    // A search's outcome: the model's record (or none) against the call's.
    void found(int got, const std::optional<Bytes>& want, const Bytes& record, Current& current,
               std::size_t fixedLength, const char* call) {
        if (!want) {
            expect(got, isam::kNotFound, call);
            return;
        }
        if (!expect(got, 0, call)) return;
        if (!std::equal(record.begin(), record.begin() + static_cast<long>(fixedLength),
                        want->begin()))
            fail(std::string(call) + " gave another record");
        current = {*want, true, true};
    }

    // ---- Fixed file -------------------------------------------------------------

    bool collides(const Bytes& r, const Bytes* except) const {
        for (const Bytes& x : fixeds_) {
            if (except && x == *except) continue;
            if (keyOf(1, x) == keyOf(1, r) || keyOf(2, x) == keyOf(2, r)) return true;
        }
        return false;
    }

    void addFixed(const Bytes& r) {
        const bool duplicate = collides(r, nullptr);
        if (!expect(isam::ADDREC(0, r.data()), duplicate ? isam::kDuplicateKey : 0, "ADDREC"))
            return;
        if (duplicate) return;
        fixeds_.push_back(r);
        fixedCurrent_ = {r, true, true};
    }

    void rewriteFixed(const Bytes& r) {
        if (!fixedCurrent_.live) {
            expect(isam::RWTREC(0, r.data()), isam::kNoCurrentRecord, "RWTREC");
            return;
        }
        const bool duplicate = collides(r, &fixedCurrent_.bytes);
        if (!expect(isam::RWTREC(0, r.data()), duplicate ? isam::kDuplicateKey : 0, "RWTREC"))
            return;
        if (duplicate) return;
        *std::find(fixeds_.begin(), fixeds_.end(), fixedCurrent_.bytes) = r;
        fixedCurrent_.bytes = r;
    }

    void deleteFixed() {
        if (!expect(isam::DELREC(0), fixedCurrent_.live ? 0 : isam::kNoCurrentRecord, "DELREC") ||
            !fixedCurrent_.live)
            return;
        fixeds_.erase(std::find(fixeds_.begin(), fixeds_.end(), fixedCurrent_.bytes));
        fixedCurrent_.live = false;
    }

    // how: 0 equal, 1 at or above, 2 at or below.
    void searchFixed(int key, int how, std::uint8_t a, std::uint8_t b) {
        const Bytes target = targetOf(key, a, b);
        const auto t = keyOfTarget(key, target);
        std::optional<Bytes> want;
        const std::vector<Bytes> all = ordered(key);
        if (how == 2) {
            for (auto it = all.rbegin(); it != all.rend() && !want; ++it)
                if (keyOf(key, *it) <= t) want = *it;
        } else {
            for (const Bytes& x : all)
                if (!want && (how == 0 ? keyOf(key, x) == t : keyOf(key, x) >= t)) want = x;
        }
        Bytes record(10, 0);
        const int got = how == 0   ? isam::EQLREC(key, target.data(), record.data())
                        : how == 1 ? isam::GTEREC(key, target.data(), record.data())
                                   : isam::LTEREC(key, target.data(), record.data());
        found(got, want, record, fixedCurrent_, 10, "search");
    }

    void stepFixed(int key, bool forward) { stepIn(key, forward, fixedCurrent_, 10); }

    void stepIn(int key, bool forward, Current& current, std::size_t fixedLength) {
        Bytes record(fixedLength, 0);
        const int got =
            forward ? isam::NXTREC(key, record.data()) : isam::PRVREC(key, record.data());
        if (!current.positioned) {
            expect(got, isam::kNoCurrentRecord, "NXTREC/PRVREC");
            return;
        }
        const auto from = keyOf(key, current.bytes);
        std::optional<Bytes> want;
        const std::vector<Bytes> all = ordered(key);
        if (forward) {
            for (const Bytes& x : all)
                if (!want && keyOf(key, x) > from) want = x;
        } else {
            for (auto it = all.rbegin(); it != all.rend() && !want; ++it)
                if (keyOf(key, *it) < from) want = *it;
        }
        found(got, want, record, current, fixedLength, forward ? "NXTREC" : "PRVREC");
    }

    void keyTest(int key, std::uint8_t a, std::uint8_t b) {
        const Bytes target = targetOf(key, a, b);
        bool present = false;
        for (const Bytes& x : fixeds_)
            present |= keyOf(key, x) == keyOfTarget(key, target);
        expect(isam::EQLKEY(key, target.data()), present ? 0 : isam::kNotFound, "EQLKEY");
    }

    // A batch over key 1: on no key, the signed segment, or the whole key,
    // read in parts of 1 to 4 entries.
    void batch(std::uint8_t a, std::uint8_t b) {
        const int significant = (a % 3) * 2;
        const Bytes target = targetOf(1, a, b);
        std::vector<Bytes> want;
        for (const Bytes& x : ordered(1)) {
            const auto k = keyOf(1, x), t = keyOfTarget(1, target);
            if (significant == 0 ||
                (k.first == t.first && (significant == 2 || k.second == t.second)))
                want.push_back(x);
        }
        isam::BatchRequest q;
        q.significantLength = static_cast<std::uint16_t>(significant);
        std::copy(target.begin(), target.end(), q.target.begin());
        const std::size_t part = 1 + b % 4;
        Bytes buffer(part * 14, 0);
        std::size_t seen = 0;
        for (int mode = isam::kBatchStart;; mode = isam::kBatchNext) {
            const int got = isam::BATSET(1, &q, buffer.data(), buffer.size(), mode);
            const std::size_t expected = std::min(part, want.size() - seen);
            if (!expect(got, expected ? 0 : isam::kNotFound, "BATSET")) break;
            if (q.total != want.size() || q.returned != expected ||
                q.available != want.size() - seen - expected) {
                fail("BATSET counts");
                break;
            }
            for (std::size_t i = 0; i < expected; ++i)
                if (!std::equal(want[seen + i].begin(), want[seen + i].end(),
                                buffer.begin() + static_cast<long>(i * 14 + 4)))
                    fail("BATSET entry");
            seen += expected;
            if (!expected) break;
        }
        expect(isam::BATSET(1, nullptr, nullptr, 0, isam::kBatchEnd), 0, "BATSET end");
    }

    // ---- Variable file --------------------------------------------------------

    bool variableTaken(const Bytes& r, const Bytes* except) const {
        for (const Bytes& x : variables_)
            if ((!except || x != *except) && keyOf(4, x) == keyOf(4, r)) return true;
        return false;
    }

    void addVariable(const Bytes& r) {
        const bool duplicate = variableTaken(r, nullptr);
        if (!expect(isam::ADDVREC(3, r.data(), r.size()), duplicate ? isam::kDuplicateKey : 0,
                    "ADDVREC") ||
            duplicate)
            return;
        variables_.push_back(r);
        variableCurrent_ = {r, true, true};
    }

    void rewriteVariable(const Bytes& r) {
        if (!variableCurrent_.live) {
            expect(isam::RWTVREC(3, r.data(), r.size()), isam::kNoCurrentRecord, "RWTVREC");
            return;
        }
        const bool duplicate = variableTaken(r, &variableCurrent_.bytes);
        if (!expect(isam::RWTVREC(3, r.data(), r.size()), duplicate ? isam::kDuplicateKey : 0,
                    "RWTVREC") ||
            duplicate)
            return;
        *std::find(variables_.begin(), variables_.end(), variableCurrent_.bytes) = r;
        variableCurrent_.bytes = r;
    }

    void deleteVariable() {
        const bool live = variableCurrent_.live;
        if (!expect(isam::DELVREC(3), live ? 0 : isam::kNoCurrentRecord, "DELVREC") || !live)
            return;
        variables_.erase(std::find(variables_.begin(), variables_.end(), variableCurrent_.bytes));
        variableCurrent_.live = false;
    }

    void readVariable(std::uint8_t b) {
        const std::size_t size = b % 50;
        const std::size_t length = isam::GETVLEN(3);
        if (!variableCurrent_.live) {
            expect(static_cast<int>(length), 0, "GETVLEN");
            Bytes buffer(64, 0xAB);
            expect(isam::REDVREC(3, buffer.data(), size), isam::kNoCurrentRecord, "REDVREC");
            return;
        }
        const Bytes& want = variableCurrent_.bytes;
        expect(static_cast<int>(length), static_cast<int>(want.size()), "GETVLEN");
        Bytes buffer(64, 0xAB);
        const bool fits = want.size() <= size;
        if (!expect(isam::REDVREC(3, buffer.data(), size), fits ? 0 : isam::kBadArgument,
                    "REDVREC"))
            return;
        Bytes expected(64, 0xAB);
        if (fits) std::copy(want.begin(), want.end(), expected.begin());
        if (buffer != expected) fail("REDVREC wrote other bytes");
    }

    void searchVariable(int how, std::uint8_t b) {
        if (how >= 3) {
            stepIn(4, how == 3, variableCurrent_, 4);
            return;
        }
        const Bytes target = targetOf(4, 0, b);
        const auto t = keyOfTarget(4, target);
        std::optional<Bytes> want;
        const std::vector<Bytes> all = ordered(4);
        if (how == 2) {
            for (auto it = all.rbegin(); it != all.rend() && !want; ++it)
                if (keyOf(4, *it) <= t) want = *it;
        } else {
            for (const Bytes& x : all)
                if (!want && (how == 0 ? keyOf(4, x) == t : keyOf(4, x) >= t)) want = x;
        }
        Bytes record(4, 0);
        const int got = how == 0   ? isam::EQLREC(4, target.data(), record.data())
                        : how == 1 ? isam::GTEREC(4, target.data(), record.data())
                                   : isam::LTEREC(4, target.data(), record.data());
        found(got, want, record, variableCurrent_, 4, "search");
    }

    // ---- Files ------------------------------------------------------------------

    // Closes both sets and opens them again, rebuilt first when asked; the
    // current records are gone.
    void reopen(bool rebuild) {
        for (const auto* f : {&fixed_, &variable_}) {
            expect(isam::CLIFIL(*f), 0, "CLIFIL");
            if (rebuild) expect(isam::RBLIFIL(*f), 0, "RBLIFIL");
            expect(isam::OPNIFIL(*f), 0, "OPNIFIL");
        }
        fixedCurrent_ = {};
        variableCurrent_ = {};
    }

    // Every record of both files, walked by every key.
    void compareWhole() {
        for (int key : {1, 2, 4}) {
            const std::size_t length = key == 4 ? 4 : 10;
            std::vector<Bytes> got;
            Bytes record(length);
            const Bytes lowest = key == 1 ? Bytes{0x00, 0x80, 0, 0} : Bytes{0, 0};
            for (int r = isam::GTEREC(key, lowest.data(), record.data()); r == 0;
                 r = isam::NXTREC(key, record.data())) {
                if (key == 4) {
                    record.resize(isam::GETVLEN(3));
                    if (isam::REDVREC(3, record.data(), record.size()) != 0) fail("REDVREC");
                }
                got.push_back(record);
                record.resize(length);
            }
            if (got != ordered(key))
                fail("the files differ from the model by key " + std::to_string(key));
        }
    }

    isam::FileDescription fixed_, variable_;
    std::vector<Bytes> fixeds_, variables_;
    Current fixedCurrent_, variableCurrent_;
    int counter_ = 0;
    std::string where_, error_;
};

} // namespace isammodel
