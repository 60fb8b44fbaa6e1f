// A program's resources: dialog templates, bitmaps, cursors and icons, by
// numeric id or by name.
//
// Templates are C++ tables (Dialog.h). Pictures are files compiled into the
// program with qt_add_resources and registered here under their ids; a PNG
// cursor is registered with its hot spot. Asking for a missing id gives null and
// is reported once per kind and id on standard error.
//
//   static ui::TModule module("vardekka");
//   module.AddBitmap(200, ":/vardekka/symbols.png");
//   module.AddBitmap("SYMBOLS_BG", ":/vardekka/symbols.png");
//   module.AddCursor(19994, ":/vardekka/cursor-19994.png", 8, 8);
#pragma once

#include "gdi/Bitmap.h"

#include <QCursor>
#include <QIcon>

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <span>
#include <string>

namespace ui {

struct TDlgTemplate;

// A resource id: a number or a name.
class TResId {
  public:
    TResId(int id) : id_(id) {}
    TResId(const char* name) : name_(name ? name : "") {}
    bool IsNamed() const { return !name_.empty(); }
    int Id() const { return id_; }
    const std::string& Name() const { return name_; }
    std::string ToString() const { return IsNamed() ? "\"" + name_ + "\"" : std::to_string(id_); }
    bool operator<(const TResId& o) const {
        return IsNamed() != o.IsNamed() ? !IsNamed() : IsNamed() ? name_ < o.name_ : id_ < o.id_;
    }

  private:
    int id_ = 0;
    std::string name_;
};

// A cursor shape. The system ones stand for IDC_ARROW, IDC_WAIT and IDC_APPSTARTING.
struct TCursor {
    QCursor Cursor;
    std::string Name; // what names it, for logs and tests ("IDC_WAIT", "vardekka:19994")
};
using HCURSOR = const TCursor*;

class TModule {
  public:
    explicit TModule(std::string name);
    ~TModule();
    TModule(const TModule&) = delete;
    TModule& operator=(const TModule&) = delete;

    const std::string& GetName() const { return name_; }

    void AddDialogs(std::span<const TDlgTemplate> templates); // kept by reference
    void AddBitmap(TResId id, std::string path);
    void AddCursor(TResId id, std::string path, int hotX, int hotY);
    void AddIcon(TResId id, std::string path);

    // Null when missing.
    const TDlgTemplate* FindDialog(TResId id) const;
    std::shared_ptr<gdi::Bitmap> LoadBitmap(TResId id) const; // a fresh copy each time
    HCURSOR LoadCursor(TResId id) const;
    QIcon LoadIcon(TResId id) const; // a null icon when missing

  private:
    void ReportMissing(const char* kind, const TResId& id) const;

    std::string name_;
    std::map<TResId, const TDlgTemplate*> dialogs_;
    std::map<TResId, std::string> bitmaps_, icons_;
    struct CursorFile {
        std::string path;
        int hotX, hotY;
    };
    std::map<TResId, CursorFile> cursorFiles_;
    mutable std::map<TResId, std::unique_ptr<TCursor>> cursors_;
    mutable std::mutex mutex_;
    mutable std::set<std::string> reported_;
};

} // namespace ui
