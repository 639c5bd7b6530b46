#include "ui/ListViewItems.h"

#include <commctrl.h>

#include "ui/WindowDpi.h"

namespace vantrel {
namespace {

// The list view copies the text it is given.
char* Writable(const std::string& text) {
    return const_cast<char*>(text.c_str());
}

}  // namespace

void AddListColumn(HWND list, int column, std::string_view caption, int width) {
    const std::string text(caption);
    LVCOLUMNA add{};
    add.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    add.pszText = Writable(text);
    add.cx = ScaledFor(list, width);
    add.iSubItem = column;
    ::SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(column),
                   reinterpret_cast<LPARAM>(&add));
}

int ListRowCount(HWND list) {
    return static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

int AppendListRow(HWND list, const std::vector<std::string>& cells) {
    const std::string caption = cells.empty() ? std::string() : cells.front();
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = ListRowCount(list);
    item.pszText = Writable(caption);
    const int row =
        static_cast<int>(::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (size_t column = 1; column < cells.size() && row >= 0; ++column)
        SetListCellText(list, row, static_cast<int>(column), cells[column]);
    return row;
}

std::string ListCellText(HWND list, int row, int column) {
    // The control copies at most the buffer's size; grow until the text fits.
    for (int size = 256;; size *= 2) {
        std::string buffer(static_cast<size_t>(size), '\0');
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = size;
        const auto length = static_cast<int>(::SendMessageA(
            list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (length < size - 1 || size >= (1 << 20)) {
            buffer.resize(static_cast<size_t>(length < 0 ? 0 : length));
            return buffer;
        }
    }
}

void SetListCellText(HWND list, int row, int column, std::string_view text) {
    const std::string copy(text);
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = Writable(copy);
    ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
}

bool IsListRowChecked(HWND list, int row) {
    const auto state = static_cast<UINT>(
        ::SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
    return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

void SetListRowChecked(HWND list, int row, bool checked) {
    LVITEMA item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
}

void RemoveListRowBox(HWND list, int row) {
    LVITEMA item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(0);
    ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
}

std::optional<int> SelectedListRow(HWND list) {
    const auto row = static_cast<int>(
        ::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0)
        return std::nullopt;
    return row;
}

void SelectListRow(HWND list, int row) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
    ::SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

}  // namespace vantrel
