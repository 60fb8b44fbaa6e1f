#include "ui/Screen.h"

#include "gdi/Bitmap.h"
#include "ui/Application.h"
#include "ui/Window.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QPalette>
#include <QScreen>
#include <QWidget>

#include <array>
#include <map>
#include <mutex>

namespace ui {

namespace {
std::optional<gdi::DeviceCaps>& screenCapsOverride() {
    static std::optional<gdi::DeviceCaps> caps;
    return caps;
}
} // namespace

void SetScreenCapsOverride(std::optional<gdi::DeviceCaps> caps) {
    screenCapsOverride() = caps;
}

gdi::DeviceCaps GetScreenCaps() {
    if (screenCapsOverride()) return *screenCapsOverride();
    EnsureQtApplication();
    gdi::DeviceCaps caps;
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        const QSize px = s->size();
        caps = gdi::DeviceCaps::forScreen(px.width(), px.height());
        const QSizeF mm = s->physicalSize();
        if (mm.width() > 0 && mm.height() > 0) {
            caps.horzSizeMm = int(mm.width() + 0.5);
            caps.vertSizeMm = int(mm.height() + 0.5);
        }
        caps.bitsPerPixel = s->depth() > 0 ? s->depth() : 32;
    }
    return caps;
}

namespace {

// The program's system colours, with classic Windows values at start.
struct SysColours {
    std::mutex mutex;
    std::map<int, TColor> table{
        {COLOR_WINDOW, RGB(255, 255, 255)},      {COLOR_WINDOWTEXT, RGB(0, 0, 0)},
        {COLOR_CAPTIONTEXT, RGB(255, 255, 255)}, {COLOR_APPWORKSPACE, RGB(128, 128, 128)},
        {COLOR_BTNFACE, RGB(192, 192, 192)},     {COLOR_BTNSHADOW, RGB(128, 128, 128)},
        {COLOR_BTNTEXT, RGB(0, 0, 0)},           {COLOR_BTNHIGHLIGHT, RGB(255, 255, 255)},
        {COLOR_3DLIGHT, RGB(223, 223, 223)},     {COLOR_INFOBK, RGB(255, 255, 225)},
    };
};

SysColours& sysColours() {
    static SysColours s;
    return s;
}

QColor qcolour(TColor c) {
    return QColor(gdi::redOf(c), gdi::greenOf(c), gdi::blueOf(c));
}

void applyPalette() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    QPalette pal = QApplication::palette();
    const auto set = [&](QPalette::ColorRole role, int element) {
        const QColor c = qcolour(GetSysColor(element));
        pal.setColor(QPalette::Active, role, c);
        pal.setColor(QPalette::Inactive, role, c);
    };
    set(QPalette::Base, COLOR_WINDOW);
    set(QPalette::Text, COLOR_WINDOWTEXT);
    set(QPalette::WindowText, COLOR_WINDOWTEXT);
    set(QPalette::Button, COLOR_BTNFACE);
    set(QPalette::Window, COLOR_BTNFACE);
    set(QPalette::ButtonText, COLOR_BTNTEXT);
    set(QPalette::Dark, COLOR_BTNSHADOW);
    set(QPalette::Midlight, COLOR_3DLIGHT);
    set(QPalette::Light, COLOR_BTNHIGHLIGHT);
    set(QPalette::ToolTipBase, COLOR_INFOBK);
    // Disabled controls: grey text on the button face, as Windows draws them
    // (left to Qt's light defaults, disabled captions vanished on the face).
    const auto disabled = [&](QPalette::ColorRole role, int element) {
        pal.setColor(QPalette::Disabled, role, qcolour(GetSysColor(element)));
    };
    disabled(QPalette::Window, COLOR_BTNFACE);
    disabled(QPalette::Button, COLOR_BTNFACE);
    disabled(QPalette::Base, COLOR_BTNFACE);
    disabled(QPalette::WindowText, COLOR_BTNSHADOW);
    disabled(QPalette::Text, COLOR_BTNSHADOW);
    disabled(QPalette::ButtonText, COLOR_BTNSHADOW);
    disabled(QPalette::Dark, COLOR_BTNSHADOW);
    disabled(QPalette::Midlight, COLOR_3DLIGHT);
    disabled(QPalette::Light, COLOR_BTNHIGHLIGHT);
    QApplication::setPalette(pal);
}

} // namespace

// Called once the Qt application exists: the table becomes the palette.
void ApplySysColours() {
    applyPalette();
}

TColor GetSysColor(int element) {
    SysColours& s = sysColours();
    std::lock_guard lock(s.mutex);
    const auto it = s.table.find(element);
    return it == s.table.end() ? gdi::kBlack : it->second;
}

bool SetSysColors(int n, const int* elements, const TColor* colours) {
    {
        SysColours& s = sysColours();
        std::lock_guard lock(s.mutex);
        for (int i = 0; i < n; ++i) {
            const auto it = s.table.find(elements[i]);
            if (it != s.table.end()) it->second = colours[i] & 0x00FFFFFFu;
        }
    }
    EnsureQtApplication();
    applyPalette();
    // Windows that paint their background in a system colour show the new one.
    for (QWidget* w : QApplication::allWidgets())
        w->update();
    return true;
}

TClipboard::TClipboard(TWindow&) {
    EnsureQtApplication();
}

std::shared_ptr<gdi::Bitmap> TClipboard::GetDibBitmap() const {
    const QImage img = QGuiApplication::clipboard()->image();
    if (img.isNull()) return nullptr;
    auto bm = gdi::Bitmap::colour(img.width(), img.height());
    if (!bm) return nullptr;
    bm->image() = img.convertToFormat(QImage::Format_RGB32);
    return bm;
}

} // namespace ui
