#include "ui/forms/TabControl.h"

#include "ui/Text.h"
#include "ui/forms/Description.h"

#include <QEvent>
#include <QFrame>
#include <QSignalBlocker>
#include <QTabBar>

namespace ui::forms {

class TTabControl::TTabs : public TStrings {
  public:
    explicit TTabs(TTabControl& control) : control_(control) {}
    int GetCount() const override { return control_.bar_->count(); }
    std::string GetString(int index) const override {
        return index >= 0 && index < GetCount() ? FromQt(control_.bar_->tabText(index))
                                                : std::string();
    }
    void Add(const std::string& text) override {
        const QSignalBlocker quiet(control_.bar_);
        control_.bar_->addTab(ToQt(text));
        control_.current_ = control_.bar_->currentIndex();
    }
    void Delete(int index) override {
        if (index < 0 || index >= GetCount()) return;
        const QSignalBlocker quiet(control_.bar_);
        control_.bar_->removeTab(index);
        control_.current_ = control_.bar_->currentIndex();
    }
    void Clear() override {
        const QSignalBlocker quiet(control_.bar_);
        while (control_.bar_->count() > 0)
            control_.bar_->removeTab(control_.bar_->count() - 1);
        control_.current_ = -1;
    }

  private:
    TTabControl& control_;
};

TTabControl::TTabControl(TComponent* owner)
    : TControl(owner, detail::NewWidget<QFrame>()), tabs_(std::make_unique<TTabs>(*this)) {
    auto* area = static_cast<QFrame*>(GetHandle());
    area->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    bar_ = new QTabBar(area);
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    WatchEvents(area);
    QObject::connect(bar_, &QTabBar::currentChanged, Context(),
                     [this](int index) { UserChose(index); });
    Layout();
}

TTabControl::~TTabControl() = default;

TStrings& TTabControl::GetTabs() {
    return *tabs_;
}

int TTabControl::GetTabIndex() const {
    return bar_->currentIndex();
}

void TTabControl::SetTabIndex(int index) {
    if (index < 0 || index >= bar_->count()) return;
    const QSignalBlocker quiet(bar_);
    bar_->setCurrentIndex(index);
    current_ = index;
}

void TTabControl::UserChose(int index) {
    const int old = current_;
    if (index == old) return;
    const detail::TEventScope scope; // a handler's Free waits until the choice is done
    if (old >= 0 && old < bar_->count()) {
        // The old tab is current while OnChanging is asked.
        const QSignalBlocker quiet(bar_);
        bar_->setCurrentIndex(old);
        bool allowChange = true;
        Fire(OnChanging, this, allowChange);
        if (!allowChange) return;
    }
    // OnChanging may have rebuilt the tabs.
    if (index < 0 || index >= bar_->count()) return;
    {
        const QSignalBlocker quiet(bar_);
        bar_->setCurrentIndex(index);
    }
    current_ = index;
    Fire(OnChange, this);
}

void TTabControl::Layout() {
    bar_->setGeometry(0, 0, GetHandle()->width(), bar_->sizeHint().height());
}

bool TTabControl::WidgetEvent(QObject* watched, QEvent* event) {
    if (watched == GetHandle() && event->type() == QEvent::Resize) Layout();
    return false;
}

void TTabControl::Describe(const TComponentDesc& desc, std::vector<std::string>& problems) {
    for (const std::string& tab : detail::ItemsOf(desc.Items))
        tabs_->Add(tab);
    TControl::Describe(desc, problems);
    Layout();
}

TEventSlot TTabControl::FindEvent(std::string_view name) {
    if (name == "OnChanging") return TEventSlot::Of(OnChanging);
    if (name == "OnChange") return TEventSlot::Of(OnChange);
    return TControl::FindEvent(name);
}

} // namespace ui::forms
