// The raster backend: a device context that draws pixels into a 32-bit QImage
// with QPainter, antialiasing off.
//
// A window's context draws into an image its owner keeps (the window's picture);
// a memory context draws into the bitmap selected into it. Painting stays open
// between calls for speed (one context per thread at a time; another that begins
// to paint closes it): call `flush` before reading, replacing or resizing the
// target image from outside, and `setTarget` when the owner replaces it. No Qt
// application object is needed for shapes, pixels and transfers.
#pragma once

#include "gdi/Bitmap.h"
#include "gdi/Dc.h"

#include <QPainter>
#include <memory>
#include <optional>

namespace gdi {

class RasterDc : public Dc {
  public:
    // A window's context over `target` (not owned; turned into 32-bit colour if it
    // is not). Capabilities default to a 96 pixels-per-inch screen of the image's size.
    explicit RasterDc(QImage* target, std::optional<DeviceCaps> caps = std::nullopt);
    ~RasterDc() override;

    // A memory context with the capabilities of `like` (a 96 pixels-per-inch
    // screen of 1 x 1 when null), holding a 1 x 1 monochrome bitmap until another
    // is selected.
    static std::unique_ptr<RasterDc> createCompatible(const Dc* like);

    // Memory contexts: selects a bitmap and returns the one selected before. Null
    // selects the 1 x 1 monochrome default. On a window's context it does nothing
    // and returns null.
    std::shared_ptr<Bitmap> selectBitmap(std::shared_ptr<Bitmap> bitmap);
    const std::shared_ptr<Bitmap>& bitmap() const { return bitmap_; }

    // A window's context: draws into another image from now on.
    void setTarget(QImage* target);
    // Ends open painting; the target's pixels are then up to date.
    void flush() const;
    // The picture drawn into (flushed).
    const QImage& picture() const;

    DeviceCaps caps() const override { return caps_; }
    XY pictureSize() const override;
    bool isMonochrome() const override { return bitmap_ && bitmap_->isMonochrome(); }

  protected:
    void render(const Shape& shape) override;
    void renderPixel(int x, int y, Colour c) override;
    Colour readPixel(int x, int y) const override;
    bool renderBlit(const BlitArea& area, const Dc& src, BlitOp op) override;
    void renderText(const TextRun& run) override;
    void renderSpans(std::span<const Span> spans, Colour colour) override;

  private:
    RasterDc() = default;
    QImage* image() const;
    QPainter& painter();
    QPen qpen() const;
    QBrush qbrush(const Brush& b) const;
    void thinPolyline(const std::vector<XY>& points);

    QImage* window_ = nullptr;
    std::shared_ptr<Bitmap> bitmap_;
    DeviceCaps caps_;
    mutable QPainter painter_;
    unsigned appliedClip_ = 0; // the clip serial the open painter was given
};

} // namespace gdi
