#include "procedures/CondSymbProcs.h"

#include "procedures/Int1Procs.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

// Zero-initialised storage: the tables hold nothing until the library's
// entry point fills them.
CondSymbProc Int1CondSymbProcs[kInt1CondSymbProcCount];
SymbolElement SymbolElements[kSymbolElementCount];
std::int32_t SymbolElementTop;
Point StructureAnchors[4];
std::int32_t LightStackCount;

namespace {

struct ProcRow {
    int code;
    CondSymbProc proc;
};

// The built-in procedure of every object code that has one; codes not listed
// (0, 178 to 184, 186, 189, 190, 195, 204, 206 to 211, 213 to 216, 219, 220
// and 222 to 255) draw nothing.
constexpr ProcRow kProcRows[] = {
    {1, Int1Proc1},           {2, Int1Proc2},           {3, Int1Proc3},
    {4, Int1Proc4},           {5, Int1Proc5},           {6, Int1Proc6},
    {7, Int1Proc7},           {8, Int1Proc8},           {9, Int1Proc9},
    {10, Int1Proc10},         {11, Int1Proc11},         {12, Int1Proc12},
    {13, Int1Proc13},         {14, Int1Proc14},         {15, Int1Proc15},
    {16, Int1Proc16},         {17, Int1Proc17},         {18, Int1Proc18},
    {19, Int1Proc19},         {20, Int1Proc20},         {21, Int1Proc21},
    {22, Int1Proc22},         {23, Int1Proc23},         {24, Int1Proc24},
    {25, Int1Proc25},         {26, Int1Proc26},         {27, Int1Proc27},
    {28, Int1Proc28},         {29, Int1Proc29},         {30, Int1Proc30},
    {31, Int1Proc31},         {32, Int1Proc32},         {33, Int1Proc33},
    {34, Int1Proc34},         {35, Int1Proc35},         {36, Int1Proc36},
    {37, Int1ProcGeneric},    {38, Int1Proc38},         {39, Int1Proc39},
    {40, Int1Proc40},         {41, Int1Proc41},         {42, Int1Proc42},
    {43, Int1Proc43},         {44, Int1Proc44},         {45, Int1Proc45},
    {46, Int1Proc46},         {47, Int1Proc47},         {48, Int1Proc48},
    {49, Int1Proc49},         {50, Int1Proc50},         {51, Int1Proc51},
    {52, Int1Proc52},         {53, Int1Proc53},         {54, Int1Proc54},
    {55, Int1Proc55},         {56, Int1Proc56},         {57, Int1Proc57},
    {58, Int1Proc58},         {59, Int1Proc59},         {60, Int1Proc60},
    {61, Int1Proc61},         {62, Int1Proc62},         {63, Int1Proc63},
    {64, Int1Proc64},         {65, Int1Proc65},         {66, Int1Proc66},
    {67, Int1Proc67},         {68, Int1Proc68},         {69, Int1ProcGeneric},
    {70, Int1Proc70},         {71, Int1Proc71},         {72, Int1Proc72},
    {73, Int1Proc73},         {74, Int1ProcGeneric},    {75, Int1Proc75},
    {76, Int1Proc76},         {77, Int1Proc77},         {78, Int1Proc78},
    {79, Int1Proc79},         {80, Int1Proc80},         {81, Int1Proc81},
    {82, Int1Proc82},         {83, Int1Proc83},         {84, Int1Proc84},
    {85, Int1Proc85},         {86, Int1Proc86},         {87, Int1Proc87},
    {88, Int1Proc88},         {89, Int1Proc89},         {90, Int1Proc90},
    {91, Int1Proc91},         {92, Int1Proc92},         {93, Int1Proc93},
    {94, Int1Proc94},         {95, Int1Proc95},         {96, Int1Proc96},
    {97, Int1Proc97},         {98, Int1Proc98},         {99, Int1Proc99},
    {100, Int1Proc100},       {101, Int1Proc101},       {102, Int1Proc102},
    {103, Int1Proc103},       {104, Int1Proc104},       {105, Int1Proc105},
    {106, Int1Proc106},       {107, Int1Proc107},       {108, Int1Proc108},
    {109, Int1Proc109},       {110, Int1Proc110},       {111, Int1Proc111},
    {112, Int1Proc112},       {113, Int1Proc113},       {114, Int1Proc114},
    {115, Int1Proc115},       {116, Int1Proc116},       {117, Int1Proc117},
    {118, Int1Proc118},       {119, Int1Proc119},       {120, Int1Proc120},
    {121, Int1Proc121},       {122, Int1Proc122},       {123, Int1Proc123},
    {124, Int1Proc124},       {125, Int1Proc125},       {126, Int1Proc126},
    {127, Int1Proc127},       {128, Int1Proc128},       {129, Int1Proc129},
    {130, Int1Proc130},       {131, Int1Proc131},       {132, Int1Proc132},
    {133, Int1Proc133},       {134, Int1ProcGeneric},   {135, Int1Proc135},
    {136, Int1Proc136},       {137, Int1Proc137},       {138, Int1Proc138},
    {139, Int1Proc139},       {140, Int1Proc140},       {141, Int1Proc141},
    {142, Int1Proc142},       {143, Int1Proc143},       {144, Int1Proc144},
    {145, Int1Proc145},       {146, Int1Proc146},       {147, Int1Proc147},
    {148, Int1Proc148},       {149, Int1Proc149},       {150, Int1ProcGeneric},
    {151, Int1Proc151},       {152, Int1Proc152},       {153, Int1Proc153},
    {154, Int1Proc154},       {155, Int1Proc155},       {156, Int1ProcGeneric},
    {157, Int1Proc157},       {158, Int1Proc158},       {159, Int1Proc159},
    {160, Int1Proc160},       {161, Int1ProcGeneric},   {162, Int1Proc162},
    {163, Int1Proc163},       {164, Int1Proc164},       {165, Int1Proc165},
    {166, Int1ProcGeneric},   {167, Int1Proc167},       {168, Int1Proc168},
    {169, Int1Proc169},       {170, Int1Proc170},       {171, Int1Proc171},
    {172, Int1Proc172},       {173, Int1Proc173},       {174, Int1Proc174},
    {175, Int1Proc175},       {176, Int1Proc176},       {177, Int1Proc177},
    {185, Int1ProcAggregate}, {187, Int1ProcAggregate}, {188, Int1ProcAggregate},
    {191, Int1Proc191},       {192, Int1Proc192},       {193, Int1Proc193},
    {194, Int1Proc194},       {196, Int1Proc196},       {197, Int1Proc197},
    {198, Int1Proc198},       {199, Int1Proc199},       {200, Int1Proc200},
    {201, Int1Proc201},       {202, Int1Proc202},       {203, Int1Proc203},
    {205, Int1Proc205},       {212, Int1Proc212},       {217, Int1Proc217},
    {218, Int1Proc218},       {221, Int1Proc221},
};

static_assert(std::size(kProcRows) == 197);

struct ElementRow {
    int index;
    std::int32_t kind, font, character;
    Point anchors[4];
};

// Symbol elements 1 to 10: the light glyphs with the offsets of their light
// flares (1, 2), the flare (3), two buoy glyphs (4, 5) and the marks whose
// text follows at the third anchor (6 to 10).
constexpr ElementRow kElementRows[] = {
    {1, 1, 35, 49, {{0, 4}, {0, -6}, {6, 0}, {-6, 0}}},
    {2, 1, 35, 86, {{0, 8}, {0, -6}, {6, 0}, {-6, 0}}},
    {3, 3, 34, 4, {}},
    {4, 1, 33, 134, {}},
    {5, 1, 33, 112, {}},
    {6, 1, 35, 74, {{}, {}, {12, 0}, {}}},
    {7, 1, 35, 75, {{}, {}, {12, 0}, {}}},
    {8, 1, 35, 76, {{}, {}, {12, 0}, {}}},
    {9, 1, 35, 77, {{}, {}, {12, 0}, {}}},
    {10, 1, 35, 94, {{}, {}, {12, -6}, {}}},
};

} // namespace

void InitCondSymbProcs() {
    std::fill(std::begin(Int1CondSymbProcs), std::end(Int1CondSymbProcs), nullptr);
    SymbolElementTop = 10;
    for (const ElementRow& row : kElementRows) {
        SymbolElement& e = SymbolElements[row.index];
        e = SymbolElement{};
        e.kind = row.kind;
        e.font = row.font;
        e.character = row.character;
        std::copy(std::begin(row.anchors), std::end(row.anchors), e.anchors);
    }
    for (const ProcRow& row : kProcRows)
        Int1CondSymbProcs[row.code] = row.proc;
}
