// One open file set: the SQLite connection of its data file, the prepared
// statements of its keys, its current record and its batch.
#pragma once

#include "isam/fileDescription.h"
#include "isam/isam.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace isam::detail {

// A prepared statement, finalized when destroyed.
class Statement {
  public:
    Statement() = default;
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    // An SQLite result code.
    int prepare(sqlite3* db, const std::string& sql);
    sqlite3_stmt* get() const { return statement_; }
    void finalize();

  private:
    sqlite3_stmt* statement_ = nullptr;
};

enum class Search { Equal, AtOrAbove, AtOrBelow };

class RecordFile {
  public:
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // The file operations; each answers 0 or an error number of isam.h.
    static int open(const FileDescription& file, std::unique_ptr<RecordFile>& opened);
    static int create(const FileDescription& file, std::unique_ptr<RecordFile>& opened);
    static int rebuild(const FileDescription& file);
    int close();

    const FileDescription& description() const { return description_; }

    // Searches by the key at `index` (0-based among the file's keys).
    int find(int index, Search how, const std::uint8_t* target, std::uint8_t* record);
    int exists(int index, const std::uint8_t* target);
    int step(int index, bool forward, std::uint8_t* record);

    // Record calls on the current record; length is the whole record.
    int add(const std::uint8_t* record, std::size_t length);
    int rewrite(const std::uint8_t* record, std::size_t length);
    int erase();
    int readCurrent(std::uint8_t* buffer, std::size_t size) const;
    int currentLength(std::size_t& length) const;

    int addResource(const std::uint8_t* block, std::size_t length);
    int batch(int index, BatchRequest* request, std::uint8_t* buffer, std::size_t size, int mode);

  private:
    struct IndexStatements {
        Statement equal, atOrAbove, atOrBelow, above, below;
        Statement countFrom, batchFrom, batchAfter;
    };
    struct Batch {
        bool active = false;
        int index = 0;
        Key low, high, last;
        bool hasLast = false;
        std::uint32_t total = 0;    // matching records when the batch started
        std::uint32_t returned = 0; // entries returned so far
    };

    RecordFile() = default;
    int prepareStatements();
    void finalizeStatements();
    // Steps a statement that yields (pos, bytes) and makes the row current.
    int takeRow(sqlite3_stmt* statement, std::uint8_t* record);
    bool lengthFits(std::size_t length) const;

    FileDescription description_;
    std::string dataPath_;
    sqlite3* db_ = nullptr;
    std::vector<IndexStatements> indexStatements_;
    Statement insert_, update_, erase_, addResource_;

    // The current record: the bytes last found, added or rewritten. While
    // `positioned_` its keys are where walks go on from; `live_` says the
    // record still exists.
    std::vector<std::uint8_t> current_;
    long long currentPosition_ = 0;
    bool positioned_ = false;
    bool live_ = false;
    Batch batch_;
};

} // namespace isam::detail
