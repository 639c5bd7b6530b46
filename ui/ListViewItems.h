#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// Plain report-style list views that hold their own items (the dialogs' lists), in ANSI text.

// `width` is designed at 96 dpi: the column gets it at the list's DPI.
void AddListColumn(HWND list, int column, std::string_view caption, int width);
int ListRowCount(HWND list);
// Appends a row whose cells are `cells` (the caption first); returns its index.
int AppendListRow(HWND list, const std::vector<std::string>& cells);
std::string ListCellText(HWND list, int row, int column);
void SetListCellText(HWND list, int row, int column, std::string_view text);
// The check box of a row of a list with LVS_EX_CHECKBOXES.
bool IsListRowChecked(HWND list, int row);
void SetListRowChecked(HWND list, int row, bool checked);
// A row of such a list that cannot be ticked: it shows no box.
void RemoveListRowBox(HWND list, int row);
// The first selected row, if any.
std::optional<int> SelectedListRow(HWND list);
// Selects and focuses the row, and scrolls it into view.
void SelectListRow(HWND list, int row);

}  // namespace vantrel
