// Layer internals: the text, limit and modified flag of a dialog item's widget,
// whatever kind it is. Not for the programs.
#pragma once

#include <QWidget>

#include <string>
#include <string_view>

namespace ui {

// Windows-1252 text; multi-line edits give their line breaks as "\r\n".
std::string ItemText(const QWidget* item);
// Sets the text: "\r\n", "\r" and "\n" break lines in multi-line items; an edit
// keeps at most its limit. Clears an edit's modified flag.
void SetItemText(QWidget* item, std::string_view text);
// Whether the user changed an edit's text since it was last set.
bool ItemModified(const QWidget* item);
void ClearItemModified(QWidget* item);
// An edit's limit in characters (0: none).
void SetItemLimit(QWidget* item, int limit);
int ItemLimit(const QWidget* item);

} // namespace ui
