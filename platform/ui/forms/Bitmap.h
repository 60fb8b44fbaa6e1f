// A picture of the program: a button's Glyph, an image's Picture. A value:
// copies share the pixels.
#pragma once

#include <QPixmap>

#include <string>

class QImage;

namespace ui::forms {

class TBitmap {
  public:
    TBitmap() = default;
    // Loads a picture file or a Qt resource (":/..."); empty when it cannot.
    explicit TBitmap(const std::string& path);
    explicit TBitmap(const QImage& image);

    bool Empty() const { return pixmap_.isNull(); }
    int GetWidth() const { return pixmap_.width(); }
    int GetHeight() const { return pixmap_.height(); }
    const QPixmap& Pixmap() const { return pixmap_; }

  private:
    QPixmap pixmap_;
};

} // namespace ui::forms
