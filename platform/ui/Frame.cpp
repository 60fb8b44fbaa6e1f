#include "ui/Frame.h"

#include "ui/Screen.h"
#include "ui/WindowPrivate.h"

#include <QResizeEvent>
#include <QVBoxLayout>

namespace ui {

namespace {

// The area of an MDI client: maximised children follow its size.
class MdiArea : public QWidget {
  public:
    MdiArea(QWidget* parent, TMDIClient* client) : QWidget(parent), client_(client) {}

  protected:
    void resizeEvent(QResizeEvent* e) override {
        QWidget::resizeEvent(e);
        client_->FitChildren();
    }

  private:
    TMDIClient* client_;
};

} // namespace

// ---------------------------------------------------------------------------
// TFrameWindow

TFrameWindow::TFrameWindow(TWindow* parent, const char* title, TWindow* clientWnd, bool,
                           TModule* module)
    : TWindow(parent, title, module), client_(clientWnd) {
    Attr.Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    if (client_) {
        client_->SetParentO(this);
        client_->Attr.Style |= WS_CHILD | WS_VISIBLE;
    }
}

const char* TFrameWindow::GetClassName() {
    return "TFrameWindow";
}

QWidget* TFrameWindow::MakeWidget(QWidget* parentWidget) {
    auto* w = new QWidget(parentWidget);
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (Attr.W == CW_USEDEFAULT || Attr.H == CW_USEDEFAULT) w->resize(800, 600);
    if (!icon_.isNull()) w->setWindowIcon(icon_);
    return w;
}

void TFrameWindow::SetupWindow() {
    TWindow::SetupWindow();
    PlaceChildren();
}

void TFrameWindow::PlaceChildren() {
    auto* layout = qobject_cast<QVBoxLayout*>(GetHandle()->layout());
    if (client_ && client_->IsWindow() && layout) layout->addWidget(client_->GetHandle(), 1);
}

std::vector<TWindow*> TFrameWindow::CommandDelegates() const {
    std::vector<TWindow*> out;
    if (auto* mdi = dynamic_cast<TMDIClient*>(client_))
        if (TMDIChild* child = mdi->GetActiveMDIChild()) out.push_back(child);
    if (client_) out.push_back(client_);
    return out;
}

bool TFrameWindow::SetIcon(TModule* module, TResId id) {
    if (!module) return false;
    const QIcon icon = module->LoadIcon(id);
    if (icon.isNull()) return false;
    icon_ = icon;
    if (QWidget* w = GetHandle()) w->setWindowIcon(icon_);
    return true;
}

bool TFrameWindow::SetIconSm(TModule* module, TResId id) {
    return SetIcon(module, id);
}

// ---------------------------------------------------------------------------
// TDecoratedFrame

TDecoratedFrame::TDecoratedFrame(TWindow* parent, const char* title, TWindow* clientWnd, bool,
                                 TModule* module)
    : TFrameWindow(parent, title, clientWnd, false, module) {}

void TDecoratedFrame::Insert(TWindow& decoration, TLocation location) {
    if (decoration.GetParentO() != this) decoration.SetParentO(this);
    decoration.Attr.Style |= WS_CHILD | WS_VISIBLE;
    decorations_.emplace_back(&decoration, location);
    if (IsWindow()) {
        decoration.Create();
        PlaceChildren();
    }
}

void TDecoratedFrame::PlaceChildren() {
    auto* layout = qobject_cast<QVBoxLayout*>(GetHandle()->layout());
    if (!layout) return;
    // Top bars in order, the client, bottom bars in order.
    while (layout->count() > 0)
        delete layout->takeAt(0);
    for (auto& [bar, where] : decorations_)
        if (where == Top && bar->IsWindow()) layout->addWidget(bar->GetHandle());
    if (client_ && client_->IsWindow()) layout->addWidget(client_->GetHandle(), 1);
    for (auto& [bar, where] : decorations_)
        if (where == Bottom && bar->IsWindow()) layout->addWidget(bar->GetHandle());
}

// ---------------------------------------------------------------------------
// TDecoratedMDIFrame

TDecoratedMDIFrame::TDecoratedMDIFrame(const char* title, TResId, TMDIClient& clientWnd,
                                       bool trackMenuSelection, TModule* module)
    : TDecoratedFrame(nullptr, title, &clientWnd, trackMenuSelection, module) {}

// ---------------------------------------------------------------------------
// TMDIClient

TMDIClient::TMDIClient(TModule* module) : TWindow(nullptr, nullptr, module) {
    Attr.Style = WS_CHILD | WS_VISIBLE;
}

TMDIClient::~TMDIClient() {
    // The children go while this client can still hear of it.
    Destroy();
}

const char* TMDIClient::GetClassName() {
    return "MDICLIENT";
}

void TMDIClient::GetWindowClass(WNDCLASS& wc) {
    TWindow::GetWindowClass(wc);
    wc.hbrBackground = SysColorBrush(COLOR_APPWORKSPACE);
}

QWidget* TMDIClient::MakeWidget(QWidget* parentWidget) {
    auto* w = new MdiArea(parentWidget, this);
    w->setAutoFillBackground(true);
    WNDCLASS wc;
    GetWindowClass(wc);
    const TColor c = ResolveBackground(Private().background ? *Private().background
                                       : wc.hbrBackground   ? *wc.hbrBackground
                                                            : SysColorBrush(COLOR_APPWORKSPACE));
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, QColor(gdi::redOf(c), gdi::greenOf(c), gdi::blueOf(c)));
    w->setPalette(pal);
    return w;
}

void TMDIClient::FitChildren() {
    QWidget* area = GetHandle();
    if (!area) return;
    for (TWindow* c : GetChildren())
        if (c->IsWindow() && (c->Attr.Style & WS_MAXIMIZE))
            c->GetHandle()->setGeometry(area->rect());
}

void TMDIClient::ActivateChild(TMDIChild* child) {
    if (child == active_) return;
    TMDIChild* before = active_;
    active_ = child;
    const HWND now = child ? child->GetHandle() : nullptr;
    const HWND old = before ? before->GetHandle() : nullptr;
    if (before && before->IsWindow()) before->SendMessage(WM_MDIACTIVATE, WPARAM(old), LPARAM(now));
    if (child && child->IsWindow()) {
        child->GetHandle()->raise();
        child->SendMessage(WM_MDIACTIVATE, WPARAM(old), LPARAM(now));
    }
}

void TMDIClient::ChildGone(TMDIChild* child) {
    if (child != active_) return;
    active_ = nullptr;
    TMDIChild* next = nullptr;
    for (TWindow* c : GetChildren())
        if (c != child && c->IsWindow())
            if (auto* m = dynamic_cast<TMDIChild*>(c)) next = m;
    if (next) ActivateChild(next);
}

// ---------------------------------------------------------------------------
// TMDIChild

TMDIChild::TMDIChild(TMDIClient& parent, const char* title, TModule* module)
    : TWindow(&parent, title, module) {
    Attr.Style = WS_CHILD | WS_VISIBLE;
}

TMDIChild::~TMDIChild() {
    Destroy();
}

TMDIClient* TMDIChild::GetMDIClient() const {
    return static_cast<TMDIClient*>(GetParentO());
}

bool TMDIChild::Create() {
    if (IsWindow()) return true;
    if (!TWindow::Create()) return false;
    QWidget* w = GetHandle();
    if (Attr.Style & WS_MAXIMIZE) {
        if (QWidget* area = w->parentWidget()) w->setGeometry(area->rect());
    } else if (Attr.W == CW_USEDEFAULT || Attr.H == CW_USEDEFAULT) {
        if (QWidget* area = w->parentWidget())
            w->resize(std::max(area->width() * 3 / 4, 1), std::max(area->height() * 3 / 4, 1));
    }
    GetMDIClient()->ActivateChild(this);
    return true;
}

void TMDIChild::Destroy(int retVal) {
    if (!IsWindow()) return;
    TWindow::Destroy(retVal);
    GetMDIClient()->ChildGone(this);
}

} // namespace ui
