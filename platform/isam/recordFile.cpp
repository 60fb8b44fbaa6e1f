#include "isam/recordFile.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <initializer_list>
#include <string_view>
#include <tuple>

namespace isam::detail {

namespace {

// Marks our data files (PRAGMA application_id) and their layout.
constexpr int kApplicationId = 0x4F424A53;
constexpr int kLayoutVersion = 1;
// A .IDX is a few hundred bytes; anything far larger is not ours.
constexpr off_t kMaxIndexFileSize = 64 * 1024;

int errorOf(int rc) {
    switch (rc & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return 0;
    case SQLITE_CONSTRAINT:
        return kDuplicateKey;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
    case SQLITE_ERROR: // a table or column that is not there
        return kDamaged;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_READONLY:
        return kCannotOpen;
    default: // SQLITE_IOERR, SQLITE_FULL, SQLITE_NOMEM, ...
        return kReadWrite;
    }
}

bool fileExists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool syncPath(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// Runs SQL that yields no rows; an SQLite result code.
int exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

// Runs a pragma or query whose first column of the first row is wanted.
int queryInt(sqlite3* db, const char* sql, long long& value) {
    Statement s;
    int rc = s.prepare(db, sql);
    if (rc != SQLITE_OK) return rc;
    rc = sqlite3_step(s.get());
    if (rc == SQLITE_ROW) {
        value = sqlite3_column_int64(s.get(), 0);
        return SQLITE_OK;
    }
    return rc == SQLITE_DONE ? SQLITE_CORRUPT : rc;
}

int queryText(sqlite3* db, const char* sql, std::string& value) {
    Statement s;
    int rc = s.prepare(db, sql);
    if (rc != SQLITE_OK) return rc;
    rc = sqlite3_step(s.get());
    if (rc == SQLITE_ROW) {
        const auto* text = sqlite3_column_text(s.get(), 0);
        value = text ? reinterpret_cast<const char*>(text) : "";
        return SQLITE_OK;
    }
    return rc == SQLITE_DONE ? SQLITE_CORRUPT : rc;
}

// Opens a connection in exclusive locking mode, set before the first access
// so that the log's index lives in the process's memory and no shared-memory
// file is made. 0 or an error number.
int openConnection(const std::string& path, int flags, sqlite3*& db) {
    db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        db = nullptr;
        return kCannotOpen;
    }
    sqlite3_extended_result_codes(db, 1);
    const int rc = exec(db, "PRAGMA locking_mode=EXCLUSIVE");
    if (rc != SQLITE_OK) {
        sqlite3_close(db);
        db = nullptr;
        return errorOf(rc);
    }
    return 0;
}

// Checks that an existing database is one of ours, takes its lock and sets
// the journal. Reads only until the file is known to be ours, so a foreign
// or damaged file is left as it was. 0 or an error number.
int prepareExisting(sqlite3* db) {
    long long id = 0, version = 0;
    int rc = queryInt(db, "PRAGMA application_id", id);
    if (rc != SQLITE_OK) return errorOf(rc);
    if (id != kApplicationId) return kDamaged;
    rc = queryInt(db, "PRAGMA user_version", version);
    if (rc != SQLITE_OK) return errorOf(rc);
    if (version != kLayoutVersion) return kDamaged;
    // The exclusive lock is taken with the first write transaction and kept
    // until the connection closes.
    rc = exec(db, "BEGIN EXCLUSIVE");
    if (rc == SQLITE_OK) rc = exec(db, "COMMIT");
    if (rc != SQLITE_OK) return errorOf(rc);
    std::string mode;
    rc = queryText(db, "PRAGMA journal_mode=WAL", mode);
    if (rc != SQLITE_OK) return errorOf(rc);
    if (mode != "wal") return kReadWrite;
    rc = exec(db, "PRAGMA synchronous=FULL");
    return errorOf(rc);
}

// Closes a connection that failed its checks, without a checkpoint, so the
// file is left as it was.
void abandonConnection(sqlite3*& db) {
    sqlite3_close_v2(db);
    db = nullptr;
}

// Closes a connection, which checkpoints the log into the data file and
// removes it. 0, or kReadWrite when the log stays behind.
int closeConnection(sqlite3*& db, const std::string& path) {
    if (!db) return 0;
    int result = 0;
    if (exec(db, "PRAGMA wal_checkpoint(TRUNCATE)") != SQLITE_OK) result = kReadWrite;
    if (sqlite3_close(db) != SQLITE_OK) {
        sqlite3_close_v2(db);
        result = kReadWrite;
    }
    db = nullptr;
    if (fileExists(path + "-wal")) result = kReadWrite;
    return result;
}

// The pieces one after the other.
std::string join(std::initializer_list<std::string_view> pieces) {
    std::string text;
    for (std::string_view piece : pieces)
        text += piece;
    return text;
}

std::string columnName(int index, int segment) {
    std::string name = "k";
    name += std::to_string(index);
    name += 's';
    name += std::to_string(segment);
    return name;
}

std::string columnList(const FileDescription& file, int index, const char* suffix = "") {
    std::string list;
    const int n = static_cast<int>(file.indexes[index].segments.size());
    for (int j = 0; j < n; ++j) {
        if (j) list += ", ";
        list += columnName(index, j) + suffix;
    }
    return list;
}

// "(?a, ?a+1, ...)" for the segments of a key.
std::string parameters(int first, int count) {
    std::string list = "(";
    for (int j = 0; j < count; ++j) {
        if (j) list += ", ";
        list += '?';
        list += std::to_string(first + j);
    }
    return list + ")";
}

std::string createRecordsSql(const FileDescription& file, const char* table) {
    std::string sql =
        std::string("CREATE TABLE ") + table + "(pos INTEGER PRIMARY KEY, bytes BLOB NOT NULL";
    for (std::size_t i = 0; i < file.indexes.size(); ++i)
        for (std::size_t j = 0; j < file.indexes[i].segments.size(); ++j)
            sql +=
                ", " + columnName(static_cast<int>(i), static_cast<int>(j)) + " INTEGER NOT NULL";
    return sql + ")";
}

int createIndexes(sqlite3* db, const FileDescription& file) {
    for (std::size_t i = 0; i < file.indexes.size(); ++i) {
        const std::string sql = "CREATE UNIQUE INDEX k" + std::to_string(i) + " ON records(" +
                                columnList(file, static_cast<int>(i)) + ")";
        const int rc = exec(db, sql.c_str());
        if (rc != SQLITE_OK) return rc;
    }
    return SQLITE_OK;
}

int bindKey(sqlite3_stmt* s, int first, const Key& key) {
    for (int j = 0; j < key.count; ++j) {
        const int rc = sqlite3_bind_int64(s, first + j, key.values[j]);
        if (rc != SQLITE_OK) return rc;
    }
    return SQLITE_OK;
}

// Binds the key values of every index of a record after parameter `first`.
int bindRecordKeys(sqlite3_stmt* s, int first, const FileDescription& file,
                   const std::uint8_t* record) {
    int parameter = first;
    for (const Index& index : file.indexes) {
        const Key key = keyOfRecord(index, record);
        const int rc = bindKey(s, parameter, key);
        if (rc != SQLITE_OK) return rc;
        parameter += key.count;
    }
    return SQLITE_OK;
}

int writeIndexFile(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".new";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return kCannotOpen;
    std::size_t done = 0;
    bool ok = true;
    while (ok && done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<std::size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return kReadWrite;
    }
    syncPath(folderOf(path), O_RDONLY | O_DIRECTORY);
    return 0;
}

// The text of a .IDX: 0, kCannotOpen when missing, kDescriptionDiffers when
// it cannot be ours.
int readIndexFile(const std::string& path, std::string& text) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return kCannotOpen;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxIndexFileSize) {
        ::close(fd);
        return kDescriptionDiffers;
    }
    text.assign(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::read(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    text.resize(done);
    return 0;
}

} // namespace

// ---- Statement ----------------------------------------------------------------

Statement::~Statement() {
    finalize();
}

int Statement::prepare(sqlite3* db, const std::string& sql) {
    finalize();
    return sqlite3_prepare_v3(db, sql.c_str(), static_cast<int>(sql.size()),
                              SQLITE_PREPARE_PERSISTENT, &statement_, nullptr);
}

void Statement::finalize() {
    sqlite3_finalize(statement_);
    statement_ = nullptr;
}

// ---- Opening, creating, rebuilding, closing ----------------------------------------

RecordFile::~RecordFile() {
    close();
}

int RecordFile::open(const FileDescription& file, std::unique_ptr<RecordFile>& opened) {
    const FileSet paths = FileSetPaths(file.name);
    if (!fileExists(paths.data) || !fileExists(paths.index)) return kCannotOpen;
    const std::string text = descriptionText(file);
    std::string stored;
    if (int e = readIndexFile(paths.index, stored)) return e;
    if (stored != text) return kDescriptionDiffers;

    std::unique_ptr<RecordFile> f(new RecordFile);
    f->description_ = file;
    f->dataPath_ = paths.data;
    if (int e = openConnection(paths.data, SQLITE_OPEN_READWRITE, f->db_)) return e;
    int e = prepareExisting(f->db_);
    std::string inData;
    if (!e) e = errorOf(queryText(f->db_, "SELECT text FROM description", inData));
    if (!e && inData != text) e = kDescriptionDiffers;
    if (!e) e = f->prepareStatements();
    if (e) {
        f->finalizeStatements();
        abandonConnection(f->db_);
        return e;
    }
    opened = std::move(f);
    return 0;
}

int RecordFile::create(const FileDescription& file, std::unique_ptr<RecordFile>& opened) {
    const FileSet paths = FileSetPaths(file.name);
    if (fileExists(paths.data)) return kFileExists;

    // The data file is made under a temporary name and linked into place
    // once it is complete; link never replaces an existing file.
    const std::string temporary = paths.data + ".new";
    for (const char* suffix : {"", "-wal", "-journal", "-shm"})
        ::unlink((temporary + suffix).c_str());
    sqlite3* db = nullptr;
    if (int e = openConnection(temporary, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, db)) {
        ::unlink(temporary.c_str());
        return e;
    }
    std::string mode;
    int rc = queryText(db, "PRAGMA journal_mode=WAL", mode);
    if (rc == SQLITE_OK && mode != "wal") rc = SQLITE_IOERR;
    if (rc == SQLITE_OK) rc = exec(db, "PRAGMA synchronous=FULL");
    if (rc == SQLITE_OK) rc = exec(db, "BEGIN");
    if (rc == SQLITE_OK) {
        const std::string pragmas = "PRAGMA application_id=" + std::to_string(kApplicationId) +
                                    "; PRAGMA user_version=" + std::to_string(kLayoutVersion);
        rc = exec(db, pragmas.c_str());
    }
    if (rc == SQLITE_OK) rc = exec(db, createRecordsSql(file, "records").c_str());
    if (rc == SQLITE_OK) rc = createIndexes(db, file);
    if (rc == SQLITE_OK)
        rc = exec(db, "CREATE TABLE resources(number INTEGER PRIMARY KEY, bytes BLOB NOT NULL);"
                      "CREATE TABLE description(text TEXT NOT NULL)");
    if (rc == SQLITE_OK) {
        Statement s;
        rc = s.prepare(db, "INSERT INTO description(text) VALUES(?1)");
        const std::string text = descriptionText(file);
        if (rc == SQLITE_OK)
            rc = sqlite3_bind_text(s.get(), 1, text.c_str(), static_cast<int>(text.size()),
                                   SQLITE_TRANSIENT);
        if (rc == SQLITE_OK) rc = sqlite3_step(s.get());
        if (rc == SQLITE_DONE) rc = SQLITE_OK;
    }
    if (rc == SQLITE_OK) rc = exec(db, "COMMIT");
    int e = errorOf(rc);
    if (const int closed = closeConnection(db, temporary); !e) e = closed;
    if (!e && !syncPath(temporary, O_RDONLY)) e = kReadWrite;
    // A log or journal left by a data file that is gone would be applied to
    // the new file at its first open: they go first.
    if (!e)
        for (const std::string& companion : paths.companions)
            ::unlink(companion.c_str());
    if (!e && ::link(temporary.c_str(), paths.data.c_str()) != 0)
        e = errno == EEXIST ? kFileExists : kCannotOpen;
    for (const char* suffix : {"", "-wal", "-journal", "-shm"})
        ::unlink((temporary + suffix).c_str());
    if (e) return e;
    syncPath(folderOf(paths.data), O_RDONLY | O_DIRECTORY);

    if (int w = writeIndexFile(paths.index, descriptionText(file))) return w;
    return open(file, opened);
}

int RecordFile::rebuild(const FileDescription& file) {
    const FileSet paths = FileSetPaths(file.name);
    if (!fileExists(paths.data)) return kCannotOpen;
    sqlite3* db = nullptr;
    if (int e = openConnection(paths.data, SQLITE_OPEN_READWRITE, db)) return e;
    int e = prepareExisting(db);
    if (e) {
        abandonConnection(db);
        return e;
    }
    std::string check;
    if (!e) e = errorOf(queryText(db, "PRAGMA integrity_check", check));
    if (!e && check != "ok") e = kDamaged;

    // One transaction: a new table of the records with key values computed
    // from their bytes, then the unique indexes. Any failure rolls it all back.
    bool inTransaction = false;
    if (!e) {
        e = errorOf(exec(db, "BEGIN IMMEDIATE"));
        inTransaction = !e;
    }
    if (!e)
        e = errorOf(exec(
            db, ("DROP TABLE IF EXISTS rebuilt; " + createRecordsSql(file, "rebuilt")).c_str()));
    if (!e) {
        Statement read, write;
        std::string insert = "INSERT INTO rebuilt(pos, bytes";
        int parameterCount = 2;
        for (std::size_t i = 0; i < file.indexes.size(); ++i) {
            insert += ", " + columnList(file, static_cast<int>(i));
            parameterCount += static_cast<int>(file.indexes[i].segments.size());
        }
        insert += ") VALUES " + parameters(1, parameterCount);
        e = errorOf(read.prepare(db, "SELECT pos, bytes FROM records ORDER BY pos"));
        if (!e) e = errorOf(write.prepare(db, insert));
        while (!e) {
            int rc = sqlite3_step(read.get());
            if (rc == SQLITE_DONE) break;
            if (rc != SQLITE_ROW) {
                e = errorOf(rc);
                break;
            }
            const auto* bytes =
                static_cast<const std::uint8_t*>(sqlite3_column_blob(read.get(), 1));
            const auto length = static_cast<std::size_t>(sqlite3_column_bytes(read.get(), 1));
            const bool fits = file.variable
                                  ? length >= static_cast<std::size_t>(file.recordLength) &&
                                        length <= static_cast<std::size_t>(kMaxRecordLength)
                                  : length == static_cast<std::size_t>(file.recordLength);
            if (!fits || !bytes) {
                e = kDamaged;
                break;
            }
            sqlite3_reset(write.get());
            rc = sqlite3_bind_int64(write.get(), 1, sqlite3_column_int64(read.get(), 0));
            if (rc == SQLITE_OK)
                rc = sqlite3_bind_blob(write.get(), 2, bytes, static_cast<int>(length),
                                       SQLITE_TRANSIENT);
            if (rc == SQLITE_OK) rc = bindRecordKeys(write.get(), 3, file, bytes);
            if (rc == SQLITE_OK) rc = sqlite3_step(write.get());
            if (rc != SQLITE_DONE) e = errorOf(rc);
        }
    }
    if (!e) e = errorOf(exec(db, "DROP TABLE records; ALTER TABLE rebuilt RENAME TO records"));
    if (!e) e = errorOf(createIndexes(db, file));
    if (!e)
        e = errorOf(exec(db, "CREATE TABLE IF NOT EXISTS resources(number INTEGER PRIMARY KEY, "
                             "bytes BLOB NOT NULL);"
                             "DROP TABLE IF EXISTS description;"
                             "CREATE TABLE description(text TEXT NOT NULL)"));
    if (!e) {
        Statement s;
        const std::string text = descriptionText(file);
        int rc = s.prepare(db, "INSERT INTO description(text) VALUES(?1)");
        if (rc == SQLITE_OK)
            rc = sqlite3_bind_text(s.get(), 1, text.c_str(), static_cast<int>(text.size()),
                                   SQLITE_TRANSIENT);
        if (rc == SQLITE_OK) rc = sqlite3_step(s.get());
        if (rc != SQLITE_DONE) e = errorOf(rc);
    }
    if (!e) {
        e = errorOf(exec(db, "COMMIT"));
        if (!e) inTransaction = false;
    }
    if (inTransaction) exec(db, "ROLLBACK");
    // Compaction: VACUUM rewrites the file without its free pages; the
    // checkpoint at close shortens the data file.
    if (!e) e = errorOf(exec(db, "VACUUM"));
    if (const int closed = closeConnection(db, paths.data); !e) e = closed;
    if (e) return e;
    return writeIndexFile(paths.index, descriptionText(file));
}

void RecordFile::finalizeStatements() {
    indexStatements_.clear();
    insert_.finalize();
    update_.finalize();
    erase_.finalize();
    addResource_.finalize();
}

int RecordFile::close() {
    finalizeStatements();
    return closeConnection(db_, dataPath_);
}

int RecordFile::prepareStatements() {
    const FileDescription& file = description_;
    indexStatements_ = std::vector<IndexStatements>(file.indexes.size());
    for (std::size_t i = 0; i < file.indexes.size(); ++i) {
        const int n = static_cast<int>(file.indexes[i].segments.size());
        const std::string list = columnList(file, static_cast<int>(i));
        const std::string cols = join({"(", list, ")"});
        const std::string up = join({" ORDER BY ", list});
        const std::string down =
            join({" ORDER BY ", columnList(file, static_cast<int>(i), " DESC")});
        const std::string key = parameters(1, n);
        const std::string high = parameters(n + 1, n);
        const std::string limit = join({" LIMIT ?", std::to_string(2 * n + 1)});
        const std::string_view select = "SELECT pos, bytes FROM records WHERE ";
        const std::string_view count = "SELECT count(*) FROM records WHERE ";
        const std::string below = join({" AND ", cols, " <= ", high});
        IndexStatements& s = indexStatements_[i];
        const std::pair<Statement*, std::string> statements[] = {
            {&s.equal, join({select, cols, " = ", key})},
            {&s.atOrAbove, join({select, cols, " >= ", key, up, " LIMIT 1"})},
            {&s.atOrBelow, join({select, cols, " <= ", key, down, " LIMIT 1"})},
            {&s.above, join({select, cols, " > ", key, up, " LIMIT 1"})},
            {&s.below, join({select, cols, " < ", key, down, " LIMIT 1"})},
            {&s.countFrom, join({count, cols, " >= ", key, below})},
            {&s.batchFrom, join({select, cols, " >= ", key, below, up, limit})},
            {&s.batchAfter, join({select, cols, " > ", key, below, up, limit})},
        };
        for (const auto& [statement, sql] : statements)
            if (int rc = statement->prepare(db_, sql)) return errorOf(rc);
    }
    std::string insert = "INSERT INTO records(bytes";
    std::string update = "UPDATE records SET bytes = ?1";
    int parameter = 2;
    for (std::size_t i = 0; i < file.indexes.size(); ++i) {
        insert += ", " + columnList(file, static_cast<int>(i));
        for (std::size_t j = 0; j < file.indexes[i].segments.size(); ++j)
            update += ", " + columnName(static_cast<int>(i), static_cast<int>(j)) + " = ?" +
                      std::to_string(parameter++);
    }
    insert += ") VALUES " + parameters(1, parameter - 1);
    update += " WHERE pos = ?" + std::to_string(parameter);
    if (int rc = insert_.prepare(db_, insert)) return errorOf(rc);
    if (int rc = update_.prepare(db_, update)) return errorOf(rc);
    if (int rc = erase_.prepare(db_, "DELETE FROM records WHERE pos = ?1")) return errorOf(rc);
    if (int rc = addResource_.prepare(
            db_, "INSERT INTO resources(number, bytes) "
                 "VALUES((SELECT coalesce(max(number) + 1, 0) FROM resources), ?1)"))
        return errorOf(rc);
    return 0;
}

// ---- Searches -------------------------------------------------------------------

bool RecordFile::lengthFits(std::size_t length) const {
    const auto fixed = static_cast<std::size_t>(description_.recordLength);
    return description_.variable ? length >= fixed && length <= kMaxRecordLength : length == fixed;
}

int RecordFile::takeRow(sqlite3_stmt* s, std::uint8_t* record) {
    const int rc = sqlite3_step(s);
    int e = 0;
    if (rc == SQLITE_ROW) {
        const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(s, 1));
        const auto length = static_cast<std::size_t>(sqlite3_column_bytes(s, 1));
        if (!bytes || !lengthFits(length)) {
            e = kDamaged;
        } else {
            current_.assign(bytes, bytes + length);
            currentPosition_ = sqlite3_column_int64(s, 0);
            positioned_ = live_ = true;
            std::memcpy(record, bytes, static_cast<std::size_t>(description_.recordLength));
        }
    } else {
        e = rc == SQLITE_DONE ? kNotFound : errorOf(rc);
    }
    sqlite3_reset(s);
    return e;
}

int RecordFile::find(int index, Search how, const std::uint8_t* target, std::uint8_t* record) {
    IndexStatements& s = indexStatements_[index];
    sqlite3_stmt* statement = how == Search::Equal       ? s.equal.get()
                              : how == Search::AtOrAbove ? s.atOrAbove.get()
                                                         : s.atOrBelow.get();
    if (int rc = bindKey(statement, 1, keyOfTarget(description_.indexes[index], target)))
        return errorOf(rc);
    return takeRow(statement, record);
}

int RecordFile::exists(int index, const std::uint8_t* target) {
    sqlite3_stmt* statement = indexStatements_[index].equal.get();
    if (int rc = bindKey(statement, 1, keyOfTarget(description_.indexes[index], target)))
        return errorOf(rc);
    const int rc = sqlite3_step(statement);
    sqlite3_reset(statement);
    return rc == SQLITE_ROW ? 0 : rc == SQLITE_DONE ? kNotFound : errorOf(rc);
}

int RecordFile::step(int index, bool forward, std::uint8_t* record) {
    if (!positioned_) return kNoCurrentRecord;
    sqlite3_stmt* statement =
        forward ? indexStatements_[index].above.get() : indexStatements_[index].below.get();
    if (int rc = bindKey(statement, 1, keyOfRecord(description_.indexes[index], current_.data())))
        return errorOf(rc);
    return takeRow(statement, record);
}

// ---- Record calls ----------------------------------------------------------------

int RecordFile::add(const std::uint8_t* record, std::size_t length) {
    sqlite3_stmt* s = insert_.get();
    int rc = sqlite3_bind_blob(s, 1, record, static_cast<int>(length), SQLITE_STATIC);
    if (rc == SQLITE_OK) rc = bindRecordKeys(s, 2, description_, record);
    if (rc == SQLITE_OK) rc = sqlite3_step(s);
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    if (rc != SQLITE_DONE) return errorOf(rc);
    current_.assign(record, record + length);
    currentPosition_ = sqlite3_last_insert_rowid(db_);
    positioned_ = live_ = true;
    return 0;
}

int RecordFile::rewrite(const std::uint8_t* record, std::size_t length) {
    if (!live_) return kNoCurrentRecord;
    sqlite3_stmt* s = update_.get();
    int parameter = 2;
    for (const Index& index : description_.indexes)
        parameter += static_cast<int>(index.segments.size());
    int rc = sqlite3_bind_blob(s, 1, record, static_cast<int>(length), SQLITE_STATIC);
    if (rc == SQLITE_OK) rc = bindRecordKeys(s, 2, description_, record);
    if (rc == SQLITE_OK) rc = sqlite3_bind_int64(s, parameter, currentPosition_);
    if (rc == SQLITE_OK) rc = sqlite3_step(s);
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    if (rc != SQLITE_DONE) return errorOf(rc);
    if (sqlite3_changes(db_) == 0) {
        live_ = false;
        return kNoCurrentRecord;
    }
    current_.assign(record, record + length);
    return 0;
}

int RecordFile::erase() {
    if (!live_) return kNoCurrentRecord;
    sqlite3_stmt* s = erase_.get();
    int rc = sqlite3_bind_int64(s, 1, currentPosition_);
    if (rc == SQLITE_OK) rc = sqlite3_step(s);
    sqlite3_reset(s);
    if (rc != SQLITE_DONE) return errorOf(rc);
    // The deleted record's key stays the position of a walk.
    live_ = false;
    return sqlite3_changes(db_) == 0 ? kNoCurrentRecord : 0;
}

int RecordFile::readCurrent(std::uint8_t* buffer, std::size_t size) const {
    if (!live_) return kNoCurrentRecord;
    if (current_.size() > size) return kBadArgument;
    std::memcpy(buffer, current_.data(), current_.size());
    return 0;
}

int RecordFile::currentLength(std::size_t& length) const {
    if (!live_) return kNoCurrentRecord;
    length = current_.size();
    return 0;
}

int RecordFile::addResource(const std::uint8_t* block, std::size_t length) {
    sqlite3_stmt* s = addResource_.get();
    int rc = sqlite3_bind_blob(s, 1, block, static_cast<int>(length), SQLITE_STATIC);
    if (rc == SQLITE_OK) rc = sqlite3_step(s);
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    return rc == SQLITE_DONE ? 0 : errorOf(rc);
}

// ---- Batches ---------------------------------------------------------------------

int RecordFile::batch(int index, BatchRequest* request, std::uint8_t* buffer, std::size_t size,
                      int mode) {
    if (mode == kBatchEnd) {
        batch_ = Batch{};
        return 0;
    }
    if (mode != kBatchStart && mode != kBatchNext) return kBadArgument;
    if (!request || !buffer || description_.variable) return kBadArgument;
    const Index& keyIndex = description_.indexes[index];
    const std::size_t entrySize = 4 + static_cast<std::size_t>(description_.recordLength);
    if (size < entrySize) return kBadArgument;
    if (mode == kBatchStart) {
        const int segments = segmentsInPrefix(keyIndex, request->significantLength);
        if (segments < 0) return kBadArgument;
        const Key target = keyOfTarget(keyIndex, request->target.data());
        batch_ = Batch{};
        batch_.active = true;
        batch_.index = index;
        batch_.low = lowestWithPrefix(keyIndex, target, segments);
        batch_.high = highestWithPrefix(keyIndex, target, segments);
    } else if (!batch_.active) {
        return kNoCurrentRecord;
    } else if (batch_.index != index) {
        return kBadArgument;
    }

    IndexStatements& s = indexStatements_[index];
    const int n = batch_.low.count;
    const Key& from = batch_.hasLast ? batch_.last : batch_.low;
    sqlite3_stmt* fetch = batch_.hasLast ? s.batchAfter.get() : s.batchFrom.get();
    const auto capacity = static_cast<long long>(size / entrySize);
    int rc = bindKey(fetch, 1, from);
    if (rc == SQLITE_OK) rc = bindKey(fetch, n + 1, batch_.high);
    if (rc == SQLITE_OK) rc = sqlite3_bind_int64(fetch, 2 * n + 1, capacity);
    std::uint32_t returned = 0;
    int e = errorOf(rc);
    while (!e) {
        rc = sqlite3_step(fetch);
        if (rc == SQLITE_DONE) break;
        if (rc != SQLITE_ROW) {
            e = errorOf(rc);
            break;
        }
        const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(fetch, 1));
        const auto length = static_cast<std::size_t>(sqlite3_column_bytes(fetch, 1));
        if (!bytes || !lengthFits(length)) {
            e = kDamaged;
            break;
        }
        const auto position = static_cast<std::uint32_t>(sqlite3_column_int64(fetch, 0));
        std::uint8_t* entry = buffer + returned * entrySize;
        for (int b = 0; b < 4; ++b)
            entry[b] = static_cast<std::uint8_t>(position >> (8 * b));
        std::memcpy(entry + 4, bytes, length);
        batch_.last = keyOfRecord(keyIndex, bytes);
        batch_.hasLast = true;
        ++returned;
    }
    sqlite3_reset(fetch);
    if (e) return e;

    // The matching records are counted once, when the batch starts; later
    // parts count down from there. A part that comes back short ends it.
    if (mode == kBatchStart) {
        sqlite3_stmt* count = s.countFrom.get();
        rc = bindKey(count, 1, batch_.low);
        if (rc == SQLITE_OK) rc = bindKey(count, n + 1, batch_.high);
        if (rc == SQLITE_OK) rc = sqlite3_step(count);
        if (rc == SQLITE_ROW)
            batch_.total = static_cast<std::uint32_t>(sqlite3_column_int64(count, 0));
        sqlite3_reset(count);
        if (rc != SQLITE_ROW) return errorOf(rc);
    }
    batch_.returned += returned;
    request->total = batch_.total;
    request->returned = returned;
    request->available =
        returned < capacity ? 0 : batch_.total - std::min(batch_.total, batch_.returned);
    return returned == 0 ? kNotFound : 0;
}

} // namespace isam::detail
