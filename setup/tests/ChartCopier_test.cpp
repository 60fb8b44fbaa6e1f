// The chart copy without its form: what it leaves on the disk in each
// scenario, including failures in the middle, and what it refuses to touch.
#include "ChartCopyMachine.h"

#include "chartcopy/ChartCopier.h"
#include "chartcopy/ChartCopyTexts.h"

#include "os/instanceLocks.h"
#include "os/textFiles.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

// The files of the CD in copy order.
const char* const kCopyOrder[] = {
    ".hidden",  "0A/AA/deep.bin", "0A/a1.bin",   "0A/a2.bin", "B/b1.bin", "B/b2.bin", "B/b3.bin",
    "B/b4.bin", "BIG.DAT",        "CATALOG.INF", "EMPTY.TXT", "Z/z1.bin", "Z/z2.bin"};

class ChartCopier : public setuptest::ChartCopyMachine {
  protected:
    void SetUp() override {
        ChartCopyMachine::SetUp();
        makeCd();
        freeBytes = std::int64_t(1) << 40;
        os::setDiskFreeBytesFunction([this](const std::string& path) {
            freeAskedFor = path;
            leftoverWhenAsked = exists("c/.KV71.ostrel-new") || exists("c/.KV71.ostrel-old");
            return freeBytes;
        });
    }

    // An older chart tree at C:\KV71 with a folder the CD lacks.
    void makeOldTree() {
        makeCd("c/KV71", "old");
        touch("c/KV71/EXTRA/x.bin", "extra");
    }

    // The names beside the destination that a copy may leave.
    std::vector<std::string> leftovers() const {
        std::vector<std::string> found;
        for (const auto& [rel, value] : tree("c"))
            if (rel.find(".ostrel-") != std::string::npos) found.push_back(rel);
        return found;
    }

    std::int64_t freeBytes = 0;
    std::string freeAskedFor;
    bool leftoverWhenAsked = false;
};

TEST_F(ChartCopier, LeavesTheTreeEachScenarioExpects) {
    using Tree = std::map<std::string, std::string>;
    struct Scenario {
        const char* name;
        char kind;
        std::function<void(TChartCopier&)> prepare;
        TCopyOutcome outcome;
        // The destination expected, from the tree before and the CD's copy.
        std::function<Tree(const Tree& before, const Tree& cd)> expected;
        std::int64_t copied;
    };
    auto overlay = [](Tree tree, const Tree& over) {
        for (const auto& [rel, value] : over)
            tree[rel] = value;
        return tree;
    };
    auto asBefore = [](const Tree& before, const Tree&) { return before; };
    auto asCd = [](const Tree&, const Tree& cd) { return cd; };
    auto failTenthCopy = [](TChartCopier& copier) {
        auto count = std::make_shared<int>(0);
        copier.Calls().copyFile = [count](const std::string& from, const std::string& to) {
            if (++*count == 10) {
                errno = EIO;
                return false;
            }
            return os::copyFile(from, to, false, false);
        };
    };
    const Scenario scenarios[] = {
        {"new destination", '1', nullptr, TCopyOutcome::Done, asCd, 13},
        {"existing destination replaced", 'B', [&](TChartCopier&) { makeOldTree(); },
         TCopyOutcome::Done, asCd, 13},
        {"kind 2 adds over", '2', [&](TChartCopier&) { makeOldTree(); }, TCopyOutcome::Done,
         overlay, 13},
        {"copy fails at the tenth file, kind 1", 'F',
         [&](TChartCopier& c) {
             makeOldTree();
             failTenthCopy(c);
         },
         TCopyOutcome::CopyError, asBefore, 9},
        {"copy fails at the tenth file, kind 2", '2',
         [&](TChartCopier& c) {
             makeOldTree();
             failTenthCopy(c);
         },
         TCopyOutcome::CopyError,
         [&](const Tree& before, const Tree& cd) {
             Tree first;
             for (int i = 0; i < 9; ++i)
                 first[kCopyOrder[i]] = cd.at(kCopyOrder[i]);
             return overlay(before, first);
         },
         9},
        {"the final rename fails", '1',
         [&](TChartCopier& c) {
             makeOldTree();
             c.Calls().rename = [](const char* from, const char* to) {
                 if (std::string(from).ends_with(".KV71.ostrel-new")) {
                     errno = EIO;
                     return -1;
                 }
                 return ::rename(from, to);
             };
         },
         TCopyOutcome::CopyError, asBefore, 13},
        {"old tree not all deleted", '1',
         [&](TChartCopier&) {
             makeOldTree();
             TreeCalls().rmdir = [](const char* path) {
                 if (std::string(path).ends_with(".KV71.ostrel-old/EXTRA")) {
                     errno = EBUSY;
                     return -1;
                 }
                 return ::rmdir(path);
             };
         },
         TCopyOutcome::DeleteError, asCd, 13},
        {"free space R - 500 000", '1',
         [&](TChartCopier&) {
             makeOldTree();
             freeBytes = kCdBytes - 500000;
         },
         TCopyOutcome::Done, asCd, 13},
        {"free space R - 1 500 000", '1',
         [&](TChartCopier&) {
             makeOldTree();
             freeBytes = kCdBytes - 1500000;
         },
         TCopyOutcome::NoRoom, asBefore, 0},
        {"leftovers of an interrupted run", '2',
         [&](TChartCopier&) {
             // Stopped after the old tree was set aside: it is put back first,
             // and the temporary files in it and the staging folder go.
             makeCd("c/.KV71.ostrel-old", "old");
             touch("c/.KV71.ostrel-old/B/.b9.bin.ostrel-new", "half");
             touch("c/.KV71.ostrel-new/B/b1.bin", "half");
             makeCd("e/OLD", "old");
         },
         TCopyOutcome::Done,
         [&](const Tree&, const Tree& cd) { return overlay(tree("e/OLD"), cd); }, 13},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        // A fresh machine for each scenario.
        TearDown();
        for (const char* folder : {"c", "e", "f"})
            std::filesystem::remove_all(tmp / folder);
        SetUp();
        TChartCopier copier;
        if (s.prepare) s.prepare(copier);
        const Tree before = tree("c/KV71");
        const auto beforeWithModes = treeWithModes("c/KV71");
        std::vector<std::int64_t> progress;
        std::int64_t measured = -1;
        const TChartCopyResult r = copier.Run(
            {.Kind = s.kind, .Source = "F:\\KV71", .Destination = "C:\\KV71"},
            {.Measured = [&](std::int64_t files, std::int64_t) { measured = files; },
             .Copied = [&](std::int64_t n, const std::string&) { progress.push_back(n); }});
        EXPECT_EQ(r.Outcome, s.outcome);
        EXPECT_EQ(measured, kCdFiles);
        EXPECT_EQ(r.Files, kCdFiles);
        EXPECT_EQ(r.Bytes, kCdBytes);
        EXPECT_EQ(r.Copied, s.copied);
        EXPECT_EQ(tree("c/KV71"), s.expected(before, copied()));
        if (s.expected(before, copied()) == before && s.kind != '2') {
            EXPECT_EQ(treeWithModes("c/KV71"), beforeWithModes) << "the old tree is untouched";
        }
        std::vector<std::string> expectedLeftovers;
        if (s.outcome == TCopyOutcome::DeleteError)
            expectedLeftovers = {".KV71.ostrel-old", ".KV71.ostrel-old/EXTRA"};
        EXPECT_EQ(leftovers(), expectedLeftovers);
        EXPECT_FALSE(leftoverWhenAsked) << "leftovers go before the space is measured";
        for (const auto& [rel, value] : tree("c/KV71"))
            EXPECT_EQ(rel.find(".ostrel-"), std::string::npos) << rel;
        if (s.outcome == TCopyOutcome::Done || s.outcome == TCopyOutcome::DeleteError) {
            // Everything copied ends writable; the counter counts to the end.
            for (const auto& [rel, value] : copied())
                EXPECT_TRUE(mode("c/KV71/" + rel) & S_IWUSR) << rel;
            ASSERT_EQ(progress.size(), std::size_t(kCdFiles));
            EXPECT_EQ(progress.back(), kCdFiles);
        }
    }
}

TEST_F(ChartCopier, SyncsTheFileSystemOnceBeforeTheSwapOrAfterTheLastFile) {
    makeCd("c/KV71", "old");
    for (char kind : {'1', '2'}) {
        SCOPED_TRACE(kind);
        TChartCopier copier;
        std::vector<std::string> events;
        const std::string c = tmp / "c";
        auto below = [&c](const std::string& path) { return path.substr(path.find("/c/") + 3); };
        copier.Calls().rename = [&](const char* from, const char* to) {
            events.push_back(below(from) + " > " + below(to));
            return ::rename(from, to);
        };
        copier.Calls().syncFileSystem = [&](const std::string& folder) {
            events.push_back("sync " + below(folder));
            return 0;
        };
        ASSERT_EQ(
            copier.Run({.Kind = kind, .Source = "F:\\KV71", .Destination = "C:\\KV71"}).Outcome,
            TCopyOutcome::Done);
        if (kind == '1') {
            EXPECT_EQ(events,
                      (std::vector<std::string>{"sync .KV71.ostrel-new", "KV71 > .KV71.ostrel-old",
                                                ".KV71.ostrel-new > KV71"}));
        } else {
            ASSERT_EQ(events.size(), std::size_t(kCdFiles + 1));
            EXPECT_EQ(events[0], "KV71/..hidden.ostrel-new > KV71/.hidden");
            EXPECT_EQ(events.back(), "sync KV71");
        }
    }
}

TEST_F(ChartCopier, FailuresNameTheFileAndTheSpaceMessageItsFigures) {
    makeCd("c/KV71", "old");
    TChartCopier copier;
    int copies = 0;
    copier.Calls().copyFile = [&](const std::string& from, const std::string& to) {
        if (++copies == 10) {
            errno = EIO;
            return false;
        }
        return os::copyFile(from, to, false, false);
    };
    TChartCopyResult r = copier.Run({.Kind = '1', .Source = "F:\\KV71", .Destination = "C:\\KV71"});
    EXPECT_EQ(r.Outcome, TCopyOutcome::CopyError);
    EXPECT_EQ(r.Path, "F:\\KV71\\CATALOG.INF");
    EXPECT_EQ(r.Error, EIO);

    freeBytes = kCdBytes - 1500000;
    r = TChartCopier().Run({.Kind = '1', .Source = "F:\\KV71", .Destination = "C:\\KV71"});
    ASSERT_EQ(r.Outcome, TCopyOutcome::NoRoom);
    EXPECT_EQ(r.Available, kCdBytes - 1500000);
    char resolved[PATH_MAX];
    ASSERT_TRUE(::realpath((tmp / "c").c_str(), resolved));
    EXPECT_EQ(freeAskedFor, resolved) << "the free space of the folder that holds the charts";
    EXPECT_EQ(NoRoomMessage(r, "C:\\KV71", 2),
              "There is not enough free space on C: for the charts.\r"
              "Space avaible : 1500678 Bytes\rSpace required : 2000678 Bytes");
    EXPECT_EQ(NoRoomMessage(r, "C:\\KV71", 1), "Det er ikke nok ledig plass p\xE5 C: til kartene.\r"
                                               "Plass tilgjengelig : 1500678 Bytes\rPlass n\xF8"
                                               "dvendig : 2000678 Bytes");
}

TEST_F(ChartCopier, RefusesBeforeMeasuringOrTouchingAnything) {
    struct Case {
        const char* name;
        std::string source, destination;
        TProtectedDirs protectedDirs;
        TCopyRefusal refusal;
        const char* message; // English
    };
    mkdirs("c/NAV/RUNTIME");
    makeCd("d/CD/KV71");
    makeCd("c/KV71", "old");
    const std::string home = tmp / "home";
    const Case cases[] = {
        {"source on drive C",
         "C:\\KV71",
         "D:\\KV71",
         {},
         TCopyRefusal::SourceOnC,
         "You must specify your CD-ROM drive."},
        {"equal paths",
         "F:\\KV71",
         "f:\\kv71\\",
         {},
         TCopyRefusal::SameDirectory,
         "You have specified the same source- and destination drive.\rA directory cannot be "
         "copied onto itself."},
        {"source inside destination",
         "D:\\CD\\KV71",
         "D:\\CD",
         {},
         TCopyRefusal::SameDirectory,
         nullptr},
        {"destination inside source",
         "F:\\KV71",
         "F:\\KV71\\0A\\copy",
         {},
         TCopyRefusal::SameDirectory,
         nullptr},
        {"the file system root",
         "F:\\KV71",
         "/",
         {},
         TCopyRefusal::Destination,
         "Cannot copy the charts to /."},
        {"a drive root",
         "F:\\KV71",
         "E:\\",
         {},
         TCopyRefusal::Destination,
         "Cannot copy the charts to E:\\."},
        {"home", "F:\\KV71", home, {}, TCopyRefusal::Destination, nullptr},
        {"a folder holding home", "F:\\KV71", tmp.path(), {}, TCopyRefusal::Destination, nullptr},
        {"the installation",
         "F:\\KV71",
         "C:\\NAV\\RUNTIME",
         {.Installations = {"C:\\NAV\\RUNTIME\\"}},
         TCopyRefusal::Destination,
         nullptr},
        {"an ancestor of the installation",
         "F:\\KV71",
         "c:\\nav",
         {.Installations = {"C:\\NAV\\RUNTIME\\"}},
         TCopyRefusal::Destination,
         "Cannot copy the charts to c:\\nav."},
        {"another edition's chart root",
         "F:\\KV71",
         "C:\\KV71",
         {.ChartRoots = {"C:\\KV71\\"}},
         TCopyRefusal::Destination,
         nullptr},
        {"inside another edition's chart root",
         "F:\\KV71",
         "C:\\KV71\\BATH",
         {.ChartRoots = {"C:\\KV71"}},
         TCopyRefusal::Destination,
         nullptr},
        {"holding another edition's chart root",
         "F:\\KV71",
         "C:\\NAV",
         {.ChartRoots = {"C:\\NAV\\KV71"}},
         TCopyRefusal::Destination,
         nullptr},
    };
    // Every drive and the home folder, with modes.
    auto machine = [this] {
        std::map<std::string, std::string> all;
        for (const char* folder : {"c", "d", "e", "f", "home"})
            for (const auto& [rel, value] : treeWithModes(folder))
                all[std::string(folder) + "/" + rel] = value;
        return all;
    };
    mkdirs("d/EMPTY/sub");
    const auto before = machine();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TChartCopier copier;
        bool measured = false;
        const TChartCopyResult r =
            copier.Run({.Kind = '1',
                        .Source = c.source,
                        .Destination = c.destination,
                        .Protected = c.protectedDirs},
                       {.Measured = [&](std::int64_t, std::int64_t) { measured = true; }});
        EXPECT_EQ(r.Outcome, TCopyOutcome::Refused);
        EXPECT_EQ(r.Refusal, c.refusal);
        EXPECT_FALSE(measured);
        EXPECT_EQ(r.Files, 0);
        EXPECT_EQ(copier
                      .Check({.Kind = '1',
                              .Source = c.source,
                              .Destination = c.destination,
                              .Protected = c.protectedDirs})
                      .Refusal,
                  c.refusal);
        if (c.message) {
            EXPECT_EQ(RefusalMessage(r, 2), c.message);
        }
    }
    EXPECT_EQ(machine(), before);

    // A navigation program running: its presence lock, whichever edition.
    for (const char* title : {"Solvanor V lite", "Solvanor R"}) {
        SCOPED_TRACE(title);
        os::PresenceLock running;
        ASSERT_EQ(running.acquire(title), os::LockResult::Acquired);
        const TChartCopyResult r =
            TChartCopier().Run({.Kind = '1', .Source = "F:\\KV71", .Destination = "C:\\KV71"});
        EXPECT_EQ(r.Refusal, TCopyRefusal::NavigatorRunning);
        EXPECT_EQ(RefusalMessage(r, 1), "Stop Solvanor program and restart Ostrel!");
    }

    // Without charts on the source: missing, or a tree without a file.
    for (const char* source : {"E:\\KV71", "D:\\EMPTY"}) {
        SCOPED_TRACE(source);
        const TChartCopyResult r =
            TChartCopier().Run({.Kind = '1', .Source = source, .Destination = "C:\\KV71"});
        EXPECT_EQ(r.Refusal, TCopyRefusal::NoCharts);
        EXPECT_EQ(RefusalMessage(r, 2),
                  std::string("No Kelva charts was found on ") + source[0] + ":");
    }
    EXPECT_EQ(machine(), before);
}

} // namespace
