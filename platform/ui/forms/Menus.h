// Context menus: a TPopupMenu holds TMenuItem components (in a description,
// each item names the menu as its parent). A form or panel whose PopupMenu is
// set shows it on a right click, when at least one item is visible; one
// without passes the click to its parent.
#pragma once

#include "ui/forms/Component.h"

#include <QPoint>

#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;

namespace ui::forms {

class TMenuItem;

class TPopupMenu : public TComponent {
  public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;
    const char* ClassName() const override { return "TPopupMenu"; }

    // Shows the menu at a point of the screen, without waiting.
    void Popup(int x, int y);
    void Popup(QPoint global) { Popup(global.x(), global.y()); }
    bool HasVisibleItems() const;

    // The menu's widget.
    QMenu* GetHandle() const { return menu_.get(); }

  private:
    friend class TMenuItem;
    std::unique_ptr<QMenu> menu_;
    std::vector<TMenuItem*> items_;
};

class TMenuItem : public TComponent {
  public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;
    const char* ClassName() const override { return "TMenuItem"; }

    std::string GetCaption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool GetVisible() const;
    void SetVisible(bool visible);

    TNotifyEvent OnClick;

    // The item's action in its menu.
    QAction* GetHandle() const { return action_.get(); }

    TEventSlot FindEvent(std::string_view name) override;

  protected:
    void PlaceIn(TComponent* parent, bool named, std::vector<std::string>& problems) override;
    void Describe(const TComponentDesc& desc, std::vector<std::string>& problems) override;

  private:
    friend class TPopupMenu;
    std::unique_ptr<QAction> action_;
    TPopupMenu* menu_ = nullptr;
    std::string caption_;
};

} // namespace ui::forms
