// The Qt application and the programs' application object.
//
// The Qt application is made lazily, the first time the layer needs it (a box
// works before any application object exists); right after it is made,
// LC_NUMERIC is put back to "C". A program's `main` comes from the
// platform_ui_main library, which makes the Qt application with the program's
// arguments and calls the program's OwlMain(argc, argv).
//
// TApplication runs the message loop:
// - IdleAction(count) runs each time the loop is about to wait, outside modal
//   loops; count grows while idle work asks for more and restarts at 0 once it
//   lets the loop sleep. The main window's idle pass visits children before
//   their parent's own work (the tool box's enablers run before the MDI
//   client's requests). Tests run one pass with RunIdle().
// - ProcessAppMsg sees every key press (WM_KEYDOWN) and mouse move
//   (WM_MOUSEMOVE) before the window it is meant for; answering true swallows it.
// - SIGTERM and SIGINT close the main window as the user would (WM_CLOSE, so
//   CanClose is asked); modals running at that moment are cancelled first.
// - An activation request on the watched presence lock restores a minimised
//   main window and raises it.
#pragma once

#include "ui/EventHandler.h"
#include "ui/Modal.h"

#include <functional>
#include <memory>
#include <string>

class QApplication;

namespace os {
class PresenceLock;
}

namespace ui {

class TWindow;

// The Qt application, made on first call (with the arguments of the first call
// that gives them, else with the program name "ui"). QT_QPA_PLATFORM chooses the
// display as usual.
QApplication* EnsureQtApplication();
QApplication* EnsureQtApplication(int argc, char** argv);
// Ends the Qt application made by EnsureQtApplication (platform_ui_main calls it
// after OwlMain returns).
void ShutdownQtApplication();

class TApplication : public TEventHandler {
  public:
    explicit TApplication(const char* name = nullptr);
    ~TApplication() override; // deletes the main window

    const std::string& GetName() const { return name_; }

    // Makes the main window (InitMainWindow), creates it and shows it with
    // nCmdShow. Answers false to end the start without running the loop.
    virtual bool InitInstance();
    // Makes the main window and hands it to SetMainWindow.
    virtual void InitMainWindow();
    void SetMainWindow(TWindow* window); // owned from now on
    TWindow* GetMainWindow() const { return mainWindow_; }

    // Runs the program: InitInstance, then the message loop until the quit
    // message. Returns the quit message's code, or -1 when InitInstance refused.
    int Run();

    virtual bool IdleAction(long idleCount);
    // One idle pass now, with the next idle count; answers whether more is wanted.
    bool RunIdle();

    // Sees key presses and mouse moves first; true swallows the message.
    virtual bool ProcessAppMsg(MSG& msg);

    // Whether the program may end: asks the main window.
    virtual bool CanClose();

    // True while any modal dialog, box or form runs (as ui::InModalLoop()).
    bool InModalLoop() const;

    // Activation requests that arrive on the lock restore and raise the main
    // window, as long as the lock lives.
    void WatchPresence(os::PresenceLock& lock);

    // How Run shows the main window (SW_SHOWNORMAL, SW_SHOWMAXIMIZED, ...).
    int nCmdShow = SW_SHOWNORMAL;

    // Restores a minimised main window and raises it (what an activation
    // request does).
    void ActivateMainWindow();

    DECLARE_RESPONSE_TABLE(TApplication);

  private:
    friend struct AppHooks;
    std::string name_;
    TWindow* mainWindow_ = nullptr;
    long idleCount_ = 0;
    struct Private;
    std::unique_ptr<Private> p_;
};

// While it lives, SIGTERM and SIGINT call close on the loop's thread, as the
// user closing the main window would; modals running at that moment are
// cancelled first (IDCANCEL) and close runs once they have returned.
// TApplication::Run keeps one; the setup program's form layer keeps its own.
// One lives at a time.
class TSignalCloser {
  public:
    explicit TSignalCloser(std::function<void()> close);
    ~TSignalCloser(); // the signals' earlier handling comes back
    TSignalCloser(const TSignalCloser&) = delete;
    TSignalCloser& operator=(const TSignalCloser&) = delete;

  private:
    struct Private;
    std::unique_ptr<Private> p_;
};

// The application object that exists now (the last made), or null.
TApplication* GetApplicationObject();

// Ends the innermost running loops and then the main loop with the exit code:
// every loop running now ends; called before the main loop starts, the main loop
// ends as soon as it starts.
void PostQuitMessage(int exitCode);

} // namespace ui

// The program's entry, called by platform_ui_main's main.
int OwlMain(int argc, char* argv[]);
