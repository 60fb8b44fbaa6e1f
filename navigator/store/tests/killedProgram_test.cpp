// A killed program: a child process writes points through DbaseWin and
// reports each WritePointRecord that returned; it is killed with SIGKILL at a
// random moment. A new store on the folder opens without a box and holds
// every reported point.
#include "storeTestSupport.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

namespace {

using namespace storetest;

class KilledProgram : public ::testing::TestWithParam<unsigned> {};

TEST_P(KilledProgram, EveryReturnedPointSurvives) {
    std::mt19937 random(GetParam());
    TempFolder folder;
    MakeEmptyStore(folder.path());
    if (HasFatalFailure()) return;

    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const std::string fd = std::to_string(pipeEnds[1]);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipeEnds[0]);
        execl(STORE_WRITER, STORE_WRITER, folder.path().c_str(), fd.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);

    // Let it write a random number of points, then kill it a moment later.
    std::vector<std::int32_t> reported;
    const int before = 5 + static_cast<int>(random() % 300);
    std::int32_t n;
    while (static_cast<int>(reported.size()) < before &&
           read(pipeEnds[0], &n, sizeof n) == static_cast<ssize_t>(sizeof n))
        reported.push_back(n);
    usleep(static_cast<useconds_t>(random() % 5000));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself with " << WEXITSTATUS(status);
    while (read(pipeEnds[0], &n, sizeof n) == static_cast<ssize_t>(sizeof n))
        reported.push_back(n);
    close(pipeEnds[0]);
    ASSERT_GE(static_cast<int>(reported.size()), before);

    DbaseWin store(nullptr, StoreFileBasesIn(folder.path())); // any box fails the test
    ASSERT_FALSE(store.Failed());
    const std::vector<PointRecord> points = ReadStore().points;
    // The points reported, and perhaps the one being written at the kill.
    const auto last = static_cast<std::size_t>(reported.back());
    ASSERT_TRUE(points.size() == last + 1 || points.size() == last + 2) << points.size();
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto k = static_cast<std::int32_t>(i);
        EXPECT_EQ(points[i].number, k % 65536);
        EXPECT_EQ(points[i].latitude, k);
        EXPECT_EQ(points[i].longitude, -k);
        EXPECT_EQ(points[i].time, 1700000000 + k);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, KilledProgram, ::testing::Values(1u, 2u, 3u));

} // namespace
