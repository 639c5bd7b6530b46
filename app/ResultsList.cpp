#include "app/ResultsList.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <utility>

#include "app/CommandIds.h"
#include "platform/win32/AnsiText.h"
#include "ui/DpiScale.h"
#include "ui/ExceptionBarrier.h"
#include "ui/GuiHandles.h"
#include "ui/ListViewItems.h"

namespace vantrel {
namespace {

constexpr UINT kUntickedState = INDEXTOSTATEIMAGEMASK(1);
constexpr UINT kTickedState = INDEXTOSTATEIMAGEMASK(2);
// Room the control keeps around a cell's text.
constexpr int kCellPadding = 14;
// Fitting a column measures only this many of its longest texts (by characters): measuring
// every cell of a large scan costs seconds, and the widest text is among the longest.
constexpr size_t kTextsMeasured = 64;

}  // namespace

void ResultsList::Create(HWND parent, HINSTANCE instance, HFONT font, const DpiScaler& scale,
                         Prompts& prompts, std::function<void()> onTickClicked) {
    prompts_ = &prompts;
    scale_ = scale;
    onTickClicked_ = std::move(onTickClicked);
    list_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                                  LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | LVS_SINGLESEL,
                              0, 0, 400, 300, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(control::kResults)),
                              instance, nullptr);
    if (list_ == nullptr)
        throw std::runtime_error("Cannot create the results list.");
    ::SendMessageA(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const LPARAM extended = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;
    ::SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, static_cast<WPARAM>(extended), extended);
    // The ticks are asked for like the texts.
    ::SendMessageA(list_, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
    AddListColumn(list_, 0, "Problem", kProblemWidth);
    AddListColumn(list_, 1, "Registry key", kKeyWidth);
    AddListColumn(list_, 2, "Value", kValueWidth);
    ::SetWindowSubclass(list_, &ResultsList::SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

// The box of a row flips here, and only here, the same on every version of the control: a
// virtual list leaves its ticks to its owner.
LRESULT CALLBACK ResultsList::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<ResultsList*>(data);
    std::optional<LRESULT> result;
    RunGuarded(self->prompts_, [&] { result = self->HandleOwnMessage(message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(window, &ResultsList::SubclassProc, 1);
        self->list_ = nullptr;
    }
    return result ? *result : ::DefSubclassProc(window, message, wParam, lParam);
}

std::optional<LRESULT> ResultsList::HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            const POINT point{static_cast<short>(LOWORD(lParam)),
                              static_cast<short>(HIWORD(lParam))};
            if (ClickAt(point))
                return 0;
            break;
        }
        case WM_KEYDOWN:
            if (wParam == VK_SPACE) {
                if (const auto row = SelectedRow()) {
                    FlipTick(*row);
                    return 0;
                }
            }
            break;
        case WM_CHAR:
            if (wParam == ' ')
                return 0;
            break;
        default:
            break;
    }
    return std::nullopt;
}

bool ResultsList::ClickAt(POINT point) {
    LVHITTESTINFO hit{};
    hit.pt = point;
    const auto index =
        static_cast<int>(::SendMessageA(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    // Only the box itself: some list views also set the state-icon bit for a click on a
    // sub-item's text, which must select the row, not flip its tick.
    if (index < 0 || index >= Count() || (hit.flags & LVHT_ONITEM) != LVHT_ONITEMSTATEICON)
        return false;
    FlipTick(index);
    return true;
}

void ResultsList::FlipTick(int index) {
    SetTicked(index, !IsTicked(index));
    if (onTickClicked_)
        onTickClicked_();
}

const ScanIssue& ResultsList::Row(int index) const {
    if (index < 0 || index >= Count())
        throw std::out_of_range("No results row " + std::to_string(index) + ".");
    return rows_[static_cast<size_t>(index)];
}

void ResultsList::Repaint() const {
    ::InvalidateRect(list_, nullptr, FALSE);
}

void ResultsList::Clear() {
    rows_.clear();
    ticks_.clear();
    ::SendMessageA(list_, LVM_SETITEMCOUNT, 0, 0);
    shownCount_ = 0;
    Repaint();
}

void ResultsList::MoveInQuietly(const std::vector<ScanIssue*>& batch) {
    for (ScanIssue* row : batch) {
        rows_.push_back(std::move(*row));
        ticks_.push_back(false);
    }
}

void ResultsList::ShowAppended() {
    if (shownCount_ == rows_.size())
        return;
    ::SendMessageA(list_, LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    shownCount_ = rows_.size();
}

bool ResultsList::IsTicked(int index) const {
    return index >= 0 && index < Count() && ticks_[static_cast<size_t>(index)];
}

void ResultsList::SetTicked(int index, bool ticked) {
    if (index < 0 || index >= Count())
        return;
    ticks_[static_cast<size_t>(index)] = ticked;
    ::SendMessageA(list_, LVM_REDRAWITEMS, static_cast<WPARAM>(index), index);
}

void ResultsList::TickAll(bool ticked) {
    std::fill(ticks_.begin(), ticks_.end(), ticked);
    Repaint();
}

void ResultsList::TickSafeRows(size_t first) {
    for (size_t index = first; index < rows_.size(); ++index)
        ticks_[index] = rows_[index].risk != RowRisk::Review;
    Repaint();
}

size_t ResultsList::ReviewCount() const {
    return static_cast<size_t>(std::count_if(rows_.begin(), rows_.end(), [](const ScanIssue& row) {
        return row.risk == RowRisk::Review;
    }));
}

void ResultsList::InvertTicks() {
    ticks_.flip();
    Repaint();
}

void ResultsList::TickAllOfCaption(const std::string& caption, bool ticked) {
    for (size_t index = 0; index < rows_.size(); ++index) {
        if (rows_[index].problem == caption)
            ticks_[index] = ticked;
    }
    Repaint();
}

std::optional<int> ResultsList::SelectedRow() const {
    const auto index = static_cast<int>(
        ::SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (index < 0 || index >= Count())
        return std::nullopt;
    return index;
}

void ResultsList::RemoveRows(const std::vector<size_t>& indexesLastFirst) {
    if (indexesLastFirst.empty())
        return;
    std::vector<bool> drop(rows_.size(), false);
    for (const size_t index : indexesLastFirst) {
        if (index < drop.size())
            drop[index] = true;
    }
    size_t kept = 0;
    for (size_t index = 0; index < rows_.size(); ++index) {
        if (drop[index])
            continue;
        if (kept != index) {
            rows_[kept] = std::move(rows_[index]);
            ticks_[kept] = ticks_[index];
        }
        ++kept;
    }
    rows_.resize(kept);
    ticks_.resize(kept);
    // The highlighted row would now be another one.
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(&none));
    ::SendMessageA(list_, LVM_SETITEMCOUNT, rows_.size(), 0);
    shownCount_ = rows_.size();
    Repaint();
}

void ResultsList::ResetKeyAndValueColumnWidths() {
    ::SendMessageA(list_, LVM_SETCOLUMNWIDTH, 1, scale_(kKeyWidth));
    ::SendMessageA(list_, LVM_SETCOLUMNWIDTH, 2, scale_(kValueWidth));
}

void ResultsList::RescaleColumns(int oldDpi, int newDpi) {
    scale_ = DpiScaler(newDpi);
    for (int column = 0; column < kColumns; ++column) {
        const auto width = static_cast<int>(
            ::SendMessageA(list_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
        ::SendMessageA(list_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                       RescaleBetweenDpis(width, oldDpi, newDpi));
    }
}

int ResultsList::ColumnWidthFor(int column) const {
    std::vector<size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), size_t{0});
    const size_t measured = std::min(order.size(), kTextsMeasured);
    const auto longer = [&](size_t a, size_t b) {
        return CellText(rows_[a], column).size() > CellText(rows_[b], column).size();
    };
    std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(measured),
                      order.end(), longer);
    HDC dc = ::GetDC(list_);
    const auto font = reinterpret_cast<HGDIOBJ>(::SendMessageA(list_, WM_GETFONT, 0, 0));
    int widest = 0;
    {
        SelectedObject selected(dc, font);
        for (size_t i = 0; i < measured; ++i) {
            const std::string& text = CellText(rows_[order[i]], column);
            SIZE size{};
            ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
            widest = std::max(widest, static_cast<int>(size.cx));
        }
    }
    ::ReleaseDC(list_, dc);
    return widest + scale_(kCellPadding);
}

void ResultsList::FitKeyAndValueColumns() {
    for (int column = 1; column <= 2; ++column)
        ::SendMessageA(list_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                       ColumnWidthFor(column));
}

const std::string& ResultsList::CellText(const ScanIssue& row, int column) const {
    switch (column) {
        case 0:
            return row.problem;
        case 1:
            return row.keyText;
        default:
            return row.valueText;
    }
}

bool ResultsList::HandleGetDispInfo(NMHDR* header) {
    if (header->hwndFrom != list_ ||
        (header->code != LVN_GETDISPINFOA && header->code != LVN_GETDISPINFOW))
        return false;
    // Both forms share the layout of everything but the text pointer.
    auto* item = &reinterpret_cast<NMLVDISPINFOA*>(header)->item;
    if (item->iItem < 0 || item->iItem >= Count())
        return true;
    const auto index = static_cast<size_t>(item->iItem);
    if ((item->mask & LVIF_STATE) != 0) {
        item->state = (item->state & ~static_cast<UINT>(LVIS_STATEIMAGEMASK)) |
                      (ticks_[index] ? kTickedState : kUntickedState);
        item->stateMask |= LVIS_STATEIMAGEMASK;
    }
    if ((item->mask & LVIF_TEXT) == 0)
        return true;
    const std::string& text = CellText(rows_[index], item->iSubItem);
    if (header->code == LVN_GETDISPINFOW) {
        wideCell_ = ToWide(text);
        reinterpret_cast<NMLVDISPINFOW*>(header)->item.pszText = wideCell_.data();
        return true;
    }
    if (item->cchTextMax <= 0 || item->pszText == nullptr)
        return true;
    const size_t length = std::min(text.size(), static_cast<size_t>(item->cchTextMax) - 1);
    text.copy(item->pszText, length);
    item->pszText[length] = '\0';
    return true;
}

}  // namespace vantrel
