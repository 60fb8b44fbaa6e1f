// The sample chart drawn end to end, as the navigation program's drawing pass
// draws it: fixed views of data/sample/kv71 rendered into PNGs under
// CHARTVIEW_TEST_PICTURES for review, with the checks the whole road must
// pass. The sanitizer build draws the recording checks on the approaches and
// the pixel checks on a 640 x 360 harbour; the plain build draws every view
// at 1920 x 1080.
#include "ChartPalette.h"
#include "ChartRenderer.h"
#include "SampleViews.h"
#include "sampleEngine.h"

#include "gdb/GdbObject.h"
#include "gdb/TGdbQuery.h"
#include "gdi/RasterDc.h"
#include "gdi/RecordingDc.h"
#include "graphics/GraphicsFonts.h"
#include "graphics/GraphicsLayer.h"
#include "graphics/GraphicsPrimitives.h"
#include "kv71/TKV71Db.h"
#include "presentation/TPresLib.h"
#include "procedures/AttributeReads.h"
#include "procedures/LineElementTemplates.h"
#include "proj/MapObject.h"
#include "rendering/RendererTrace.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace chartview;
using chartviewtest::sampleEngine;

#ifdef CHARTVIEW_FULL_VIEWS
constexpr bool kFullViews = true;
#else
constexpr bool kFullViews = false;
#endif

const PaletteFile& projectPalette() {
    static const PaletteFile file = readPaletteFile(DATA_DIR "/ECPALETT.INI");
    return file;
}

std::string picturePath(const std::string& name) {
    std::filesystem::create_directories(CHARTVIEW_TEST_PICTURES);
    return std::string(CHARTVIEW_TEST_PICTURES) + "/" + name + ".png";
}

std::string describe(const ChartView& view, const PassResult& r) {
    char line[256];
    std::snprintf(line, sizeof line,
                  "%.4f N %.4f E, level %d: query 1:%lu (%c), display 1:%u, exponent %d, %ld of "
                  "%ld objects drawn",
                  view.setup().latDeg, view.setup().lonDeg, view.setup().level,
                  view.scales().queryScale, view.scales().levelLetter, view.setup().displayScale,
                  view.scales().scaleExponent, r.drawn, r.returned);
    return line;
}

// ---------------------------------------------------------------- one checked pass

// A pass through drawChart with the checks every Draw must pass: afterwards
// line width 1, area pattern 0, exclusive-or off, no text template pointing
// at a text, and the view's device context current. Objects whose code has
// an empty table entry are counted by code. With a recording device context,
// the recording of each object is kept apart.
struct CheckedPass {
    PassResult result;
    std::vector<int> codes;                          // every object returned, in order
    std::map<int, long> emptyEntries;                // code -> objects without a procedure
    std::map<std::string, long> leftState;           // what a Draw left behind -> objects
    std::vector<std::pair<int, std::string>> pieces; // (code, recording) per drawn object
};

CheckedPass checkedPass(const ChartView& view, gdi::Dc& dc, gdi::RecordingDc* recording = nullptr,
                        const PassObserver& more = {}) {
    CheckedPass pass;
    TPresLib& presentation = sampleEngine().presentation();
    if (recording) recording->clearLog();
    pass.result = drawChart(sampleEngine(), view, dc, [&](GdbObject& object, bool drawn) {
        const int code = object.GetLabel();
        pass.codes.push_back(code);
        if (!drawn) return;
        if (code < 0 || static_cast<unsigned>(code) >= presentation.procCount ||
            !presentation.procs[code])
            ++pass.emptyEntries[code];
        auto left = [&](const char* what) {
            ++pass.leftState[std::string(what) + " after code " + std::to_string(code)];
        };
        if (gdLineWidth() != 1) left("line width");
        if (gdAreaPattern() != 0) left("area pattern");
        if (gdXorFill()) left("exclusive-or");
        if (gdCurrentDc() != &dc) left("another device context");
        for (const TLineMarker& t : LineElementTemplates)
            if (t.text) left("a template text");
        if (recording) {
            pass.pieces.emplace_back(code, recording->log());
            recording->clearLog();
        }
        if (more) more(object, drawn);
    });
    return pass;
}

void expectSound(const CheckedPass& pass, const std::string& view) {
    EXPECT_TRUE(pass.result.opened) << view;
    EXPECT_GT(pass.result.drawn, 0) << view;
    EXPECT_EQ(pass.result.skippedDepthAreas, 0) << view << ": depth areas without 67";
    for (const auto& [what, n] : pass.leftState)
        ADD_FAILURE() << view << ": " << what << " (" << n << " objects)";
    std::ostringstream empty;
    for (const auto& [code, n] : pass.emptyEntries)
        empty << " " << code << " x" << n;
    if (!pass.emptyEntries.empty())
        std::printf("%s: objects of codes without a procedure:%s\n", view.c_str(),
                    empty.str().c_str());
}

// A raster picture of a view in a scheme.
struct Picture {
    QImage image;
    CheckedPass pass;
};

Picture paintView(const ChartView& view, int scheme = SchemeDay) {
    Picture p;
    p.image = QImage(view.setup().width, view.setup().height, QImage::Format_RGB32);
    gdi::RasterDc dc(&p.image);
    prepareDc(dc, view, makePalette(projectPalette(), scheme));
    p.pass = checkedPass(view, dc);
    dc.flush();
    return p;
}

// ---------------------------------------------------------------- the road's numbers

TEST(SampleViews, EachChartLevelQueriesItsOwnEngineScaleLevel) {
    TKV71Db& db = sampleEngine().database();
    for (int level = 0; level < kChartLevelCount; ++level) {
        const ViewScales v = viewScales(level, chartLevel(level).displayScale);
        EXPECT_EQ(db.getLevel(v.queryScale), chartLevel(level).engineLevel) << "level " << level;
    }
}

// ---------------------------------------------------------------- the views

TEST(SampleViews, DrawEveryViewForReview) {
    struct Named {
        std::string name;
        ViewSetup setup;
        int scheme;
    };
    std::vector<Named> views;
    if (kFullViews) {
        views = {{"harbour", harbourView(), SchemeDay},
                 {"harbour-close-up", harbourCloseUpView(), SchemeDay},
                 {"approaches", approachesView(), SchemeDay},
                 {"coast", coastView(), SchemeDay},
                 {"benchmark", densestLevelEView(sampleEngine()), SchemeDay},
                 {"harbour-night", harbourView(), SchemeNight}};
    } else {
        views = {{"harbour", harbourView(640, 360), SchemeDay},
                 {"harbour-night", harbourView(640, 360), SchemeNight}};
    }
    for (const Named& v : views) {
        SCOPED_TRACE(v.name);
        const ChartView view(v.setup);
        Picture p;
        ASSERT_NO_THROW(p = paintView(view, v.scheme));
        expectSound(p.pass, v.name);
        const std::string path = picturePath(v.name);
        EXPECT_TRUE(p.image.save(QString::fromStdString(path), "PNG")) << path;
        std::printf("%s: %s -> %s\n", v.name.c_str(), describe(view, p.pass.result).c_str(),
                    path.c_str());
    }
}

// Shared templates carry values from one object to the next by design, so
// the first pass may differ; from then on a view draws the same pixels.
TEST(SampleViews, TheSameViewDrawsTheSamePixelsAgain) {
    const ChartView view(kFullViews ? harbourView() : harbourView(640, 360));
    paintView(view);
    const QImage second = paintView(view).image;
    const QImage third = paintView(view).image;
    ASSERT_EQ(second.size(), third.size());
    long differing = 0;
    for (int y = 0; y < second.height(); ++y)
        for (int x = 0; x < second.width(); ++x)
            if (second.pixel(x, y) != third.pixel(x, y)) ++differing;
    EXPECT_EQ(differing, 0);
}

// The background is colour 9 over the whole picture, whatever the size's
// parity (the view rectangle is centred with integer halving).
TEST(SampleViews, TheBackgroundCoversThePicture) {
    for (auto [w, h] : {std::pair{640, 360}, std::pair{641, 361}, std::pair{17, 16}}) {
        const ChartView view(harbourView(w, h));
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::black);
        gdi::RasterDc dc(&image);
        const auto palette = makePalette(projectPalette(), SchemeDay);
        prepareDc(dc, view, palette);
        fillBackground(dc, view);
        dc.flush();
        const gdi::PaletteEntry& e = palette->entry(_anSp57ColorsMap[9]);
        const QRgb nine = qRgb(e.red, e.green, e.blue);
        long other = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) != (nine & 0xFFFFFF)) ++other;
        EXPECT_EQ(other, 0) << w << "x" << h;
    }
}

// The pass's region query for a buoy runs nested inside the pass's own walk;
// the outer walk must still return what a walk that draws nothing returns.
TEST(SampleViews, ThePassWalksWhatAQueryAloneReturns) {
    const ChartView view(harbourView(640, 360));
    const Picture p = paintView(view);
    std::vector<int> alone;
    GeoRect rect = view.queryRect();
    TGdbQuery query(sampleEngine().database());
    ASSERT_EQ(query.open(rect, view.scales().queryScale, &kPassFormula), 1);
    while (GdbObject* o = query.next())
        alone.push_back(o->GetLabel());
    query.close();
    EXPECT_FALSE(alone.empty());
    EXPECT_EQ(p.pass.codes, alone);
}

// ---------------------------------------------------------------- centres

// Shoelace area over the object's points taken as one chain, as the centre
// of gravity takes them: positive for a ring running clockwise with y up.
double chainArea(const MapObject& m) {
    long n = 0;
    for (int p = 0; p < m.partCount; ++p)
        n += m.pointCounts[p] > 0 ? m.pointCounts[p] : 0;
    double a = 0;
    for (long i = 0; i + 1 < n; ++i)
        a += (double(m.points[i].x) + m.points[i + 1].x) / 2 *
             (double(m.points[i].y) - m.points[i + 1].y);
    return a;
}

bool insideView(const MapObject& m, const Rect& view) {
    return m.bounds.left >= view.left && m.bounds.right <= view.right && m.bounds.top >= view.top &&
           m.bounds.bottom <= view.bottom;
}

// The areas of a view whose ring lies wholly inside it and encloses more than
// 750 square units, each with its code and centre (found or not).
struct AreaCentre {
    int code;
    bool found;
    Point centre;
    double area;
};

std::vector<AreaCentre> areaCentres(const ChartView& view) {
    std::vector<AreaCentre> out;
    GeoRect rect = view.queryRect();
    GeoRect window = view.contextRect();
    TGdbQuery query(sampleEngine().database());
    if (query.open(rect, view.scales().queryScale, &kPassFormula) != 1) return out;
    MapObject reuse(egtEmpty, -1);
    while (GdbObject* o = query.next()) {
        MapObject* m = o->newMapObject(view.map(), window, &reuse);
        if (!m) continue;
        if (m->type == egtArea && insideView(*m, view.viewRect())) {
            const double a = chainArea(*m);
            Point c{0, 0};
            if (std::fabs(a) > 750)
                out.push_back({o->GetLabel(), m->CentreOfGravity(c) == 1, c, a});
        }
        if (m != &reuse) delete m;
    }
    query.close();
    return out;
}

TEST(SampleViews, AreasInTheApproachesFindTheirCentres) {
    const ChartView view(approachesView());
    const std::vector<AreaCentre> areas = areaCentres(view);
    long found = 0;
    for (const AreaCentre& a : areas) {
        found += a.found;
        EXPECT_TRUE(a.found) << "an area of code " << a.code << " (area " << a.area
                             << ") finds no centre";
    }
    EXPECT_GT(areas.size(), 10u);
    std::printf("approaches: %ld of %zu areas inside the view find a centre\n", found,
                areas.size());
}

// ---------------------------------------------------------------- every family

TEST(SampleViews, EveryObjectReachesABuiltProcedure) {
    const ChartView view(harbourView(640, 360));
    const Picture p = paintView(view);
    expectSound(p.pass, "harbour");
}

// The recording of a view: every object's piece, and the renderers' trace.
struct Recorded {
    CheckedPass pass;
    std::vector<RendererCall> trace;
};

void traceInto(const RendererCall& call, void* user) {
    static_cast<std::vector<RendererCall>*>(user)->push_back(call);
}

Recorded recordView(const ChartView& view, const PassObserver& more = {}) {
    Recorded r;
    gdi::RecordingDc dc(view.setup().width, view.setup().height);
    prepareDc(dc, view, makePalette(projectPalette(), SchemeDay));
    setRendererTrace(&traceInto, &r.trace);
    r.pass = checkedPass(view, dc, &dc, more);
    setRendererTrace(nullptr, nullptr);
    return r;
}

// The layer records each text call on a recording context as one line,
// "Text row=R pC (x,y) align=A angle=D scale=S codes=c1,c2,...": the font
// table row, the colour, the device point and the bytes.
constexpr int kAnyFont = -100;

// Text lines of a recording in the table row of a font number (every text
// line with kAnyFont).
std::vector<std::string> textLines(const std::string& log, int font = kAnyFont) {
    std::vector<std::string> out;
    std::istringstream in(log);
    std::string line;
    const std::string prefix = font == kAnyFont
                                   ? "Text row="
                                   : "Text row=" + std::to_string(GD_FontChoice(font).row) + " ";
    while (std::getline(in, line))
        if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
}

// The bytes of a text line, as the recording lists them.
std::string codesOf(const std::string& text) {
    std::string codes;
    for (const char ch : text)
        codes += (codes.empty() ? "" : ",") + std::to_string(static_cast<unsigned char>(ch));
    return "codes=" + codes;
}

bool hasLine(const std::string& log, const std::string& start, const std::string& part = "") {
    std::istringstream in(log);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(start, 0) == 0 && line.find(part) != std::string::npos) return true;
    return false;
}

std::string wholeLog(const Recorded& r) {
    std::string log;
    for (const auto& [code, piece] : r.pass.pieces)
        log += piece;
    return log;
}

bool filledIn(const std::string& log, int colour) {
    return hasLine(log, "Polygon ", "brush=solid/p" + std::to_string(colour) + " ");
}

TEST(SampleViews, EveryFamilyShowsInTheApproaches) {
    const ChartView view(approachesView());
    const Recorded r = recordView(view);
    expectSound(r.pass, "approaches");
    const std::string log = wholeLog(r);
    // Depth-zone fills in colours 7, 8 and 9, and the land colour 12.
    for (int colour : {7, 8, 9, 12})
        EXPECT_TRUE(filledIn(log, colour)) << "no fill in colour " << colour;
    // The deepest zone (colour 1) lies beyond the level's last limit: 30 m
    // here, deeper than the fjord's depth areas in this view (the 50 m band
    // lies more than 1.5 km from land). The harbour's last limit is 20 m, the
    // limit of its deepest depth area.
    EXPECT_TRUE(filledIn(wholeLog(recordView(ChartView(harbourView()))), 1))
        << "no fill in colour 1 in the harbour";
    // Soundings: whole metres in font -1 (contour labels begin with a blank).
    long soundings = 0;
    for (const std::string& t : textLines(log, -1)) {
        const std::size_t at = t.find("codes=");
        const int first = at == std::string::npos ? 0 : std::atoi(t.c_str() + at + 6);
        if (first >= '0' && first <= '9') ++soundings;
    }
    EXPECT_GT(soundings, 10);
    for (int font : {33, 34, 35})
        EXPECT_FALSE(textLines(log, font).empty()) << "no glyph of font " << font;
    // A light's sector (the sector lights of Nordnes and Hegreneset are in view).
    EXPECT_TRUE(hasLine(log, "Arc ")) << "no light sector";
    // A labelled contour (a text element in colour 6 along a styled line) and
    // a text label (the fjord's name).
    bool labelledContour = false;
    for (const RendererCall& c : r.trace)
        for (const TracedMarker& m : c.elements)
            if (m.kind == kMarkerText && m.colour == 6 && m.hasText) labelledContour = true;
    EXPECT_TRUE(labelledContour);
    EXPECT_TRUE(hasLine(log, "Text row=", codesOf("Byfjorden"))) << "no name label";
}

// Areas that place a symbol at their centre draw it there: the anchorage
// (code 4) has its glyph at its centre of gravity.
TEST(SampleViews, AreaSymbolsStandAtTheirCentres) {
    const ChartView view(approachesView());
    std::vector<Point> centres;
    for (const AreaCentre& a : areaCentres(view))
        if (a.code == 4 && a.found) centres.push_back(a.centre);
    ASSERT_FALSE(centres.empty()) << "no anchorage inside the approaches";
    const Recorded r = recordView(view);
    const gdi::Mapping mapping = view.mapping();
    for (const Point& c : centres) {
        const gdi::XY d = mapping.toDevice({c.x, c.y});
        const std::string at = "(" + std::to_string(d.x) + "," + std::to_string(d.y) + ")";
        bool drawn = false;
        for (const auto& [code, piece] : r.pass.pieces)
            if (code == 4)
                for (const std::string& t : textLines(piece, 35))
                    drawn = drawn || t.find(at) != std::string::npos;
        EXPECT_TRUE(drawn) << "no glyph at the anchorage's centre " << at;
    }
}

// Lights, topmarks and the other members of a structure are drawn through
// their aggregate. The harbour shows a lit buoy, and "Vågen port", which has
// no colour and no region of its own, in red (lateral buoy colours of
// category 1 in region 1) by way of the region query.
TEST(SampleViews, TheHarbourShowsItsLitBuoysAndThePortBuoyInRed) {
    const ChartView view(harbourView());
    std::vector<std::string> names; // names of the aggregates, in drawing order
    const Recorded r = recordView(view, [&](GdbObject& o, bool) {
        char* text = nullptr;
        names.push_back(o.GetLabel() == 185 && AttrText(&o, 87, text) ? text : "");
    });
    ASSERT_EQ(names.size(), r.pass.pieces.size());
    bool litBuoy = false, portInRed = false;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (r.pass.pieces[i].first != 185) continue;
        const std::string& piece = r.pass.pieces[i].second;
        const auto buoyGlyphs = textLines(piece, 33);
        if (!buoyGlyphs.empty() && textLines(piece).size() > buoyGlyphs.size()) litBuoy = true;
        if (names[i] == "V\xe5gen port")
            for (const std::string& t : buoyGlyphs)
                portInRed = portInRed || t.find(" p2 ") != std::string::npos;
    }
    EXPECT_TRUE(litBuoy) << "no lit buoy in the harbour";
    EXPECT_TRUE(portInRed) << "\"V\xe5gen port\" is not drawn red";
}

} // namespace
