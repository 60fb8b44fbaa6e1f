#include "ui/Module.h"

#include "ui/Application.h"
#include "ui/Dialog.h"

#include <QImage>
#include <QPixmap>

#include <cstdio>

namespace ui {

TModule::TModule(std::string name) : name_(std::move(name)) {}
TModule::~TModule() = default;

void TModule::AddDialogs(std::span<const TDlgTemplate> templates) {
    std::lock_guard lock(mutex_);
    for (const TDlgTemplate& t : templates)
        dialogs_[t.Id] = &t;
}

void TModule::AddBitmap(TResId id, std::string path) {
    std::lock_guard lock(mutex_);
    bitmaps_[id] = std::move(path);
}

void TModule::AddCursor(TResId id, std::string path, int hotX, int hotY) {
    std::lock_guard lock(mutex_);
    cursorFiles_[id] = CursorFile{std::move(path), hotX, hotY};
    cursors_.erase(id);
}

void TModule::AddIcon(TResId id, std::string path) {
    std::lock_guard lock(mutex_);
    icons_[id] = std::move(path);
}

void TModule::ReportMissing(const char* kind, const TResId& id) const {
    const std::string key = std::string(kind) + " " + id.ToString();
    if (!reported_.insert(key).second) return;
    std::fprintf(stderr, "%s: no %s\n", name_.c_str(), key.c_str());
}

const TDlgTemplate* TModule::FindDialog(TResId id) const {
    std::lock_guard lock(mutex_);
    const auto it = dialogs_.find(id);
    if (it != dialogs_.end()) return it->second;
    ReportMissing("dialog", id);
    return nullptr;
}

std::shared_ptr<gdi::Bitmap> TModule::LoadBitmap(TResId id) const {
    std::string path;
    {
        std::lock_guard lock(mutex_);
        const auto it = bitmaps_.find(id);
        if (it == bitmaps_.end()) {
            ReportMissing("bitmap", id);
            return nullptr;
        }
        path = it->second;
    }
    const QImage img(QString::fromStdString(path));
    if (img.isNull()) {
        std::lock_guard lock(mutex_);
        ReportMissing("bitmap", id);
        return nullptr;
    }
    auto bm = gdi::Bitmap::colour(img.width(), img.height());
    if (!bm) return nullptr;
    bm->image() = img.convertToFormat(QImage::Format_RGB32);
    return bm;
}

HCURSOR TModule::LoadCursor(TResId id) const {
    std::lock_guard lock(mutex_);
    if (const auto it = cursors_.find(id); it != cursors_.end()) return it->second.get();
    const auto f = cursorFiles_.find(id);
    if (f == cursorFiles_.end()) {
        ReportMissing("cursor", id);
        return nullptr;
    }
    EnsureQtApplication();
    const QPixmap pm(QString::fromStdString(f->second.path));
    if (pm.isNull()) {
        ReportMissing("cursor", id);
        return nullptr;
    }
    auto c = std::make_unique<TCursor>(
        TCursor{QCursor(pm, f->second.hotX, f->second.hotY), name_ + ":" + id.ToString()});
    return (cursors_[id] = std::move(c)).get();
}

QIcon TModule::LoadIcon(TResId id) const {
    std::string path;
    {
        std::lock_guard lock(mutex_);
        const auto it = icons_.find(id);
        if (it == icons_.end()) {
            ReportMissing("icon", id);
            return {};
        }
        path = it->second;
    }
    EnsureQtApplication();
    const QPixmap pm(QString::fromStdString(path));
    if (pm.isNull()) {
        std::lock_guard lock(mutex_);
        ReportMissing("icon", id);
        return {};
    }
    return QIcon(pm);
}

} // namespace ui
