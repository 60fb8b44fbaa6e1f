#include "ChartRenderer.h"

#include "ChartPalette.h"

#include "chart/pass/ChartDrawingPass.h"

#include "gdi/Brush.h"
#include "gdi/RasterDc.h"
#include "geo/GeoPoint.h"
#include "graphics/GraphicsLayer.h"
#include "kv71/TKV71Db.h"
#include "kv71/TKV71Dictionary.h"
#include "presentation/TPresLib.h"
#include "proj/Map.h"
#include "proj/newMap.h"

#include <QImage>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace chartview {

const TGdbFormula kPassFormula = ChartPassFormula(15);

namespace {

// Runs make(), turning what the engine throws into a ViewError with its text.
template <class Make> auto engineCall(const std::string& what, Make make) {
    try {
        return make();
    } catch (const ViewError&) {
        throw;
    } catch (const char* text) {
        throw ViewError(what + ": " + (text ? text : "failed"));
    } catch (int code) {
        throw ViewError(what + ": error " + std::to_string(code));
    } catch (const std::exception& e) {
        throw ViewError(what + ": " + e.what());
    }
}

// A folder path ending in one '/', as the dictionary's loaders want it.
std::string folder(const std::string& path) {
    return !path.empty() && path.back() == '/' ? path : path + "/";
}

bool isFolder(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

} // namespace

ChartEngine::ChartEngine(const std::string& dictionaryFolder, const std::string& chartRoot,
                         unsigned long cacheBytes) {
    const std::string dict = folder(dictionaryFolder);
    if (!isFolder(dict))
        throw ViewError("the dictionary folder is not a folder: " + dictionaryFolder);
    dictionary_ = engineCall("the dictionaries in " + dictionaryFolder, [&] {
        return std::make_unique<TKV71Dictionary>("KV71Dictionary", dict.c_str());
    });
    presentation_ = engineCall("the presentation library in " + dictionaryFolder, [&] {
        try {
            return std::make_unique<TPresLib>(dictionary_.get(), "INT1Pres", dict.c_str());
        } catch (int code) {
            // The look-up table loaders' own codes.
            if (code == 10) throw ViewError("OBJLUT.DIC is missing or unreadable in " + dict);
            if (code == 11) throw ViewError("ATTRLUT.DIC is missing or unreadable in " + dict);
            throw;
        }
    });
    // Before any query is made: the iterator takes the tables when its query
    // is constructed.
    dictionary_->SetPresentation(presentation_.get());
    if (!isFolder(chartRoot)) {
        dictionary_->SetPresentation(nullptr);
        throw ViewError("the chart root is not a folder: " + chartRoot);
    }
    database_ = engineCall("the chart database on " + chartRoot, [&] {
        return std::make_unique<TKV71Db>(*dictionary_, chartRoot.c_str(), cacheBytes, nullptr);
    });
}

ChartEngine::~ChartEngine() {
    database_.reset();
    if (dictionary_) dictionary_->SetPresentation(nullptr);
    presentation_.reset();
    dictionary_.reset();
}

void ChartView::MapDeleter::operator()(Map* map) const {
    delete map;
}

ChartView::ChartView(const ViewSetup& setup)
    : setup_(setup), scales_(viewScales(setup.level, setup.displayScale)) {
    const int w = setup.width > 0 ? setup.width : 1, h = setup.height > 0 ? setup.height : 1;
    setup_.width = w;
    setup_.height = h;
    // Half-sizes in chart millimetres, rounded up so the map covers the
    // picture (3.78 pixels to the millimetre).
    const double pixelsPerMillimetre = kPlaneUnitsPerChartMetre / 1000.0;
    const int halfW = static_cast<int>(std::ceil(w / 2.0 / pixelsPerMillimetre));
    const int halfH = static_cast<int>(std::ceil(h / 2.0 / pixelsPerMillimetre));
    const GeoPoint centre{deg2nrm(setup.lonDeg), deg2nrm(setup.latDeg)};
    map_.reset(newMap(PRJ_MERCATOR, setup.displayScale ? setup.displayScale : 1, centre, halfW,
                      halfH, kPlaneUnitsPerChartMetre, kPlaneUnitsPerChartMetre, nullptr));
    if (!map_) throw ViewError("no map can be made for the view");

    // The client rectangle (0, 0, w, h) about its centre, y up.
    const int cx = (w + 1) / 2, cy = (h + 1) / 2;
    viewRect_ = Rect{-cx, cy - h, w - cx, cy};
    const GeoRect world{static_cast<std::int32_t>(0x80000001u),
                        static_cast<std::int32_t>(0xC0000000u), 0x7FFFFFFF, 0x40000000};
    queryRect_ = world;
    map_->Map2Geo(&viewRect_, &queryRect_, 1);
    const Rect grown{viewRect_.left - 10, viewRect_.top - 10, viewRect_.right + 10,
                     viewRect_.bottom + 10};
    contextRect_ = world;
    map_->Map2Geo(&grown, &contextRect_, 1);
}

ChartView::~ChartView() = default;

gdi::Mapping ChartView::mapping() const {
    return gdi::Mapping::yUp((setup_.width + 1) / 2, (setup_.height + 1) / 2);
}

void prepareDc(gdi::Dc& dc, const ChartView& view, std::shared_ptr<gdi::Palette> palette) {
    dc.selectPalette(std::move(palette));
    dc.setMapping(view.mapping());
}

void fillBackground(gdi::Dc& dc, const ChartView& view) {
    const Rect& r = view.viewRect();
    dc.fillRect(
        r.left, r.top, r.right, r.bottom,
        gdi::Brush::solid(gdi::paletteIndex(static_cast<std::uint16_t>(_anSp57ColorsMap[9]))));
}

PassResult drawChart(ChartEngine& engine, const ChartView& view, gdi::Dc& dc,
                     const PassObserver& observer) {
    fillBackground(dc, view);
    const ViewSetup& setup = view.setup();
    TChartPassOptions options;
    options.zoomFactor = view.scales().zoom;
    options.detailWord = view.scales().engineLevel;
    const TChartPassResult r =
        DrawChartPass(&engine.database(), chartLevel(setup.level).levelScale, setup.displayScale,
                      setup.level, view.map(), dc, view.viewRect(), options, observer);
    PassResult result;
    result.opened = r.opened;
    result.returned = r.returned;
    result.drawn = r.drawn;
    result.skippedDepthAreas = r.skippedDepthAreas;
    result.skippedCategory = r.skippedCategory;
    return result;
}

namespace {

// Writes the picture as a PNG into a temporary file beside `path` and renames
// it into place; nothing is left behind on failure.
void writePng(const QImage& picture, const std::string& path) {
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) throw ViewError("cannot write " + path + ": " + std::strerror(errno));
    // mkstemp makes the file for its owner alone; the picture gets the modes
    // a new file gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    ::close(fd);
    std::error_code ec;
    if (!picture.save(QString::fromStdString(temporary), "PNG")) {
        std::filesystem::remove(temporary, ec);
        throw ViewError("cannot write " + path);
    }
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        throw ViewError("cannot write " + path + ": " + ec.message());
    }
}

} // namespace

std::string renderRequest(const ViewRequest& request) {
    PaletteFile paletteFile;
    try {
        paletteFile = readPaletteFile(request.palette);
    } catch (const std::runtime_error& e) {
        throw ViewError(e.what());
    }
    ChartEngine engine(request.dictionary, request.chartRoot);
    const ChartView view({request.level, request.scale, request.latDeg, request.lonDeg,
                          request.width, request.height});

    QImage picture(request.width, request.height, QImage::Format_RGB32);
    if (picture.isNull()) throw ViewError("no picture of that size can be made");
    PassResult result;
    double milliseconds = 0;
    {
        gdi::RasterDc dc(&picture);
        prepareDc(dc, view, makePalette(paletteFile, request.scheme));
        const auto start = std::chrono::steady_clock::now();
        result = engineCall("drawing the view", [&] { return drawChart(engine, view, dc); });
        dc.flush();
        milliseconds =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
    }
    writePng(picture, request.output);

    const unsigned long queryScale = view.scales().queryScale;
    char line[256];
    std::snprintf(line, sizeof line,
                  "level %d: query 1:%lu (%c), display 1:%lu, exponent %d, %ld objects, %.1f ms",
                  request.level, queryScale, levelLetter(engine.database().getLevel(queryScale)),
                  static_cast<unsigned long>(request.scale), view.scales().scaleExponent,
                  result.drawn, milliseconds);
    return line;
}

} // namespace chartview
