#include "ui/forms/Edits.h"

#include "ui/Text.h"
#include "ui/forms/Description.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>

#include <algorithm>
#include <climits>

namespace ui::forms {

namespace {

constexpr int kNoLimit = 32767; // the longest text a line edit takes

QLineEdit* editOf(const TControl& c) {
    return static_cast<QLineEdit*>(c.GetHandle());
}

} // namespace

// ---- TEdit

TEdit::TEdit(TComponent* owner) : TControl(owner, detail::NewWidget<QLineEdit>()) {
    QObject::connect(editOf(*this), &QLineEdit::textEdited, Context(),
                     [this] { Fire(OnChange, this); });
}

std::string TEdit::GetTextValue() const {
    return FromQt(editOf(*this)->text());
}

void TEdit::SetTextValue(const std::string& text) {
    QLineEdit* edit = editOf(*this);
    const QString before = edit->text();
    edit->setText(ToQt(text));
    if (edit->text() != before) Fire(OnChange, this);
}

void TEdit::SetMaxLength(int length) {
    maxLength_ = std::max(length, 0);
    editOf(*this)->setMaxLength(maxLength_ > 0 ? maxLength_ : kNoLimit);
}

TEventSlot TEdit::FindEvent(std::string_view name) {
    if (name == "OnChange") return TEventSlot::Of(OnChange);
    return TControl::FindEvent(name);
}

// ---- TSpinEdit

namespace {

constexpr int kArrowWidth = 16;

QToolButton* newArrow(QWidget* parent, Qt::ArrowType type) {
    auto* arrow = new QToolButton(parent);
    arrow->setArrowType(type);
    arrow->setAutoRepeat(true);
    arrow->setFocusPolicy(Qt::NoFocus);
    return arrow;
}

} // namespace

TSpinEdit::TSpinEdit(TComponent* owner) : TControl(owner, detail::NewWidget<QWidget>()) {
    QWidget* box = GetHandle();
    edit_ = new QLineEdit(box);
    edit_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[+-]?[0-9]*")), edit_));
    auto* up = newArrow(box, Qt::UpArrow);
    auto* down = newArrow(box, Qt::DownArrow);
    up_ = up;
    down_ = down;
    edit_->setText(QStringLiteral("0"));
    box->setFocusProxy(edit_);
    box->resize(edit_->sizeHint().width(), edit_->sizeHint().height());
    Layout();
    WatchEvents(box);
    WatchEvents(edit_);
    QObject::connect(edit_, &QLineEdit::textEdited, Context(), [this] { Fire(OnChange, this); });
    QObject::connect(up, &QToolButton::clicked, Context(), [this] { Step(1); });
    QObject::connect(down, &QToolButton::clicked, Context(), [this] { Step(-1); });
}

std::string TSpinEdit::GetTextValue() const {
    return FromQt(edit_->text());
}

void TSpinEdit::SetTextValue(const std::string& text) {
    const QString before = edit_->text();
    edit_->setText(ToQt(text));
    if (edit_->text() != before) Fire(OnChange, this);
}

int TSpinEdit::Hold(long long value) const {
    if (min_ != max_) value = std::clamp<long long>(value, min_, std::max(min_, max_));
    return int(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

namespace {

// The number of a spin edit's text: an optional sign and digits, saturated to
// 64 bits; false for anything else ("", "-" and "+" included).
bool numberOf(const std::string& text, long long& number) {
    std::size_t at = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) at = 1;
    if (at == text.size()) return false;
    for (std::size_t i = at; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    number = 0;
    for (std::size_t i = at; i < text.size(); ++i) {
        if (number > (LLONG_MAX - 9) / 10) {
            number = LLONG_MAX;
            break;
        }
        number = number * 10 + (text[i] - '0');
    }
    if (negative) number = -number;
    return true;
}

} // namespace

int TSpinEdit::GetValue() const {
    long long number = 0;
    return numberOf(GetTextValue(), number) ? Hold(number) : 0;
}

void TSpinEdit::SetValue(int value) {
    SetTextValue(std::to_string(Hold(value)));
}

void TSpinEdit::Step(int by) {
    SetValue(int(std::clamp<long long>(static_cast<long long>(GetValue()) + by, INT_MIN, INT_MAX)));
}

void TSpinEdit::Layout() {
    const QSize size = GetHandle()->size();
    const int half = size.height() / 2;
    edit_->setGeometry(0, 0, std::max(size.width() - kArrowWidth, 0), size.height());
    up_->setGeometry(size.width() - kArrowWidth, 0, kArrowWidth, half);
    down_->setGeometry(size.width() - kArrowWidth, half, kArrowWidth, size.height() - half);
}

bool TSpinEdit::WidgetEvent(QObject* watched, QEvent* event) {
    if (watched == GetHandle() && event->type() == QEvent::Resize) {
        Layout();
    } else if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    } else if (watched == edit_ && event->type() == QEvent::FocusOut) {
        // A number typed beyond the limits is put back inside on leaving.
        long long typed = 0;
        if (numberOf(GetTextValue(), typed) && typed != GetValue()) SetValue(GetValue());
    }
    return false;
}

void TSpinEdit::Describe(const TComponentDesc& desc, std::vector<std::string>& problems) {
    min_ = desc.Range.Min;
    max_ = desc.Range.Max;
    TControl::Describe(desc, problems);
    Layout();
}

TEventSlot TSpinEdit::FindEvent(std::string_view name) {
    if (name == "OnChange") return TEventSlot::Of(OnChange);
    return TControl::FindEvent(name);
}

// ---- TMemo

class TMemo::TLines : public TStrings {
  public:
    explicit TLines(TMemo& memo) : memo_(memo) {}
    int GetCount() const override { return int(memo_.texts_.size()); }
    std::string GetString(int index) const override {
        return index >= 0 && index < GetCount() ? memo_.texts_[std::size_t(index)] : std::string();
    }
    void Add(const std::string& text) override {
        // A line added after a last line without a break stays without one.
        if (memo_.texts_.empty()) memo_.lastOpen_ = false;
        memo_.texts_.push_back(text);
        memo_.Show(true);
    }
    void Delete(int index) override {
        if (index < 0 || index >= GetCount()) return;
        if (index == GetCount() - 1) memo_.lastOpen_ = false; // the line before had a break
        memo_.texts_.erase(memo_.texts_.begin() + index);
        memo_.Show(false);
    }
    void Clear() override {
        memo_.texts_.clear();
        memo_.lastOpen_ = false;
        memo_.Show(false);
    }

  private:
    TMemo& memo_;
};

TMemo::TMemo(TComponent* owner)
    : TControl(owner, detail::NewWidget<QPlainTextEdit>()),
      lines_(std::make_unique<TLines>(*this)) {
    auto* view = static_cast<QPlainTextEdit*>(GetHandle());
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
}

TMemo::~TMemo() = default;

TStrings& TMemo::GetLines() {
    return *lines_;
}

void TMemo::AppendText(std::string_view bytes) {
    for (const char b : bytes) {
        const bool pairedLf = b == '\n' && crPending_;
        crPending_ = b == '\r';
        if (pairedLf) continue; // the LF of a CR LF
        if (b == '\r' || b == '\n') {
            if (lastOpen_)
                lastOpen_ = false; // ends the last line
            else
                texts_.emplace_back(); // an empty line
            continue;
        }
        if (!lastOpen_) {
            texts_.emplace_back();
            lastOpen_ = true;
        }
        texts_.back().push_back(b);
    }
    Show(true);
}

std::string TMemo::GetTextValue() const {
    std::string text;
    for (std::size_t i = 0; i < texts_.size(); ++i) {
        text += texts_[i];
        if (i + 1 < texts_.size() || !lastOpen_) text += "\r\n";
    }
    return text;
}

void TMemo::SetTextValue(const std::string& text) {
    texts_.clear();
    lastOpen_ = crPending_ = false;
    AppendText(text);
    crPending_ = false;
}

void TMemo::Describe(const TComponentDesc& desc, std::vector<std::string>& problems) {
    TControl::Describe(desc, problems);
    if (desc.Items) SetTextValue(FromQt(ToQt(desc.Items)));
}

void TMemo::Show(bool toEnd) {
    QString shown;
    for (std::size_t i = 0; i < texts_.size(); ++i) {
        QString line = ToQt(texts_[i]);
        for (QChar& c : line)
            if (c.category() == QChar::Other_Control) c = QChar(0xFFFD);
        if (i > 0) shown += QLatin1Char('\n');
        shown += line;
    }
    auto* view = static_cast<QPlainTextEdit*>(GetHandle());
    view->setPlainText(shown);
    if (toEnd) view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
}

} // namespace ui::forms
