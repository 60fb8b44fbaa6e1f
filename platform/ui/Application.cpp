#include "ui/Application.h"

#include "os/instanceLocks.h"
#include "ui/Modal.h"
#include "ui/Window.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <cerrno>
#include <functional>
#include <clocale>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace ui {

UINT VirtualKeyOf(const QKeyEvent* e); // Keys.cpp
void ApplySysColours();                // Screen.cpp

namespace {

TApplication* currentApp = nullptr;

// Feeds the application's hook before any widget sees a key press or a mouse
// move.
class LayerApplication : public QApplication {
  public:
    LayerApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override {
        TApplication* app = currentApp;
        if (app && receiver->isWidgetType() &&
            (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseMove)) {
            MSG msg;
            msg.hwnd = static_cast<QWidget*>(receiver);
            if (event->type() == QEvent::KeyPress) {
                msg.message = WM_KEYDOWN;
                msg.wParam = VirtualKeyOf(static_cast<QKeyEvent*>(event));
                msg.lParam = MAKELPARAM(1, 0);
            } else {
                const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
                msg.message = WM_MOUSEMOVE;
                msg.lParam = MAKELPARAM(p.x(), p.y());
            }
            if ((msg.message != WM_KEYDOWN || msg.wParam) && app->ProcessAppMsg(msg)) return true;
        }
        return QApplication::notify(receiver, event);
    }
};

struct QtApp {
    int argc = 1;
    char name[3] = "ui";
    char* argv[2] = {name, nullptr};
    std::vector<std::string> args;
    std::vector<char*> argvStore;
    // Not a smart pointer: an application still alive when the process ends is
    // left to the system, as Qt cannot end it after its own statics are gone.
    QApplication* app = nullptr;
};

QtApp& qtApp() {
    static QtApp q;
    return q;
}

QApplication* makeApp(int argc, char** argv) {
    if (QCoreApplication* existing = QCoreApplication::instance()) {
        if (auto* widgets = qobject_cast<QApplication*>(existing)) return widgets;
        qFatal("the window layer needs a QApplication, but another Qt application object exists");
    }
    QtApp& q = qtApp();
    if (argc > 0 && argv) {
        q.args.assign(argv, argv + argc);
        for (std::string& a : q.args)
            q.argvStore.push_back(a.data());
        q.argvStore.push_back(nullptr);
        q.argc = argc;
        q.app = new LayerApplication(q.argc, q.argvStore.data());
    } else {
        q.app = new LayerApplication(q.argc, q.argv);
    }
    // Numbers are read and written with "C" conventions, whatever the locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);
    ApplySysColours();
    return q.app;
}

// The quit message: a request that outlives loops that have not started yet.
const QEvent::Type kQuitEvent = QEvent::Type(QEvent::User + 110);
struct QuitState {
    bool requested = false;
    int code = 0;
};
QuitState quitState;

class QuitReceiver : public QObject {
  public:
    bool event(QEvent* e) override {
        if (e->type() != kQuitEvent) return QObject::event(e);
        QCoreApplication::exit(quitState.code);
        return true;
    }
};

QuitReceiver& quitReceiver() {
    static QuitReceiver r;
    return r;
}

// SIGTERM and SIGINT arrive through a pipe, so that the loop handles them.
int signalPipe[2] = {-1, -1};

extern "C" void onSignal(int) {
    const int saved = errno;
    const char b = 1;
    [[maybe_unused]] const ssize_t n = write(signalPipe[1], &b, 1);
    errno = saved;
}

// Runs close once no modal runs any more: modals running now are cancelled
// first, and the close waits until they have returned.
void closeAfterModals(const std::function<void()>& close) {
    if (InModalLoop()) {
        CancelModalLoops();
        QTimer::singleShot(10, [close] { closeAfterModals(close); });
        return;
    }
    close();
}

} // namespace

QApplication* EnsureQtApplication() {
    return makeApp(0, nullptr);
}

QApplication* EnsureQtApplication(int argc, char** argv) {
    return makeApp(argc, argv);
}

void ShutdownQtApplication() {
    QtApp& q = qtApp();
    if (!q.app) return;
    // Windows waiting for deletion go first, then every window left.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* w : QApplication::topLevelWidgets())
        delete w;
    delete q.app;
    q.app = nullptr;
}

struct TApplication::Private {
    QMetaObject::Connection idle;
    std::unique_ptr<QSocketNotifier> presenceNotifier;
    os::PresenceLock* presence = nullptr;
    struct sigaction oldTerm {
    }, oldInt{};
    bool inIdle = false;
};

DEFINE_RESPONSE_TABLE1(TApplication, TEventHandler)
END_RESPONSE_TABLE;

TApplication::TApplication(const char* name)
    : name_(name ? name : ""), p_(std::make_unique<Private>()) {
    EnsureQtApplication();
    currentApp = this;
    quitState = QuitState{};
}

TApplication::~TApplication() {
    TWindow* main = std::exchange(mainWindow_, nullptr);
    delete main;
    if (currentApp == this) currentApp = nullptr;
}

TApplication* GetApplicationObject() {
    return currentApp;
}

void TApplication::SetMainWindow(TWindow* window) {
    mainWindow_ = window;
}

void TApplication::InitMainWindow() {}

bool TApplication::InitInstance() {
    InitMainWindow();
    if (!mainWindow_) return false;
    if (!mainWindow_->Create()) return false;
    mainWindow_->ShowWindow(nCmdShow);
    return true;
}

bool TApplication::IdleAction(long idleCount) {
    return mainWindow_ && mainWindow_->IsWindow() ? mainWindow_->IdleAction(idleCount) : false;
}

bool TApplication::RunIdle() {
    const bool more = IdleAction(idleCount_);
    idleCount_ = more ? idleCount_ + 1 : 0;
    return more;
}

bool TApplication::ProcessAppMsg(MSG&) {
    return false;
}

bool TApplication::InModalLoop() const {
    return ui::InModalLoop();
}

bool TApplication::CanClose() {
    return !mainWindow_ || !mainWindow_->IsWindow() || mainWindow_->CanClose();
}

void TApplication::ActivateMainWindow() {
    QWidget* w = mainWindow_ ? mainWindow_->GetHandle() : nullptr;
    if (!w) return;
    if (w->isMinimized()) w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    w->show();
    w->raise();
    w->activateWindow();
}

void TApplication::WatchPresence(os::PresenceLock& lock) {
    p_->presenceNotifier.reset();
    p_->presence = &lock;
    if (lock.activationFd() < 0) return;
    p_->presenceNotifier =
        std::make_unique<QSocketNotifier>(lock.activationFd(), QSocketNotifier::Read);
    QObject::connect(p_->presenceNotifier.get(), &QSocketNotifier::activated,
                     p_->presenceNotifier.get(), [this] {
                         if (p_->presence && p_->presence->takeActivationRequests() > 0)
                             ActivateMainWindow();
                     });
}

int TApplication::Run() {
    EnsureQtApplication();
    if (!InitInstance()) return -1;

    // SIGTERM and SIGINT close the main window as the user would.
    const TSignalCloser closer([this] {
        if (mainWindow_ && mainWindow_->IsWindow())
            mainWindow_->PostMessage(WM_CLOSE);
        else
            PostQuitMessage(0);
    });
    // Idle work each time the loop is about to wait, outside modal loops.
    p_->idle = QObject::connect(QAbstractEventDispatcher::instance(),
                                &QAbstractEventDispatcher::aboutToBlock, [this] {
                                    if (ui::InModalLoop() || p_->inIdle) return;
                                    p_->inIdle = true;
                                    if (RunIdle()) QAbstractEventDispatcher::instance()->wakeUp();
                                    p_->inIdle = false;
                                });

    int result = quitState.code;
    if (!quitState.requested) result = QCoreApplication::exec();
    // A quit message still queued belongs to this run, not to a later one.
    QCoreApplication::removePostedEvents(&quitReceiver(), kQuitEvent);
    quitState = QuitState{};

    QObject::disconnect(p_->idle);
    return result;
}

struct TSignalCloser::Private {
    std::unique_ptr<QSocketNotifier> notifier;
    struct sigaction oldTerm {
    }, oldInt{};
};

TSignalCloser::TSignalCloser(std::function<void()> close) : p_(std::make_unique<Private>()) {
    EnsureQtApplication();
    if (signalPipe[0] < 0 && pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        signalPipe[0] = signalPipe[1] = -1;
    if (signalPipe[0] < 0) return;
    char buf[16];
    while (read(signalPipe[0], buf, sizeof buf) > 0) {
    } // signals of an earlier run are not this one's
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, &p_->oldTerm);
    sigaction(SIGINT, &sa, &p_->oldInt);
    p_->notifier = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(p_->notifier.get(), &QSocketNotifier::activated, p_->notifier.get(),
                     [close = std::move(close)] {
                         char b[16];
                         while (read(signalPipe[0], b, sizeof b) > 0) {
                         }
                         closeAfterModals(close);
                     });
}

TSignalCloser::~TSignalCloser() {
    if (!p_->notifier) return;
    p_->notifier.reset();
    sigaction(SIGTERM, &p_->oldTerm, nullptr);
    sigaction(SIGINT, &p_->oldInt, nullptr);
}

void PostQuitMessage(int exitCode) {
    EnsureQtApplication();
    quitState.requested = true;
    quitState.code = exitCode;
    QCoreApplication::postEvent(&quitReceiver(), new QEvent(kQuitEvent));
}

} // namespace ui
