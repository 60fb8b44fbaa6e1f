// Helpers of the tests of the chart window's drawing and picking of the
// user's stored objects: a chart window over a copy of the fixture store
// (UserObjectFixture.h) with the fixture's view, its client of 1000 x 800
// pixels, and a recording context of that size to draw on.
#pragma once

#include "AppTestSupport.h"
#include "ChartTestSupport.h"
#include "UserObjectFixture.h"

#include "chart/ChartPainting.h"
#include "gdi/RecordingDc.h"
#include "ui/Screen.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace uotest {

using namespace uofixture;

// A copy of the fixture store in a folder of its own under /dev/shm.
class StoreCopy {
  public:
    StoreCopy() {
        const std::string base = std::filesystem::is_directory("/dev/shm")
                                     ? "/dev/shm"
                                     : std::filesystem::temp_directory_path().string();
        std::string pattern = base + "/user-objects-XXXXXX";
        if (!::mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
        for (const auto& f : std::filesystem::directory_iterator(USER_OBJECT_STORE))
            std::filesystem::copy_file(f.path(), path_ + "/" + f.path().filename().string());
    }
    ~StoreCopy() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    StoreCopy(const StoreCopy&) = delete;
    StoreCopy& operator=(const StoreCopy&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

struct Window {
    apptest::EnvSetting tz{"TZ", "Europe/Oslo"};
    StoreCopy folder;
    charttest::Host<ui::TMDIClient> host;
    TMapWindow* w = nullptr;
    DbaseWin* store = nullptr;
    gdi::RecordingDc dc{kClientWidth, kClientHeight};

    Window() {
        ::tzset();
        ui::SetScreenCapsOverride(gdi::DeviceCaps::forScreen(1920, 1080));
        ChartWindowCalls().makeStore =
            [bases = StoreFileBasesIn(folder.path())](TMapWindow& owner) -> ui::TWindow* {
            return new DbaseWin(&owner, bases);
        };
        w = new TMapWindow(*host.client, "", 5, kCentreLon, kCentreLat);
        EXPECT_TRUE(w->Create());
        w->ShowWindow(ui::SW_SHOW);
        charttest::settle();
        w->KillTimer(kChartTimerId);
        // The frame grows by what the chart window's client lacks of 1000 x 800.
        int width = host.frame->Attr.W, height = host.frame->Attr.H;
        for (int tries = 0; tries < 3; ++tries) {
            const ui::TRect r = w->GetClientRect();
            if (r.Width() == kClientWidth && r.Height() == kClientHeight) break;
            width += kClientWidth - r.Width();
            height += kClientHeight - r.Height();
            const ui::TRect f = host.frame->GetWindowRect();
            host.frame->MoveWindow(f.left, f.top, width, height, true);
            charttest::settle();
        }
        EXPECT_EQ(w->GetClientRect(), ui::TRect(0, 0, kClientWidth, kClientHeight));
        w->displayScale = kScale;
        w->map.reset(ViewMap());
        store = dynamic_cast<DbaseWin*>(w->dbaseWin);
        EXPECT_TRUE(store && !store->Failed());
        TChartWindowState& s = ChartWindowState();
        s.pixelsPerMetre = kPixelsPerMetre;
        s.pixelsPerNm = PixelsPerNauticalMile(kPixelsPerMetre, kScale);
        s.screenPixelsAcross = 1920;
        s.screenPixelsDown = 1080;
        s.detailWord = 5;
        s.illuminationLevel = 0;
    }
    ~Window() {
        delete w;
        ui::SetScreenCapsOverride(std::nullopt);
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    ClientPoint client(const ChartPoint& c) const { return ToClient(c, w->GetClientRect()); }
    void clickAt(const ClientPoint& p) const { w->cursorClient = p; }
    // The drawing so far, and a fresh start.
    std::string take() {
        std::string log = dc.log();
        dc.clearLog();
        return log;
    }
    // Adds an object with its points (chart units of the view) to the copy.
    void add(const IdRecord& object, const std::vector<ChartPoint>& points,
             const std::vector<std::uint16_t>& limits = {}) const {
        std::unique_ptr<Map> map(ViewMap());
        EXPECT_TRUE(WriteObject(*store, object, *map, points, limits)) << object.id;
    }
    IdRecord object(std::uint16_t kind, std::int32_t id, const ChartPoint& at,
                    const std::string& name = "", std::uint16_t colour = 2,
                    std::uint16_t length = 1, std::uint16_t count = 0) const {
        std::unique_ptr<Map> map(ViewMap());
        return ObjectAt(*map, kind, id, at, name, colour, length, count);
    }
    // The object's record as stored now, if it is there.
    static std::optional<IdRecord> stored(std::int32_t id) {
        IdBytes bytes;
        if (isam::EQLREC(kIdKey, IdKey(id).data(), bytes.data()) != 0) return std::nullopt;
        return IdRecord::Decode(bytes);
    }
    static int storedPoints(std::int32_t id) {
        int n = 0;
        PointBytes bytes;
        for (int e = isam::GTEREC(kPointKey, PointKey(id, 0).data(), bytes.data());
             e == 0 && PointRecord::Decode(bytes).id == id;
             e = isam::NXTREC(kPointKey, bytes.data()))
            ++n;
        return n;
    }
};

// The lines of a log that begin with `prefix`.
inline std::vector<std::string> Lines(const std::string& log, const std::string& prefix) {
    std::vector<std::string> out;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
}

inline std::string Xy(int x, int y) {
    return "(" + std::to_string(x) + "," + std::to_string(y) + ")";
}
inline std::string Xy(const ClientPoint& p) {
    return Xy(p.x, p.y);
}
inline std::string Box(int l, int t, int r, int b) {
    return "[" + std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(r) + "," +
           std::to_string(b) + "]";
}
inline std::string PenText(gdi::Colour c) {
    return "pen=solid/0/" + gdi::RecordingDc::colourText(c);
}
// The two blits of a strip cell drawn at p.
inline std::string StripBlits(const ClientPoint& p, int column, int row) {
    const std::string at = Box(p.x - 8, p.y - 8, 17, 17);
    return "Blit and " + at + " from " + Xy(17 * column, 0) + "\nBlit paint " + at + " from " +
           Xy(17 * column, 17 * row) + "\n";
}

} // namespace uotest
