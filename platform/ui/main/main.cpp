// The entry of a program on the window layer: makes the Qt application with
// the program's arguments, runs the program's OwlMain and ends the Qt
// application before the process ends.
#include "ui/Application.h"

int main(int argc, char* argv[]) {
    ui::EnsureQtApplication(argc, argv);
    const int result = OwlMain(argc, argv);
    ui::ShutdownQtApplication();
    return result;
}
