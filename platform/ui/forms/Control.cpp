#include "ui/forms/Control.h"

#include "ui/Application.h"
#include "ui/Text.h"
#include "ui/forms/Description.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QTimer>

#include <algorithm>
#include <stdexcept>

namespace ui::forms {

namespace detail {

int paintDepth = 0;

void EnsureQt() {
    EnsureQtApplication();
}

void DeleteSoon(QObject* object) {
    QTimer::singleShot(0, [gone = QPointer<QObject>(object)] { delete gone.data(); });
}

bool InPaint() {
    return paintDepth > 0;
}

std::vector<std::string> ItemsOf(const char8_t* items) {
    std::vector<std::string> out;
    if (!items) return out;
    const std::string text = FromQt(ToQt(items));
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        out.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return out;
}

QFont FormFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    return font;
}

} // namespace detail

// Forwards the watched widget events to the control; its connections end
// with it.
class TControl::TWatcher : public QObject {
  public:
    explicit TWatcher(TControl& control) : control_(control) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        return control_.WidgetEvent(watched, event);
    }

  private:
    TControl& control_;
};

TControl::TControl(TComponent* owner, QWidget* widget)
    : TComponent(owner), context_(std::make_unique<TWatcher>(*this)), widget_(widget) {
    widget_->hide();
}

TControl::~TControl() {
    DestroyComponents();
    // Controls still on this one go with it, the last placed first.
    while (!children_.empty())
        delete children_.back();
    context_.reset();
    if (parent_) std::erase(parent_->children_, this);
    if (widget_) {
        if (FreedInEvent()) {
            // Qt may still be inside one of the widget's signals.
            widget_->hide();
            detail::DeleteSoon(widget_);
        } else {
            delete widget_.data();
        }
    }
}

void TControl::SetParent(TControl* parent) {
    if (parent == parent_) return;
    if (parent && !parent->ClientArea())
        throw std::invalid_argument(GetName() + " cannot be placed on " + parent->GetName() + " (" +
                                    parent->ClassName() + ")");
    if (parent_) std::erase(parent_->children_, this);
    parent_ = parent;
    if (!widget_) return;
    const QRect bounds = widget_->geometry();
    if (parent_) {
        parent_->children_.push_back(this);
        widget_->setParent(parent_->ClientArea());
    } else {
        widget_->setParent(nullptr);
    }
    widget_->setGeometry(bounds);
    ApplyVisible();
    ParentSet();
}

void TControl::SetHint(const std::string& hint) {
    hint_ = hint;
    widget_->setToolTip(ToQt(hint));
}

bool TControl::GetEnabled() const {
    // The control's own state, whatever its parent's.
    return !widget_->testAttribute(Qt::WA_ForceDisabled);
}

void TControl::SetEnabled(bool enabled) {
    widget_->setEnabled(enabled);
}

void TControl::SetVisible(bool visible) {
    visible_ = visible;
    ApplyVisible();
}

void TControl::ApplyVisible() {
    if (!widget_) return;
    widget_->setVisible(visible_ && parent_);
}

int TControl::GetLeft() const {
    return widget_->x();
}
void TControl::SetLeft(int left) {
    widget_->move(left, widget_->y());
}
int TControl::GetTop() const {
    return widget_->y();
}
void TControl::SetTop(int top) {
    widget_->move(widget_->x(), top);
}
int TControl::GetWidth() const {
    return widget_->width();
}
void TControl::SetWidth(int width) {
    widget_->resize(std::max(width, 0), widget_->height());
    BoundsSet();
}
int TControl::GetHeight() const {
    return widget_->height();
}
void TControl::SetHeight(int height) {
    widget_->resize(widget_->width(), std::max(height, 0));
    BoundsSet();
}

void TControl::SetBounds(int left, int top, int width, int height) {
    widget_->setGeometry(left, top, std::max(width, 0), std::max(height, 0));
    BoundsSet();
}

void TControl::SetFocus() {
    widget_->setFocus(Qt::OtherFocusReason);
}

bool TControl::Focused() const {
    // The form's focus control, whether or not the form is active now: a
    // form shown and acted on before the window system activates it answers
    // as it will then.
    const QWidget* focus = widget_->window()->focusWidget();
    return focus && (focus == widget_ || widget_->isAncestorOf(focus));
}

void TControl::Repaint() {
    if (detail::InPaint())
        widget_->update();
    else
        widget_->repaint();
}

bool TControl::WidgetEvent(QObject*, QEvent*) {
    return false;
}

void TControl::WatchEvents(QObject* object) {
    object->installEventFilter(context_.get());
}

void TControl::Withdraw() {
    WithdrawTree();
    if (parent_) {
        std::erase(parent_->children_, this);
        parent_ = nullptr;
    }
    if (widget_) widget_->hide();
}

void TControl::WithdrawTree() {
    // The controls on it leave their owners too and go with it.
    for (TControl* child : children_) {
        child->LeaveOwnerInEvent();
        child->WithdrawTree();
    }
}

void TControl::PlaceIn(TComponent* parent, bool, std::vector<std::string>& problems) {
    auto* control = dynamic_cast<TControl*>(parent);
    if (!control || !control->ClientArea()) {
        problems.push_back(GetName() + " (" + ClassName() + ") cannot be placed on " +
                           parent->GetName() + " (" + parent->ClassName() + ")");
        return;
    }
    SetParent(control);
}

void TControl::Describe(const TComponentDesc& desc, std::vector<std::string>&) {
    if (desc.Caption) SetTextValue(FromQt(ToQt(desc.Caption)));
    if (desc.Hint) SetHint(FromQt(ToQt(desc.Hint)));
    const QSize natural = widget_->sizeHint();
    const int width = desc.Bounds.Width > 0 ? desc.Bounds.Width : std::max(natural.width(), 0);
    const int height = desc.Bounds.Height > 0 ? desc.Bounds.Height : std::max(natural.height(), 0);
    widget_->setGeometry(desc.Bounds.Left, desc.Bounds.Top, width, height);
    SetEnabled(desc.Enabled);
    SetVisible(desc.Visible);
}

} // namespace ui::forms
