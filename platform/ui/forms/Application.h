// The forms' application: the forms of the program, its main form and loop,
// the screen's cursor, and calls queued from other threads.
//
//   int main(int argc, char** argv) {
//       ui::EnsureQtApplication(argc, argv);
//       TApplication& app = Application();
//       app.Initialize();
//       app.SetTitle("Solvanor setup");
//       app.CreateForm(FoOstrel); // the first form made is the main form
//       app.Run();                // until the main form closes
//   }
//
// - Run shows the main form and runs the loop until it closes; SIGTERM and
//   SIGINT close it as the user would (OnCloseQuery and OnClose run; modal
//   forms and boxes running then are cancelled first). When Run returns, the
//   application's forms are deleted and it has no main form.
// - Queue(fn), from any thread, runs fn on the forms' thread at the next turn
//   of the loop (the main loop, a modal form's, or ProcessMessages), in the
//   order queued. Calls queued after Run has ended, or still waiting when it
//   ends, are dropped, until forms are made again.
#pragma once

#include "ui/forms/Form.h"

#include <functional>
#include <string>

namespace ui::forms {

class TApplication : public TComponent {
  public:
    const char* ClassName() const override { return "TApplication"; }

    std::string GetTitle() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    // The running program's file (a Linux path, Windows-1252).
    std::string GetExeName() const;
    TForm* GetMainForm() const { return mainForm_; }

    // Makes the Qt application when there is none yet.
    void Initialize();
    // Makes a form of class T owned by the application (CreateForm<T>) and
    // stores it in `form`; the first form made becomes the main form.
    template <class T> void CreateForm(T*& form) {
        form = ::ui::forms::CreateForm<T>(this);
        if (!mainForm_) mainForm_ = form;
    }
    void Run();
    // Handles the events waiting now.
    void ProcessMessages();

  private:
    friend class TForm;
    friend TApplication& Application();
    TApplication();
    void MainFormClosed();
    static void AcceptQueuedCalls();

    std::string title_;
    TForm* mainForm_ = nullptr;
    QEventLoop* loop_ = nullptr;
    bool terminated_ = false;
};

TApplication& Application();

// Runs fn on the forms' thread at the next turn of the loop; callable from any
// thread. Dropped after Run has ended (see above), and before Application()
// has first been called.
void Queue(std::function<void()> fn);

using TCursor = int;
inline constexpr TCursor crDefault = 0, crHourGlass = -11;

class TScreen {
  public:
    // The cursor shown everywhere in the program: crDefault gives every
    // window its own, crHourGlass the busy cursor.
    TCursor GetCursor() const { return cursor_; }
    void SetCursor(TCursor cursor);

  private:
    TCursor cursor_ = crDefault;
};

TScreen& Screen();

} // namespace ui::forms
