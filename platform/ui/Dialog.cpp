#include "ui/Dialog.h"

#include "ui/DialogItems.h"
#include "ui/DialogTask.h"
#include "ui/Items.h"
#include "ui/Text.h"
#include "ui/WindowPrivate.h"

#include <QComboBox>
#include <QDialog>
#include <QEventLoop>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cstdio>
#include <map>

namespace ui {

namespace {

// The widget of a dialog: Escape and the title bar's close become IDCANCEL.
class DialogWidget : public QDialog {
  public:
    DialogWidget(QWidget* parent, Qt::WindowFlags flags, TDialog* dialog)
        : QDialog(parent, flags), dialog_(dialog) {}
    void reject() override {
        if (dialog_ && dialog_->IsWindow())
            dialog_->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    void accept() override {}

  private:
    TDialog* dialog_;
};

std::string Utf8(const QString& s) {
    return s.toStdString();
}

} // namespace

// ---------------------------------------------------------------------------
// Up-down control

UpDownWidget::UpDownWidget(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* up = new QToolButton(this);
    auto* down = new QToolButton(this);
    up->setArrowType(Qt::UpArrow);
    down->setArrowType(Qt::DownArrow);
    up->setAutoRepeat(true);
    down->setAutoRepeat(true);
    for (QToolButton* b : {up, down}) {
        b->setFixedSize(16, 11);
        b->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(b);
    }
    connect(up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void UpDownWidget::SetRange(int lo, int hi) {
    lo_ = lo;
    hi_ = hi;
    pos_ = std::clamp(pos_, std::min(lo, hi), std::max(lo, hi));
}

int UpDownWidget::Pos() const {
    if (buddy_) {
        bool ok = false;
        const int v = QString::fromStdString(ItemText(buddy_)).trimmed().toInt(&ok);
        if (ok && v >= std::min(lo_, hi_) && v <= std::max(lo_, hi_)) return v;
    }
    return pos_;
}

void UpDownWidget::SetPos(int pos) {
    pos_ = std::clamp(pos, std::min(lo_, hi_), std::max(lo_, hi_));
    if (buddy_) SetItemText(buddy_, std::to_string(pos_));
}

void UpDownWidget::Step(int delta) {
    // A range given high to low counts the other way.
    SetPos(Pos() + (lo_ <= hi_ ? delta : -delta));
}

// ---------------------------------------------------------------------------
// TDialog

struct TDialog::Items {
    std::map<int, QPointer<QWidget>> byId;
};

DEFINE_RESPONSE_TABLE1(TDialog, TWindow)
EV_COMMAND(IDOK, CmOk), EV_COMMAND(IDCANCEL, CmCancel), END_RESPONSE_TABLE;

TDialog::TDialog(TWindow* parent, TResId resId, TModule* module)
    : TWindow(parent, nullptr, module), resId_(resId), items_(std::make_unique<Items>()) {
    if (TModule* m = GetModule())
        template_ = m->FindDialog(resId);
    else
        std::fprintf(stderr, "dialog %s: no module\n", resId.ToString().c_str());
    if (template_) {
        Attr.Style = template_->Style;
        SetCaption(FromQt(ToQt(template_->Caption)).c_str());
    }
}

TDialog::~TDialog() {
    Destroy(IDCANCEL);
}

const char* TDialog::GetClassName() {
    return "TDialog";
}

QWidget* TDialog::ChildContainer() const {
    return GetHandle();
}

QWidget* TDialog::FindItem(int id) const {
    if (TWindow* c = ChildWithId(id); c && c->IsWindow()) return c->GetHandle();
    const auto it = items_->byId.find(id);
    return it == items_->byId.end() ? nullptr : it->second.data();
}

QWidget* TDialog::CellFor(int id) const {
    const auto it = items_->byId.find(id);
    if (it == items_->byId.end() || !it->second) return nullptr;
    QWidget* cell = it->second;
    return cell->property(kCellProperty).toBool() ? cell : nullptr;
}

QWidget* TDialog::MakeWidget(QWidget* parentWidget) {
    if (!template_) return nullptr;
    const bool child = Attr.Style & WS_CHILD;
    Qt::WindowFlags flags = child ? Qt::Widget : modal_ ? Qt::Dialog : Qt::Tool;
    auto* w = new DialogWidget(parentWidget, flags, this);
    // QDialog makes itself a window whatever the flags say: a child dialog is
    // made a plain child widget again, placed in its parent's client area.
    if (child) w->setWindowFlags(Qt::Widget);
    if (!child && !modal_) w->setAttribute(Qt::WA_ShowWithoutActivating);
    if (child) w->setAutoFillBackground(true);
    w->setWindowTitle(ToQt(GetCaption()));
    auto* grid = new QGridLayout(w);
    items_->byId.clear();

    const auto notify = [this](int id, UINT code, QWidget* from) {
        if (IsWindow()) SendMessage(WM_COMMAND, MAKEWPARAM(UINT(id), code), LPARAM(from));
    };
    std::vector<std::pair<UpDownWidget*, int>> buddies;
    bool ok = true;
    for (const TDlgItem& item : template_->Items) {
        QWidget* iw = nullptr;
        const int id = item.Id;
        switch (item.Kind) {
        case TDlgItemKind::Static: {
            auto* l = new QLabel(LineBreaksToQt(ToQt(item.Text)), w);
            iw = l;
            break;
        }
        case TDlgItemKind::Button: {
            auto* b = new QPushButton(ToQt(item.Text), w);
            if (id == IDOK) b->setDefault(true);
            QObject::connect(b, &QPushButton::clicked, b, [=] { notify(id, BN_CLICKED, b); });
            iw = b;
            break;
        }
        case TDlgItemKind::Edit: {
            if (item.Style & ES_MULTILINE) {
                auto* e = new QPlainTextEdit(w);
                e->setPlainText(LineBreaksToQt(ToQt(item.Text)));
                e->setReadOnly(item.Style & ES_READONLY);
                SetItemLimit(e, item.Limit);
                QObject::connect(e, &QPlainTextEdit::textChanged, e, [=] {
                    const int limit = ItemLimit(e);
                    if (limit > 0 && e->toPlainText().size() > limit) {
                        const QSignalBlocker block(e);
                        QString t = e->toPlainText();
                        t.truncate(limit);
                        e->setPlainText(t);
                        e->moveCursor(QTextCursor::End);
                    }
                    notify(id, EN_CHANGE, e);
                });
                iw = e;
            } else {
                auto* e = new QLineEdit(ToQt(item.Text), w);
                e->setReadOnly(item.Style & ES_READONLY);
                SetItemLimit(e, item.Limit);
                QObject::connect(e, &QLineEdit::textChanged, e, [=] { notify(id, EN_CHANGE, e); });
                iw = e;
            }
            break;
        }
        case TDlgItemKind::UpDown: {
            auto* u = new UpDownWidget(w);
            u->SetRange(item.Lo, item.Hi);
            buddies.emplace_back(u, item.Buddy);
            iw = u;
            break;
        }
        case TDlgItemKind::ComboBox: {
            auto* c = new QComboBox(w);
            c->setEditable(false);
            QObject::connect(c, &QComboBox::activated, c, [=] { notify(id, CBN_SELCHANGE, c); });
            iw = c;
            break;
        }
        case TDlgItemKind::TreeView: {
            auto* t = new QTreeWidget(w);
            t->setHeaderHidden(true);
            t->setColumnCount(1);
            QObject::connect(t, &QTreeWidget::currentItemChanged, t,
                             [this, id](QTreeWidgetItem* now, QTreeWidgetItem* before) {
                                 if (!IsWindow()) return;
                                 TTwNotify n;
                                 n.idFrom = UINT(id);
                                 n.code = TVN_SELCHANGED;
                                 n.itemOld.hItem = reinterpret_cast<HTREEITEM>(before);
                                 n.itemNew.hItem = reinterpret_cast<HTREEITEM>(now);
                                 if (before)
                                     n.itemOld.lParam =
                                         LPARAM(before->data(0, Qt::UserRole).toLongLong());
                                 if (now)
                                     n.itemNew.lParam =
                                         LPARAM(now->data(0, Qt::UserRole).toLongLong());
                                 SendMessage(WM_NOTIFY, WPARAM(id), LPARAM(&n));
                             });
            iw = t;
            break;
        }
        case TDlgItemKind::RichText: {
            auto* r = new QTextEdit(w);
            r->setReadOnly(true);
            r->setAcceptRichText(false);
            SetItemLimit(r, item.Limit);
            r->setPlainText(LineBreaksToQt(ToQt(item.Text)));
            iw = r;
            break;
        }
        case TDlgItemKind::Custom: {
            auto* cell = new QWidget(w);
            auto* l = new QVBoxLayout(cell);
            l->setContentsMargins(0, 0, 0, 0);
            cell->setProperty(kCellProperty, true);
            iw = cell;
            if (item.ClassName && !ChildWithId(id)) {
                if (TWindowFactory make = FindRegisteredClass(item.ClassName)) {
                    if (TWindow* made = make(this, id)) made->Attr.Id = id;
                } else {
                    std::fprintf(stderr, "dialog %s: no window class \"%s\"\n",
                                 resId_.ToString().c_str(), item.ClassName);
                    ok = false;
                }
            }
            break;
        }
        }
        if (item.Style & WS_DISABLED) iw->setEnabled(false);
        if (item.Width > 0 || item.Height > 0) iw->setMinimumSize(item.Width, item.Height);
        grid->addWidget(iw, item.Row, item.Column, item.RowSpan, item.ColumnSpan);
        if (id != -1) items_->byId[id] = iw;
    }
    for (auto& [updown, buddy] : buddies)
        if (const auto it = items_->byId.find(buddy); it != items_->byId.end())
            updown->SetBuddy(it->second);
    if (!ok) {
        delete w;
        items_->byId.clear();
        return nullptr;
    }
    return w;
}

bool TDialog::Create() {
    if (IsWindow()) return true;
    if (!CanBuild()) return false;
    modal_ = false;
    return TWindow::Create();
}

bool TDialog::CreateModal() {
    if (IsWindow()) return false;
    modal_ = true;
    ended_ = false;
    result_ = IDCANCEL;
    const std::uint32_t style = Attr.Style;
    Attr.Style &= ~(WS_VISIBLE | WS_CHILD);
    const bool made = TWindow::Create();
    Attr.Style = style;
    if (!made) modal_ = false;
    return made;
}

bool TDialog::CanBuild() const {
    if (!template_) return false;
    for (const TDlgItem& item : template_->Items)
        if (item.Kind == TDlgItemKind::Custom && item.ClassName && !ChildWithId(item.Id) &&
            !FindRegisteredClass(item.ClassName)) {
            std::fprintf(stderr, "dialog %s: no window class \"%s\"\n", resId_.ToString().c_str(),
                         item.ClassName);
            return false;
        }
    return true;
}

int TDialog::Execute() {
    // A dialog that cannot be made never starts a modal run.
    if (IsWindow() || !CanBuild()) return -1;
    TDialogTask task(*this);
    return RunModal(task);
}

void TDialog::SetupWindow() {
    TWindow::SetupWindow();
    QWidget* w = GetHandle();
    if (w && (Attr.Style & WS_CHILD) && (Attr.W == CW_USEDEFAULT || Attr.H == CW_USEDEFAULT))
        w->adjustSize();
}

void TDialog::Destroy(int retVal) {
    if (modal_ && !ended_ && IsWindow()) {
        ended_ = true;
        result_ = retVal;
        if (loop_) static_cast<QEventLoop*>(loop_)->exit(retVal);
    }
    TWindow::Destroy(retVal);
}

void TDialog::CloseWindow(int retVal) {
    if (CanClose()) Destroy(retVal);
}

void TDialog::CmOk() {
    const bool modeless = !modal_ && IsWindow();
    CloseWindow(IDOK);
    if (modeless && !IsWindow()) DeleteLater();
}

void TDialog::CmCancel() {
    const bool modeless = !modal_ && IsWindow();
    Destroy(IDCANCEL);
    if (modeless && !IsWindow()) DeleteLater();
}

void TDialog::EvClose() {
    SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

// ---------------------------------------------------------------------------
// The modal run of a dialog

TDialogTask::TDialogTask(TDialog& dialog) : dialog_(dialog) {}

std::string TDialogTask::GetKey() const {
    const TDlgTemplate* t = dialog_.GetTemplate();
    return t ? std::to_string(t->Id) : std::string();
}

std::string TDialogTask::GetCaption() const {
    return Utf8(ToQt(dialog_.GetCaption()));
}

int TDialogTask::TemplateId() const {
    const TDlgTemplate* t = dialog_.GetTemplate();
    return t ? t->Id : 0;
}

int TDialogTask::RunInteractive() {
    if (!dialog_.CreateModal()) return -1;
    QEventLoop loop;
    dialog_.SetModalLoop(&loop);
    detail::PushModalLoop(
        this, [](void* self) { static_cast<TDialogTask*>(self)->dialog_.Destroy(IDCANCEL); });
    QWidget* w = dialog_.GetHandle();
    w->setWindowModality(Qt::ApplicationModal);
    w->show();
    w->activateWindow();
    if (!dialog_.ModalEnded()) loop.exec();
    detail::PopModalLoop(this);
    dialog_.SetModalLoop(nullptr);
    if (!dialog_.ModalEnded()) dialog_.Destroy(IDCANCEL); // the quit message ended the loop
    return dialog_.ModalResult();
}

int TDialogTask::RunUnattended() {
    if (!dialog_.CreateModal()) return -1;
    if (!dialog_.ModalEnded()) dialog_.Destroy(IDCANCEL);
    return dialog_.ModalResult();
}

bool TDialogTask::Begin() {
    return dialog_.CreateModal();
}

bool TDialogTask::Ended() const {
    return dialog_.ModalEnded();
}

int TDialogTask::End(int result) {
    if (!dialog_.ModalEnded()) dialog_.Destroy(result);
    return dialog_.ModalResult();
}

} // namespace ui
