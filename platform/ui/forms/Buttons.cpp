#include "ui/forms/Buttons.h"

#include "ui/Text.h"
#include "ui/forms/Description.h"

#include <QCheckBox>
#include <QIcon>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace ui::forms {

namespace {

// A radio button that a click only checks; the layer keeps the groups.
class TRadioWidget : public QRadioButton {
  public:
    TRadioWidget() { setAutoExclusive(false); }

  protected:
    void nextCheckState() override {
        if (!isChecked()) setChecked(true);
    }
};

template <class W> W* widgetOf(const TControl& c) {
    return static_cast<W*>(c.GetHandle());
}

} // namespace

TButton::TButton(TComponent* owner) : TControl(owner, detail::NewWidget<QPushButton>()) {
    QObject::connect(widgetOf<QPushButton>(*this), &QPushButton::clicked, Context(),
                     [this] { Fire(OnClick, this); });
}

void TButton::SetTextValue(const std::string& text) {
    caption_ = text;
    widgetOf<QPushButton>(*this)->setText(ToQt(text));
}

TEventSlot TButton::FindEvent(std::string_view name) {
    if (name == "OnClick") return TEventSlot::Of(OnClick);
    return TControl::FindEvent(name);
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::SetGlyph(const TBitmap& glyph) {
    glyph_ = glyph;
    auto* button = widgetOf<QPushButton>(*this);
    button->setIcon(glyph.Empty() ? QIcon() : QIcon(glyph.Pixmap()));
    if (!glyph.Empty()) button->setIconSize(glyph.Pixmap().size());
}

void TBitBtn::Describe(const TComponentDesc& desc, std::vector<std::string>& problems) {
    if (desc.Picture) {
        const TBitmap glyph(desc.Picture);
        if (glyph.Empty())
            problems.push_back(GetName() + ": the picture " + desc.Picture + " cannot be loaded");
        SetGlyph(glyph);
    }
    TButton::Describe(desc, problems);
}

TCheckBox::TCheckBox(TComponent* owner) : TControl(owner, detail::NewWidget<QCheckBox>()) {
    QObject::connect(widgetOf<QCheckBox>(*this), &QCheckBox::clicked, Context(),
                     [this] { Fire(OnClick, this); });
}

void TCheckBox::SetTextValue(const std::string& text) {
    caption_ = text;
    widgetOf<QCheckBox>(*this)->setText(ToQt(text));
}

bool TCheckBox::GetChecked() const {
    return widgetOf<QCheckBox>(*this)->isChecked();
}

void TCheckBox::SetChecked(bool checked) {
    auto* box = widgetOf<QCheckBox>(*this);
    if (box->isChecked() == checked) return;
    {
        const QSignalBlocker quiet(box);
        box->setChecked(checked);
    }
    Fire(OnClick, this);
}

TEventSlot TCheckBox::FindEvent(std::string_view name) {
    if (name == "OnClick") return TEventSlot::Of(OnClick);
    return TControl::FindEvent(name);
}

TRadioButton::TRadioButton(TComponent* owner) : TControl(owner, detail::NewWidget<TRadioWidget>()) {
    auto* radio = widgetOf<QRadioButton>(*this);
    // A user's click checks an unchecked button (toggled), then reports the
    // click (clicked); the program's changes come with signals blocked.
    QObject::connect(radio, &QRadioButton::toggled, Context(), [this](bool on) {
        if (!on) return;
        UncheckSiblings();
        clickChecked_ = true;
    });
    QObject::connect(radio, &QRadioButton::clicked, Context(), [this] {
        if (!clickChecked_) return;
        clickChecked_ = false;
        Fire(OnClick, this);
    });
}

void TRadioButton::SetTextValue(const std::string& text) {
    caption_ = text;
    widgetOf<QRadioButton>(*this)->setText(ToQt(text));
}

bool TRadioButton::GetChecked() const {
    return widgetOf<QRadioButton>(*this)->isChecked();
}

void TRadioButton::SetChecked(bool checked) {
    auto* radio = widgetOf<QRadioButton>(*this);
    if (radio->isChecked() == checked) return;
    {
        const QSignalBlocker quiet(radio);
        radio->setChecked(checked);
    }
    if (!checked) return;
    UncheckSiblings();
    Fire(OnClick, this);
}

void TRadioButton::UncheckSiblings() {
    if (!GetParent()) return;
    for (TControl* c : GetParent()->Controls()) {
        auto* other = dynamic_cast<TRadioButton*>(c);
        if (!other || other == this) continue;
        auto* radio = widgetOf<QRadioButton>(*other);
        const QSignalBlocker quiet(radio);
        radio->setChecked(false);
    }
}

TEventSlot TRadioButton::FindEvent(std::string_view name) {
    if (name == "OnClick") return TEventSlot::Of(OnClick);
    return TControl::FindEvent(name);
}

} // namespace ui::forms
