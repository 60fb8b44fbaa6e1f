#include "controls/dialogControl.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>

std::int64_t roundedMulDiv(std::int64_t a, std::int64_t b, std::int64_t c) {
    if (c == 0) return 0;
    const bool negative = ((a < 0) != (b < 0)) != (c < 0);
    const std::uint64_t ua = a < 0 ? 0 - static_cast<std::uint64_t>(a) : a;
    const std::uint64_t ub = b < 0 ? 0 - static_cast<std::uint64_t>(b) : b;
    const std::uint64_t uc = c < 0 ? 0 - static_cast<std::uint64_t>(c) : c;
    const std::uint64_t q = (ua * ub + uc / 2) / uc;
    return negative ? -static_cast<std::int64_t>(q) : static_cast<std::int64_t>(q);
}

namespace {

bool isTab(const QKeyEvent* key, bool& forward) {
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    if (key->key() == Qt::Key_Backtab ||
        (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier))) {
        forward = false;
        return true;
    }
    if (key->key() == Qt::Key_Tab) {
        forward = true;
        return true;
    }
    return false;
}

// The unsigned decimal number of a field's text, blanks around it allowed;
// -1 when the text is empty or holds anything else.
long long numberOf(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 12) return -1;
    long long n = 0;
    for (const QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return -1;
        n = n * 10 + (c.unicode() - '0');
    }
    return n;
}

} // namespace

// An edit field: Tab goes to the control's parent, Left and Right move to the
// neighbouring field when the caret cannot move any further.
class TDialogControl::FieldEdit : public QLineEdit {
  public:
    explicit FieldEdit(TDialogControl* control) : QLineEdit(control), control_(control) {}

  protected:
    bool event(QEvent* e) override {
        bool forward = true;
        if (e->type() == QEvent::KeyPress && isTab(static_cast<QKeyEvent*>(e), forward)) {
            control_->passTab(forward);
            return true;
        }
        return QLineEdit::event(e);
    }
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() != Qt::Key_Left && e->key() != Qt::Key_Right) {
            QLineEdit::keyPressEvent(e);
            return;
        }
        const int caret = cursorPosition(), start = selectionStart(), length = selectionLength();
        QLineEdit::keyPressEvent(e);
        if (caret == cursorPosition() && start == selectionStart() && length == selectionLength())
            control_->moveToField(this, e->key() == Qt::Key_Right);
    }
    void focusInEvent(QFocusEvent* e) override {
        control_->fieldFocused(this);
        QLineEdit::focusInEvent(e);
    }

  private:
    TDialogControl* control_;
};

// The one-line list of two letters: Tab goes to the control's parent, Left
// and Right always move to the neighbouring field.
class TDialogControl::FieldList : public QListWidget {
  public:
    explicit FieldList(TDialogControl* control) : QListWidget(control), control_(control) {}

  protected:
    bool event(QEvent* e) override {
        bool forward = true;
        if (e->type() == QEvent::KeyPress && isTab(static_cast<QKeyEvent*>(e), forward)) {
            control_->passTab(forward);
            return true;
        }
        return QListWidget::event(e);
    }
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Left || e->key() == Qt::Key_Right)
            control_->moveToField(this, e->key() == Qt::Key_Right);
        else
            QListWidget::keyPressEvent(e);
    }
    void focusInEvent(QFocusEvent* e) override {
        control_->fieldFocused(this);
        QListWidget::focusInEvent(e);
    }

  private:
    TDialogControl* control_;
};

// Two arrow buttons, one above the other, that step the buddy field. They
// never take the focus, so the field being stepped keeps it.
class TDialogControl::UpDown : public QWidget {
  public:
    explicit UpDown(TDialogControl* control) : QWidget(control) {
        setFocusPolicy(Qt::NoFocus);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        for (const auto& [arrow, delta] : {std::pair{Qt::UpArrow, 1}, {Qt::DownArrow, -1}}) {
            auto* button = new QToolButton(this);
            button->setArrowType(arrow);
            button->setFocusPolicy(Qt::NoFocus);
            button->setAutoRepeat(true);
            button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
            QObject::connect(button, &QToolButton::clicked, control,
                             [control, d = delta] { control->stepBuddy(d); });
            layout->addWidget(button);
        }
    }
};

TDialogControl::TDialogControl(QWidget* parent, std::uint32_t style, int id)
    : QWidget(parent), style_(style & 0xFFFF), id_(id) {}

TDialogControl* dialogControl(QWidget* widget) {
    return dynamic_cast<TDialogControl*>(widget);
}

QWidget* TDialogControl::ChildWithId(int id) const {
    return id >= 100 && id < 111 ? children_[id - 100] : nullptr;
}

int TDialogControl::idOf(const QWidget* child) const {
    for (int i = 0; i < 11; ++i)
        if (child && children_[i] == child) return 100 + i;
    return 0;
}

std::intptr_t TDialogControl::Message(unsigned message, std::uintptr_t wParam,
                                      std::intptr_t lParam) {
    switch (message) {
    case CTLM_GETVALUE:
        return getValue(wParam, lParam);
    case CTLM_SETVALUE: {
        writingFields_ = true;
        const std::intptr_t result = setValue(wParam, lParam);
        writingFields_ = false;
        return result;
    }
    case CTLM_MODIFIED:
        return isModified();
    case WM_COMMAND:
        if (!writingFields_ && notify_) notify_(id_, static_cast<unsigned>(wParam >> 16) & 0xFFFF);
        return 0;
    default:
        return 0;
    }
}

QLineEdit* TDialogControl::addEdit(int id, int maxLength) {
    auto* edit = new FieldEdit(this);
    edit->setMaxLength(maxLength);
    QObject::connect(edit, &QLineEdit::textEdited, this, [this, id] {
        Message(WM_COMMAND, static_cast<std::uintptr_t>(EN_CHANGE) << 16 | id, 0);
    });
    children_[id - 100] = edit;
    fields_[fieldCount_++] = edit;
    if (fieldCount_ == 1) setFocusProxy(edit);
    return edit;
}

QLabel* TDialogControl::addStatic(int id, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setAlignment(Qt::AlignCenter);
    children_[id - 100] = label;
    return label;
}

QListWidget* TDialogControl::addList(int id, const QString& first, const QString& second) {
    auto* list = new FieldList(this);
    list->addItem(first);
    list->addItem(second);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setCurrentRow(0);
    QObject::connect(list, &QListWidget::currentRowChanged, this, [this, list, id](int row) {
        if (row >= 0) list->scrollToItem(list->item(row), QAbstractItemView::PositionAtTop);
        Message(WM_COMMAND, static_cast<std::uintptr_t>(EN_CHANGE) << 16 | id, 0);
    });
    children_[id - 100] = list;
    fields_[fieldCount_++] = list;
    if (fieldCount_ == 1) setFocusProxy(list);
    return list;
}

QWidget* TDialogControl::addUpDown(int id) {
    auto* upDown = new UpDown(this);
    children_[id - 100] = upDown;
    return upDown;
}

long long TDialogControl::fieldNumber(int id) const {
    const auto* edit = dynamic_cast<const QLineEdit*>(ChildWithId(id));
    return edit ? numberOf(edit->text()) : -1;
}

void TDialogControl::writeField(int id, const char* format, long long value) {
    if (auto* edit = dynamic_cast<QLineEdit*>(ChildWithId(id))) {
        char text[32];
        std::snprintf(text, sizeof text, format, static_cast<int>(value));
        edit->setText(QString::fromLatin1(text));
    }
}

int TDialogControl::fieldHeight() const {
    return static_cast<int>(roundedMulDiv(10, fontMetrics().height(), 8));
}

void TDialogControl::place(int id, int x, int w) {
    if (QWidget* child = ChildWithId(id)) child->setGeometry(x, 0, w, fieldHeight());
}

void TDialogControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutChildren();
}

void TDialogControl::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) layoutChildren();
}

// Tab leaves the control: the focus goes to the next (or previous) control
// of the window that takes the focus by Tab, in the window's tab order.
void TDialogControl::passTab(bool forward) {
    QWidget* const top = window();
    for (QWidget* w = forward ? nextInFocusChain() : previousInFocusChain(); w && w != this;
         w = forward ? w->nextInFocusChain() : w->previousInFocusChain()) {
        if (isAncestorOf(w) || w->window() != top || w->focusProxy()) continue;
        if ((w->focusPolicy() & Qt::TabFocus) != Qt::TabFocus) continue;
        if (!w->isEnabled() || !w->isVisibleTo(top)) continue;
        w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return;
    }
}

// Left and Right go round the control's own fields.
void TDialogControl::moveToField(QWidget* from, bool forward) {
    for (int i = 0; i < fieldCount_; ++i) {
        if (fields_[i] != from) continue;
        const int next = (i + (forward ? 1 : fieldCount_ - 1)) % fieldCount_;
        fields_[next]->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return;
    }
}

// The field that has the focus is the one the up-down steps.
void TDialogControl::fieldFocused(QWidget* field) {
    buddy_ = field;
}

void TDialogControl::stepBuddy(int delta) {
    if (!buddy_) {
        if (fieldCount_ == 0) return;
        buddy_ = fields_[0];
    }
    const int id = idOf(buddy_);
    if (auto* list = dynamic_cast<QListWidget*>(buddy_)) {
        const int row = std::clamp(list->currentRow() + delta, 0, list->count() - 1);
        writingFields_ = true;
        list->setCurrentRow(row);
        writingFields_ = false;
    } else if (auto* edit = dynamic_cast<QLineEdit*>(buddy_)) {
        int max = 0;
        const char* format = "%d";
        if (!fieldRange(id, max, format)) return;
        writeField(id, format,
                   std::clamp(numberOf(edit->text()) + delta, 0LL, static_cast<long long>(max)));
        edit->selectAll();
    }
    Message(WM_COMMAND, static_cast<std::uintptr_t>(EN_CHANGE) << 16 | id, 0);
}
