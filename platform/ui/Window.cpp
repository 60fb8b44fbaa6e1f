#include "ui/Window.h"

#include "ui/Application.h"
#include "ui/Cursor.h"
#include "ui/Items.h"
#include "ui/Screen.h"
#include "ui/Text.h"
#include "ui/WindowPrivate.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>
#include <set>
#include <string>

namespace ui {

namespace {

int paintDepth = 0;

// Windows waiting for deletion after the current message.
std::set<TWindow*>& pendingDeletes() {
    static std::set<TWindow*> s;
    return s;
}

std::map<std::string, TWindowFactory>& classRegistry() {
    static std::map<std::string, TWindowFactory> r;
    return r;
}

const char* const kWindowProperty = "uiWindow";

UINT mouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
    UINT k = 0;
    if (buttons & Qt::LeftButton) k |= MK_LBUTTON;
    if (buttons & Qt::RightButton) k |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) k |= MK_MBUTTON;
    if (mods & Qt::ShiftModifier) k |= MK_SHIFT;
    if (mods & Qt::ControlModifier) k |= MK_CONTROL;
    return k;
}

} // namespace

int PaintDepth() {
    return paintDepth;
}

// ---------------------------------------------------------------------------
// The device context of a window

void WindowDc::render(const Shape& shape) {
    RasterDc::render(shape);
    owner_->Damaged();
}
void WindowDc::renderPixel(int x, int y, gdi::Colour c) {
    RasterDc::renderPixel(x, y, c);
    owner_->Damaged();
}
bool WindowDc::renderBlit(const BlitArea& area, const Dc& src, gdi::BlitOp op) {
    const bool done = RasterDc::renderBlit(area, src, op);
    owner_->Damaged();
    return done;
}
void WindowDc::renderText(const TextRun& run) {
    RasterDc::renderText(run);
    owner_->Damaged();
}

// ---------------------------------------------------------------------------
// Surface widget

SurfaceWidget::SurfaceWidget(QWidget* parent, TWindowPrivate* owner)
    : QWidget(parent), owner_(owner) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
}

void SurfaceWidget::paintEvent(QPaintEvent* event) {
    if (!owner_) return;
    owner_->showPending = false;
    owner_->SyncSurface();
    if (owner_->dc) owner_->dc->flush();
    QPainter p(this);
    const QRect r = event->rect();
    p.drawImage(r, owner_->surface, r);
}

// ---------------------------------------------------------------------------
// Window internals

TWindowPrivate::TWindowPrivate(TWindow* w) : window(w), bridge(this) {}

TWindowPrivate::~TWindowPrivate() {
    dc.reset();
}

const WNDCLASS& TWindowPrivate::Class() {
    if (!classRead) {
        window->GetWindowClass(wndClass);
        classRead = true;
    }
    return wndClass;
}

TColor ResolveBackground(TColor c) {
    return (c & kSysColorBrushFlag) ? GetSysColor(int(c & 0xFFFF)) : (c & 0x00FFFFFFu);
}

QRegion TWindowPrivate::SyncSurface() {
    if (!painting || !widget) return {};
    const QSize size = widget->size().expandedTo(QSize(1, 1));
    if (surface.size() == size) return {};
    const QRegion fresh = QRegion(QRect(QPoint(0, 0), size)) - QRegion(surface.rect());
    if (dc) dc->flush();
    QImage next(size, QImage::Format_RGB32);
    const std::optional<TColor> bg = background ? background : Class().hbrBackground;
    const TColor fill = bg ? ResolveBackground(*bg) : gdi::kBlack;
    next.fill(QColor(gdi::redOf(fill), gdi::greenOf(fill), gdi::blueOf(fill)));
    if (!surface.isNull()) {
        QPainter p(&next);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, surface);
    }
    surface = std::move(next);
    if (dc) dc->setTarget(&surface);
    return fresh;
}

WindowDc& TWindowPrivate::Dc() {
    SyncSurface();
    if (!dc) dc = std::make_unique<WindowDc>(&surface, GetScreenCaps(), this);
    return *dc;
}

void TWindowPrivate::Damaged() {
    if (showPending || !widget || !painting) return;
    showPending = true;
    widget->update();
}

void TWindowPrivate::Invalidate(const QRegion& region, bool erase) {
    if (!painting || !widget) return;
    const QRegion r = region & QRegion(widget->rect());
    if (r.isEmpty()) return;
    invalid |= r;
    eraseInvalid = eraseInvalid || erase;
    PostPaintPass();
}

void TWindowPrivate::PostPaintPass() {
    if (paintPassPosted) return;
    paintPassPosted = true;
    QCoreApplication::postEvent(&bridge, new QEvent(kPaintPassEvent), Qt::LowEventPriority);
}

void TWindowPrivate::FillBackground(const QRegion& region) {
    const std::optional<TColor> bg = background ? background : Class().hbrBackground;
    if (!bg) return;
    if (dc) dc->flush();
    const TColor c = ResolveBackground(*bg);
    QPainter p(&surface);
    for (const QRect& r : region)
        p.fillRect(r, QColor(gdi::redOf(c), gdi::greenOf(c), gdi::blueOf(c)));
    Damaged();
}

void TWindowPrivate::DispatchPaint() {
    paintPassPosted = false;
    if (!created || !painting || !widget || invalid.isEmpty() || paint) return;
    if (!widget->isVisible()) return; // painted when shown
    SyncSurface();
    const QRegion region = invalid;
    const bool erase = eraseInvalid;
    invalid = QRegion();
    eraseInvalid = false;
    WindowDc& context = Dc();
    if (!OwnDc()) context.restoreDefaults();
    const std::optional<TColor> bg = background ? background : Class().hbrBackground;
    bool fErase = erase;
    if (erase && bg) {
        FillBackground(region);
        fErase = false;
    }
    const QRect box = region.boundingRect();
    paint = PAINTSTRUCT{fErase, TRect(box.left(), box.top(), box.right() + 1, box.bottom() + 1)};
    ++paintDepth;
    struct Done {
        TWindowPrivate* d;
        ~Done() {
            --paintDepth;
            d->paint.reset();
        }
    } done{this};
    window->Dispatch(WM_PAINT, 0, 0);
    if (widget) widget->update();
    if (paintDepth == 1) QTimer::singleShot(0, [] { RunDeferredBoxes(); });
}

void TWindowPrivate::DetachWidget() {
    if (!widget) return;
    widget->removeEventFilter(&bridge);
    widget->setProperty(kWindowProperty, QVariant());
    if (auto* s = dynamic_cast<SurfaceWidget*>(widget.data())) s->Detach();
    if (ownsWidget) {
        widget->hide();
        widget->deleteLater();
    }
    widget = nullptr;
}

// ---------------------------------------------------------------------------
// Qt events to messages

UINT VirtualKeyOf(const QKeyEvent* e); // Keys.cpp

bool TWindowBridge::eventFilter(QObject* watched, QEvent* event) {
    TWindowPrivate* d = owner_;
    if (!d->widget || watched != d->widget) return false;
    TWindow* w = d->window;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* e = static_cast<QMouseEvent*>(event);
        const bool dbl =
            event->type() == QEvent::MouseButtonDblClick && (d->Class().style & CS_DBLCLKS);
        UINT msg = 0;
        switch (e->button()) {
        case Qt::LeftButton:
            msg = dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
            break;
        case Qt::RightButton:
            msg = dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
            break;
        case Qt::MiddleButton:
            msg = dbl ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN;
            break;
        default:
            return false;
        }
        const QPoint p = e->position().toPoint();
        bool handled = false;
        w->Dispatch(msg, mouseKeys(e->buttons(), e->modifiers()), MAKELPARAM(p.x(), p.y()),
                    &handled);
        return handled || d->painting;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        const QPoint p = e->position().toPoint();
        bool handled = false;
        w->Dispatch(WM_MOUSEMOVE, mouseKeys(e->buttons(), e->modifiers()), MAKELPARAM(p.x(), p.y()),
                    &handled);
        return handled || d->painting;
    }
    case QEvent::KeyPress: {
        auto* e = static_cast<QKeyEvent*>(event);
        const UINT vk = VirtualKeyOf(e);
        if (!vk) return false;
        const UINT flags = e->isAutoRepeat() ? 0x4000 : 0;
        bool handled = false;
        w->Dispatch(WM_KEYDOWN, vk, MAKELPARAM(1, int(flags)), &handled);
        return handled;
    }
    case QEvent::Resize: {
        // Only what the new size uncovers needs painting; the rest is kept.
        d->Invalidate(d->SyncSurface(), true);
        const QSize s = static_cast<QResizeEvent*>(event)->size();
        UINT kind = SIZE_RESTORED;
        if (d->widget->isWindow() && d->widget->isMaximized()) kind = SIZE_MAXIMIZED;
        if (d->widget->isWindow() && d->widget->isMinimized()) kind = SIZE_MINIMIZED;
        w->Dispatch(WM_SIZE, kind, MAKELPARAM(s.width(), s.height()));
        return false;
    }
    case QEvent::Show:
        d->Invalidate(QRegion(d->widget->rect()), true);
        return false;
    case QEvent::Close:
        event->ignore();
        w->Dispatch(WM_CLOSE, 0, 0);
        return true;
    default:
        return false;
    }
}

bool TWindowBridge::event(QEvent* event) {
    if (event->type() == kPostedMessageEvent) {
        auto* m = static_cast<PostedMessage*>(event);
        if (owner_->created) owner_->window->Dispatch(m->msg, m->wp, m->lp);
        return true;
    }
    if (event->type() == kPaintPassEvent) {
        owner_->DispatchPaint();
        return true;
    }
    return QObject::event(event);
}

// ---------------------------------------------------------------------------
// TWindow

DEFINE_RESPONSE_TABLE1(TWindow, TEventHandler)
EV_WM_PAINT, END_RESPONSE_TABLE;

TWindow::TWindow(TWindow* parent, const char* title, TModule* module)
    : parent_(parent), module_(module   ? module
                               : parent ? parent->module_
                                        : nullptr),
      title_(title ? title : "") {
    EnsureQtApplication();
    d_ = std::make_unique<TWindowPrivate>(this);
    if (parent_) parent_->AddChild(this);
}

TWindow::~TWindow() {
    Destroy();
    pendingDeletes().erase(this);
    // Child objects still attached go with their parent, the last made first.
    while (!children_.empty())
        delete children_.back();
    if (parent_) parent_->RemoveChild(this);
    if (TApplication* app = GetApplicationObject(); app && app->GetMainWindow() == this)
        app->SetMainWindow(nullptr);
    d_.reset();
}

void TWindow::AddChild(TWindow* child) {
    children_.push_back(child);
}

void TWindow::RemoveChild(TWindow* child) {
    std::erase(children_, child);
}

void TWindow::SetParentO(TWindow* parent) {
    if (parent_ == parent) return;
    if (parent_) parent_->RemoveChild(this);
    parent_ = parent;
    if (parent_) {
        parent_->AddChild(this);
        if (!module_) module_ = parent_->module_;
    }
}

void TWindow::RaiseTopmostChildren() {
    for (TWindow* c : children_)
        if (c->IsWindow() && (c->Attr.Style & WS_CHILD) && (c->Attr.ExStyle & WS_EX_TOPMOST))
            c->GetHandle()->raise();
}

TApplication* TWindow::GetApplication() const {
    return GetApplicationObject();
}

bool TWindow::IsWindow() const {
    return d_ && d_->created && d_->widget;
}

HWND TWindow::GetHandle() const {
    return d_ && d_->created ? d_->widget.data() : nullptr;
}

TWindow* GetWindowPtr(HWND handle) {
    if (!handle) return nullptr;
    const QVariant v = handle->property(kWindowProperty);
    return v.isValid() ? reinterpret_cast<TWindow*>(v.value<quintptr>()) : nullptr;
}

const char* TWindow::GetClassName() {
    return "TWindow";
}

void TWindow::GetWindowClass(WNDCLASS& wc) {
    wc.lpszClassName = GetClassName();
}

QWidget* TWindow::MakeWidget(QWidget* parentWidget) {
    d_->painting = true;
    return new SurfaceWidget(parentWidget, d_.get());
}

QWidget* TWindow::ChildContainer() const {
    return GetHandle();
}

void TWindow::AttachHandle(QWidget* widget) {
    d_->widget = widget;
    d_->ownsWidget = false;
    d_->created = widget != nullptr;
    if (widget) widget->setProperty(kWindowProperty, QVariant::fromValue(quintptr(this)));
}

bool TWindow::Create() {
    if (IsWindow()) return true;
    EnsureQtApplication();
    const bool child = Attr.Style & WS_CHILD;
    QWidget* parentWidget = nullptr;
    QWidget* cell = nullptr;
    if (parent_) {
        if (child && !parent_->IsWindow()) return false;
        cell = child ? parent_->CellFor(Attr.Id) : nullptr;
        parentWidget = cell ? cell : child ? parent_->ChildContainer() : parent_->GetHandle();
        if (!child && parentWidget) parentWidget = parentWidget->window();
    }
    QWidget* w = MakeWidget(parentWidget);
    if (!w) return false;
    if (cell && cell->layout()) cell->layout()->addWidget(w);
    d_->widget = w;
    d_->ownsWidget = true;
    w->setProperty(kWindowProperty, QVariant::fromValue(quintptr(this)));
    if (!child && parentWidget && !w->isWindow()) w->setWindowFlag(Qt::Window, true);
    if (!title_.empty()) w->setWindowTitle(ToQt(title_));
    const bool defaultPos = Attr.X == CW_USEDEFAULT || Attr.Y == CW_USEDEFAULT;
    const bool defaultSize = Attr.W == CW_USEDEFAULT || Attr.H == CW_USEDEFAULT;
    if (!defaultSize) w->resize(std::max(Attr.W, 0), std::max(Attr.H, 0));
    if (!defaultPos) w->move(Attr.X, Attr.Y);
    if (Attr.Style & WS_DISABLED) w->setEnabled(false);
    w->installEventFilter(&d_->bridge);
    d_->created = true;
    SetupWindow();
    if (!IsWindow()) return false; // set-up destroyed it
    if (parent_ && child) parent_->RaiseTopmostChildren();
    if (Attr.Style & WS_VISIBLE)
        ShowWindow((Attr.Style & WS_MAXIMIZE) && !child ? SW_SHOWMAXIMIZED : SW_SHOWNA);
    return true;
}

void TWindow::SetupWindow() {
    for (TWindow* c : std::vector<TWindow*>(children_))
        if (!c->IsWindow() && (c->Attr.Style & WS_CHILD)) c->Create();
}

void TWindow::CleanupWindow() {}

void TWindow::Destroy(int retVal) {
    (void)retVal;
    if (!IsWindow() || d_->destroying) return;
    d_->destroying = true;
    const HWND handle = GetHandle();
    if (parent_ && parent_->IsWindow())
        parent_->SendMessage(WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, UINT(Attr.Id)),
                             LPARAM(handle));
    CleanupWindow();
    for (TWindow* c : std::vector<TWindow*>(children_))
        c->Destroy();
    for (auto& [id, timer] : d_->timers)
        delete timer;
    d_->timers.clear();
    d_->invalid = QRegion();
    d_->DetachWidget();
    d_->created = false;
    d_->destroying = false;
    if (TApplication* app = GetApplicationObject(); app && app->GetMainWindow() == this)
        PostQuitMessage(0);
}

bool TWindow::CanClose() {
    for (TWindow* c : std::vector<TWindow*>(children_))
        if (c->IsWindow() && !c->CanClose()) return false;
    return true;
}

void TWindow::CloseWindow(int retVal) {
    if (CanClose()) Destroy(retVal);
}

void TWindow::EvClose() {
    CloseWindow();
}

bool TWindow::IdleAction(long idleCount) {
    bool more = false;
    for (TWindow* c : std::vector<TWindow*>(children_))
        if (c->IsWindow()) more = c->IdleAction(idleCount) || more;
    return more;
}

void TWindow::DeleteLater() {
    if (!pendingDeletes().insert(this).second) return;
    QTimer::singleShot(0, [w = this] {
        if (pendingDeletes().erase(w)) delete w;
    });
}

// ---------------------------------------------------------------------------
// Messages

LRESULT TWindow::DefaultProcessing(UINT msg, WPARAM, LPARAM) {
    if (msg == WM_CLOSE) EvClose();
    return 0;
}

LRESULT TWindow::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled) {
    if (handled) *handled = false;
    if (msg == WM_COMMAND)
        return RouteCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam),
                            handled);
    TEventInfo info{msg, 0, 0};
    if (msg == WM_NOTIFY && lParam) {
        const auto* nm = reinterpret_cast<const TNotify*>(lParam);
        info.Id = nm->idFrom;
        info.Code = nm->code;
    }
    if (Find(info)) {
        if (handled) *handled = true;
        return info.Dispatch(wParam, lParam);
    }
    if (msg == WM_CLOSE && handled) *handled = true;
    return DefaultProcessing(msg, wParam, lParam);
}

LRESULT TWindow::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return Dispatch(msg, wParam, lParam);
}

bool TWindow::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!d_ || !d_->created) return false;
    QCoreApplication::postEvent(&d_->bridge, new PostedMessage(msg, wParam, lParam));
    return true;
}

// Commands climb the parent chain: each window's table, a frame offering the
// command to its delegates (the active MDI child, then the client) before its
// own table; a dialog ends the climb. The application's table comes last.
namespace {

struct RouteResult {
    bool found = false;
    TEventInfo info;
};

RouteResult FindOnRoute(TWindow* start, const TEventInfo& what) {
    std::vector<TWindow*> tried;
    RouteResult r;
    const auto tryWindow = [&](TWindow* w) {
        if (!w || std::find(tried.begin(), tried.end(), w) != tried.end()) return false;
        tried.push_back(w);
        TEventInfo i = what;
        if (!w->Find(i)) return false;
        r.found = true;
        r.info = i;
        return true;
    };
    for (TWindow* w = start; w; w = w->GetParentO()) {
        for (TWindow* first : w->CommandDelegates())
            if (tryWindow(first)) return r;
        if (tryWindow(w)) return r;
        if (w->StopsCommands()) return r;
    }
    if (TApplication* app = GetApplicationObject()) {
        TEventInfo i = what;
        if (app->Find(i)) {
            r.found = true;
            r.info = i;
        }
    }
    return r;
}

} // namespace

std::vector<TWindow*> TWindow::CommandDelegates() const {
    return {};
}

bool TWindow::StopsCommands() const {
    return false;
}

LRESULT TWindow::RouteCommand(UINT id, UINT code, HWND control, bool* handled) {
    const RouteResult r = FindOnRoute(this, TEventInfo{WM_COMMAND, id, code});
    if (handled) *handled = r.found;
    if (!r.found) return 0;
    return r.info.Dispatch(MAKEWPARAM(id, code), LPARAM(control));
}

void TWindow::RouteCommandEnable(TCommandEnabler& ce) {
    const RouteResult r = FindOnRoute(this, TEventInfo{WM_COMMAND_ENABLE, ce.GetId(), 0});
    if (r.found) {
        r.info.Dispatch(ce.GetId(), LPARAM(&ce));
        if (ce.GetHandled()) return;
    }
    // No enabler: a command that someone handles is enabled, one that nobody
    // handles is not.
    ce.Enable(FindOnRoute(this, TEventInfo{WM_COMMAND, ce.GetId(), BN_CLICKED}).found);
}

// ---------------------------------------------------------------------------
// Showing and placing

bool TWindow::ShowWindow(int cmdShow) {
    QWidget* w = GetHandle();
    if (!w) return false;
    const bool wasVisible = w->isVisible();
    switch (cmdShow) {
    case SW_HIDE:
        w->hide();
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
        w->showMinimized();
        break;
    case SW_SHOWMAXIMIZED:
        if (w->isWindow()) {
            // Without a window manager nothing maximises: size from the screen.
            if (QScreen* s = w->screen() ? w->screen() : QGuiApplication::primaryScreen())
                w->setGeometry(s->availableGeometry());
            w->showMaximized();
        } else {
            w->show();
        }
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
        if (w->isWindow())
            w->showNormal();
        else
            w->show();
        if (w->isWindow()) w->activateWindow();
        break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA: {
        const bool old = w->testAttribute(Qt::WA_ShowWithoutActivating);
        w->setAttribute(Qt::WA_ShowWithoutActivating, true);
        w->show();
        w->setAttribute(Qt::WA_ShowWithoutActivating, old);
        break;
    }
    default:
        w->show();
        if (w->isWindow()) w->activateWindow();
        break;
    }
    return wasVisible;
}

void TWindow::MoveWindow(int x, int y, int w, int h, bool repaint) {
    SetWindowPos(nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

bool TWindow::SetWindowPos(HWND insertAfter, int x, int y, int w, int h, UINT flags) {
    (void)insertAfter;
    QWidget* widget = GetHandle();
    if (!widget) return false;
    // A top-level window's position is that of its frame, as on screen.
    if (!(flags & SWP_NOMOVE)) widget->move(x, y);
    if (!(flags & SWP_NOSIZE)) widget->resize(std::max(w, 0), std::max(h, 0));
    if (!(flags & SWP_NOZORDER)) widget->raise();
    if (!(flags & SWP_NOACTIVATE) && widget->isWindow() && widget->isVisible())
        widget->activateWindow();
    return true;
}

TRect TWindow::GetClientRect() const {
    const QWidget* w = GetHandle();
    if (!w) return {};
    return TRect(0, 0, w->width(), w->height());
}

TRect GetWindowRect(HWND handle) {
    if (!handle) return {};
    if (handle->isWindow()) {
        const QRect f = handle->frameGeometry();
        return TRect(f.left(), f.top(), f.left() + f.width(), f.top() + f.height());
    }
    const QPoint tl = handle->mapToGlobal(QPoint(0, 0));
    return TRect(tl.x(), tl.y(), tl.x() + handle->width(), tl.y() + handle->height());
}

TRect TWindow::GetWindowRect() const {
    return ui::GetWindowRect(GetHandle());
}

void TWindow::ClientToScreen(TPoint& point) const {
    if (const QWidget* w = GetHandle()) {
        const QPoint p = w->mapToGlobal(QPoint(point.x, point.y));
        point = TPoint(p.x(), p.y());
    }
}

void TWindow::ScreenToClient(TPoint& point) const {
    if (const QWidget* w = GetHandle()) {
        const QPoint p = w->mapFromGlobal(QPoint(point.x, point.y));
        point = TPoint(p.x(), p.y());
    }
}

void TWindow::Invalidate(bool erase) {
    if (QWidget* w = GetHandle()) {
        d_->Invalidate(QRegion(w->rect()), erase);
        if (!d_->painting) w->update();
    }
}

void TWindow::InvalidateRect(const TRect& rect, bool erase) {
    if (QWidget* w = GetHandle()) {
        const QRect r(rect.left, rect.top, rect.Width(), rect.Height());
        d_->Invalidate(QRegion(r), erase);
        if (!d_->painting) w->update(r);
    }
}

void TWindow::UpdateWindow() {
    if (IsWindow()) d_->DispatchPaint();
}

void TWindow::SetCaption(const char* title) {
    title_ = title ? title : "";
    if (QWidget* w = GetHandle()) w->setWindowTitle(ToQt(title_));
}

bool TWindow::EnableWindow(bool enable) {
    QWidget* w = GetHandle();
    if (!w) return false;
    const bool wasDisabled = !w->isEnabled();
    w->setEnabled(enable);
    return wasDisabled;
}

bool TWindow::IsWindowEnabled() const {
    const QWidget* w = GetHandle();
    return w && w->isEnabled();
}

bool TWindow::IsWindowVisible() const {
    const QWidget* w = GetHandle();
    return w && w->isVisible();
}

HWND TWindow::SetFocus() {
    QWidget* old = QApplication::focusWidget();
    if (QWidget* w = GetHandle()) {
        if (w->focusPolicy() == Qt::NoFocus) w->setFocusPolicy(Qt::ClickFocus);
        w->setFocus(Qt::OtherFocusReason);
    }
    return old;
}

bool TWindow::IsIconic() const {
    const QWidget* w = GetHandle();
    return w && w->window()->isMinimized() && w->isWindow();
}

bool TWindow::IsZoomed() const {
    const QWidget* w = GetHandle();
    if (!w) return false;
    if (w->isWindow()) return w->isMaximized();
    return Attr.Style & WS_MAXIMIZE;
}

bool TWindow::BringWindowToTop() {
    QWidget* w = GetHandle();
    if (!w) return false;
    w->raise();
    if (w->isWindow())
        w->activateWindow();
    else if (parent_)
        parent_->RaiseTopmostChildren();
    return true;
}

bool TWindow::SetCursor(TModule* module, TResId id) {
    QWidget* w = GetHandle();
    const HCURSOR c = ui::LoadCursor(module, id);
    if (!w || !c) return false;
    w->setCursor(c->Cursor);
    return true;
}

void TWindow::SetBkgndColor(TColor color) {
    d_->background = color;
    if (QWidget* w = GetHandle(); w && !d_->painting) {
        const TColor c = ResolveBackground(color);
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, QColor(gdi::redOf(c), gdi::greenOf(c), gdi::blueOf(c)));
        w->setPalette(pal);
        w->setAutoFillBackground(true);
    }
}

TWindow* TWindow::ChildWithId(int id) const {
    for (TWindow* c : children_)
        if (c->Attr.Id == id) return c;
    return nullptr;
}

// ---------------------------------------------------------------------------
// Timers

UINT TWindow::SetTimer(UINT id, UINT ms) {
    if (!IsWindow()) return 0;
    QTimer*& t = d_->timers[id];
    if (!t) {
        t = new QTimer(&d_->bridge);
        QObject::connect(t, &QTimer::timeout, t, [this, id] { Dispatch(WM_TIMER, id, 0); });
    }
    t->start(int(std::min<UINT>(ms, 0x7FFFFFFF)));
    return id ? id : 1;
}

UINT TWindow::GetTimerInterval(UINT id) const {
    const auto it = d_->timers.find(id);
    return it == d_->timers.end() ? 0 : UINT(it->second->interval());
}

bool TWindow::KillTimer(UINT id) {
    const auto it = d_->timers.find(id);
    if (it == d_->timers.end()) return false;
    delete it->second;
    d_->timers.erase(it);
    return true;
}

// ---------------------------------------------------------------------------
// Painting

TDC& TWindow::GetDC() {
    WindowDc& dc = d_->Dc();
    if (!d_->OwnDc() && !d_->paint) dc.restoreDefaults();
    return dc;
}

void TWindow::Paint(TDC&, bool, TRect&) {}

void TWindow::EvPaint() {
    PAINTSTRUCT ps = d_->paint ? *d_->paint : PAINTSTRUCT{};
    Paint(d_->Dc(), ps.fErase, ps.rcPaint);
}

const PAINTSTRUCT* TWindow::CurrentPaint() const {
    return d_->paint ? &*d_->paint : nullptr;
}

TPaintDC::TPaintDC(TWindow& window) : dc_(window.Private().Dc()) {
    if (const PAINTSTRUCT* ps = window.CurrentPaint()) Ps = *ps;
}

// ---------------------------------------------------------------------------
// Items

QWidget* TWindow::CellFor(int) const {
    return nullptr;
}

QWidget* TWindow::FindItem(int id) const {
    const TWindow* c = ChildWithId(id);
    return c ? c->GetHandle() : nullptr;
}

HWND TWindow::GetDlgItem(int id) const {
    return FindItem(id);
}

int TWindow::GetDlgItemText(int id, char* buf, int size) const {
    QWidget* item = FindItem(id);
    return CopyOut(item ? ItemText(item) : std::string(), buf, size);
}

void TWindow::SetDlgItemText(int id, const char* text) {
    if (QWidget* item = FindItem(id)) SetItemText(item, text ? text : "");
}

UINT TWindow::GetDlgItemInt(int id, bool* translated, bool isSigned) const {
    if (translated) *translated = false;
    QWidget* item = FindItem(id);
    if (!item) return 0;
    std::string text = ItemText(item);
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.erase(text.begin());
    while (!text.empty() && blank(text.back()))
        text.pop_back();
    if (text.empty()) return 0;
    const char* first = text.data();
    const char* last = first + text.size();
    if (isSigned) {
        int v = 0;
        const auto [end, ec] = std::from_chars(first, last, v);
        if (ec != std::errc() || end != last) return 0;
        if (translated) *translated = true;
        return UINT(v);
    }
    if (*first == '+') ++first;
    unsigned v = 0;
    const auto [end, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || end != last || first == last) return 0;
    if (translated) *translated = true;
    return v;
}

void TWindow::SetDlgItemInt(int id, UINT value, bool isSigned) {
    char buf[16];
    if (isSigned)
        std::snprintf(buf, sizeof buf, "%d", int(value));
    else
        std::snprintf(buf, sizeof buf, "%u", value);
    SetDlgItemText(id, buf);
}

bool TWindow::IsDlgItemModified(int id) const {
    QWidget* item = FindItem(id);
    return item && ItemModified(item);
}

void TWindow::EnableDlgItem(int id, bool enable) {
    if (QWidget* item = FindItem(id)) item->setEnabled(enable);
}

// ---------------------------------------------------------------------------
// Registered classes

void RegisterClass(const char* name, TWindowFactory factory) {
    if (name) classRegistry()[name] = factory;
}

TWindowFactory FindRegisteredClass(const char* name) {
    if (!name) return nullptr;
    const auto it = classRegistry().find(name);
    return it == classRegistry().end() ? nullptr : it->second;
}

} // namespace ui
