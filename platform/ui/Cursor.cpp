#include "ui/Cursor.h"

#include "ui/Application.h"

#include <QCursor>
#include <QGuiApplication>

namespace ui {

namespace {

HCURSOR current = nullptr;
TCursorObserver& observer() {
    static TCursorObserver o;
    return o;
}

void tell(const TCursorRequest& r) {
    if (observer()) observer()(r);
}

} // namespace

HCURSOR LoadCursor(const TModule* module, TResId id) {
    if (module) return module->LoadCursor(id);
    if (id.IsNamed()) return nullptr;
    EnsureQtApplication();
    static const TCursor arrow{QCursor(Qt::ArrowCursor), "IDC_ARROW"};
    static const TCursor wait{QCursor(Qt::WaitCursor), "IDC_WAIT"};
    static const TCursor starting{QCursor(Qt::BusyCursor), "IDC_APPSTARTING"};
    switch (id.Id()) {
    case IDC_ARROW:
        return &arrow;
    case IDC_WAIT:
        return &wait;
    case IDC_APPSTARTING:
        return &starting;
    default:
        return nullptr;
    }
}

HCURSOR SetCursor(HCURSOR cursor) {
    EnsureQtApplication();
    const HCURSOR before = current;
    tell(TCursorRequest{TCursorRequest::Shape, {}, {}, cursor ? cursor->Name : std::string()});
    if (cursor == current) return before;
    if (cursor) {
        if (current)
            QGuiApplication::changeOverrideCursor(cursor->Cursor);
        else
            QGuiApplication::setOverrideCursor(cursor->Cursor);
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
    current = cursor;
    return before;
}

HCURSOR GetCursor() {
    return current;
}

bool GetCursorPos(TPoint& point) {
    EnsureQtApplication();
    const QPoint p = QCursor::pos();
    point = TPoint(p.x(), p.y());
    return true;
}

bool SetCursorPos(int x, int y) {
    EnsureQtApplication();
    tell(TCursorRequest{TCursorRequest::SetPos, TPoint(x, y), {}, {}});
    QCursor::setPos(x, y);
    return true;
}

bool ClipCursor(const TRect* rect) {
    TCursorRequest r{TCursorRequest::Clip, {}, {}, {}};
    if (rect) r.clip = *rect;
    tell(r);
    return true;
}

TCursorObserver SetCursorObserver(TCursorObserver o) {
    return std::exchange(observer(), std::move(o));
}

} // namespace ui
