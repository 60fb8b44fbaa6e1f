#include "ui/forms/Form.h"

#include "ui/Text.h"
#include "ui/forms/Application.h"
#include "ui/forms/FormTask.h"
#include "ui/forms/Menus.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QEventLoop>
#include <QWidget>

namespace ui::forms {

namespace detail {

extern int paintDepth; // Control.cpp

void Publish(TForm& form, TPublishedField field) {
    form.fields_.push_back(field);
}

void Publish(TForm& form, TPublishedMethod method) {
    form.methods_.push_back(std::move(method));
}

} // namespace detail

namespace {

std::string describeProblems(const std::string& form, const std::vector<std::string>& problems) {
    std::string text = "form " + form + ": " + std::to_string(problems.size()) +
                       (problems.size() == 1 ? " problem" : " problems");
    for (const std::string& p : problems)
        text += "\n  " + p;
    return text;
}

QWidget* newFormWidget() {
    QWidget* w = detail::NewWidget<QWidget>(nullptr, Qt::Window);
    w->setFont(detail::FormFont());
    return w;
}

} // namespace

TFormError::TFormError(const std::string& form, std::vector<std::string> problems)
    : std::runtime_error(describeProblems(form, problems)), problems_(std::move(problems)) {}

TForm::TForm(TComponent* owner, const TFormDesc& desc)
    : TControl(owner, newFormWidget()), desc_(desc) {
    WatchEvents(GetHandle());
}

TForm::~TForm() {
    *alive_ = false;
    DestroyComponents();
}

void TForm::SetCaption(const std::string& caption) {
    caption_ = caption;
    GetHandle()->setWindowTitle(ToQt(caption));
}

void TForm::Load() {
    TApplication::AcceptQueuedCalls(); // a program (or test) making forms again
    std::vector<std::string> problems;
    SetName(desc_.Name ? desc_.Name : "");
    if (desc_.Caption) SetCaption(FromQt(ToQt(desc_.Caption)));

    // Every component first, so parents may stand anywhere in the table.
    std::vector<std::pair<const TComponentDesc*, TComponent*>> made;
    for (const TComponentDesc& d : desc_.Components) {
        const std::string name = d.Name ? d.Name : "";
        if (name.empty()) {
            problems.push_back("an entry has no name");
            continue;
        }
        if (!d.Maker) {
            problems.push_back(name + " has no maker");
            continue;
        }
        if (FindComponent(name) || detail::SameName(name, GetName())) {
            problems.push_back(name + " is named twice");
            continue;
        }
        TComponent* c = d.Maker(this);
        c->SetName(name);
        made.emplace_back(&d, c);
    }
    for (auto [d, c] : made) {
        const std::string parent = d->Parent ? d->Parent : "";
        if (parent.empty()) {
            c->PlaceIn(this, false, problems);
        } else if (TComponent* p = FindComponent(parent)) {
            c->PlaceIn(p, true, problems);
        } else {
            problems.push_back(c->GetName() + ": its parent " + parent +
                               " is not in the description");
        }
        c->Describe(*d, problems);
    }
    for (auto [d, c] : made)
        BindEvents(*c, d->Events, problems);
    BindEvents(*this, desc_.Events, problems);

    for (const detail::TPublishedField& f : fields_) {
        TComponent* c = FindComponent(f.Name);
        if (!c)
            problems.push_back(std::string("field ") + f.Name +
                               ": the description has no component " + f.Name);
        else if (!f.Assign(f.Field, c))
            problems.push_back(std::string("field ") + f.Name + " is " + f.TypeName + "*, but " +
                               f.Name + " is a " + c->ClassName());
    }
    if (!problems.empty()) throw TFormError(GetName(), std::move(problems));

    // The form's size: its description's, else around its components.
    QWidget* w = GetHandle();
    QSize size(desc_.Bounds.Width, desc_.Bounds.Height);
    if (size.width() <= 0 || size.height() <= 0) {
        const QRect around = w->childrenRect();
        if (size.width() <= 0) size.setWidth(std::max(around.right() + 9, 120));
        if (size.height() <= 0) size.setHeight(std::max(around.bottom() + 9, 60));
    }
    w->move(desc_.Bounds.Left, desc_.Bounds.Top);
    w->resize(size);
    Fire(OnCreate, this);
}

void TForm::BindEvents(TComponent& component, std::span<const char* const> events,
                       std::vector<std::string>& problems) {
    for (const char* entry : events) {
        if (!entry) continue;
        const std::string_view text(entry);
        const std::string who = component.GetName().empty() ? "the form" : component.GetName();
        const std::size_t eq = text.find('=');
        if (eq == std::string_view::npos || eq == 0 || eq + 1 == text.size()) {
            problems.push_back(who + ": \"" + std::string(text) + "\" is not written Event=Method");
            continue;
        }
        const std::string event(text.substr(0, eq)), method(text.substr(eq + 1));
        const TEventSlot slot = component.FindEvent(event);
        if (!slot) {
            problems.push_back(who + " (" + component.ClassName() + ") has no event " + event);
            continue;
        }
        const detail::TPublishedMethod* found = nullptr;
        for (const detail::TPublishedMethod& m : methods_)
            if (method == m.Name) found = &m;
        if (!found) {
            problems.push_back(who + ": " + std::string(text) +
                               " names no method the form publishes");
        } else if (*found->Type != *slot.Type) {
            problems.push_back(who + ": " + std::string(text) +
                               " has the wrong signature: " + method + EventTypeName(*found->Type) +
                               ", but " + event + " takes " + EventTypeName(*slot.Type));
        } else {
            found->AssignTo(slot.Slot);
        }
    }
}

TEventSlot TForm::FindEvent(std::string_view name) {
    if (name == "OnCreate") return TEventSlot::Of(OnCreate);
    if (name == "OnShow") return TEventSlot::Of(OnShow);
    if (name == "OnActivate") return TEventSlot::Of(OnActivate);
    if (name == "OnPaint") return TEventSlot::Of(OnPaint);
    if (name == "OnClose") return TEventSlot::Of(OnClose);
    if (name == "OnCloseQuery") return TEventSlot::Of(OnCloseQuery);
    return TControl::FindEvent(name);
}

void TForm::SetVisible(bool visible) {
    if (visible)
        Show();
    else
        Hide();
}

void TForm::Show() {
    QWidget* w = GetHandle();
    if (shown_) {
        w->raise(); // shown already: to the front
    } else {
        shown_ = true;
        const std::weak_ptr<bool> alive = alive_;
        Fire(OnShow, this);
        if (alive.expired() || !shown_) return; // closed or hidden by its own OnShow
        w->show();
    }
    w->activateWindow();
}

void TForm::Hide() {
    shown_ = false;
    GetHandle()->hide();
}

bool TForm::CloseQuery() {
    bool canClose = true;
    Fire(OnCloseQuery, this, canClose);
    return canClose;
}

void TForm::Close() {
    const detail::TEventScope scope; // a handler's Free waits until the close is done
    if (modal_) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    Fire(OnClose, this, action);
    if (action == caNone) return;
    Hide();
    if (Application().GetMainForm() == this) Application().MainFormClosed();
}

void TForm::SetModalResult(TModalResult result) {
    modalResult_ = result;
    if (!modal_ || modalEnded_ || result == mrNone) return;
    detail::AfterEvents([this, alive = std::weak_ptr<bool>(alive_)] {
        if (const auto a = alive.lock(); a && *a) EndModalWhenAsked();
    });
}

void TForm::EndModalWhenAsked() {
    if (!modal_ || modalEnded_ || modalResult_ == mrNone) return;
    TCloseAction action = CloseQuery() ? caHide : caNone;
    if (action != caNone) Fire(OnClose, this, action);
    if (action == caNone) {
        modalResult_ = mrNone;
        return;
    }
    EndModal();
}

void TForm::EndModal() {
    Hide();
    modalEnded_ = true;
    if (modalLoop_) modalLoop_->exit(0);
}

TModalResult TForm::ShowModal() {
    if (shown_ || modal_) throw std::logic_error("form " + GetName() + " is shown already");
    TFormTask task(*this);
    return ui::RunModal(task);
}

bool TForm::WidgetEvent(QObject* watched, QEvent* event) {
    if (watched != GetHandle()) return false;
    switch (event->type()) {
    case QEvent::Close:
        // The window system's close goes the form's way: it may be refused.
        event->ignore();
        Close();
        return true;
    case QEvent::Paint: {
        ++detail::paintDepth;
        struct Leave {
            ~Leave() { --detail::paintDepth; }
        } leave;
        Fire(OnPaint, this);
        return false;
    }
    case QEvent::WindowActivate:
        Fire(OnActivate, this);
        return false;
    case QEvent::ContextMenu:
        if (popupMenu_ && popupMenu_->HasVisibleItems()) {
            popupMenu_->Popup(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
        return false;
    default:
        return false;
    }
}

std::string TFormTask::GetCaption() const {
    return ToQt(form_.GetCaption()).toStdString();
}

void TFormTask::Begin() {
    form_.modal_ = true;
    form_.modalEnded_ = false;
    form_.modalResult_ = mrNone;
    form_.GetHandle()->setWindowModality(Qt::ApplicationModal);
    form_.Show();
}

TModalResult TFormTask::End(TModalResult result) {
    if (!form_.modalEnded_) {
        form_.modalResult_ = result;
        form_.EndModal();
    }
    form_.modal_ = false;
    form_.GetHandle()->setWindowModality(Qt::NonModal);
    return form_.modalResult_;
}

int TFormTask::RunInteractive() {
    Begin();
    if (!form_.modalEnded_) {
        QEventLoop loop;
        form_.modalLoop_ = &loop;
        ui::detail::PushModalLoop(
            &form_, [](void* form) { static_cast<TForm*>(form)->SetModalResult(mrCancel); });
        loop.exec(QEventLoop::DialogExec);
        ui::detail::PopModalLoop(&form_);
        form_.modalLoop_ = nullptr;
    }
    // The quit message may end the loop with the form still open.
    return End(mrCancel);
}

int TFormTask::RunUnattended() {
    Begin();
    if (!form_.modalEnded_) form_.SetModalResult(mrCancel);
    return End(mrCancel);
}

} // namespace ui::forms
