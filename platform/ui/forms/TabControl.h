// The tab control: a row of tabs along the top of an area that holds
// controls. The tabs do not switch pages: the program shows what belongs to
// the tab chosen (OnChange).
//
// - When the user chooses another tab, OnChanging runs while the old tab is
//   still current (TabIndex and its caption are the old ones); AllowChange
//   false keeps it and OnChange does not fire. Otherwise the new tab becomes
//   current and OnChange fires.
// - Setting TabIndex or changing Tabs fires nothing. Adding the first tab
//   makes it current; clearing the tabs leaves TabIndex -1.
#pragma once

#include "ui/forms/Control.h"
#include "ui/forms/Strings.h"

#include <memory>

class QTabBar;

namespace ui::forms {

class TTabControl : public TControl {
  public:
    explicit TTabControl(TComponent* owner);
    ~TTabControl() override;
    const char* ClassName() const override { return "TTabControl"; }

    TStrings& GetTabs();
    int GetTabIndex() const;
    void SetTabIndex(int index);

    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

    TEventSlot FindEvent(std::string_view name) override;

    // The row of tabs.
    QTabBar* GetTabBar() const { return bar_; }

  protected:
    QWidget* ClientArea() const override { return GetHandle(); }
    bool WidgetEvent(QObject* watched, QEvent* event) override;
    void Describe(const TComponentDesc& desc, std::vector<std::string>& problems) override;

  private:
    class TTabs;
    void UserChose(int index);
    void Layout();
    QTabBar* bar_;
    int current_ = -1; // the tab current before the user's choice
    std::unique_ptr<TTabs> tabs_;
};

} // namespace ui::forms
