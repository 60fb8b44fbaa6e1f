// The chart window's border: the step choice, the labels, the graduation
// values near the poles and across 180 degrees, the border on a recording
// of views at known scales (lines, ticks, labels, frame, mile scale), and
// where its text lands in a y-up picture.
#include "ChartTestSupport.h"
#include "RecordingLog.h"
#include "TestPictures.h"

#include "app/ViewerPalette.h"
#include "chart/ChartBorder.h"
#include "chart/ChartFrames.h"
#include "chart/ChartPainting.h"
#include "gdi/Bitmap.h"
#include "gdi/RasterDc.h"
#include "gdi/RecordingDc.h"
#include "geo/geodesy.h"
#include "graphics/GraphicsLayer.h"
#include "proj/Map.h"
#include "proj/newMap.h"
#include "ui/Application.h"

#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kPixelsPerMetre = 3780;

// ---------------------------------------------------------------------------
// Steps, labels and values

TEST(ChartBorderSteps, TheFirstEntryNotBelowWithinTheEntriesSearched) {
    const struct {
        double least;
        int searched, index;
    } cases[] = {
        {6000, 25, 14},   // a view 1 degree high: 20'
        {5999.9, 25, 14}, // the first not below
        {6000.1, 25, 15}, // 30'
        {300, 25, 8},     // 3' high: 1'
        {100, 25, 6},     // 1' high: 20"
        {0, 25, 0},        {5, 25, 0},        {5.5, 25, 1},
        {1620000, 25, 24}, // not found among 25: the last searched
        {1620000, 26, 25}, {1800000, 26, 25}, {1800000, 27, 26},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BorderStepIndex(c.least, c.searched), c.index) << c.least << " " << c.searched;
}

TEST(ChartBorderSteps, TheAxesOfViewsOfKnownSize) {
    const struct {
        double south, north;
        std::int32_t major, minor;
        BorderLabelForm form;
    } latitudes[] = {
        {60, 61, 6000, 1200, BorderLabelForm::Minutes},
        {60, 60 + 3.0 / 60, 300, 60, BorderLabelForm::Minutes},
        {60, 60 + 1.0 / 60, 100, 20, BorderLabelForm::Seconds},
        {-10, 20, 180000, 36000, BorderLabelForm::Degrees},
        {-89.9, 89.9, 1080000, 216000, BorderLabelForm::Degrees},
    };
    for (const auto& c : latitudes) {
        const std::optional<TBorderAxis> a = LatitudeAxis(c.south, c.north);
        ASSERT_TRUE(a) << c.south << " " << c.north;
        EXPECT_EQ(a->major, c.major) << c.south << " " << c.north;
        EXPECT_EQ(a->minor, c.minor);
        EXPECT_EQ(a->form, c.form);
    }
    // No border for a height of 0 or less, or of 180 degrees.
    EXPECT_FALSE(LatitudeAxis(60, 60));
    EXPECT_FALSE(LatitudeAxis(61, 60));
    EXPECT_FALSE(LatitudeAxis(-90, 90));

    // Longitude: a quarter of the width, 26 entries searched.
    EXPECT_EQ(LongitudeAxis(5, 6).major, 4500);
    EXPECT_EQ(LongitudeAxis(179.5, 180.5).major, 4500);
    EXPECT_EQ(LongitudeAxis(-180, 180).major, 1620000); // the whole world: 90 degrees
}

TEST(ChartBorderSteps, LabelsInTheirThreeForms) {
    const std::int64_t v = 60 * 18000 + 24 * 300 + 20 * 5; // 60 24' 20"
    EXPECT_EQ(BorderLabel(v, BorderLabelForm::Seconds), "60 24'20\"");
    EXPECT_EQ(BorderLabel(v, BorderLabelForm::Minutes), "60 24'");
    EXPECT_EQ(BorderLabel(v, BorderLabelForm::Degrees), "60");
    EXPECT_EQ(BorderLabel(-v, BorderLabelForm::Seconds), "60 24'20\""); // no sign
    EXPECT_EQ(BorderLabel(5 * 18000 + 5, BorderLabelForm::Seconds), "5 00'01\"");
    EXPECT_EQ(BorderLabel(-180 * 18000, BorderLabelForm::Degrees), "180");
    EXPECT_EQ(BorderLabel(400 * 18000, BorderLabelForm::Degrees), "180"); // at most 180
    EXPECT_EQ(BorderLabelFormOf(7), BorderLabelForm::Seconds);
    EXPECT_EQ(BorderLabelFormOf(8), BorderLabelForm::Minutes);
    EXPECT_EQ(BorderLabelFormOf(15), BorderLabelForm::Minutes);
    EXPECT_EQ(BorderLabelFormOf(16), BorderLabelForm::Degrees);
}

TEST(ChartBorderValues, LatitudesStopShortOfThePolesAndCountTheSkippedSteps) {
    // 2 degrees high at the south pole: major 1 degree, minor 12'.
    const TBorderAxis south = *LatitudeAxis(-90, -88);
    ASSERT_EQ(south.major, 18000);
    const std::vector<TBorderValue> fromPole = LatitudeValues(-90, -88, south);
    ASSERT_FALSE(fromPole.empty());
    EXPECT_EQ(fromPole.front(), (TBorderValue{-90 * 18000 + 3600, 1})); // -90 itself skipped
    EXPECT_EQ(fromPole.back(), (TBorderValue{-88 * 18000, 10}));
    for (const TBorderValue& v : fromPole) {
        EXPECT_GT(v.units, -90 * 18000);
        // Full lines (counters of five) on the whole degrees.
        EXPECT_EQ(v.counter % 5 == 0, v.units % 18000 == 0) << v.units;
    }

    const TBorderAxis north = *LatitudeAxis(88.3, 89.9);
    const std::vector<TBorderValue> toPole = LatitudeValues(88.3, 89.9, north);
    ASSERT_FALSE(toPole.empty());
    EXPECT_LT(toPole.back().units, 90 * 18000);
    EXPECT_EQ(toPole.back().units + north.minor, 90 * 18000); // 90 itself left out
    EXPECT_EQ(toPole.front().counter, 0);

    // An ordinary view: from below the south edge to above the north edge.
    const TBorderAxis mid = *LatitudeAxis(60.05, 60.95);
    const std::vector<TBorderValue> v = LatitudeValues(60.05, 60.95, mid);
    EXPECT_EQ(v.front(), (TBorderValue{60 * 18000, 0}));
    EXPECT_EQ(v.back(), (TBorderValue{61 * 18000, 15}));
}

TEST(ChartBorderValues, LongitudesAcross180AreFolded) {
    const TBorderAxis a = LongitudeAxis(179.5, 180.5); // 15', minor 3'
    const std::vector<TBorderValue> v = LongitudeValues(179.5, 180.5, a);
    ASSERT_FALSE(v.empty());
    EXPECT_EQ(v.front(), (TBorderValue{179 * 18000 + 9000, 0}));
    std::vector<std::int64_t> full;
    for (const TBorderValue& b : v) {
        EXPECT_GE(b.units, -180 * 18000);
        EXPECT_LT(b.units, 180 * 18000);
        if (b.counter % 5 == 0) full.push_back(b.units);
    }
    // 179 30', 179 45', 180 (as -180) and 15', 30' and 45' beyond it.
    EXPECT_EQ(full, (std::vector<std::int64_t>{179 * 18000 + 9000, 179 * 18000 + 13500,
                                               -180 * 18000, -180 * 18000 + 4500,
                                               -180 * 18000 + 9000, -180 * 18000 + 13500}));

    // A west edge at -180 raises both bounds.
    const TBorderAxis b = LongitudeAxis(-180, -179);
    const std::vector<TBorderValue> w = LongitudeValues(-180, -179, b);
    EXPECT_EQ(w.front().units, -180 * 18000);
    EXPECT_EQ(w.back().units, -179 * 18000 + 4500); // a major step beyond the east edge
}

TEST(ChartBorderValues, TheMileScaleByTheDisplayScale) {
    const struct {
        double scale;
        bool drawn;
        double step;
        int second;
    } cases[] = {{50000, true, 0.5, 3}, {119999, true, 0.5, 3}, {120000, true, 5, 0},
                 {300000, true, 5, 0},  {3500000, true, 5, 0},  {3500001, false, 0, 0},
                 {4000000, false, 0, 0}};
    for (const auto& c : cases) {
        const std::optional<TMileScale> m = MileScaleOf(c.scale);
        ASSERT_EQ(m.has_value(), c.drawn) << c.scale;
        if (!m) continue;
        EXPECT_EQ(m->stepNm, c.step) << c.scale;
        EXPECT_EQ(m->secondColour, c.second) << c.scale;
    }
}

// ---------------------------------------------------------------------------
// The border on a recording

// A view of width x height pixels at the scale around (lon, lat), with its
// Map as the window makes it, recorded under the chart mapping.
struct BorderView {
    int width, height;
    double scale;
    std::unique_ptr<Map> map;
    ui::TRect view;
    gdi::RecordingDc dc;
    GeoRect geo{};

    BorderView(double lon, double lat, double scale_, int width_ = 1920, int height_ = 1080)
        : width(width_), height(height_), scale(scale_), dc(width_, height_) {
        const int halfW = int(std::ceil(width / 2.0 * 1000 / kPixelsPerMetre));
        const int halfH = int(std::ceil(height / 2.0 * 1000 / kPixelsPerMetre));
        map.reset(newMap(PRJ_MERCATOR, std::uint32_t(scale), GeoPoint{deg2nrm(lon), deg2nrm(lat)},
                         halfW, halfH, kPixelsPerMetre, kPixelsPerMetre, nullptr));
        view = ChartViewRect({0, 0, width, height});
        geo = ChartPassGeoRect(*map, Rect{view.left, view.top, view.right, view.bottom});
        dc.setMapping(gdi::Mapping::yUp((width + 1) / 2, (height + 1) / 2));
        DrawChartBorder(dc, *map, view, scale);
    }

    std::vector<std::string> lines(const std::string& prefix) const {
        return charttest::linesStarting(dc.log(), prefix);
    }
};

struct Segment {
    std::string pen;
    int x1, y1, x2, y2;
};
std::vector<Segment> segments(const BorderView& v) {
    std::vector<Segment> out;
    for (const std::string& text : v.lines("Polyline ")) {
        Segment s;
        char pen[64];
        if (std::sscanf(text.c_str(), "Polyline pen=%63s rop=copy (%d,%d) (%d,%d)", pen, &s.x1,
                        &s.y1, &s.x2, &s.y2) == 5) {
            s.pen = pen;
            out.push_back(s);
        }
    }
    return out;
}

struct Label {
    int x, y;
    std::string text;
};
std::vector<Label> labels(const BorderView& v) {
    std::vector<Label> out;
    for (const std::string& text : v.lines("TextOut ")) {
        Label l;
        const std::size_t at = text.find(") align=");
        const std::size_t open = text.rfind('(', at);
        std::sscanf(text.c_str() + open, "(%d,%d)", &l.x, &l.y);
        const std::size_t q = text.find("text=\"");
        l.text = text.substr(q + 6, text.size() - q - 7);
        out.push_back(l);
    }
    return out;
}

std::string pen(int chartColour) {
    return "solid/0/" + gdi::RecordingDc::colourText(gdColour(chartColour));
}

TEST(ChartBorderDrawn, AViewAboutOneDegreeHigh) {
    const BorderView v(5.3, 60.4, 350000);
    const double south = NrmToDegrees(v.geo.lat1), north = NrmToDegrees(v.geo.lat2);
    ASSERT_EQ(LatitudeAxis(south, north)->major, 6000) << south << " " << north;

    // Latitude labels at x 6 on their full line, a third of a degree apart.
    std::vector<Label> latitude, longitude;
    for (const Label& l : labels(v))
        (l.x == 6 ? latitude : longitude).push_back(l);
    std::vector<std::string> texts;
    for (const Label& l : latitude)
        texts.push_back(l.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"59 40'", "60 00'", "60 20'", "60 40'", "61 00'"}));
    const std::vector<Segment> s = segments(v);
    int full = 0, leftTicks = 0, rightTicks = 0;
    for (const Segment& g : s) {
        if (g.y1 != g.y2 || g.pen != pen(0)) continue;
        if (g.x1 == 0 && g.x2 == 1920) {
            ++full;
            bool labelled = false;
            for (const Label& l : latitude)
                labelled |= l.y == g.y1;
            EXPECT_TRUE(labelled) << "line at " << g.y1;
        }
        leftTicks += g.x1 == 0 && g.x2 == 8;
        rightTicks += g.x1 == 1920 && g.x2 == 1912;
    }
    EXPECT_EQ(full, 5);
    EXPECT_EQ(leftTicks, 16); // four minor steps of 4' between the labelled ones
    EXPECT_EQ(rightTicks, 16);
    // North is up: the labels' y falls as the latitude grows.
    for (std::size_t i = 1; i < latitude.size(); ++i)
        EXPECT_LT(latitude[i].y, latitude[i - 1].y);
    // 60 00' lies where the map puts it (the small offset is below a pixel).
    const Point p60 = [&] {
        Point p{0, 0};
        const GeoPoint g{v.geo.lon1, deg2nrm(60.0)};
        v.map->Geo2Map(&g, &p, 1);
        return p;
    }();
    EXPECT_NEAR(latitude[1].y, (1080 + 1) / 2 - p60.y, 1);

    // Longitude labels 6 pixels above the bottom edge, 2 right of their line;
    // ticks 8 pixels in from the top and the bottom.
    ASSERT_FALSE(longitude.empty());
    for (const Label& l : longitude) {
        EXPECT_EQ(l.y, 1080 - 6) << l.text;
        bool onLine = false;
        for (const Segment& g : s)
            onLine |= g.x1 == g.x2 && g.x1 == l.x - 2 && g.y1 == 1080 && g.y2 == 0;
        EXPECT_TRUE(onLine) << l.text;
    }
    int topTicks = 0, bottomTicks = 0;
    for (const Segment& g : s) {
        topTicks += g.x1 == g.x2 && g.y1 == 0 && g.y2 == 8;
        bottomTicks += g.x1 == g.x2 && g.y1 == 1080 && g.y2 == 1072;
    }
    EXPECT_GT(topTicks, 0);
    EXPECT_EQ(topTicks, bottomTicks);

    // The text: "Arial" of 12 pixels, weight 100, in chart colour 0, bottom
    // aligned, transparent.
    for (const std::string& text : v.lines("TextOut "))
        EXPECT_EQ(text.find("TextOut font=\"Arial\"/-12/100 " +
                            gdi::RecordingDc::colourText(gdColour(0)) + " ("),
                  0u)
            << text;
    for (const std::string& text : v.lines("TextOut ")) {
        EXPECT_NE(text.find("align=left,bottom"), std::string::npos) << text;
        EXPECT_EQ(text.find(" bk="), std::string::npos) << text;
    }

    // The frame: the view and its inset of 3 in colour 0, the insets of 1 and
    // 2 in colour 1; no fill.
    EXPECT_EQ(v.lines("Rectangle "),
              (std::vector<std::string>{
                  "Rectangle pen=" + pen(0) + " brush=null rop=copy [0,0,1920,1080]",
                  "Rectangle pen=" + pen(0) + " brush=null rop=copy [3,3,1917,1077]",
                  "Rectangle pen=" + pen(1) + " brush=null rop=copy [1,1,1919,1079]",
                  "Rectangle pen=" + pen(1) + " brush=null rop=copy [2,2,1918,1078]"}));
    // The context is as it was.
    EXPECT_EQ(v.dc.pen(), gdi::Pen{});
    EXPECT_EQ(v.dc.textAlign(), gdi::TA_LEFT | gdi::TA_TOP);
    EXPECT_EQ(v.dc.bkMode(), gdi::BkMode::Opaque);
}

TEST(ChartBorderDrawn, AViewAcross180) {
    const BorderView v(180, 60.4, 350000);
    ASSERT_GT(v.geo.lon1, v.geo.lon2); // the view wraps
    std::vector<Label> longitude;
    for (const Label& l : labels(v))
        if (l.y == 1080 - 6) longitude.push_back(l);
    ASSERT_GE(longitude.size(), 3u);
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < longitude.size(); ++i) {
        texts.push_back(longitude[i].text);
        if (i > 0) {
            EXPECT_GT(longitude[i].x, longitude[i - 1].x); // west to east in place
        }
    }
    // 179 and 180 east of west, then 179 west: the magnitudes.
    EXPECT_NE(std::find(texts.begin(), texts.end(), "180"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "179"), texts.end());
    const auto at180 = std::find(texts.begin(), texts.end(), "180") - texts.begin();
    EXPECT_NEAR(longitude[std::size_t(at180)].x - 2, (1920 + 1) / 2, 2);
}

// The mile scale's segments (vertical lines at x 1 and 2), bottom up.
std::vector<Segment> mileScale(const BorderView& v) {
    std::vector<Segment> out;
    for (const Segment& g : segments(v))
        if (g.x1 == g.x2 && (g.x1 == 1 || g.x1 == 2)) out.push_back(g);
    return out;
}

TEST(ChartBorderDrawn, TheMileScaleUpTheLeftEdge) {
    const struct {
        double scale;
        const char* second; // the pen it alternates with colour 1's
        double pixelsPerStep;
    } cases[] = {
        {50000, "3", 0.5 * 1852 / 50000 * kPixelsPerMetre},
        {300000, "0", 5 * 1852 / 300000.0 * kPixelsPerMetre},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scale);
        const BorderView v(5.3, 60.4, c.scale);
        const std::vector<Segment> s = mileScale(v);
        ASSERT_GE(s.size(), 4u);
        const std::string second = pen(std::atoi(c.second));
        for (std::size_t i = 0; i < s.size(); ++i) {
            const Segment& g = s[i];
            // Twice each, at x 1 then 2, alternating colours 1 and the second.
            EXPECT_EQ(g.x1, i % 2 == 0 ? 1 : 2);
            EXPECT_EQ(g.pen, (i / 2) % 2 == 0 ? pen(1) : second) << i;
            if (i % 2 == 1) {
                EXPECT_EQ(g.y1, s[i - 1].y1);
                EXPECT_EQ(g.y2, s[i - 1].y2);
            }
            if (i >= 2 && i % 2 == 0) {
                EXPECT_EQ(g.y1, s[i - 2].y2); // end to end
            }
        }
        // From 3 pixels below the bottom-left corner's inner pixel (device
        // row 1079 - 1 + 3), a step a segment, up to the first step beyond the
        // north edge.
        EXPECT_EQ(s[0].y1, 1080 - 1 + 3);
        EXPECT_NEAR(s[0].y1 - s[0].y2, c.pixelsPerStep, 0.03 * c.pixelsPerStep);
        EXPECT_LE(s.back().y2, 3);
        EXPECT_GT(s[s.size() - 3].y2, 3);
    }
    EXPECT_TRUE(mileScale(BorderView(5.3, 60.4, 4000000)).empty());
}

// The border's font: Liberation Sans (the thinnest installed face for weight
// 100); a change of font changes this extent.
TEST(ChartBorderDrawn, TheLabelFontsExtent) {
    ui::EnsureQtApplication();
    const auto font = gdi::Font::create(gdi::LogFont{"Arial", -12, 100});
    EXPECT_EQ(font->familyName(), "Liberation Sans");
    EXPECT_EQ(font->extent("60 24'"), (gdi::XY{33, 14}));
}

// ---------------------------------------------------------------------------
// The text in a y-up picture

TEST(ChartBorderDrawn, LabelsLandInsideTheViewUprightInAYUpPicture) {
    ui::EnsureQtApplication();
    LoadPalettes(DATA_DIR);
    const int width = 640, height = 360;
    const BorderView recorded(5.3, 60.4, 100000, width, height);
    auto picture = gdi::RasterDc::createCompatible(nullptr);
    picture->selectBitmap(gdi::Bitmap::colour(width, height));
    picture->selectPalette(ProgramPalette());
    picture->fillRect(0, 0, width, height, gdi::Brush::solid(gdColour(9)));
    picture->setMapping(gdi::Mapping::yUp((width + 1) / 2, (height + 1) / 2));
    DrawChartBorder(*picture, *recorded.map, recorded.view, recorded.scale);
    picture->setMapping(gdi::Mapping{});
    const gdi::Colour ink = picture->resolve(gdColour(0));
    const auto inked = [&](int x, int y) { return picture->getPixel(x, y) == ink; };
    // Full lines of the grid, to tell them from text.
    const auto lineRow = [&](int y) { return inked(10, y) && inked(width - 10, y); };
    const auto lineColumn = [&](int x) { return inked(x, 10) && inked(x, height - 10); };
    const auto font = gdi::Font::create(gdi::LogFont{"Arial", -12, 100});

    // The ink of a label's box, inside the frame and off the grid's lines.
    const auto textInk = [&](int left, int top, int right, int bottom) {
        std::vector<gdi::XY> out;
        for (int y = std::max(top, 4); y < std::min(bottom, height - 4); ++y)
            for (int x = std::max(left, 4); x < std::min(right, width - 4); ++x)
                if (inked(x, y) && !lineRow(y) && !lineColumn(x)) out.push_back({x, y});
        return out;
    };
    int longitudeLabels = 0, latitudeLabels = 0;
    for (const Label& l : labels(recorded)) {
        const gdi::XY size = font->extent(l.text);
        if (l.x + size.x >= width - 4 || l.x < 4) continue; // cut by the frame
        if (l.y == height - 6) {
            // Longitudes: all ink in the bottom 20 rows, above the frame.
            ++longitudeLabels;
            const std::vector<gdi::XY> all = textInk(l.x, 0, l.x + size.x, height);
            ASSERT_FALSE(all.empty()) << l.text;
            for (const gdi::XY& p : all)
                EXPECT_GE(p.y, height - 20) << l.text << " at " << p.x << "," << p.y;
        } else if (l.y > 4 + size.y && l.y < height - 4) {
            // Latitudes: right of the left frame, standing on their line.
            ++latitudeLabels;
            EXPECT_EQ(l.x, 6);
            EXPECT_TRUE(lineRow(l.y)) << l.text;
            EXPECT_FALSE(textInk(l.x, l.y - size.y, l.x + size.x, l.y).empty()) << l.text;
            EXPECT_TRUE(textInk(l.x, l.y + 1, l.x + size.x, l.y + size.y).empty()) << l.text;
        }
    }
    EXPECT_GT(longitudeLabels, 0);
    EXPECT_GT(latitudeLabels, 0);
    EXPECT_TRUE(picture->picture().save(
        QString::fromStdString(charttest::picturePath("border-640x360")), "PNG"));
}

} // namespace
