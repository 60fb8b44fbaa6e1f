// Layer internals of a window: its widget, surface and device context, timers
// and the bridge that turns Qt events into messages. Not for the programs.
#pragma once

#include "gdi/RasterDc.h"
#include "ui/Window.h"

#include <QEvent>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <atomic>
#include <map>

class QTimer;

namespace ui {

// Event types of the layer.
inline const QEvent::Type kPostedMessageEvent = QEvent::Type(QEvent::User + 101);
inline const QEvent::Type kPaintPassEvent = QEvent::Type(QEvent::User + 102);

struct PostedMessage : QEvent {
    PostedMessage(UINT m, WPARAM w, LPARAM l) : QEvent(kPostedMessageEvent), msg(m), wp(w), lp(l) {}
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};

// A window's context: tells its window when something was drawn, so that the
// surface is shown again.
class WindowDc : public gdi::RasterDc {
  public:
    WindowDc(QImage* target, const gdi::DeviceCaps& caps, TWindowPrivate* owner)
        : RasterDc(target, caps), owner_(owner) {}

  protected:
    void render(const Shape& shape) override;
    void renderPixel(int x, int y, gdi::Colour c) override;
    bool renderBlit(const BlitArea& area, const Dc& src, gdi::BlitOp op) override;
    void renderText(const TextRun& run) override;

  private:
    TWindowPrivate* owner_;
};

// Turns the events of a window's widget into messages.
class TWindowBridge : public QObject {
  public:
    explicit TWindowBridge(TWindowPrivate* owner) : owner_(owner) {}
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

  private:
    TWindowPrivate* owner_;
};

// The widget of a window that paints: shows its surface.
class SurfaceWidget : public QWidget {
  public:
    SurfaceWidget(QWidget* parent, TWindowPrivate* owner);
    void Detach() { owner_ = nullptr; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    TWindowPrivate* owner_;
};

struct TWindowPrivate {
    explicit TWindowPrivate(TWindow* w);
    ~TWindowPrivate();

    TWindow* window;
    TWindowBridge bridge;
    QPointer<QWidget> widget;
    bool ownsWidget = true;
    std::atomic<bool> created{false};
    bool destroying = false;

    // Painting.
    bool painting = false; // a SurfaceWidget
    QImage surface;
    std::unique_ptr<WindowDc> dc;
    QRegion invalid;
    bool eraseInvalid = false;
    bool paintPassPosted = false;
    bool showPending = false;
    std::optional<PAINTSTRUCT> paint; // the paint in progress
    std::optional<TColor> background; // SetBkgndColor
    bool classRead = false;
    WNDCLASS wndClass;

    std::map<UINT, QTimer*> timers;

    const WNDCLASS& Class();
    bool OwnDc() { return Class().style & CS_OWNDC; }
    // The surface at the widget's size, pixels that fit kept; returns the area
    // that is new.
    QRegion SyncSurface();
    WindowDc& Dc();
    void Damaged();
    void Invalidate(const QRegion& region, bool erase);
    void PostPaintPass();
    void DispatchPaint();
    void FillBackground(const QRegion& region);
    void DetachWidget();
};

// The background colour a class or window names, with system colours resolved.
TColor ResolveBackground(TColor c);

// Number of paints in progress (boxes asked for meanwhile wait).
int PaintDepth();
// Boxes that waited for a paint run now.
void RunDeferredBoxes();

} // namespace ui
