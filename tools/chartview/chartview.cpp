// chartview: draws one view of a KV71 chart into a PNG, as the navigation
// program's drawing pass draws it (tools/chartview/ViewRequest.h gives the
// command line). Exit status 0 written, 1 the view cannot be drawn, 2 a
// command-line error.
#include "ChartRenderer.h"
#include "ViewRequest.h"

#include <QGuiApplication>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace chartview;
    const ParsedCommandLine parsed =
        parseCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    if (parsed.outcome == ParsedCommandLine::Help) {
        std::fputs(usageText(), stdout);
        return 0;
    }
    if (parsed.outcome == ParsedCommandLine::Error) {
        std::fputs(usageText(), stderr);
        std::fprintf(stderr, "chartview: %s\n", parsed.error.c_str());
        return 2;
    }

    // Text and glyphs need a GUI application; no screen is needed.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    try {
        const std::string line = renderRequest(parsed.request);
        std::printf("%s\n", line.c_str());
        return 0;
    } catch (const ViewError& e) {
        std::fprintf(stderr, "chartview: %s\n", e.what());
        return 1;
    }
}
