#include "ui/Gadgets.h"

#include "gdi/RasterDc.h"
#include "ui/Application.h"
#include "ui/Screen.h"
#include "ui/Text.h"
#include "ui/WindowPrivate.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFrame>
#include <QGridLayout>
#include <QHelpEvent>
#include <QPainter>
#include <QPointer>
#include <QToolButton>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace ui {

gdi::LogFont TGadgetWindowFont(int pointSize, bool bold, bool italic) {
    return gdi::LogFont{"MS Sans Serif", -int(std::lround(pointSize * 96.0 / 72.0)),
                        bold ? 700 : 400, italic, false};
}

namespace {

constexpr int kMarginX = 2, kMarginY = 1;

int borderWidth(TGadget::TBorderStyle s) {
    switch (s) {
    case TGadget::None:
        return 0;
    case TGadget::Embossed:
        return 2;
    default:
        return 1;
    }
}

QColor qcolour(TColor c) {
    return QColor(gdi::redOf(c), gdi::greenOf(c), gdi::blueOf(c));
}

} // namespace

// ---------------------------------------------------------------------------
// The widget of a gadget that paints

class GadgetWidget : public QWidget {
  public:
    GadgetWidget(QWidget* parent, TGadget* gadget) : QWidget(parent), gadget_(gadget) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    void MarkDirty() {
        dirty_ = true;
        update();
    }
    void Detach() { gadget_ = nullptr; }

  protected:
    void paintEvent(QPaintEvent*) override {
        const QSize size = this->size().expandedTo(QSize(1, 1));
        if (surface_.size() != size) {
            if (dc_) dc_->flush();
            surface_ = QImage(size, QImage::Format_RGB32);
            surface_.fill(qcolour(GetSysColor(COLOR_BTNFACE)));
            if (dc_) dc_->setTarget(&surface_);
            dirty_ = true;
        }
        // New system colours paint the gadget again.
        const TColor face = GetSysColor(COLOR_BTNFACE), ink = GetSysColor(COLOR_BTNTEXT);
        if (face != face_ || ink != ink_) dirty_ = true;
        if (dirty_ && gadget_) {
            if (!dc_) dc_ = std::make_unique<gdi::RasterDc>(&surface_, GetScreenCaps());
            dc_->restoreDefaults();
            face_ = face;
            ink_ = ink;
            dc_->fillRect(0, 0, size.width(), size.height(), gdi::Brush::solid(face));
            if (TGadgetWindow* w = gadget_->GetGadgetWindow()) dc_->selectFont(w->GetGdiFont());
            dc_->setTextColour(ink);
            dc_->setBkColour(face);
            dirty_ = false;
            gadget_->Paint(*dc_);
            dc_->flush();
        }
        QPainter p(this);
        p.drawImage(0, 0, surface_);
    }

  private:
    TGadget* gadget_;
    QImage surface_;
    std::unique_ptr<gdi::RasterDc> dc_;
    bool dirty_ = true;
    TColor face_ = 0, ink_ = 0;
};

struct TGadget::Private {
    QPointer<QWidget> widget;
};

// ---------------------------------------------------------------------------
// TGadget

TGadget::TGadget(int id, TBorderStyle borderStyle)
    : Id(id), BorderStyle(borderStyle), p_(std::make_unique<Private>()) {}

TGadget::~TGadget() {
    if (auto* g = dynamic_cast<GadgetWidget*>(p_->widget.data())) g->Detach();
    delete p_->widget.data();
}

QWidget* TGadget::GetHandle() const {
    return p_->widget;
}

QWidget* TGadget::MakeWidget(QWidget* parent) {
    auto* w = new GadgetWidget(parent, this);
    p_->widget = w;
    return w;
}

void TGadget::SetHandle(QWidget* widget) {
    p_->widget = widget;
}

void TGadget::SetBorderStyle(TBorderStyle style) {
    BorderStyle = style;
    SizeChanged();
    Invalidate();
}

TRect TGadget::GetBounds() const {
    const QWidget* w = p_->widget;
    if (!w) return {};
    // Until its window is shown, Qt has not placed the gadget.
    if (QWidget* parent = w->parentWidget(); parent && parent->layout())
        parent->layout()->activate();
    const QRect g = w->geometry();
    return TRect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height());
}

void TGadget::GetDesiredSize(TSize& size) {
    const int b = borderWidth(BorderStyle);
    size = TSize(2 * (b + kMarginX), 2 * (b + kMarginY));
}

void TGadget::GetInnerRect(TRect& rect) {
    const int b = borderWidth(BorderStyle);
    const QWidget* w = p_->widget;
    const int width = w ? w->width() : 0, height = w ? w->height() : 0;
    rect = TRect(b + kMarginX, b + kMarginY, width - b - kMarginX, height - b - kMarginY);
}

void TGadget::PaintBorder(TDC& dc) {
    const QWidget* w = p_->widget;
    if (!w || BorderStyle == None) return;
    const int width = w->width(), height = w->height();
    TColor topLeft = GetSysColor(COLOR_BTNSHADOW), bottomRight = GetSysColor(COLOR_BTNHIGHLIGHT);
    if (BorderStyle == Raised) std::swap(topLeft, bottomRight);
    if (BorderStyle == Plain) topLeft = bottomRight = gdi::kBlack;
    const int n = borderWidth(BorderStyle);
    for (int i = 0; i < n; ++i) {
        if (BorderStyle == Embossed && i == 1) std::swap(topLeft, bottomRight);
        const gdi::Brush tl = gdi::Brush::solid(topLeft), br = gdi::Brush::solid(bottomRight);
        dc.fillRect(i, i, width - i, i + 1, tl);
        dc.fillRect(i, i, i + 1, height - i, tl);
        dc.fillRect(i, height - i - 1, width - i, height - i, br);
        dc.fillRect(width - i - 1, i, width - i, height - i, br);
    }
}

void TGadget::Paint(TDC& dc) {
    PaintBorder(dc);
}

void TGadget::Invalidate(bool) {
    if (auto* g = dynamic_cast<GadgetWidget*>(p_->widget.data()))
        g->MarkDirty();
    else if (p_->widget)
        p_->widget->update();
}

void TGadget::SetEnabled(bool enabled) {
    if (Enabled == enabled) return;
    Enabled = enabled;
    if (p_->widget) p_->widget->setEnabled(enabled);
    Invalidate();
}

void TGadget::SizeChanged() {
    if (Window && Window->IsWindow()) Window->LayoutGadgets();
}

// ---------------------------------------------------------------------------
// TSeparatorGadget, TTextGadget

TSeparatorGadget::TSeparatorGadget(int size) : TGadget(0, None), size_(size) {}

void TSeparatorGadget::GetDesiredSize(TSize& size) {
    size = TSize(size_, size_);
}

TTextGadget::TTextGadget(int id, TBorderStyle style, TAlign align, UINT numChars, const char* text)
    : TGadget(id, style), text_(text ? text : ""), align_(align), numChars_(numChars) {}

void TTextGadget::SetText(const char* text) {
    const std::string t = text ? text : "";
    if (t == text_) return;
    text_ = t;
    Invalidate();
}

void TTextGadget::GetDesiredSize(TSize& size) {
    TGadget::GetDesiredSize(size);
    if (!Window) return;
    const auto font = Window->GetGdiFont();
    const gdi::XY sample = font->extent("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    size.cx += int(numChars_) * sample.x / 52;
    size.cy += font->cellHeight();
}

void TTextGadget::Paint(TDC& dc) {
    TGadget::Paint(dc);
    TRect inner;
    GetInnerRect(inner);
    const gdi::XY extent = dc.textExtent(text_);
    int x = inner.left;
    if (align_ == Center) x = inner.left + (inner.Width() - extent.x) / 2;
    if (align_ == Right) x = inner.right - extent.x;
    const gdi::TextRect clip{inner.left, inner.top, inner.right, inner.bottom};
    dc.setTextAlign(TA_LEFT | TA_TOP);
    dc.extTextOut(x, inner.top + (inner.Height() - extent.y) / 2, ETO_OPAQUE | ETO_CLIPPED, &clip,
                  text_);
}

// ---------------------------------------------------------------------------
// TButtonGadget

TButtonGadget::TButtonGadget(TResId glyph, int id, TType type, bool enabled, TState state, bool)
    : TGadget(id, None), glyph_(glyph), type_(type), state_(state) {
    Enabled = enabled;
}

TButtonGadget::~TButtonGadget() = default;

const QImage& TButtonGadget::Glyph() {
    if (!glyphLoaded_ && Window) {
        glyphLoaded_ = true;
        if (TModule* m = Window->GetModule())
            if (auto bm = m->LoadBitmap(glyph_)) {
                // Light grey in a glyph shows the button's face.
                glyphImage_ = bm->image().convertToFormat(QImage::Format_ARGB32);
                for (int y = 0; y < glyphImage_.height(); ++y) {
                    auto* row = reinterpret_cast<QRgb*>(glyphImage_.scanLine(y));
                    for (int x = 0; x < glyphImage_.width(); ++x)
                        if ((row[x] & 0xFFFFFFu) == 0xC0C0C0u) row[x] = 0;
                }
            }
    }
    return glyphImage_;
}

QWidget* TButtonGadget::MakeWidget(QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRaise(false);
    b->setCheckable(type_ != Command);
    if (const QImage& glyph = Glyph(); !glyph.isNull()) {
        b->setIcon(QIcon(QPixmap::fromImage(glyph)));
        b->setIconSize(glyph.size());
    } else {
        b->setText(QString::number(Id));
    }
    b->setEnabled(Enabled);
    QObject::connect(b, &QToolButton::clicked, b, [this] { Clicked(); });
    SetHandle(b);
    ShowState();
    return b;
}

void TButtonGadget::GetDesiredSize(TSize& size) {
    const QImage& glyph = Glyph();
    const QSize g = glyph.isNull() ? QSize(16, 15) : glyph.size();
    size = TSize(g.width() + 7, g.height() + 7);
}

void TButtonGadget::ShowState() {
    if (auto* b = qobject_cast<QToolButton*>(GetHandle())) {
        const QSignalBlocker block(b);
        b->setChecked(state_ == Down);
    }
}

void TButtonGadget::SetButtonState(TState state) {
    if (state == state_) {
        ShowState();
        return;
    }
    if (type_ == Exclusive && state == Down && Window)
        for (TButtonGadget* other : Window->ExclusiveGroup(*this))
            if (other != this && other->state_ != Up) {
                other->state_ = Up;
                other->ShowState();
            }
    state_ = state;
    ShowState();
}

void TButtonGadget::Clicked() {
    if (!Enabled) {
        ShowState();
        return;
    }
    switch (type_) {
    case Command:
        break;
    case NonExclusive:
        SetButtonState(state_ == Down ? Up : Down);
        break;
    case Exclusive:
        SetButtonState(Down);
        break;
    }
    ShowState();
    if (Window) Window->RouteCommand(UINT(Id), BN_CLICKED, GetHandle());
}

void TButtonGadget::CommandEnable() {
    if (!Window) return;
    TCommandEnabler ce{UINT(Id)};
    Window->RouteCommandEnable(ce);
    SetEnabled(ce.IsEnabled());
    if (ce.GetCheck() >= 0 && type_ != Command)
        SetButtonState(ce.GetCheck() == TCommandEnabler::Checked         ? Down
                       : ce.GetCheck() == TCommandEnabler::Indeterminate ? Indeterminate
                                                                         : Up);
}

// ---------------------------------------------------------------------------
// TGadgetWindow

TGadgetWindow::TGadgetWindow(TWindow* parent, TTileDirection direction, const gdi::LogFont* font,
                             TModule* module)
    : TWindow(parent, nullptr, module), direction_(direction),
      font_(font ? *font : TGadgetWindowFont()) {
    Attr.Style = WS_CHILD | WS_VISIBLE;
}

TGadgetWindow::~TGadgetWindow() {
    Destroy();
    for (TGadget* g : gadgets_)
        delete g;
}

const char* TGadgetWindow::GetClassName() {
    return "TGadgetWindow";
}

std::shared_ptr<const gdi::Font> TGadgetWindow::GetGdiFont() const {
    if (!gdiFont_) gdiFont_ = gdi::Font::create(font_);
    return gdiFont_;
}

void TGadgetWindow::SetFont(const gdi::LogFont& font) {
    font_ = font;
    gdiFont_.reset();
    for (TGadget* g : gadgets_)
        g->Invalidate();
    if (IsWindow()) LayoutGadgets();
}

void TGadgetWindow::Insert(TGadget& gadget, TPlacement placement, TGadget* sibling) {
    auto at = sibling ? std::find(gadgets_.begin(), gadgets_.end(), sibling) : gadgets_.end();
    if (placement == Before && !sibling)
        at = gadgets_.begin();
    else if (placement == After && at != gadgets_.end())
        ++at;
    gadgets_.insert(at, &gadget);
    gadget.SetWindow(this);
    if (IsWindow()) {
        gadget.MakeWidget(GetHandle());
        LayoutGadgets();
    }
}

TGadget* TGadgetWindow::GadgetWithId(int id) const {
    for (TGadget* g : gadgets_)
        if (g->GetId() == id) return g;
    return nullptr;
}

std::vector<TButtonGadget*> TGadgetWindow::ExclusiveGroup(TButtonGadget& button) const {
    const auto exclusive = [](TGadget* g) {
        auto* b = dynamic_cast<TButtonGadget*>(g);
        return b && b->GetButtonType() == TButtonGadget::Exclusive ? b : nullptr;
    };
    const auto it = std::find(gadgets_.begin(), gadgets_.end(), &button);
    if (it == gadgets_.end()) return {&button};
    auto first = it, last = it;
    while (first != gadgets_.begin() && exclusive(*(first - 1)))
        --first;
    while (last + 1 != gadgets_.end() && exclusive(*(last + 1)))
        ++last;
    std::vector<TButtonGadget*> out;
    for (auto i = first; i <= last; ++i)
        out.push_back(exclusive(*i));
    return out;
}

QWidget* TGadgetWindow::MakeWidget(QWidget* parentWidget) {
    auto* w = new QFrame(parentWidget);
    w->setAutoFillBackground(true);
    if (Attr.Style & WS_DLGFRAME) {
        w->setFrameStyle(QFrame::Panel | QFrame::Raised);
        w->setLineWidth(3);
    }
    QLayout* layout = nullptr;
    if (Columns > 0)
        layout = new QGridLayout(w);
    else
        layout = new QBoxLayout(
            direction_ == Horizontal ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom, w);
    layout->setContentsMargins(Margin, Margin, Margin, Margin);
    layout->setSpacing(Spacing);
    return w;
}

void TGadgetWindow::SetupWindow() {
    TWindow::SetupWindow();
    for (TGadget* g : gadgets_)
        if (!g->GetHandle()) g->MakeWidget(GetHandle());
    LayoutGadgets();
}

void TGadgetWindow::GetDesiredSize(TSize& size) {
    int along = 0, across = 0, n = 0;
    for (TGadget* g : gadgets_) {
        TSize s;
        g->GetDesiredSize(s);
        along += direction_ == Horizontal ? s.cx : s.cy;
        across = std::max(across, direction_ == Horizontal ? s.cy : s.cx);
        ++n;
    }
    along += 2 * Margin + std::max(n - 1, 0) * Spacing;
    across += 2 * Margin;
    size = direction_ == Horizontal ? TSize(along, across) : TSize(across, along);
}

void TGadgetWindow::LayoutGadgets() {
    QWidget* w = GetHandle();
    if (!w || !w->layout()) return;
    QLayout* layout = w->layout();
    while (layout->count() > 0)
        delete layout->takeAt(0);
    int cell = 0;
    TSize cellSize;
    if (Columns > 0)
        for (TGadget* g : gadgets_) {
            TSize s;
            g->GetDesiredSize(s);
            cellSize = TSize(std::max(cellSize.cx, s.cx), std::max(cellSize.cy, s.cy));
        }
    for (TGadget* g : gadgets_) {
        QWidget* gw = g->GetHandle();
        if (!gw) continue;
        TSize s;
        g->GetDesiredSize(s);
        if (Columns > 0) {
            gw->setFixedSize(cellSize.cx, cellSize.cy);
            static_cast<QGridLayout*>(layout)->addWidget(gw, cell / Columns, cell % Columns);
            ++cell;
        } else if (g->WideAsPossible) {
            gw->setMinimumSize(s.cx, s.cy);
            gw->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            gw->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
            if (direction_ == Horizontal) gw->setFixedHeight(s.cy);
            static_cast<QBoxLayout*>(layout)->addWidget(gw, 1);
        } else {
            gw->setFixedSize(s.cx, s.cy);
            static_cast<QBoxLayout*>(layout)->addWidget(gw, 0);
        }
        gw->show();
    }
    if (Columns <= 0) static_cast<QBoxLayout*>(layout)->addStretch(0);
    TSize desired;
    GetDesiredSize(desired);
    if (Attr.Style & WS_DLGFRAME || Columns > 0)
        w->setFixedSize(desired.cx, desired.cy);
    else if (direction_ == Horizontal)
        w->setFixedHeight(desired.cy);
    else
        w->setFixedWidth(desired.cx);
}

bool TGadgetWindow::IdleAction(long idleCount) {
    const bool more = TWindow::IdleAction(idleCount);
    for (TGadget* g : std::vector<TGadget*>(gadgets_))
        g->CommandEnable();
    return more;
}

// ---------------------------------------------------------------------------
// Bars

TControlBar::TControlBar(TWindow* parent, TTileDirection direction, const gdi::LogFont* font,
                         TModule* module)
    : TGadgetWindow(parent, direction, font, module) {}

const char* TControlBar::GetClassName() {
    return "TControlBar";
}

TStatusBar::TStatusBar(TWindow* parent, TGadget::TBorderStyle borderStyle, UINT,
                       const gdi::LogFont* font, TModule* module)
    : TGadgetWindow(parent, Horizontal, font, module), borderStyle_(borderStyle) {
    Spacing = 2;
    text_ = new TTextGadget(0, borderStyle, TTextGadget::Left, 10);
    text_->WideAsPossible = true;
    TGadgetWindow::Insert(*text_);
}

const char* TStatusBar::GetClassName() {
    return "TStatusBar";
}

void TStatusBar::Insert(TGadget& gadget, TPlacement placement, TGadget* sibling) {
    if (!dynamic_cast<TSeparatorGadget*>(&gadget)) gadget.SetBorderStyle(borderStyle_);
    TGadgetWindow::Insert(gadget, placement, sibling);
}

void TStatusBar::SetText(const char* text) {
    text_->SetText(text);
}

const char* TStatusBar::GetText() const {
    return text_->GetText();
}

TToolBox::TToolBox(TWindow* parent, int numColumns, int numRows, TTileDirection direction,
                   TModule* module)
    : TGadgetWindow(parent, direction, nullptr, module), rows_(numRows) {
    Columns = std::max(numColumns, 1);
    Margin = 0;
}

const char* TToolBox::GetClassName() {
    return "TToolBox";
}

void TToolBox::GetDesiredSize(TSize& size) {
    TSize cell;
    for (TGadget* g : GetGadgets()) {
        TSize s;
        g->GetDesiredSize(s);
        cell = TSize(std::max(cell.cx, s.cx), std::max(cell.cy, s.cy));
    }
    const int n = int(GetGadgets().size());
    const int rows = rows_ > 0 ? rows_ : (n + Columns - 1) / Columns;
    size = TSize(Columns * cell.cx, std::max(rows, 1) * cell.cy);
}

// ---------------------------------------------------------------------------
// Tool tips

namespace {

class TipFilter : public QObject {
  public:
    explicit TipFilter(TTooltip* tip) : tip_(tip) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
        auto* help = static_cast<QHelpEvent*>(event);
        for (QWidget* w = static_cast<QWidget*>(watched); w; w = w->parentWidget()) {
            const TWindow* window = GetWindowPtr(w);
            if (!window) continue;
            const QPoint p = static_cast<QWidget*>(watched)->mapTo(w, help->pos());
            const std::string text = tip_->ToolTextAt(*window, TPoint(p.x(), p.y()));
            if (text.empty()) continue;
            QToolTip::showText(help->globalPos(), ToQt(text), static_cast<QWidget*>(watched));
            return true;
        }
        return false;
    }

  private:
    TTooltip* tip_;
};

} // namespace

struct TTooltip::Private {
    std::vector<TToolInfo> tools;
    std::unique_ptr<TipFilter> filter;
};

TTooltip::TTooltip(TWindow* parent, bool) : TWindow(parent), p_(std::make_unique<Private>()) {
    Attr.Style = WS_CHILD;
    p_->filter = std::make_unique<TipFilter>(this);
    EnsureQtApplication()->installEventFilter(p_->filter.get());
}

TTooltip::~TTooltip() {
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(p_->filter.get());
}

QWidget* TTooltip::MakeWidget(QWidget* parentWidget) {
    auto* w = new QWidget(parentWidget);
    w->hide();
    return w;
}

bool TTooltip::AddTool(const TToolInfo& info) {
    p_->tools.push_back(info);
    return true;
}

std::string TTooltip::ToolTextAt(const TWindow& window, const TPoint& point) const {
    for (const TToolInfo& t : p_->tools)
        if (t.Window == &window && t.Rect.Contains(point)) return t.Text;
    return {};
}

} // namespace ui
