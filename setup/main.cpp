// The setup program: the forms' application, its forms in the order the
// program has always made them, and the loop until the main form closes. It
// is started in its installation directory, whose .\Ostrel.INI it keeps.
#include "chartcopy/FoDirCopy.h"
#include "dbreset/FoWarning.h"
#include "forms/FoOstrel.h"
#include "shell/FoGetString.h"
#include "text/SetupMessages.h"

#include "ui/Application.h"
#include "ui/forms/Forms.h"

#include <clocale>
#include <cstdio>
#include <exception>

using namespace ui::forms;

namespace {

int RunSetup() {
    TApplication& app = Application();
    app.Initialize();
    app.SetTitle("Solvanor setup");
    // The units without a window show their messages in the application's box.
    SetSetupMessageSink([](const std::string& text) { ShowMessage(text); });
    TFoOstrel* FoOstrel = nullptr;
    app.CreateForm(FoOstrel);
    if (FoOstrel->StartRefused()) {
        FoOstrel->Free();
        return 1;
    }
    TFoDirCopy* FoDirCopy = nullptr;
    app.CreateForm(FoDirCopy);
    TFoWarning* FoWarning = nullptr;
    app.CreateForm(FoWarning);
    TFoGetString* FoGetString = nullptr;
    app.CreateForm(FoGetString);
    app.Run();
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    ui::EnsureQtApplication(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    int result = 0;
    try {
        result = RunSetup();
    } catch (const TFormError& e) {
        std::fprintf(stderr, "ostrel: %s\n", e.what());
        for (const std::string& problem : e.Problems())
            std::fprintf(stderr, "  %s\n", problem.c_str());
        result = 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ostrel: %s\n", e.what());
        result = 2;
    }
    SetSetupMessageSink(nullptr);
    ui::ShutdownQtApplication();
    return result;
}
