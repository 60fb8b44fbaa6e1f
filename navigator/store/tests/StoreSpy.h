// A spy on the record calls that go through StoreRecordCalls(): while it
// lives every call is written to its log and passed on to the record layer,
// unless the test told it to refuse that call or to answer GETVLEN itself.
//
// Log lines: "ADDREC 0 kind=2 id=7", "RWTREC 4 id=7 n=6", "DELREC 4",
// "ADDVREC 6 id=7 length=12", "RWTVREC 6 id=7 length=12"; the searches and
// reads are logged too ("EQLREC 5", "NXTREC 5", ...), but Writes() leaves
// them out.
//
//   storetest::StoreSpy spy;
//   spy.Refuse("ADDREC 0", 16);              // the ID file refuses every add
//   ... code under test ...
//   EXPECT_EQ(spy.Writes(), (std::vector<std::string>{"RWTREC 4 id=7 n=6"}));
#pragma once

#include "store/StoreRecordCalls.h"
#include "store/storeFiles.h"
#include "store/storeRecords.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace storetest {

class StoreSpy {
  public:
    StoreSpy() {
        TStoreRecordCalls& c = StoreRecordCalls();
        c.ADDREC = [this](int file, const void* r) {
            return pass("ADDREC", file, describe(file, r), [&] { return isam::ADDREC(file, r); });
        };
        c.RWTREC = [this](int file, const void* r) {
            return pass("RWTREC", file, describe(file, r), [&] { return isam::RWTREC(file, r); });
        };
        c.DELREC = [this](int file) {
            return pass("DELREC", file, "", [&] { return isam::DELREC(file); });
        };
        c.EQLREC = [this](int key, const void* t, void* r) {
            return pass("EQLREC", key, "", [&] { return isam::EQLREC(key, t, r); });
        };
        c.LTEREC = [this](int key, const void* t, void* r) {
            return pass("LTEREC", key, "", [&] { return isam::LTEREC(key, t, r); });
        };
        c.NXTREC = [this](int key, void* r) {
            return pass("NXTREC", key, "", [&] { return isam::NXTREC(key, r); });
        };
        c.PRVREC = [this](int key, void* r) {
            return pass("PRVREC", key, "", [&] { return isam::PRVREC(key, r); });
        };
        c.ADDVREC = [this](int file, const void* r, std::size_t n) {
            return pass("ADDVREC", file, describeText(r, n),
                        [&] { return isam::ADDVREC(file, r, n); });
        };
        c.RWTVREC = [this](int file, const void* r, std::size_t n) {
            return pass("RWTVREC", file, describeText(r, n),
                        [&] { return isam::RWTVREC(file, r, n); });
        };
        c.REDVREC = [this](int file, void* b, std::size_t n) {
            return pass("REDVREC", file, "", [&] { return isam::REDVREC(file, b, n); });
        };
        c.GETVLEN = [this](int file) {
            log.push_back("GETVLEN " + std::to_string(file));
            return variableLength ? *variableLength : isam::GETVLEN(file);
        };
    }
    ~StoreSpy() { StoreRecordCalls() = TStoreRecordCalls{}; }
    StoreSpy(const StoreSpy&) = delete;
    StoreSpy& operator=(const StoreSpy&) = delete;

    // From now on the call ("ADDREC 0", "RWTREC 4", ...) answers `error`
    // without reaching the record layer.
    void Refuse(const std::string& call, int error) { refused_[call] = error; }

    // The log lines of the writes (ADDREC, RWTREC, DELREC, ADDVREC, RWTVREC).
    std::vector<std::string> Writes() const {
        std::vector<std::string> out;
        for (const std::string& line : log)
            for (const char* w : {"ADDREC ", "RWTREC ", "DELREC ", "ADDVREC ", "RWTVREC "})
                if (line.rfind(w, 0) == 0) out.push_back(line);
        return out;
    }

    std::vector<std::string> log;
    // What GETVLEN answers in place of the record layer, when set.
    std::optional<std::size_t> variableLength;

  private:
    template <class Call>
    int pass(const char* name, int number, const std::string& detail, Call call) {
        const std::string key = std::string(name) + " " + std::to_string(number);
        log.push_back(detail.empty() ? key : key + " " + detail);
        const auto refused = refused_.find(key);
        return refused != refused_.end() ? refused->second : call();
    }

    static std::string describe(int file, const void* r) {
        if (file == kIdFileNumber) {
            IdBytes b;
            std::memcpy(b.data(), r, b.size());
            const IdRecord o = IdRecord::Decode(b);
            return "kind=" + std::to_string(o.kind) + " id=" + std::to_string(o.id);
        }
        if (file == kPointFileNumber) {
            PointBytes b;
            std::memcpy(b.data(), r, b.size());
            const PointRecord p = PointRecord::Decode(b);
            return "id=" + std::to_string(p.id) + " n=" + std::to_string(p.number);
        }
        return "";
    }
    static std::string describeText(const void* r, std::size_t n) {
        const auto text = InfoRecord::Decode(static_cast<const std::uint8_t*>(r), n);
        return "id=" + std::to_string(text ? text->id : 0) + " length=" + std::to_string(n);
    }

    std::map<std::string, int> refused_;
};

} // namespace storetest
