// Templates of the object-information dialogs (3: the chart objects under a
// click, 4: one of the user's stored objects) and of the short read-out
// window (5, a child of the chart window).
#include "resources/DialogTemplates.h"

namespace {

using ui::TDlgItem;
using ui::TDlgTemplate;
using ui::ValidDialogTemplate;
using K = ui::TDlgItemKind;

constexpr std::uint32_t kDialogStyle = ui::WS_POPUP | ui::WS_CAPTION | ui::WS_SYSMENU;

constexpr TDlgItem kObjectInfoItems[] = {
    {.Kind = K::TreeView, .Id = 301, .Row = 0, .Width = 320, .Height = 200},
    {.Kind = K::RichText, .Id = 302, .Row = 1, .Limit = 0x7FFF, .Width = 320, .Height = 240},
    {.Kind = K::Button, .Id = ui::IDOK, .Text = u8"OK", .Row = 2},
};
constexpr TDlgTemplate kObjectInfo{kObjectInfoTemplate, u8"Kartobjekter", kDialogStyle,
                                   kObjectInfoItems};
static_assert(ValidDialogTemplate(kObjectInfo));

constexpr TDlgItem kDbInfoItems[] = {
    {.Kind = K::Static, .Text = u8"Navn", .Row = 0, .Column = 0},
    {.Kind = K::Edit, .Id = 401, .Row = 0, .Column = 1, .ColumnSpan = 2, .Limit = 30, .Width = 220},
    {.Kind = K::Edit,
     .Id = 402,
     .Row = 1,
     .ColumnSpan = 3,
     .Style = ui::ES_MULTILINE | ui::ES_READONLY,
     .Width = 320,
     .Height = 170},
    {.Kind = K::Static, .Text = u8"Tekst", .Row = 2, .Column = 0},
    {.Kind = K::Edit,
     .Id = 403,
     .Row = 3,
     .ColumnSpan = 3,
     .Style = ui::ES_MULTILINE,
     .Limit = 4800,
     .Width = 320,
     .Height = 190},
    {.Kind = K::Button, .Id = 404, .Text = u8"Kartinfo", .Row = 4, .Column = 0},
    {.Kind = K::Button, .Id = ui::IDOK, .Text = u8"OK", .Row = 4, .Column = 1},
    {.Kind = K::Button, .Id = ui::IDCANCEL, .Text = u8"Avbryt", .Row = 4, .Column = 2},
};
constexpr TDlgTemplate kDbInfo{kDbInfoTemplate, u8"Eget objekt", kDialogStyle, kDbInfoItems};
static_assert(ValidDialogTemplate(kDbInfo));

constexpr TDlgItem kShortReadoutItems[] = {
    {.Kind = K::Static, .Id = 501, .Row = 0, .Width = 160},
    {.Kind = K::Static, .Id = 502, .Row = 1, .Width = 160},
};
constexpr TDlgTemplate kShortReadout{kShortReadoutTemplate, u8"", ui::WS_CHILD | ui::WS_VISIBLE,
                                     kShortReadoutItems};
static_assert(ValidDialogTemplate(kShortReadout));

constexpr TDlgTemplate kTemplates[] = {kObjectInfo, kDbInfo, kShortReadout};

} // namespace

std::span<const ui::TDlgTemplate> InfoDialogTemplates() {
    return kTemplates;
}
