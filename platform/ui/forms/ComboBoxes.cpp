#include "ui/forms/ComboBoxes.h"

#include "os/drives.h"
#include "ui/Text.h"
#include "ui/forms/Description.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include <cctype>
#include <filesystem>

namespace ui::forms {

// ---- TComboBox

class TComboBox::TItems : public TStrings {
  public:
    explicit TItems(TComboBox& combo) : combo_(combo) {}
    int GetCount() const override { return combo_.Box()->count(); }
    std::string GetString(int index) const override {
        return index >= 0 && index < GetCount() ? FromQt(combo_.Box()->itemText(index))
                                                : std::string();
    }
    void Add(const std::string& text) override {
        QComboBox* box = combo_.Box();
        const QSignalBlocker quiet(box);
        const QString typed = box->currentText();
        box->addItem(ToQt(text));
        if (box->isEditable()) box->setEditText(typed); // the first item must not replace it
    }
    void Delete(int index) override {
        if (index < 0 || index >= GetCount()) return;
        QComboBox* box = combo_.Box();
        const QSignalBlocker quiet(box);
        const QString typed = box->currentText();
        box->removeItem(index);
        if (box->isEditable()) box->setEditText(typed);
    }
    void Clear() override {
        QComboBox* box = combo_.Box();
        const QSignalBlocker quiet(box);
        const QString typed = box->currentText();
        box->clear();
        if (box->isEditable()) box->setEditText(typed);
    }

  private:
    TComboBox& combo_;
};

TComboBox::TComboBox(TComponent* owner)
    : TControl(owner, detail::NewWidget<QComboBox>()), items_(std::make_unique<TItems>(*this)) {
    QObject::connect(Box(), &QComboBox::activated, Context(), [this] { Fire(OnChange, this); });
    SetStyle(csDropDown);
}

TComboBox::~TComboBox() = default;

TStrings& TComboBox::GetItems() {
    return *items_;
}

QComboBox* TComboBox::Box() const {
    return static_cast<QComboBox*>(GetHandle());
}

void TComboBox::SetStyle(TComboBoxStyle style) {
    style_ = style;
    QComboBox* box = Box();
    if (box->isEditable() == (style == csDropDown)) return;
    const QSignalBlocker quiet(box);
    const QString text = box->currentText();
    box->setEditable(style == csDropDown);
    if (!box->isEditable()) return;
    // Typed text stays as typed: no completion, nothing added to the items.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setEditText(text);
    QObject::connect(box->lineEdit(), &QLineEdit::textEdited, Context(),
                     [this] { Fire(OnChange, this); });
}

std::string TComboBox::GetTextValue() const {
    return FromQt(Box()->currentText());
}

void TComboBox::SetTextValue(const std::string& text) {
    QComboBox* box = Box();
    const QString before = box->currentText();
    {
        const QSignalBlocker quiet(box);
        if (box->isEditable()) {
            const int index =
                box->findText(ToQt(text), Qt::MatchFixedString | Qt::MatchCaseSensitive);
            if (index >= 0) box->setCurrentIndex(index);
            box->setEditText(ToQt(text));
        } else {
            box->setCurrentIndex(items_->IndexOf(text));
        }
    }
    if (box->currentText() != before) Fire(OnChange, this);
}

int TComboBox::GetItemIndex() const {
    QComboBox* box = Box();
    const int index = box->currentIndex();
    if (index < 0) return -1;
    if (box->isEditable() && box->currentText() != box->itemText(index)) return -1;
    return index;
}

void TComboBox::SetItemIndex(int index) {
    QComboBox* box = Box();
    const QSignalBlocker quiet(box);
    if (index < 0 || index >= box->count()) {
        box->setCurrentIndex(-1);
        if (box->isEditable()) box->setEditText(QString());
        return;
    }
    box->setCurrentIndex(index);
    if (box->isEditable()) box->setEditText(box->itemText(index));
}

void TComboBox::Describe(const TComponentDesc& desc, std::vector<std::string>& problems) {
    SetStyle(desc.Style == csDropDownList ? csDropDownList : csDropDown);
    for (const std::string& item : detail::ItemsOf(desc.Items))
        items_->Add(item);
    TControl::Describe(desc, problems);
}

TEventSlot TComboBox::FindEvent(std::string_view name) {
    if (name == "OnChange") return TEventSlot::Of(OnChange);
    return TControl::FindEvent(name);
}

// ---- TDriveComboBox

TDriveComboBox::TDriveComboBox(TComponent* owner)
    : TControl(owner, detail::NewWidget<QComboBox>()), letters_(os::driveLetters()) {
    QComboBox* box = Box();
    for (const char letter : letters_) {
        std::string root = os::driveRoot(letter);
        const std::string shown = std::string(1, char(std::tolower(letter))) + ": [" + root + "]";
        box->addItem(QString::fromStdString(shown));
    }
    // The drive of the current folder, as the program starts there.
    std::error_code ec;
    const std::string here = os::windowsPath(std::filesystem::current_path(ec).string());
    const char current = here.size() > 1 && here[1] == ':' ? char(std::toupper(here[0])) : 'C';
    const std::size_t at = letters_.find(current);
    box->setCurrentIndex(at == std::string::npos ? (letters_.empty() ? -1 : 0) : int(at));
    QObject::connect(box, &QComboBox::activated, Context(), [this] { Fire(OnChange, this); });
}

QComboBox* TDriveComboBox::Box() const {
    return static_cast<QComboBox*>(GetHandle());
}

char TDriveComboBox::GetDrive() const {
    const int index = Box()->currentIndex();
    return index >= 0 && index < int(letters_.size()) ? letters_[std::size_t(index)] : '\0';
}

void TDriveComboBox::SetDrive(char letter) {
    const std::size_t at = letters_.find(char(std::toupper(static_cast<unsigned char>(letter))));
    if (at == std::string::npos) return;
    const QSignalBlocker quiet(Box());
    Box()->setCurrentIndex(int(at));
}

TEventSlot TDriveComboBox::FindEvent(std::string_view name) {
    if (name == "OnChange") return TEventSlot::Of(OnChange);
    return TControl::FindEvent(name);
}

} // namespace ui::forms
