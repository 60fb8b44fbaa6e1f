// The tests' main: one Qt GUI application for the whole binary (text and
// glyphs are measured and drawn only while one exists), made before the
// tests and outliving the sample engine.
#include "sampleEngine.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

#include <clocale>
#include <memory>

namespace chartviewtest {

namespace {
std::unique_ptr<chartview::ChartEngine> engine;
}

chartview::ChartEngine& sampleEngine() {
    if (!engine)
        engine =
            std::make_unique<chartview::ChartEngine>(DATA_DIR "/dict", DATA_DIR "/sample/kv71");
    return *engine;
}

void releaseSampleEngine() {
    engine.reset();
}

} // namespace chartviewtest

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QGuiApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const int status = RUN_ALL_TESTS();
    chartviewtest::releaseSampleEngine();
    return status;
}
