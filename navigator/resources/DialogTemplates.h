// The navigation program's dialog templates, registered with its module
// (ViewerModule): the tide dialog (14), the read-out panels (15, 16, 18, 19,
// 20, 22, 24, 25), the help dialog (12), the position entry (10), the list
// chooser (13), the two object-information dialogs (3, 4) and the short
// read-out window (5). Each table is checked at compile time (ValidDialogTemplate).
#pragma once

#include "ui/Dialog.h"

#include <span>

// Template ids.
inline constexpr int kObjectInfoTemplate = 3, kDbInfoTemplate = 4, kShortReadoutTemplate = 5;
inline constexpr int kPositionTemplate = 10, kHelpTemplate = 12, kListTemplate = 13,
                     kTideTemplate = 14, kBearingTemplate = 15, kSogCogTemplate = 16,
                     kDateTemplate = 18, kRouteInfo1Template = 19, kRouteInfo2Template = 20,
                     kGpsPosTemplate = 22, kDepthTemplate = 24, kWindTemplate = 25;

std::span<const ui::TDlgTemplate> TideDialogTemplates();
std::span<const ui::TDlgTemplate> ReadoutDialogTemplates();
std::span<const ui::TDlgTemplate> InfoDialogTemplates();
