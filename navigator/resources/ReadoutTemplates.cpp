// Templates of the read-out panels (child windows of the chart window), the
// help dialog, the position entry and the list chooser.
#include "resources/DialogTemplates.h"

namespace {

using ui::TDlgItem;
using ui::TDlgTemplate;
using ui::ValidDialogTemplate;
using K = ui::TDlgItemKind;

constexpr std::uint32_t kPanelStyle = ui::WS_CHILD | ui::WS_VISIBLE;
constexpr std::uint32_t kDialogStyle = ui::WS_POPUP | ui::WS_CAPTION | ui::WS_SYSMENU;

constexpr TDlgItem kGpsPosItems[] = {
    {.Kind = K::Static, .Id = 2201, .Row = 0, .Width = 110},
    {.Kind = K::Static, .Id = 2202, .Row = 1, .Width = 110},
};
constexpr TDlgTemplate kGpsPos{kGpsPosTemplate, u8"Egen POSISJON", kPanelStyle, kGpsPosItems};
static_assert(ValidDialogTemplate(kGpsPos));

constexpr TDlgItem kDateItems[] = {
    {.Kind = K::Static, .Id = 1801, .Row = 0, .Width = 130},
};
constexpr TDlgTemplate kDate{kDateTemplate, u8"Dato og tid", kPanelStyle, kDateItems};
static_assert(ValidDialogTemplate(kDate));

constexpr TDlgItem kWindItems[] = {
    {.Kind = K::Static, .Text = u8"Vind", .Row = 0, .Column = 0},
    {.Kind = K::Static, .Id = 2501, .Row = 0, .Column = 1, .Width = 110},
};
constexpr TDlgTemplate kWind{kWindTemplate, u8"Vind", kPanelStyle, kWindItems};
static_assert(ValidDialogTemplate(kWind));

constexpr TDlgItem kBearingItems[] = {
    {.Kind = K::Static, .Text = u8"Peiling", .Row = 0, .Column = 0},
    {.Kind = K::Static, .Id = 1501, .Row = 0, .Column = 1, .Width = 45},
    {.Kind = K::Static, .Text = u8"Relativ", .Row = 1, .Column = 0},
    {.Kind = K::Static, .Id = 1502, .Row = 1, .Column = 1, .Width = 45},
    {.Kind = K::Static, .Text = u8"Distanse", .Row = 2, .Column = 0},
    {.Kind = K::Static, .Id = 1503, .Row = 2, .Column = 1, .Width = 45},
    {.Kind = K::Static, .Id = 1504, .Row = 2, .Column = 2, .Width = 25},
};
constexpr TDlgTemplate kBearing{kBearingTemplate, u8"PEILING (sann og relativ), DISTANSE",
                                kPanelStyle, kBearingItems};
static_assert(ValidDialogTemplate(kBearing));

constexpr TDlgItem kSogCogItems[] = {
    {.Kind = K::Static, .Text = u8"Fart", .Row = 0, .Column = 0},
    {.Kind = K::Static, .Id = 1601, .Row = 0, .Column = 1, .Width = 60},
    {.Kind = K::Static, .Text = u8"Kurs", .Row = 1, .Column = 0},
    {.Kind = K::Static, .Id = 1602, .Row = 1, .Column = 1, .Width = 60},
};
constexpr TDlgTemplate kSogCog{kSogCogTemplate, u8"Fart og kurs", kPanelStyle, kSogCogItems};
static_assert(ValidDialogTemplate(kSogCog));

constexpr TDlgItem kDepthItems[] = {
    {.Kind = K::Static, .Text = u8"Dybde", .Row = 0, .Column = 0},
    {.Kind = K::Static, .Id = 2401, .Row = 0, .Column = 1, .Width = 70},
};
constexpr TDlgTemplate kDepth{kDepthTemplate, u8"Dybde", kPanelStyle, kDepthItems};
static_assert(ValidDialogTemplate(kDepth));

constexpr TDlgItem kRouteInfo1Items[] = {
    {.Kind = K::Static, .Text = u8"Kurs", .Row = 0, .Column = 0},
    {.Kind = K::Static, .Id = 1901, .Row = 0, .Column = 1, .ColumnSpan = 2, .Width = 150},
    {.Kind = K::Static, .Text = u8"Distanse", .Row = 1, .Column = 0},
    {.Kind = K::Static, .Id = 1902, .Row = 1, .Column = 1, .ColumnSpan = 2, .Width = 70},
    {.Kind = K::Static, .Text = u8"Avvik", .Row = 2, .Column = 0},
    {.Kind = K::Static, .Id = 1903, .Row = 2, .Column = 1, .ColumnSpan = 2, .Width = 70},
    {.Kind = K::Custom, .Id = 1904, .Row = 3, .Column = 1, .Width = 75, .Height = 12},
    {.Kind = K::Custom, .Id = 1905, .Row = 3, .Column = 2, .Width = 75, .Height = 12},
};
constexpr TDlgTemplate kRouteInfo1{kRouteInfo1Template, u8"Rute", kPanelStyle, kRouteInfo1Items};
static_assert(ValidDialogTemplate(kRouteInfo1));

constexpr TDlgItem kRouteInfo2Items[] = {
    {.Kind = K::Static, .Text = u8"ETA", .Row = 0, .Column = 0},
    {.Kind = K::Static, .Id = 2002, .Row = 0, .Column = 1, .ColumnSpan = 2, .Width = 60},
    {.Kind = K::Static, .Text = u8"Totalt", .Row = 1, .Column = 0},
    {.Kind = K::Static, .Id = 2005, .Row = 1, .Column = 1, .Width = 30},
    {.Kind = K::Static, .Id = 2003, .Row = 1, .Column = 2, .Width = 60},
    {.Kind = K::Static, .Text = u8"Neste", .Row = 2, .Column = 0},
    {.Kind = K::Static, .Id = 2004, .Row = 2, .Column = 1, .ColumnSpan = 2, .Width = 130},
    {.Kind = K::Static, .Id = 2006, .Row = 3, .Column = 1, .ColumnSpan = 2},
};
constexpr TDlgTemplate kRouteInfo2{kRouteInfo2Template, u8"Rute totalt", kPanelStyle,
                                   kRouteInfo2Items};
static_assert(ValidDialogTemplate(kRouteInfo2));

constexpr TDlgItem kHelpItems[] = {
    {.Kind = K::Static,
     .Text = u8"V tast: Zoom inn     H tast: Zoom ut     Midtre tast: Senter\n"
             u8"Piltaster: Flytt kart     Page Up / Page Down: Zoom ut / inn\n"
             u8"Home: Følg egen båt     Insert: Gå til posisjon\n"
             u8"A til G, W: Kartnivå     + / -: Forstørrelse     F1: Hjelp",
     .Row = 0,
     .ColumnSpan = 2},
    {.Kind = K::Button, .Id = 1202, .Text = u8"Brukerveiledning", .Row = 1, .Column = 0},
    {.Kind = K::Button, .Id = ui::IDCANCEL, .Text = u8"Lukk", .Row = 1, .Column = 1},
};
constexpr TDlgTemplate kHelp{kHelpTemplate, u8"Solvanor V lite", kDialogStyle, kHelpItems};
static_assert(ValidDialogTemplate(kHelp));

constexpr TDlgItem kPositionItems[] = {
    {.Kind = K::Static, .Text = u8"Bredde", .Row = 0, .Column = 0},
    {.Kind = K::Edit, .Id = 1001, .Row = 0, .Column = 1, .Limit = 2, .Width = 30},
    {.Kind = K::Static, .Text = u8"°", .Row = 0, .Column = 2},
    {.Kind = K::Edit, .Id = 1002, .Row = 0, .Column = 3, .Limit = 2, .Width = 30},
    {.Kind = K::Static, .Text = u8",", .Row = 0, .Column = 4},
    {.Kind = K::Edit, .Id = 1003, .Row = 0, .Column = 5, .Limit = 3, .Width = 36},
    {.Kind = K::Static, .Text = u8"'", .Row = 0, .Column = 6},
    {.Kind = K::Edit, .Id = 1004, .Text = u8"N", .Row = 0, .Column = 7, .Limit = 1, .Width = 22},
    {.Kind = K::Static, .Text = u8"Lengde", .Row = 1, .Column = 0},
    {.Kind = K::Edit, .Id = 1005, .Row = 1, .Column = 1, .Limit = 3, .Width = 30},
    {.Kind = K::Static, .Text = u8"°", .Row = 1, .Column = 2},
    {.Kind = K::Edit, .Id = 1006, .Row = 1, .Column = 3, .Limit = 2, .Width = 30},
    {.Kind = K::Static, .Text = u8",", .Row = 1, .Column = 4},
    {.Kind = K::Edit, .Id = 1007, .Row = 1, .Column = 5, .Limit = 3, .Width = 36},
    {.Kind = K::Static, .Text = u8"'", .Row = 1, .Column = 6},
    {.Kind = K::Edit, .Id = 1008, .Text = u8"E", .Row = 1, .Column = 7, .Limit = 1, .Width = 22},
    {.Kind = K::Button, .Id = ui::IDOK, .Text = u8"OK", .Row = 2, .Column = 1, .ColumnSpan = 3},
    {.Kind = K::Button,
     .Id = ui::IDCANCEL,
     .Text = u8"Avbryt",
     .Row = 2,
     .Column = 5,
     .ColumnSpan = 3},
};
constexpr TDlgTemplate kPosition{kPositionTemplate, u8"Oppgi ønsket posisjon", kDialogStyle,
                                 kPositionItems};
static_assert(ValidDialogTemplate(kPosition));

constexpr TDlgItem kListItems[] = {
    {.Kind = K::ComboBox, .Id = 1301, .Row = 0, .ColumnSpan = 2, .Width = 260},
    {.Kind = K::Button, .Id = 1302, .Text = u8"OK", .Row = 1, .Column = 0},
    {.Kind = K::Button, .Id = 1303, .Text = u8"Retur", .Row = 1, .Column = 1},
};
constexpr TDlgTemplate kList{kListTemplate, u8"Velg fra listen", kDialogStyle, kListItems};
static_assert(ValidDialogTemplate(kList));

constexpr TDlgTemplate kTemplates[] = {kGpsPos,     kDate,       kWind, kBearing,  kSogCog, kDepth,
                                       kRouteInfo1, kRouteInfo2, kHelp, kPosition, kList};

} // namespace

std::span<const ui::TDlgTemplate> ReadoutDialogTemplates() {
    return kTemplates;
}
