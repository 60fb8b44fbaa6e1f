// Visual components: a component with a Qt widget, a place on its parent,
// bounds, a hint, and the enabled and visible states.
//
// - A control shows only on a parent: a form, panel, group box or tab control
//   (SetParent, or the description's parent). Its bounds are pixels in the
//   parent's client area; a tab control's client area is the whole control,
//   its tab bar along the top.
// - Visible is the control's own state: a visible control on a hidden parent
//   stays Visible and shows with it.
// - Texts are Windows-1252 bytes; "\r", "\n" and "\r\n" break lines where a
//   control shows lines. Each class publishes its text as Caption or as Text.
// - Deleting a control deletes the controls still on it.
#pragma once

#include "ui/forms/Component.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class QEvent;

namespace ui::forms {

class TControl : public TComponent {
  public:
    ~TControl() override;

    TControl* GetParent() const { return parent_; }
    // The controls on this one, in the order placed.
    const std::vector<TControl*>& Controls() const { return children_; }
    // Places the control on `parent`, which must hold controls (a form, panel,
    // group box or tab control; std::invalid_argument otherwise); null takes
    // it off. It keeps its bounds and goes on top of its new siblings.
    void SetParent(TControl* parent);

    std::string GetHint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool GetEnabled() const;
    void SetEnabled(bool enabled);
    virtual bool GetVisible() const { return visible_; }
    virtual void SetVisible(bool visible);

    int GetLeft() const;
    void SetLeft(int left);
    int GetTop() const;
    void SetTop(int top);
    int GetWidth() const;
    void SetWidth(int width);
    int GetHeight() const;
    void SetHeight(int height);
    void SetBounds(int left, int top, int width, int height);

    // Gives the control the keyboard focus (when it and its form are shown).
    void SetFocus();
    // Whether the control, or a part of it, is its form's focus control (the
    // one that has the keyboard focus while the form is active).
    bool Focused() const;
    // Paints the control again now (asks for a paint when a paint is going on).
    void Repaint();

    // The control's widget.
    QWidget* GetHandle() const { return widget_; }

  protected:
    // The control takes `widget`, which must have no parent.
    TControl(TComponent* owner, QWidget* widget);

    // The widget children go into; null for a control that holds none.
    virtual QWidget* ClientArea() const { return nullptr; }
    // Caption or Text, as each class publishes it.
    virtual std::string GetTextValue() const { return {}; }
    virtual void SetTextValue(const std::string&) {}
    // The control's widget events (those it watches), before the widget sees
    // them; true swallows the event.
    virtual bool WidgetEvent(QObject* watched, QEvent* event);
    // Sends the events of `object` (the widget or a part of it) to WidgetEvent.
    void WatchEvents(QObject* object);
    // The context of the control's signal connections: they end with it.
    QObject* Context() const { return context_.get(); }
    // Shows or hides the widget: shown when visible and on a parent.
    virtual void ApplyVisible();
    // The program has set the width, height or bounds.
    virtual void BoundsSet() {}
    // The control has been placed on a new parent (or taken off).
    virtual void ParentSet() {}

    void Withdraw() override;
    void PlaceIn(TComponent* parent, bool named, std::vector<std::string>& problems) override;
    void Describe(const TComponentDesc& desc, std::vector<std::string>& problems) override;

  private:
    class TWatcher;
    void WithdrawTree();
    std::unique_ptr<QObject> context_;
    QPointer<QWidget> widget_;
    TControl* parent_ = nullptr;
    std::vector<TControl*> children_;
    std::string hint_;
    bool visible_ = true;
};

namespace detail {
// Makes the Qt application when there is none yet.
void EnsureQt();
// A new widget of a control, once the Qt application exists.
template <class W, class... A> W* NewWidget(A&&... args) {
    EnsureQt();
    return new W(std::forward<A>(args)...);
}
// A description's items split at "\n" (a last "\n" ends the last item), as
// Windows-1252 texts; none for null or "".
std::vector<std::string> ItemsOf(const char8_t* items);
// Deletes a Qt object at the next turn of the loop (Qt may still be inside
// one of its signals now); nothing when it has gone before.
void DeleteSoon(QObject* object);
// Whether a paint of any form widget is going on.
bool InPaint();
// The font of forms ("MS Sans Serif", 8 points).
QFont FormFont();
} // namespace detail

} // namespace ui::forms
