#include "chart/pass/ChartDrawingPass.h"

#include "chart/ChartLevels.h"
#include "chart/pass/SoundingProcedures.h"

#include "context/TMapContext.h"
#include "gdb/GdbObject.h"
#include "gdb/TGdbDictionary.h"
#include "gdb/TGdbQuery.h"
#include "gdb/TGeoDb.h"
#include "kv71/dictionaryTables.h"
#include "presentation/TPresLib.h"
#include "proj/Map.h"

#include <cmath>
#include <utility>

namespace {

constexpr int kSoundings = 147, kRocks = 168, kCode132 = 132, kDepthArea = 44;
constexpr unsigned kShallowLimitAttr = 66, kDeepLimitAttr = 67;
constexpr int kSymbolOnlyCategory = 1;
constexpr double kSmallZoom = 0.5;
constexpr double kSoundingDepthLimit = 5.0;
constexpr int kContextMargin = 10;

// The whole world, where a rectangle's conversion starts.
constexpr GeoRect kWorld{static_cast<std::int32_t>(0x80000001u),
                         static_cast<std::int32_t>(0xC0000000u), 0x7FFFFFFF, 0x40000000};

// The program's sounding procedures installed for one pass; every saved
// procedure goes back when the pass ends, however it ends.
class ProcedureSwap {
  public:
    ProcedureSwap(TPresLib* presentation, bool install) : presentation_(presentation) {
        if (!presentation_ || !install) return;
        TSavedSymbProcedures& saved = SavedSymbProcedures();
        saved.code147 = presentation_->setSymbProcedure(kSoundings, CondSymbProc147);
        saved.code168 = presentation_->setSymbProcedure(kRocks, CondSymbProc168);
    }
    ~ProcedureSwap() {
        TSavedSymbProcedures& saved = SavedSymbProcedures();
        const std::pair<int, std::optional<CondSymbProc>*> slots[] = {
            {kSoundings, &saved.code147}, {kRocks, &saved.code168}, {kCode132, &saved.code132}};
        for (auto [code, slot] : slots) {
            if (!slot->has_value()) continue;
            if (presentation_) presentation_->setSymbProcedure(code, **slot);
            slot->reset();
        }
    }
    ProcedureSwap(const ProcedureSwap&) = delete;
    ProcedureSwap& operator=(const ProcedureSwap&) = delete;

  private:
    TPresLib* presentation_;
};

// The display category of an object's class; -1 for a code without a class
// entry (such objects are drawn).
int displayCategory(int code) {
    if (code < 0) return -1;
    const KV71ObjectClass* k = GetObjDescr(static_cast<unsigned>(code));
    return k ? k->primitives & 15 : -1;
}

} // namespace

TChartPassScales ChartPassScales(double levelScale, double displayScale) {
    int exponent = 0;
    std::frexp(levelScale / displayScale, &exponent);
    return {static_cast<unsigned long>(std::nearbyint(levelScale)), exponent - 1};
}

TGdbFormula ChartPassFormula(std::uint32_t displayMaskA) {
    return {0, displayMaskA, 0xFFFFFFFFu, 2, 1, 1, 0, nullptr, 0, nullptr, 0};
}

TSavedSymbProcedures& SavedSymbProcedures() {
    static TSavedSymbProcedures saved;
    return saved;
}

TChartPassResult DrawChartPass(TGeoDb* database, double levelScale, double displayScale,
                               int levelIndex, Map* map, gdi::Dc& dc, const Rect& view,
                               const TChartPassOptions& options,
                               const TChartPassObserver& observer) {
    TChartPassResult result;
    if (!database || !map || !(displayScale > 0)) return result;
    const TChartPassScales scales = ChartPassScales(levelScale, displayScale);
    result.queryScale = scales.queryScale;
    result.scaleExponent = scales.scaleExponent;

    SoundingDepthLimit = kSoundingDepthLimit;
    TGdbDictionary* dictionary = database->GetDictionary();
    auto* presentation =
        dictionary ? dynamic_cast<TPresLib*>(dictionary->GetPresentation()) : nullptr;
    const ProcedureSwap swap(presentation, options.detailWord > 1 && !options.soundingsSwitch);

    GeoRect rect = ChartPassGeoRect(*map, view);
    const TGdbFormula formula = ChartPassFormula(options.displayMaskA);
    TGdbQuery query(*database);
    if (!query.open(rect, scales.queryScale, &formula)) return result;
    result.opened = true;

    const Rect grown{view.left - kContextMargin, view.top - kContextMargin,
                     view.right + kContextMargin, view.bottom + kContextMargin};
    GeoRect contextRect = ChartPassGeoRect(*map, grown);
    TMapContext context(&dc, map, contextRect, scales.scaleExponent, EDetails(0), EPresMode(0));
    if (const double* zones = DepthZoneLimits(levelIndex)) {
        context.depthZoneCount = kDepthZoneCount;
        context.depthZones = zones;
    }

    std::array<std::uint8_t, kChartPassCategoryCount> categories = options.categories;
    if (options.zoomFactor < kSmallZoom) categories[kSymbolOnlyCategory] = 0;
    const bool reliefShowsThrough = options.reliefUnderChart && options.detailWord >= 3;

    while (GdbObject* object = query.next()) {
        ++result.returned;
        const int code = object->GetLabel();
        const int category = displayCategory(code);
        bool draw = false;
        if (category >= 0 && !categories[std::size_t(category)])
            ++result.skippedCategory;
        else if (code == kDepthArea && reliefShowsThrough)
            ++result.skippedUnderRelief;
        else if (code == kDepthArea && object->GetAttr(kShallowLimitAttr) &&
                 !object->GetAttr(kDeepLimitAttr))
            ++result.skippedDepthAreas;
        else
            draw = true;
        if (draw) {
            context.Draw(object);
            ++result.drawn;
        }
        if (observer) observer(*object, draw);
    }
    query.close();
    return result;
}

GeoRect ChartPassGeoRect(Map& map, const Rect& view) {
    GeoRect out = kWorld;
    map.Map2Geo(&view, &out, 1);
    return out;
}
