#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Prompts.h"
#include "scan/ScanIssue.h"
#include "ui/WindowDpi.h"

namespace vantrel {

// lvRegistryData: the scan's rows with a tick each. The rows and their ticks live here; the
// control is a virtual list (LVS_OWNERDATA) that asks for texts and ticks when it paints or is
// asked (LVN_GETDISPINFO). A scan appends tens of thousands of rows, and a control that stores
// its own items costs far too much per item for that.
class ResultsList {
  public:
    static constexpr int kProblemWidth = 120;
    static constexpr int kKeyWidth = 300;
    static constexpr int kValueWidth = 150;

    // `onTickClicked` runs after the user flipped a tick with the mouse or the space bar; errors
    // in the list's own message handling are shown through `prompts`.
    void Create(HWND parent, HINSTANCE instance, HFONT font, const DpiScaler& scale,
                Prompts& prompts, std::function<void()> onTickClicked);
    HWND Handle() const { return list_; }

    int Count() const { return static_cast<int>(rows_.size()); }
    // Throws std::out_of_range for an index that names no row.
    const ScanIssue& Row(int index) const;
    const std::vector<ScanIssue>& Rows() const { return rows_; }
    void Clear();

    // Moves the rows in, in order, without telling the control yet: each new count makes it
    // repaint and resize its scroll bar, so a scan shows its rows a few times a second, not once
    // per batch. Moved, as the scan window's rows are used up once appended, and a copy would
    // cost the UI thread an allocation per text.
    void MoveInQuietly(const std::vector<ScanIssue*>& batch);
    // Shows every row appended so far.
    void ShowAppended();
    // Rows the control shows now (kept here: asking the control each time costs the scan
    // window's loop more than the rest of its work).
    int ShownCount() const { return static_cast<int>(shownCount_); }

    bool IsTicked(int index) const;
    void SetTicked(int index, bool ticked);
    std::vector<bool> Ticks() const { return ticks_; }
    void TickAll(bool ticked);
    // Ticks the rows from `first` on, but those of risk "review": their repair is the user's call.
    void TickSafeRows(size_t first = 0);
    // Rows of risk "review".
    size_t ReviewCount() const;
    void InvertTicks();
    // Ticks or unticks every row whose problem caption equals `caption` (letter case counts).
    void TickAllOfCaption(const std::string& caption, bool ticked);

    // The current (highlighted) row, if any.
    std::optional<int> SelectedRow() const;

    // Removes the rows at these indexes, given from the last to the first.
    void RemoveRows(const std::vector<size_t>& indexesLastFirst);

    // The "Registry key" and "Value" columns at their first widths.
    void ResetKeyAndValueColumnWidths();
    // Every column keeps its share of the window at another DPI.
    void RescaleColumns(int oldDpi, int newDpi);
    // The "Registry key" and "Value" columns fit their longest text.
    void FitKeyAndValueColumns();

    // LVN_GETDISPINFO (texts and ticks); true when the notification was this list's.
    bool HandleGetDispInfo(NMHDR* header);

  private:
    static constexpr int kColumns = 3;
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);
    // The messages the list handles itself; nullopt for those the control handles.
    std::optional<LRESULT> HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // True when the mouse went down on a row's box, which then flips.
    bool ClickAt(POINT point);
    void FlipTick(int index);
    const std::string& CellText(const ScanIssue& row, int column) const;
    int ColumnWidthFor(int column) const;
    void Repaint() const;

    DpiScaler scale_;
    HWND list_ = nullptr;
    Prompts* prompts_ = nullptr;
    std::vector<ScanIssue> rows_;
    std::vector<bool> ticks_;
    size_t shownCount_ = 0;
    std::function<void()> onTickClicked_;
    // Wide copy of the last cell asked for by a Unicode notification.
    mutable std::wstring wideCell_;
};

}  // namespace vantrel
