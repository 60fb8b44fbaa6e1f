// The BACKUP set that make-empty-store makes, and the one the build made for
// the sample installation: exactly the six files the reset copies, each an
// empty store file that opens with the store's own descriptions.
#include "dbreset/UserDatabaseReset.h"
#include "store/storeFiles.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class TempDir {
  public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "backup-set-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

int run(const std::string& folder) {
    const std::string command = std::string(MAKE_EMPTY_STORE) + " '" + folder + "' 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> names(const std::string& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder))
        found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    return found;
}

std::string bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The settings block stored as resource 0 of ID.DAT.
std::string settingsBlock(const std::string& idData) {
    sqlite3* db = nullptr;
    std::string block;
    // Immutable: read without a lock or a shared-memory file beside it.
    const std::string uri = "file:" + idData + "?immutable=1";
    if (sqlite3_open_v2(uri.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT bytes FROM resources WHERE number = 0", -1, &statement,
                               nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            block.assign(static_cast<const char*>(sqlite3_column_blob(statement, 0)),
                         std::size_t(sqlite3_column_bytes(statement, 0)));
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return block;
}

// Opens the set in `folder` with the store's descriptions: every file opens,
// ID has the single-user mode, and no file holds a record.
void expectEmptyStore(const std::string& folder) {
    std::vector<std::string> expected(kUserDatabaseFiles.begin(), kUserDatabaseFiles.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names(folder), expected);
    EXPECT_EQ(settingsBlock(folder + "/ID.DAT"), std::string(kSettingsBlockSize, '\0'));

    isam::INTISAM(18, 13, 8);
    const StoreFileBases bases = StoreFileBasesIn(folder);
    for (StoreFile file : kStoreFiles)
        ASSERT_EQ(isam::OPNIFIL(StoreFileDescription(file, bases)), 0) << StoreFileLabel(file);
    EXPECT_EQ(isam::GETFIL(kIdFileNumber, 3), 0x42);
    {
        std::vector<std::uint8_t> record(64);
        EXPECT_EQ(isam::GTEREC(kIdKey, IdKey(INT32_MIN).data(), record.data()), isam::kNotFound);
        record.assign(38, 0);
        EXPECT_EQ(isam::GTEREC(kPointKey, PointKey(INT32_MIN, 0).data(), record.data()),
                  isam::kNotFound);
        record.assign(8, 0);
        EXPECT_EQ(isam::GTEREC(kInfoKey, InfoKey(INT32_MIN, 0).data(), record.data()),
                  isam::kNotFound);
    }
    for (StoreFile file : kStoreFiles)
        EXPECT_EQ(isam::CLIFIL(StoreFileDescription(file, bases)), 0);
    // Closed, the set is its six files again.
    EXPECT_EQ(names(folder), expected);
}

TEST(BackupSet, MakeEmptyStoreMakesTheSixFilesTheResetCopies) {
    TempDir tmp;
    const std::string folder = tmp.path() + "/BACKUP";
    ASSERT_EQ(run(folder), 0);
    const std::string id = bytes(folder + "/ID.DAT");
    expectEmptyStore(folder);

    // A second run never replaces a store file.
    EXPECT_EQ(run(folder), 1);
    EXPECT_EQ(bytes(folder + "/ID.DAT"), id);
}

TEST(BackupSet, TheSampleInstallationsSetIsAnEmptyStore) {
    // Opened in a copy: the build's set stays as made, and parallel tests
    // never hold it at once.
    TempDir tmp;
    const std::string folder = tmp.path() + "/BACKUP";
    fs::copy(SAMPLE_BACKUP_DIR, folder);
    expectEmptyStore(folder);
}

} // namespace
