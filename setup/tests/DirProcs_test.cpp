// The tree walkers on a small tree with hidden files, nesting, read-only
// folders, a link out of the tree and link loops.
#include "SetupMachine.h"

#include "files/DirProcs.h"

#include <cerrno>
#include <string>
#include <utility>
#include <vector>

namespace {

class Walkers : public setuptest::SetupMachine {
  protected:
    // The tree at c/tree with its write protection removed, so that deleting
    // it needs no administrator.
    void makeWritableTree() {
        makeTree("c/tree");
        std::int64_t files = 0;
        ASSERT_EQ(ClearReadOnlyTree(files, "C:\\tree"), 0);
    }

    void TearDown() override {
        ResetTreeCalls();
        SetupMachine::TearDown();
    }
};

TEST_F(Walkers, DirInfoCountsRegularFilesAndStopsAtTheByteLimit) {
    makeTree("c/tree");
    struct Case {
        double limit;
        std::int64_t files;
        double bytes;
    } cases[] = {
        {0, 5, 1135},   {1, 2, 15},  // the root's own files are counted, no folder is walked
        {15, 2, 15},    {16, 3, 35}, // ro/ starts below the limit, sub/ does not
        {1e9, 5, 1135},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit);
        TDirInfo info;
        info.MaxBytes = c.limit;
        ASSERT_EQ(DirInfo("C:\\TREE\\", false, info), 0);
        EXPECT_EQ(info.Files, c.files);
        EXPECT_EQ(info.Bytes, c.bytes);
        EXPECT_EQ(info.Failures, 0);
    }
    EXPECT_EQ(mode("c/tree/ro"), 0555u); // measuring alone changes nothing

    TDirInfo missing;
    missing.Files = 9;
    missing.Bytes = 9;
    EXPECT_EQ(DirInfo("C:\\NONE\\", false, missing), -1);
    EXPECT_EQ(missing.Files, 0);
    EXPECT_EQ(missing.Bytes, 0);
    EXPECT_EQ(DirInfo("C:\\TREE\\A.TXT", false, missing), -1);
    EXPECT_EQ(DirInfo("Q:\\TREE", false, missing), -1);
}

TEST_F(Walkers, WriteProtectionIsRemovedInsideTheTreeOnly) {
    for (bool viaDirInfo : {true, false}) {
        SCOPED_TRACE(viaDirInfo ? "DirInfo" : "ClearReadOnlyTree");
        const std::string base = viaDirInfo ? "c/tree1" : "c/tree2";
        makeTree(base);
        std::int64_t files = 1;
        if (viaDirInfo) {
            TDirInfo info;
            ASSERT_EQ(DirInfo("C:\\" + base.substr(2), true, info), 0);
            EXPECT_EQ(info.Files, 5);
            EXPECT_EQ(info.Failures, 0);
        } else {
            EXPECT_EQ(ClearReadOnlyTree(files, "C:\\" + base.substr(2)), 0);
            EXPECT_EQ(files, 6); // added to what the counter held
        }
        EXPECT_EQ(mode(base), 0755u);
        EXPECT_EQ(mode(base + "/ro"), 0755u);
        EXPECT_EQ(mode(base + "/ro/r.txt"), 0644u);
        EXPECT_EQ(mode(base + "/a.txt") & 0200, 0200u);
        // Behind the link out of the tree nothing changed.
        EXPECT_EQ(mode("c/outside"), 0555u);
        EXPECT_EQ(mode("c/outside/o.txt"), 0444u);
    }
    std::int64_t files = 0;
    EXPECT_EQ(ClearReadOnlyTree(files, "C:\\NONE"), 1);
    EXPECT_EQ(files, 0);
}

TEST_F(Walkers, AFailedChangeIsCountedAndTheWalkGoesOn) {
    makeTree("c/tree");
    TreeCalls().chmod = [](const char* path, mode_t m) {
        if (std::string(path).ends_with("/ro")) {
            errno = EPERM;
            return -1;
        }
        return ::chmod(path, m);
    };
    std::int64_t files = 0;
    EXPECT_EQ(ClearReadOnlyTree(files, "C:\\tree"), 1);
    EXPECT_EQ(files, 5);
    EXPECT_EQ(mode("c/tree/ro"), 0555u);
    EXPECT_EQ(mode("c/tree/ro/r.txt"), 0644u);

    // An entry of another owner is left alone and counted (only the
    // administrator can make one here).
    if (::geteuid() == 0) {
        touch("c/tree/sub/theirs.txt");
        ASSERT_EQ(::chmod((tmp / "c/tree/sub/theirs.txt").c_str(), 0444), 0);
        ASSERT_EQ(::chown((tmp / "c/tree/sub/theirs.txt").c_str(), 65534, 65534), 0);
        ResetTreeCalls();
        files = 0;
        EXPECT_EQ(ClearReadOnlyTree(files, "C:\\tree"), 1);
        EXPECT_EQ(files, 6);
        EXPECT_EQ(mode("c/tree/sub/theirs.txt"), 0444u);
    }
}

TEST_F(Walkers, DeleteTreeRemovesTheTreeAndNeverWhatALinkNames) {
    makeWritableTree();
    std::vector<std::pair<std::string, int>> failures;
    const auto record = [&](const std::string& text, int error) {
        failures.emplace_back(text, error);
    };
    EXPECT_TRUE(DeleteTree("C:\\TREE\\", record));
    EXPECT_TRUE(failures.empty());
    EXPECT_FALSE(exists("c/tree"));
    EXPECT_TRUE(exists("c/outside/o.txt"));

    // A root that is a link goes as a link.
    link(tmp / "c/outside", "c/charts");
    EXPECT_TRUE(DeleteTree("C:\\CHARTS", record));
    EXPECT_FALSE(exists("c/charts"));
    EXPECT_TRUE(exists("c/outside/o.txt"));

    EXPECT_TRUE(DeleteTree("C:\\NONE\\", record));  // nothing there: nothing left
    EXPECT_FALSE(DeleteTree("Q:\\TREE\\", record)); // names nothing
    EXPECT_TRUE(failures.empty());
}

TEST_F(Walkers, AFolderThatCannotBeRemovedIsReportedAndTheWalkGoesOn) {
    makeWritableTree();
    TreeCalls().rmdir = [](const char* path) {
        if (std::string(path).ends_with("/sub/deep")) {
            errno = EACCES;
            return -1;
        }
        return ::rmdir(path);
    };
    std::vector<std::pair<std::string, int>> failures;
    EXPECT_FALSE(DeleteTree("C:\\tree\\", [&](const std::string& text, int error) {
        failures.emplace_back(text, error);
    }));
    // Each folder above the one that stayed is not empty either.
    EXPECT_EQ(failures, (std::vector<std::pair<std::string, int>>{
                            {"C:\\tree\\sub\\deep", EACCES},
                            {"C:\\tree\\sub", ENOTEMPTY},
                            {"C:\\tree", ENOTEMPTY},
                        }));
    EXPECT_TRUE(exists("c/tree/sub/deep"));
    EXPECT_FALSE(exists("c/tree/sub/deep/c.txt"));
    EXPECT_FALSE(exists("c/tree/sub/b.bin"));
    EXPECT_FALSE(exists("c/tree/ro"));
    EXPECT_FALSE(exists("c/tree/a.txt"));
    EXPECT_TRUE(exists("c/outside/o.txt"));
}

TEST_F(Walkers, AnotherFileSystemInsideTheTreeIsNeitherCountedNorEntered) {
    makeWritableTree();
    // sub/ answers with another device number, as a mount point does.
    TreeCalls().lstat = [](const char* path, struct stat* st) {
        const int r = ::lstat(path, st);
        if (r == 0 && std::string(path).ends_with("/tree/sub")) st->st_dev += 1;
        return r;
    };
    TDirInfo info;
    ASSERT_EQ(DirInfo("C:\\tree", false, info), 0);
    EXPECT_EQ(info.Files, 3);
    EXPECT_EQ(info.Bytes, 35);
    std::vector<std::string> failed;
    EXPECT_FALSE(
        DeleteTree("C:\\tree", [&](const std::string& text, int) { failed.push_back(text); }));
    EXPECT_TRUE(exists("c/tree/sub/b.bin"));
    EXPECT_TRUE(exists("c/tree/sub/deep/c.txt"));
    EXPECT_FALSE(exists("c/tree/a.txt"));
    EXPECT_EQ(failed, (std::vector<std::string>{"C:\\tree\\sub", "C:\\tree"}));
}

TEST_F(Walkers, UnsafeRootsAreRefusedAndNothingIsDeleted) {
    mkdirs("d/users/me/charts");
    touch("d/users/me/keep.txt");
    touch("d/users/other.txt");
    touch("c/Desktop/keep.txt");
    link(tmp / "d/users/me", "e/homelink");
    setenv("HOME", (tmp / "d/users/me").c_str(), 1);

    struct Case {
        std::string dir;
        bool unsafe;
    } cases[] = {
        {"/", true},
        {"\\", true},
        {"C:\\", true},
        {"C:", true},
        {tmp / "c", true}, // a drive root in Linux form
        {"D:\\", true},
        {"F:\\", true},
        {"D:\\users\\me", true}, // home
        {"D:\\users\\me\\", true},
        {"D:\\users", true}, // contains home
        {"D:\\users\\me\\..", true},
        {"E:\\homelink", true}, // home by another name
        {"D:\\users\\me\\charts", false},
        {"C:\\Desktop", false},
        {"Q:\\x", true}, // names nothing
        {"", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dir);
        EXPECT_EQ(IsUnsafeTreeRoot(c.dir), c.unsafe);
    }
    int reported = 0;
    for (const char* dir : {"C:\\", "D:\\users", "D:\\users\\me\\", "E:\\homelink", "E:\\"}) {
        SCOPED_TRACE(dir);
        EXPECT_FALSE(DeleteTree(dir, [&](const std::string&, int) { ++reported; }));
    }
    EXPECT_EQ(reported, 0);
    for (const char* kept : {"c/Desktop/keep.txt", "d/users/me/keep.txt", "d/users/other.txt",
                             "d/users/me/charts", "e/homelink"})
        EXPECT_TRUE(exists(kept)) << kept;
}

} // namespace
