#include "ui/forms/Menus.h"

#include "ui/Text.h"
#include "ui/forms/Control.h"
#include "ui/forms/Description.h"

#include <QAction>
#include <QMenu>

namespace ui::forms {

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), menu_(detail::NewWidget<QMenu>()) {
    menu_->setFont(detail::FormFont());
}

TPopupMenu::~TPopupMenu() {
    DestroyComponents();
    for (TMenuItem* item : items_)
        item->menu_ = nullptr;
    if (FreedInEvent()) detail::DeleteSoon(menu_.release());
}

void TPopupMenu::Popup(int x, int y) {
    menu_->popup(QPoint(x, y));
}

bool TPopupMenu::HasVisibleItems() const {
    for (const TMenuItem* item : items_)
        if (item->GetVisible()) return true;
    return false;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {
    detail::EnsureQt();
    action_ = std::make_unique<QAction>();
    QObject::connect(action_.get(), &QAction::triggered, [this] { Fire(OnClick, this); });
}

TMenuItem::~TMenuItem() {
    if (menu_) {
        menu_->menu_->removeAction(action_.get());
        std::erase(menu_->items_, this);
    }
    // Qt may still be inside the action's signal.
    if (FreedInEvent()) {
        action_->disconnect();
        detail::DeleteSoon(action_.release());
    }
}

void TMenuItem::SetCaption(const std::string& caption) {
    caption_ = caption;
    action_->setText(ToQt(caption));
}

bool TMenuItem::GetVisible() const {
    return action_->isVisible();
}

void TMenuItem::SetVisible(bool visible) {
    action_->setVisible(visible);
}

TEventSlot TMenuItem::FindEvent(std::string_view name) {
    if (name == "OnClick") return TEventSlot::Of(OnClick);
    return TComponent::FindEvent(name);
}

void TMenuItem::PlaceIn(TComponent* parent, bool named, std::vector<std::string>& problems) {
    auto* menu = named ? dynamic_cast<TPopupMenu*>(parent) : nullptr;
    if (!menu) {
        problems.push_back(GetName() + " (TMenuItem) must be placed on a popup menu");
        return;
    }
    menu_ = menu;
    menu->items_.push_back(this);
    menu->menu_->addAction(action_.get());
}

void TMenuItem::Describe(const TComponentDesc& desc, std::vector<std::string>&) {
    if (desc.Caption) SetCaption(FromQt(ToQt(desc.Caption)));
    SetVisible(desc.Visible);
    action_->setEnabled(desc.Enabled);
}

} // namespace ui::forms
