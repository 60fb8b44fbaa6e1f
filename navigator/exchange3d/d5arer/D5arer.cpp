// The exchange library: the record and the status words in one shared-memory
// segment (ExchangeSegment.h), mapped on first use.
//
// Layout of the segment: a set-up word, the three status words, a robust
// process-shared mutex and the record. The first process that finds the
// set-up word at 0 claims it, sets the mutex up and marks the segment ready;
// the others wait for that (a segment that never becomes ready within two
// seconds is not used). A process that dies while it holds the mutex leaves it
// to the next one (EOWNERDEAD), since a record copy cannot leave anything but
// a record behind.
#include "D5arer.h"
#include "ExchangeSegment.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

static_assert(std::atomic<std::uint32_t>::is_always_lock_free,
              "status words must be atomic across processes");

enum SetUp : std::uint32_t { Fresh = 0, SettingUp = 1, Ready = 2 };

struct Segment {
    std::atomic<std::uint32_t> setUp;
    std::atomic<std::uint32_t> words[3];
    pthread_mutex_t mutex;
    unsigned char record[kExchangeRecordSize];
};

bool setUpMutex(pthread_mutex_t* mutex) {
    pthread_mutexattr_t attributes;
    if (pthread_mutexattr_init(&attributes) != 0) return false;
    const bool ok = pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED) == 0 &&
                    pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST) == 0 &&
                    pthread_mutex_init(mutex, &attributes) == 0;
    pthread_mutexattr_destroy(&attributes);
    return ok;
}

Segment* mapSegment() {
    const std::string name = d5arer::exchangeSegmentName();
    const int fd = ::shm_open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return nullptr;
    struct stat st {};
    // Only a segment of this user's own; a wider mode is narrowed, as the
    // runtime folder is.
    if (::fstat(fd, &st) != 0 || st.st_uid != ::geteuid() ||
        ((st.st_mode & 077) && ::fchmod(fd, 0600) != 0) ||
        (st.st_size < static_cast<off_t>(sizeof(Segment)) &&
         ::ftruncate(fd, sizeof(Segment)) != 0)) {
        ::close(fd);
        return nullptr;
    }
    void* p = ::mmap(nullptr, sizeof(Segment), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    if (p == MAP_FAILED) return nullptr;
    auto* segment = static_cast<Segment*>(p);

    std::uint32_t expected = Fresh;
    if (segment->setUp.compare_exchange_strong(expected, SettingUp)) {
        if (!setUpMutex(&segment->mutex)) {
            segment->setUp.store(Fresh);
            ::munmap(p, sizeof(Segment));
            return nullptr;
        }
        segment->setUp.store(Ready);
        return segment;
    }
    for (int i = 0; i < 2000 && segment->setUp.load() != Ready; ++i) {
        const timespec ms{0, 1000000};
        ::nanosleep(&ms, nullptr);
    }
    if (segment->setUp.load() == Ready) return segment;
    ::munmap(p, sizeof(Segment));
    return nullptr;
}

Segment* segment() {
    static Segment* const s = mapSegment();
    return s;
}

class RecordLock {
  public:
    explicit RecordLock(Segment* s) : s_(s) {
        int r = pthread_mutex_lock(&s->mutex);
        if (r == EOWNERDEAD) r = pthread_mutex_consistent(&s->mutex);
        held_ = r == 0;
    }
    ~RecordLock() {
        if (held_) pthread_mutex_unlock(&s_->mutex);
    }
    RecordLock(const RecordLock&) = delete;
    RecordLock& operator=(const RecordLock&) = delete;
    bool held() const { return held_; }

  private:
    Segment* s_;
    bool held_ = false;
};

void putWord(int i, std::uint32_t word) {
    if (Segment* s = segment()) s->words[i].store(word);
}

std::uint32_t getWord(int i) {
    Segment* s = segment();
    return s ? s->words[i].load() : 0;
}

} // namespace

extern "C" {

void _tPutRec(const void* record, int length) {
    Segment* s = segment();
    if (!s || !record || length <= 0) return;
    const int n = length < kExchangeRecordSize ? length : kExchangeRecordSize;
    RecordLock lock(s);
    if (lock.held()) std::memcpy(s->record, record, static_cast<std::size_t>(n));
}

void _tGetRec(void* record, int length) {
    if (!record || length <= 0) return;
    auto* out = static_cast<unsigned char*>(record);
    std::memset(out, 0, static_cast<std::size_t>(length));
    Segment* s = segment();
    if (!s) return;
    const int n = length < kExchangeRecordSize ? length : kExchangeRecordSize;
    RecordLock lock(s);
    if (lock.held()) std::memcpy(out, s->record, static_cast<std::size_t>(n));
}

void _tPutStatA(std::uint32_t word) {
    putWord(0, word);
}
void _tPutStatB(std::uint32_t word) {
    putWord(1, word);
}
void _tPutStatC(std::uint32_t word) {
    putWord(2, word);
}
std::uint32_t _tGetStatA() {
    return getWord(0);
}
std::uint32_t _tGetStatB() {
    return getWord(1);
}
std::uint32_t _tGetStatC() {
    return getWord(2);
}
}
