#include "isam/isam.h"

#include "isam/fileDescription.h"
#include "isam/recordFile.h"
#include "os/findNoCase.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>

namespace isam {

namespace {

using detail::RecordFile;
using detail::Search;

// The process's open sets by data file number.
struct Table {
    std::mutex mutex;
    int fileLimit = 0; // 0 until INTISAM
    std::map<int, std::unique_ptr<RecordFile>> files;
};

Table& table() {
    static Table t;
    return t;
}

std::atomic<int> lastError{0};

int answer(int error) {
    if (error) lastError.store(error);
    return error;
}

RecordFile* fileOfNumber(Table& t, int number) {
    const auto it = t.files.find(number);
    return it == t.files.end() ? nullptr : it->second.get();
}

// The open file that owns key number `key`, and the key's place among its keys.
RecordFile* fileOfKey(Table& t, int key, int& index) {
    for (auto& [number, file] : t.files) {
        const int offset = key - number - 1;
        if (offset >= 0 && offset < static_cast<int>(file->description().indexes.size())) {
            index = offset;
            return file.get();
        }
    }
    return nullptr;
}

// Whether the file and key numbers of `file` are free.
bool numbersFree(const Table& t, const FileDescription& file) {
    const int first = file.dataFileNumber;
    const int last = first + static_cast<int>(file.indexes.size());
    for (const auto& [number, open] : t.files) {
        const int openLast = number + static_cast<int>(open->description().indexes.size());
        if (first <= openLast && number <= last) return false;
    }
    return true;
}

char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// For the record calls: the open file of that number and kind.
int recordFile(Table& t, int number, bool variable, RecordFile*& file) {
    file = fileOfNumber(t, number);
    if (!file || file->description().variable != variable) return kBadArgument;
    return 0;
}

int search(int key, const void* target, void* record, Search how) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    int index = 0;
    RecordFile* file = fileOfKey(t, key, index);
    if (!file || !target || !record) return answer(kBadArgument);
    return answer(file->find(index, how, static_cast<const std::uint8_t*>(target),
                             static_cast<std::uint8_t*>(record)));
}

int walk(int key, void* record, bool forward) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    int index = 0;
    RecordFile* file = fileOfKey(t, key, index);
    if (!file || !record) return answer(kBadArgument);
    return answer(file->step(index, forward, static_cast<std::uint8_t*>(record)));
}

// Adds or rewrites a record of `length` bytes; a fixed record is its file's
// record length.
int write(int number, const void* record, std::size_t length, bool variable, bool add) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    RecordFile* file = nullptr;
    if (int e = recordFile(t, number, variable, file)) return answer(e);
    const auto fixed = static_cast<std::size_t>(file->description().recordLength);
    if (!variable) length = fixed;
    if (!record || length < fixed || length > kMaxRecordLength) return answer(kBadArgument);
    const auto* bytes = static_cast<const std::uint8_t*>(record);
    return answer(add ? file->add(bytes, length) : file->rewrite(bytes, length));
}

int remove(int number, bool variable) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    RecordFile* file = nullptr;
    if (int e = recordFile(t, number, variable, file)) return answer(e);
    return answer(file->erase());
}

} // namespace

FileSet FileSetPaths(const std::string& name) {
    const auto slash = name.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : name.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    for (char& c : base)
        c = upperAscii(c);
    FileSet set;
    for (auto [path, extension] : {std::pair{&set.data, ".DAT"}, std::pair{&set.index, ".IDX"}}) {
        const std::string wanted = folder + base + extension;
        const std::string found = os::findNoCase(wanted);
        *path = found.empty() ? wanted : found;
    }
    for (const char* suffix : {"-wal", "-journal", "-shm"})
        set.companions.push_back(set.data + suffix);
    return set;
}

int LastError() {
    return lastError.load();
}

int INTISAM(int buffers, int files, int sectors) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    if (buffers <= 0 || files <= 0 || sectors <= 0) return answer(kBadArgument);
    t.fileLimit = files;
    return 0;
}

int OPNIFIL(const FileDescription& file) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    if (int e = detail::checkDescription(file, t.fileLimit)) return answer(e);
    if (!numbersFree(t, file)) return answer(kBadArgument);
    std::unique_ptr<RecordFile> opened;
    if (int e = RecordFile::open(file, opened)) return answer(e);
    t.files[file.dataFileNumber] = std::move(opened);
    return 0;
}

int CREIFIL(const FileDescription& file) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    if (int e = detail::checkDescription(file, t.fileLimit)) return answer(e);
    if (!numbersFree(t, file)) return answer(kBadArgument);
    std::unique_ptr<RecordFile> opened;
    if (int e = RecordFile::create(file, opened)) return answer(e);
    t.files[file.dataFileNumber] = std::move(opened);
    return 0;
}

int RBLIFIL(const FileDescription& file) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    if (int e = detail::checkDescription(file, t.fileLimit)) return answer(e);
    if (!numbersFree(t, file)) return answer(kBadArgument);
    return answer(RecordFile::rebuild(file));
}

int CLIFIL(const FileDescription& file) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    const auto it = t.files.find(file.dataFileNumber);
    if (it == t.files.end()) return answer(kBadArgument);
    const int e = it->second->close();
    t.files.erase(it);
    return answer(e);
}

int ADDRES(int number, const void* block, std::size_t length) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    RecordFile* file = fileOfNumber(t, number);
    if (!file || !block || length == 0 || length > kMaxRecordLength) return answer(kBadArgument);
    return answer(file->addResource(static_cast<const std::uint8_t*>(block), length));
}

long GETFIL(int number, int mode) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    RecordFile* file = fileOfNumber(t, number);
    if (!file || mode != 3) {
        answer(kBadArgument);
        return -1;
    }
    return file->description().fileMode;
}

int TFRMKEY(int key, void* target) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    int index = 0;
    if (!fileOfKey(t, key, index) || !target) return answer(kBadArgument);
    return 0;
}

int EQLREC(int key, const void* target, void* record) {
    return search(key, target, record, Search::Equal);
}

int EQLKEY(int key, const void* target) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    int index = 0;
    RecordFile* file = fileOfKey(t, key, index);
    if (!file || !target) return answer(kBadArgument);
    return answer(file->exists(index, static_cast<const std::uint8_t*>(target)));
}

int GTEREC(int key, const void* target, void* record) {
    return search(key, target, record, Search::AtOrAbove);
}

int LTEREC(int key, const void* target, void* record) {
    return search(key, target, record, Search::AtOrBelow);
}

int NXTREC(int key, void* record) {
    return walk(key, record, true);
}

int PRVREC(int key, void* record) {
    return walk(key, record, false);
}

int ADDREC(int file, const void* record) {
    return write(file, record, 0, false, true);
}

int RWTREC(int file, const void* record) {
    return write(file, record, 0, false, false);
}

int DELREC(int file) {
    return remove(file, false);
}

int ADDVREC(int file, const void* record, std::size_t length) {
    return write(file, record, length, true, true);
}

int RWTVREC(int file, const void* record, std::size_t length) {
    return write(file, record, length, true, false);
}

int DELVREC(int file) {
    return remove(file, true);
}

int REDVREC(int number, void* buffer, std::size_t size) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    RecordFile* file = nullptr;
    if (int e = recordFile(t, number, true, file)) return answer(e);
    if (!buffer) return answer(kBadArgument);
    return answer(file->readCurrent(static_cast<std::uint8_t*>(buffer), size));
}

std::size_t GETVLEN(int number) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    RecordFile* file = nullptr;
    std::size_t length = 0;
    int e = recordFile(t, number, true, file);
    if (!e) e = file->currentLength(length);
    answer(e);
    return e ? 0 : length;
}

int BATSET(int key, BatchRequest* request, void* buffer, std::size_t size, int mode) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    int index = 0;
    RecordFile* file = fileOfKey(t, key, index);
    if (!file) return answer(kBadArgument);
    return answer(file->batch(index, request, static_cast<std::uint8_t*>(buffer), size, mode));
}

} // namespace isam
