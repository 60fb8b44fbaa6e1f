#include "store/DbaseWin.h"

#include "app/KVViewerApp.h"
#include "app/ViewerSettings.h"
#include "ui/MessageBox.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// The record layer's start: buffers, files, node sectors.
constexpr int kIsamBuffers = 18, kIsamFiles = 13, kIsamSectors = 8;

std::size_t slot(StoreFile f) {
    return static_cast<std::size_t>(f);
}

std::string stepText(const char* step, StoreFile f) {
    return std::string(step) + " " + StoreFileLabel(f);
}

StoreFileBases settingsBases() {
    const TViewerSettings& s = ViewerSettings();
    return {s.idFile, s.pointFile, s.infoFile};
}

} // namespace

DbaseWin::DbaseWin(ui::TWindow* parent) : DbaseWin(parent, settingsBases()) {}

DbaseWin::DbaseWin(ui::TWindow* parent, StoreFileBases bases, FileCalls calls)
    : ui::TWindow(parent), bases_(std::move(bases)), calls_(std::move(calls)) {
    Attr.Style = 0; // not a child window: its parent's set-up never makes it, and nothing shows it
    if (isam::INTISAM(kIsamBuffers, kIsamFiles, kIsamSectors) != 0) ShowDbError("Init");
    for (StoreFile f : kStoreFiles)
        if (!OpenStoreFile(f)) return;
}

DbaseWin::~DbaseWin() {
    CloseAll();
}

void DbaseWin::ShowDbError(const char* step) {
    char text[32];
    std::snprintf(text, sizeof text, "db-error: %d", isam::LastError());
    ui::MessageBox(nullptr, text, step, ui::MB_TASKMODAL | ui::MB_ICONEXCLAMATION);
}

bool DbaseWin::OpenStoreFile(StoreFile f) {
    const isam::FileDescription d = StoreFileDescription(f, bases_);
    if (calls_.open(d) == 0) {
        open_[slot(f)] = true;
        if (f == StoreFile::Id && calls_.fileProperty(kIdFileNumber, 3) != kFixedFileMode) {
            ShowDbError("Use single user database and DLL!");
            Fail();
            return false;
        }
        return true;
    }
    // The index is made again from the data file.
    std::error_code ignored;
    std::filesystem::remove(isam::FileSetPaths(d.name).index, ignored);
    ShowDbError(stepText("Open", f).c_str());
    return RebuildStoreFile(f);
}

bool DbaseWin::RebuildStoreFile(StoreFile f) {
    const isam::FileDescription d = StoreFileDescription(f, bases_);
    if (calls_.rebuild(d) == 0) {
        if (calls_.open(d) != 0) {
            ShowDbError(stepText("ReOpen", f).c_str());
            Fail();
            return false;
        }
        open_[slot(f)] = true;
        return true;
    }
    ShowDbError(stepText("Rebuild", f).c_str());
    // Creating refuses a data file that exists: a file that could be neither
    // opened nor rebuilt is kept as it is, and the program ends.
    const CreateResult created = CreateStoreFile(d);
    if (created == CreateResult::CreateFailed) {
        ShowDbError(stepText("Create", f).c_str());
        Fail();
        return false;
    }
    open_[slot(f)] = true;
    if (created == CreateResult::ResourceFailed) ShowDbError("Add Resource");
    return true;
}

void DbaseWin::Fail() {
    FatalError("Exit");
    failed_ = true;
    CloseAll();
}

void DbaseWin::CloseAll() {
    for (StoreFile f : kStoreFiles)
        if (open_[slot(f)]) {
            open_[slot(f)] = false;
            calls_.close(StoreFileDescription(f, bases_));
        }
}

std::int32_t DbaseWin::NextFreeObjectId() {
    if (failed_) return 0;
    for (std::int32_t id = 1; id > 0; id = id == 1 ? 3 : id + 1) {
        const int found = isam::EQLKEY(kIdKey, IdKey(id).data());
        if (found == isam::kNotFound) return id;
        if (found != 0) return 0; // a read error: no id is known to be free
        if (id == INT32_MAX) break;
    }
    return 0;
}

int DbaseWin::WritePointRecord() {
    if (failed_) return isam::kCannotOpen;
    const PointBytes record = CurrentPointRecord.Encode();
    PointBytes stored;
    const int found =
        isam::EQLREC(kPointKey, PointKey(CurrentPointRecord.id, CurrentPointRecord.number).data(),
                     stored.data());
    if (found == 0) return isam::RWTREC(kPointFileNumber, record.data());
    if (found == isam::kNotFound) return isam::ADDREC(kPointFileNumber, record.data());
    return found;
}

int DbaseWin::DeleteObject(int kind, std::int32_t id) {
    if (failed_ || kind < 0 || kind > 0xFFFF) return isam::kNotFound;
    const auto objectKey = IdKindKey(static_cast<std::uint16_t>(kind), id);
    IdBytes object;
    if (int e = isam::EQLREC(kIdKindKey, objectKey.data(), object.data())) return e;

    // Its points, from number 0 on while the id is the object's.
    PointBytes point;
    for (int e = isam::GTEREC(kPointKey, PointKey(id, 0).data(), point.data());
         e != isam::kNotFound; e = isam::NXTREC(kPointKey, point.data())) {
        if (e != 0) return e;
        if (PointRecord::Decode(point).id != id) break;
        if (int d = isam::DELREC(kPointFileNumber)) return d;
    }

    // Its texts: only the fixed part is read, the key is in it.
    std::array<std::uint8_t, kInfoFixedSize> info;
    for (int e = isam::GTEREC(kInfoKey, InfoKey(id, 0).data(), info.data()); e != isam::kNotFound;
         e = isam::NXTREC(kInfoKey, info.data())) {
        if (e != 0) return e;
        const auto text = InfoRecord::Decode(info.data(), info.size());
        if (!text || text->id != id) break;
        if (int d = isam::DELVREC(kInfoFileNumber)) return d;
    }

    // The object itself, last; found again, as it is the file's current record
    // only until another search of the ID file.
    if (int e = isam::EQLREC(kIdKindKey, objectKey.data(), object.data())) return e;
    return isam::DELREC(kIdFileNumber);
}

void DbaseWin::Compact() {
    if (failed_) return;
    for (StoreFile f : kStoreFiles) {
        open_[slot(f)] = false;
        if (calls_.close(StoreFileDescription(f, bases_)) != 0) {
            ShowDbError(stepText("Close", f).c_str());
            Fail();
            return;
        }
        if (!RebuildStoreFile(f)) return;
    }
}
