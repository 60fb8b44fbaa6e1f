#include "ui/forms/Bitmap.h"

#include "ui/forms/Control.h"

#include <QImage>
#include <QString>

namespace ui::forms {

TBitmap::TBitmap(const std::string& path) {
    detail::EnsureQt();
    pixmap_.load(QString::fromStdString(path));
}

TBitmap::TBitmap(const QImage& image) {
    detail::EnsureQt();
    pixmap_ = QPixmap::fromImage(image);
}

} // namespace ui::forms
