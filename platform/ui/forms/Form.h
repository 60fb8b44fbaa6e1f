// Forms: top-level windows built from a description (Description.h), with
// fields and handlers bound by name (Published.h).
//
// - CreateForm<T>(owner) makes the form, builds its components, binds every
//   event and field, and runs OnCreate. A description with problems (an
//   unknown method, a handler of the wrong signature, a field of the wrong
//   class, a field or parent without its component, ...) throws one
//   TFormError listing all of them, and no form is left.
// - Show fires OnShow before the window appears (a form that closes or hides
//   itself in OnShow never appears); OnActivate fires when the window system
//   activates the window (not on a return from a modal form, nor without a
//   window manager).
// - Close asks OnCloseQuery (which may refuse), then OnClose (whose Action
//   caNone keeps the form), then hides the form; closing the application's
//   main form ends Application().Run(). The window system's close does the
//   same.
// - ShowModal shows the form through the window layer's modal runner and
//   returns its ModalResult. Setting a non-zero ModalResult (Close sets
//   mrCancel) closes a modal form as Close does, once the running events have
//   returned; a refusal sets it back to mrNone and the form stays.
// - A form's Width and Height are its client size; its Left and Top are on
//   the screen.
#pragma once

#include "ui/forms/Control.h"
#include "ui/forms/Description.h"
#include "ui/forms/Published.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class QEventLoop;

namespace ui::forms {

class TPopupMenu;
class TFormTask;

using TModalResult = int;
inline constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2;

// Every problem of a form description, one text each.
class TFormError : public std::runtime_error {
  public:
    TFormError(const std::string& form, std::vector<std::string> problems);
    const std::vector<std::string>& Problems() const { return problems_; }

  private:
    std::vector<std::string> problems_;
};

class TForm : public TControl {
  public:
    // A form built from `desc` by CreateForm (its table must outlive the form).
    explicit TForm(TComponent* owner, const TFormDesc& desc = TFormDesc{});
    ~TForm() override;
    const char* ClassName() const override { return "TForm"; }

    std::string GetCaption() const { return caption_; }
    void SetCaption(const std::string& caption);
    int GetClientWidth() const { return GetWidth(); }
    void SetClientWidth(int width) { SetWidth(width); }

    bool GetVisible() const override { return shown_; }
    void SetVisible(bool visible) override;
    void Show();
    void Hide();
    // Runs the form modally; answers its ModalResult. A form already shown
    // cannot be made modal (std::logic_error).
    TModalResult ShowModal();
    void Close();
    // Asks OnCloseQuery whether the form may close.
    bool CloseQuery();

    TModalResult GetModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result);

    // The menu a right click on the form shows; null for none.
    TPopupMenu* GetPopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }

    TNotifyEvent OnCreate, OnShow, OnActivate, OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    TEventSlot FindEvent(std::string_view name) override;

  protected:
    QWidget* ClientArea() const override { return GetHandle(); }
    std::string GetTextValue() const override { return caption_; }
    void SetTextValue(const std::string& text) override { SetCaption(text); }
    bool WidgetEvent(QObject* watched, QEvent* event) override;
    void ApplyVisible() override {}

  private:
    template <class T, class... A> friend T* CreateForm(TComponent* owner, A&&... args);
    friend class TFormTask;
    friend void detail::Publish(TForm&, detail::TPublishedField);
    friend void detail::Publish(TForm&, detail::TPublishedMethod);

    // Builds the components from the description, binds, runs OnCreate.
    void Load();
    void BindEvents(TComponent& component, std::span<const char* const> events,
                    std::vector<std::string>& problems);
    void EndModalWhenAsked();
    void EndModal();

    TFormDesc desc_;
    std::vector<detail::TPublishedField> fields_;
    std::vector<detail::TPublishedMethod> methods_;
    std::string caption_;
    TPopupMenu* popupMenu_ = nullptr;
    TModalResult modalResult_ = mrNone;
    bool shown_ = false, modal_ = false, modalEnded_ = false;
    QEventLoop* modalLoop_ = nullptr;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// Makes a form of class T (constructed with owner and args), builds it from
// its description and runs OnCreate. Throws TFormError for a bad
// description. The owner deletes the form; with none the caller does.
template <class T, class... A> T* CreateForm(TComponent* owner, A&&... args) {
    std::unique_ptr<T> form(new T(owner, std::forward<A>(args)...));
    form->Load();
    return form.release();
}

} // namespace ui::forms
