// A killed program: a child process writes in a loop and reports each call
// that returned through a pipe; it is killed with SIGKILL at a random moment.
// Every reported write must be in the reopened file, and the file whole.
#include "isamTestSupport.h"

#include <sqlite3.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <random>

namespace {

using namespace isamtest;

enum class Write { Add, Rewrite, Delete };

struct CrashCase {
    Write write;
    unsigned seed;
};

constexpr int kRewritten = 50; // points rewritten round after round
constexpr int kDeleted = 1000; // points deleted one by one

// A report: the point number and, for rewrites, its new speed.
struct Report {
    std::int32_t number;
    std::int32_t speed;
};

[[noreturn]] void childLoop(Write write, const std::string& folder, int out) {
    if (isam::INTISAM(18, 13, 8) != 0 || isam::OPNIFIL(pointFile(folder)) != 0) _exit(2);
    auto report = [out](std::int32_t number, std::int32_t speed) {
        const Report r{number, speed};
        if (::write(out, &r, sizeof r) != sizeof r) _exit(3);
    };
    Bytes r(38);
    switch (write) {
    case Write::Add:
        for (int n = 1;; ++n) {
            if (isam::ADDREC(4, pointRecord(1, static_cast<std::uint16_t>(n), n, -n).data()) != 0)
                _exit(4);
            report(n, 0);
        }
    case Write::Rewrite:
        for (int round = 1;; ++round)
            for (int n = 1; n <= kRewritten; ++n) {
                if (isam::EQLREC(5, idNumberKey(1, n).data(), r.data()) != 0) _exit(4);
                putU16(r, 20, static_cast<std::uint16_t>(round));
                if (isam::RWTREC(4, r.data()) != 0) _exit(4);
                report(n, round);
            }
    case Write::Delete:
        for (int found = isam::GTEREC(5, idNumberKey(1, 0).data(), r.data()); found == 0;
             found = isam::NXTREC(5, r.data())) {
            if (isam::DELREC(4) != 0) _exit(4);
            report(getU16(&r[6]), 0);
        }
        _exit(5); // all deleted before the kill: the test is void
    }
    _exit(6);
}

class Crash : public IsamTest, public ::testing::WithParamInterface<CrashCase> {};

TEST_P(Crash, EveryReturnedWriteSurvivesAKill) {
    const CrashCase c = GetParam();
    std::mt19937 random(c.seed);
    ASSERT_EQ(isam::CREIFIL(pointFile(dir())), 0);
    const int existing = c.write == Write::Rewrite  ? kRewritten
                         : c.write == Write::Delete ? kDeleted
                                                    : 0;
    for (int n = 1; n <= existing; ++n)
        ASSERT_EQ(isam::ADDREC(4, pointRecord(1, n).data()), 0);
    ASSERT_EQ(isam::CLIFIL(pointFile(dir())), 0);

    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipeEnds[0]);
        childLoop(c.write, dir(), pipeEnds[1]);
    }
    close(pipeEnds[1]);

    // Let it write a random number of times, then kill it a random moment later.
    std::vector<Report> reports;
    const int before = 5 + static_cast<int>(random() % 200);
    Report r;
    while (static_cast<int>(reports.size()) < before && read(pipeEnds[0], &r, sizeof r) == sizeof r)
        reports.push_back(r);
    usleep(static_cast<useconds_t>(random() % 3000));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself with " << WEXITSTATUS(status);
    while (read(pipeEnds[0], &r, sizeof r) == sizeof r)
        reports.push_back(r);
    close(pipeEnds[0]);
    ASSERT_GE(static_cast<int>(reports.size()), before);

    // The log of the killed program is applied at the next open.
    EXPECT_TRUE(std::filesystem::exists(path("POINT.DAT-wal")));
    ASSERT_EQ(isam::OPNIFIL(pointFile(dir())), 0);
    std::map<int, int> stored; // number -> speed
    for (const Bytes& p : walk(5, 38))
        stored[getU16(&p[6])] = getU16(&p[20]);
    const int last = reports.back().number;
    switch (c.write) {
    case Write::Add: {
        // 1 to the last reported, and perhaps one more that was being added.
        const int count = static_cast<int>(stored.size());
        EXPECT_TRUE(count == last || count == last + 1) << count << " after " << last;
        for (const Bytes& p : walk(5, 38)) {
            const int n = getU16(&p[6]);
            EXPECT_EQ(p, pointRecord(1, n, n, -n));
        }
        EXPECT_EQ(stored.rbegin()->first, count);
        break;
    }
    case Write::Rewrite: {
        std::map<int, int> reported;
        for (const Report& x : reports)
            reported[x.number] = x.speed;
        ASSERT_EQ(static_cast<int>(stored.size()), kRewritten);
        int ahead = 0; // the rewrite under way when the kill came
        for (auto [n, speed] : stored) {
            const int want = reported.count(n) ? reported[n] : 0;
            EXPECT_TRUE(speed == want || speed == want + 1) << n << ": " << speed << " vs " << want;
            ahead += speed == want + 1;
        }
        EXPECT_LE(ahead, 1);
        break;
    }
    case Write::Delete: {
        // The reported ones are gone; of the rest, at most the first is.
        const int first = stored.empty() ? kDeleted + 1 : stored.begin()->first;
        EXPECT_TRUE(first == last + 1 || first == last + 2) << first << " after " << last;
        EXPECT_EQ(static_cast<int>(stored.size()), kDeleted - first + 1);
        break;
    }
    }
    ASSERT_EQ(isam::CLIFIL(pointFile(dir())), 0);
    EXPECT_EQ(folderNames(dir()), (std::vector<std::string>{"POINT.DAT", "POINT.IDX"}));

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path("POINT.DAT").c_str(), &db, SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    sqlite3_stmt* s = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &s, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)), "ok");
    sqlite3_finalize(s);
    sqlite3_close(db);
}

std::vector<CrashCase> crashCases() {
    std::vector<CrashCase> cases;
    for (Write w : {Write::Add, Write::Rewrite, Write::Delete})
        for (unsigned seed = 1; seed <= 5; ++seed)
            cases.push_back({w, seed});
    return cases;
}

std::string crashName(const ::testing::TestParamInfo<CrashCase>& info) {
    const char* names[] = {"ADDREC", "RWTREC", "DELREC"};
    return std::string(names[static_cast<int>(info.param.write)]) + "_seed" +
           std::to_string(info.param.seed);
}

INSTANTIATE_TEST_SUITE_P(Kills, Crash, ::testing::ValuesIn(crashCases()), crashName);

} // namespace
