// Template 14, the tide dialog: the graph across the top, the date with its
// up-downs and "Ny kurve", the port, and the read-outs below.
#include "resources/DialogTemplates.h"

namespace {

using ui::TDlgItem;
using K = ui::TDlgItemKind;

constexpr TDlgItem kTideItems[] = {
    {.Kind = K::Custom,
     .Id = 1401,
     .Row = 0,
     .ColumnSpan = 8,
     .ClassName = "TGraphWindow",
     .Width = 480,
     .Height = 240},
    {.Kind = K::Static, .Text = u8"Dato", .Row = 1, .Column = 0},
    {.Kind = K::Edit, .Id = 1402, .Row = 1, .Column = 1, .Limit = 2, .Width = 28},
    {.Kind = K::UpDown, .Id = 1405, .Row = 1, .Column = 2, .Lo = 1, .Hi = 31, .Buddy = 1402},
    {.Kind = K::Edit, .Id = 1403, .Row = 1, .Column = 3, .Limit = 2, .Width = 28},
    {.Kind = K::UpDown, .Id = 1406, .Row = 1, .Column = 4, .Lo = 1, .Hi = 12, .Buddy = 1403},
    {.Kind = K::Edit, .Id = 1404, .Row = 1, .Column = 5, .Limit = 4, .Width = 44},
    {.Kind = K::UpDown, .Id = 1407, .Row = 1, .Column = 6, .Lo = 1900, .Hi = 2050, .Buddy = 1404},
    {.Kind = K::Button, .Id = 1408, .Text = u8"Ny kurve", .Row = 1, .Column = 7},
    {.Kind = K::Static, .Id = 1410, .Row = 2, .Column = 0, .ColumnSpan = 3, .Width = 150},
    {.Kind = K::Static, .Id = 1411, .Row = 2, .Column = 3, .ColumnSpan = 2, .Width = 90},
    {.Kind = K::Static, .Id = 1412, .Row = 2, .Column = 5, .ColumnSpan = 2, .Width = 90},
    {.Kind = K::Static, .Text = u8"Tidssone", .Row = 3, .Column = 0},
    {.Kind = K::Static, .Id = 1413, .Row = 3, .Column = 1, .Width = 30},
    {.Kind = K::Static, .Text = u8"Største høyvann", .Row = 4, .Column = 0, .ColumnSpan = 3},
    {.Kind = K::Static, .Id = 1415, .Row = 4, .Column = 3, .Width = 60},
    {.Kind = K::Static, .Id = 1420, .Row = 4, .Column = 4, .Width = 20},
    {.Kind = K::Static, .Id = 1421, .Row = 4, .Column = 5, .Width = 20},
    {.Kind = K::Static, .Text = u8"Minste lavvann", .Row = 5, .Column = 0, .ColumnSpan = 3},
    {.Kind = K::Static, .Id = 1416, .Row = 5, .Column = 3, .Width = 60},
    {.Kind = K::Static, .Id = 1422, .Row = 5, .Column = 4, .Width = 20},
    {.Kind = K::Static, .Id = 1423, .Row = 5, .Column = 5, .Width = 20},
    {.Kind = K::Static,
     .Text = u8"Tidspunkt, lokal tid. (Cursor)",
     .Row = 6,
     .Column = 0,
     .ColumnSpan = 3},
    {.Kind = K::Static, .Id = 1418, .Row = 6, .Column = 3, .Width = 60},
    {.Kind = K::Static, .Id = 1419, .Row = 6, .Column = 4, .ColumnSpan = 2, .Width = 60},
    {.Kind = K::Button, .Id = ui::IDOK, .Text = u8"OK", .Row = 7, .Column = 7},
};
// Visible: the chart window creates it modeless and shows it no other way.
constexpr ui::TDlgTemplate kTide{kTideTemplate, u8"Tidevann prognose",
                                 ui::WS_POPUP | ui::WS_VISIBLE | ui::WS_CAPTION | ui::WS_SYSMENU,
                                 kTideItems};
static_assert(ui::ValidDialogTemplate(kTide));

constexpr ui::TDlgTemplate kTemplates[] = {kTide};

} // namespace

std::span<const ui::TDlgTemplate> TideDialogTemplates() {
    return kTemplates;
}
