// Helpers of the dialogs' tests: a chart window in a frame of a chosen size,
// the time zone set for a test, the sample tide data loaded, and pictures
// written into the build tree.
#pragma once

#include "ChartTestSupport.h"

#include "TideWave.h"
#include "app/ViewerSettings.h"
#include "chart/TMapWindow.h"
#include "nmea/NmeaInput.h"
#include "os/Clock.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace dialogtest {

inline const std::string kSampleTides = DATA_DIR "/sample/tides";

// TZ for the object's life (tzset both ways).
class TimeZone {
  public:
    explicit TimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) old_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone() {
        if (old_)
            setenv("TZ", old_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

  private:
    std::optional<std::string> old_;
};

// The sample tide ports loaded and named by the settings, as at start-up.
inline void loadSampleTides() {
    std::string dir = kSampleTides;
    ASSERT_EQ(TD_LoadDataFiles(dir.data()), 0);
    ViewerSettings().tideDir = kSampleTides;
}

// A frame whose client holds the chart window, shown at width x height
// pixels; the chart window fills the MDI client.
struct ChartHost {
    charttest::Host<ui::TMDIClient> host;
    TMapWindow* chart;
    explicit ChartHost(int width = 640, int height = 480) {
        host.frame->MoveWindow(0, 0, width, height, true);
        chart = new TMapWindow(*host.client, "", 7, 10, 59);
        EXPECT_TRUE(chart->Create());
        chart->ShowWindow(ui::SW_SHOW);
        charttest::settle();
    }
    ~ChartHost() {
        delete chart;
        ViewerSettings() = TViewerSettings{};
        SetNavClock(nullptr);
    }
    ChartHost(const ChartHost&) = delete;
    ChartHost& operator=(const ChartHost&) = delete;
};

// A UTC time for the fake clock.
inline os::SystemTime utc(int year, int month, int day, int hour, int minute) {
    os::SystemTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    return t;
}

// Writes a picture a person should look at into the build tree.
inline void savePicture(const QImage& image, const std::string& name) {
    std::filesystem::create_directories(DIALOG_TEST_PICTURES);
    EXPECT_TRUE(image.save(QString::fromStdString(std::string(DIALOG_TEST_PICTURES) + "/" + name)))
        << name;
}

} // namespace dialogtest
