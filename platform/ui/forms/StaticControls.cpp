#include "ui/forms/StaticControls.h"

#include "ui/Text.h"
#include "ui/forms/Description.h"
#include "ui/forms/Menus.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>

namespace ui::forms {

namespace {

template <class W> W* widgetOf(const TControl& c) {
    return static_cast<W*>(c.GetHandle());
}

QLabel* newLabel() {
    QLabel* label = detail::NewWidget<QLabel>();
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLabel* newPanel() {
    QLabel* panel = detail::NewWidget<QLabel>();
    panel->setTextFormat(Qt::PlainText);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAutoFillBackground(true);
    return panel;
}

QLabel* newStatusBar() {
    QLabel* bar = detail::NewWidget<QLabel>();
    bar->setTextFormat(Qt::PlainText);
    bar->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    bar->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->setAutoFillBackground(true);
    return bar;
}

QProgressBar* newProgressBar() {
    QProgressBar* bar = detail::NewWidget<QProgressBar>();
    bar->setTextVisible(false);
    return bar;
}

constexpr int kStatusBarHeight = 19;

} // namespace

TLabel::TLabel(TComponent* owner) : TControl(owner, newLabel()) {}

void TLabel::SetTextValue(const std::string& text) {
    caption_ = text;
    QLabel* label = widgetOf<QLabel>(*this);
    label->setText(LineBreaksToQt(ToQt(text)));
    if (autoSize_) label->resize(label->sizeHint());
}

void TLabel::Describe(const TComponentDesc& desc, std::vector<std::string>& problems) {
    TControl::Describe(desc, problems);
    autoSize_ = desc.Bounds.Width <= 0;
    if (autoSize_) GetHandle()->resize(GetHandle()->sizeHint());
}

TGroupBox::TGroupBox(TComponent* owner) : TControl(owner, detail::NewWidget<QGroupBox>()) {}

void TGroupBox::SetTextValue(const std::string& text) {
    caption_ = text;
    widgetOf<QGroupBox>(*this)->setTitle(ToQt(text));
}

TPanel::TPanel(TComponent* owner) : TControl(owner, newPanel()) {
    WatchEvents(GetHandle());
}

void TPanel::SetTextValue(const std::string& text) {
    caption_ = text;
    widgetOf<QLabel>(*this)->setText(LineBreaksToQt(ToQt(text)));
}

bool TPanel::WidgetEvent(QObject* watched, QEvent* event) {
    if (watched != GetHandle() || event->type() != QEvent::ContextMenu) return false;
    if (!popupMenu_ || !popupMenu_->HasVisibleItems()) return false; // the parent's turn
    popupMenu_->Popup(static_cast<QContextMenuEvent*>(event)->globalPos());
    return true;
}

TStatusBar::TStatusBar(TComponent* owner) : TControl(owner, newStatusBar()) {}

void TStatusBar::SetSimpleText(const std::string& text) {
    text_ = text;
    widgetOf<QLabel>(*this)->setText(ToQt(text));
}

void TStatusBar::Describe(const TComponentDesc& desc, std::vector<std::string>& problems) {
    TControl::Describe(desc, problems);
    if (desc.Caption) SetSimpleText(FromQt(ToQt(desc.Caption)));
    Align();
}

void TStatusBar::ParentSet() {
    if (GetParent()) WatchEvents(GetHandle()->parentWidget());
    Align();
}

bool TStatusBar::WidgetEvent(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && GetHandle() && watched == GetHandle()->parentWidget())
        Align();
    return false;
}

void TStatusBar::Align() {
    QWidget* area = GetHandle()->parentWidget();
    if (!area) return;
    GetHandle()->setGeometry(0, area->height() - kStatusBarHeight, area->width(), kStatusBarHeight);
}

TProgressBar::TProgressBar(TComponent* owner) : TControl(owner, newProgressBar()) {
    Apply();
}

void TProgressBar::SetMin(int min) {
    min_ = min;
    Apply();
}

void TProgressBar::SetMax(int max) {
    max_ = max;
    Apply();
}

void TProgressBar::SetPosition(int position) {
    position_ = position;
    Apply();
}

void TProgressBar::Apply() {
    max_ = std::max(max_, min_);
    position_ = std::clamp(position_, min_, max_);
    auto* bar = widgetOf<QProgressBar>(*this);
    bar->setRange(min_, max_);
    bar->setValue(position_);
}

void TProgressBar::Describe(const TComponentDesc& desc, std::vector<std::string>& problems) {
    TControl::Describe(desc, problems);
    if (desc.Range.Min != 0 || desc.Range.Max != 0) {
        min_ = desc.Range.Min;
        max_ = desc.Range.Max;
        Apply();
    }
}

} // namespace ui::forms
