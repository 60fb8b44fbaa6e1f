#include "ui/forms/Application.h"

#include "os/codePage.h"
#include "os/drives.h"
#include "ui/Application.h"
#include "ui/Cursor.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QObject>

#include <cstdint>
#include <mutex>

namespace ui::forms {

namespace {

// Calls queued from any thread, run on the forms' thread.
const QEvent::Type kQueuedCall = QEvent::Type(QEvent::User + 133);

std::mutex queueMutex;
bool queueOpen = true;             // false from the end of Run until forms are made again
std::uint64_t queueGeneration = 0; // calls of an earlier generation are dropped
QObject* queueReceiver = nullptr;

class TQueuedCall : public QEvent {
  public:
    TQueuedCall(std::function<void()> fn, std::uint64_t generation)
        : QEvent(kQueuedCall), Fn(std::move(fn)), Generation(generation) {}
    std::function<void()> Fn;
    std::uint64_t Generation;
};

class TQueueReceiver : public QObject {
  public:
    bool event(QEvent* e) override {
        if (e->type() != kQueuedCall) return QObject::event(e);
        auto* call = static_cast<TQueuedCall*>(e);
        {
            const std::lock_guard lock(queueMutex);
            if (call->Generation != queueGeneration) return true;
        }
        detail::TEventScope scope;
        call->Fn();
        return true;
    }
};

} // namespace

TApplication::TApplication() : TComponent(nullptr) {
    detail::EnsureQt();
    const std::lock_guard lock(queueMutex);
    if (!queueReceiver) queueReceiver = new TQueueReceiver;
}

TApplication& Application() {
    // Never deleted: forms and widgets must not end after Qt's own statics.
    static TApplication* app = new TApplication;
    return *app;
}

std::string TApplication::GetExeName() const {
    return os::utf8ToCp1252(os::programPath());
}

void TApplication::Initialize() {
    detail::EnsureQt();
}

void TApplication::ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::Run() {
    detail::EnsureQt();
    if (mainForm_) {
        terminated_ = false;
        // SIGTERM and SIGINT close the main form as the user would.
        const ui::TSignalCloser closer([this] {
            if (mainForm_) mainForm_->Close();
        });
        mainForm_->Show();
        if (!terminated_) {
            QEventLoop loop;
            loop_ = &loop;
            loop.exec();
            loop_ = nullptr;
        }
    }
    {
        const std::lock_guard lock(queueMutex);
        queueOpen = false;
        ++queueGeneration;
    }
    mainForm_ = nullptr;
    terminated_ = false;
    DestroyComponents();
}

void TApplication::MainFormClosed() {
    terminated_ = true;
    if (loop_) loop_->exit(0);
}

void TApplication::AcceptQueuedCalls() {
    const std::lock_guard lock(queueMutex);
    queueOpen = true;
}

void Queue(std::function<void()> fn) {
    const std::lock_guard lock(queueMutex);
    if (!queueOpen || !queueReceiver || !QCoreApplication::instance()) return;
    QCoreApplication::postEvent(queueReceiver, new TQueuedCall(std::move(fn), queueGeneration));
}

void TScreen::SetCursor(TCursor cursor) {
    cursor_ = cursor;
    ui::SetCursor(cursor == crHourGlass ? ui::LoadCursor(nullptr, ui::IDC_WAIT) : nullptr);
}

TScreen& Screen() {
    static TScreen screen;
    return screen;
}

} // namespace ui::forms
