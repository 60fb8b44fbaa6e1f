// Starting other programs: a child the program keeps and may stop (the 3D
// generator and viewer), and a program started and forgotten (a help viewer).
//
// A command line is Windows-1252 text split by Windows' rules, never by a
// shell. Its first word names the program: a word holding "/" or "\" is a path
// (through localPath); otherwise the program is looked for beside the running
// program, then along $PATH. Every word becomes UTF-8. Children start in a
// session of their own, with standard input from /dev/null, default signal
// handling and no descriptors of ours beyond standard output and error.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace os {

// The words of a command line by Windows' rules: blanks and tabs separate
// words; double quotes group (a quote turns grouping on or off and is not part
// of the word, so "" is an empty word); backslashes are literal except before a
// quote, where 2n backslashes give n and the quote groups, and 2n + 1 give n and
// a literal quote. Bytes are kept as they are.
std::vector<std::string> splitCommandLine(const std::string& text);

// The Linux path of the program that a command line's first word names, by the
// lookup above; "" when there is no such executable file.
std::string findProgram(const std::string& word);

// A child program. Destroying the object leaves the program running.
class Process {
  public:
    Process() = default;
    ~Process(); // reaps the child if it has ended; never signals it
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Starts the command line in `workingDirectory` (a Linux path; "" keeps the
    // current folder). False, with the reason in error(), when the line is
    // empty, the program is not found or cannot be run, or this object's child
    // still runs.
    bool start(const std::string& commandLine, const std::string& workingDirectory = "");

    // True while the child runs; a child that has ended is reaped here.
    bool running();

    // The child's exit code (128 + the signal number when a signal ended it;
    // the code given to terminate() when that ended it); -1 while it runs or
    // when none was started.
    int exitCode();

    // Ends the child and everything in its session's process group: SIGTERM,
    // then SIGKILL once it has ended or a second has passed, then reaps it; its
    // exit code becomes `code`. Only a started, unreaped child is signalled,
    // never a pid of 1 or less. False when there was nothing to end.
    bool terminate(int code);

    // The child's process id; -1 before start().
    pid_t pid() const { return pid_; }
    const std::string& error() const { return error_; }

  private:
    bool reap(bool wait);

    pid_t pid_ = -1;
    bool reaped_ = false;
    int exitCode_ = -1;
    std::string error_;
};

// Starts the command line and forgets it (a double fork: nothing is left to
// reap). True when the program was found and its exec succeeded (a
// close-on-exec pipe reports that); false, with errno set, otherwise.
bool startDetached(const std::string& commandLine, const std::string& workingDirectory = "");

} // namespace os
