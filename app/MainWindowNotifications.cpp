// TfrmRegCleaner's WM_NOTIFY: the tree, the results list and the tool bar's hints.
#include "app/CommandIds.h"
#include "app/MainWindow.h"
#include "platform/win32/AnsiText.h"

namespace vantrel {
namespace {

const char* HintOf(UINT_PTR command) {
    switch (command) {
        case command::kScan:
            return "Scan your entire Windows registry for errors and invalid entries";
        case command::kRepair:
            return "safely repair invalid entries in your Windows Registry";
        case command::kRestore:
            return "Restore any changes made using the software";
        case command::kOptions:
            return "Open the options dialog to set";
        case command::kExit:
            return "Exit the program";
        default:
            return nullptr;
    }
}

}  // namespace

LRESULT TfrmRegCleaner::OnNotify(NMHDR* header) {
    if (OnToolTipText(header))
        return 0;
    if (header->hwndFrom == tvRegistry_.Handle()) {
        if (header->code == TVN_ITEMEXPANDINGA || header->code == TVN_ITEMEXPANDINGW) {
            // The tree stays fully expanded: collapsing is refused.
            const auto* change = reinterpret_cast<NMTREEVIEWA*>(header);
            return (change->action & TVE_COLLAPSE) != 0 ? TRUE : FALSE;
        }
        if (header->code == TVN_ITEMEXPANDEDA || header->code == TVN_ITEMEXPANDEDW) {
            // Some versions of the control collapse even when refused: expand again once the
            // control is done with the change.
            const auto* change = reinterpret_cast<NMTREEVIEWA*>(header);
            if ((change->action & TVE_COLLAPSE) != 0)
                ::PostMessageA(window_, kExpandTreeMessage, 0, 0);
        }
        return 0;
    }
    if (header->hwndFrom == lvRegistryData_.Handle()) {
        if (lvRegistryData_.HandleGetDispInfo(header))
            return 0;
        switch (header->code) {
            case NM_CLICK:
            case NM_RCLICK:
            case NM_DBLCLK:
                // A tick set with the mouse is counted at once.
                UpdateStatusCounts();
                return 0;
            case LVN_ITEMCHANGED:
                // The details line follows the selected row; the counts stay as they are.
                UpdateRowDetails();
                return 0;
            default:
                return 0;
        }
    }
    return 0;
}

bool TfrmRegCleaner::OnToolTipText(NMHDR* header) {
    if (header->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        if (const char* hint = HintOf(header->idFrom)) {
            info->lpszText = const_cast<char*>(hint);
            return true;
        }
    } else if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        if (const char* hint = HintOf(header->idFrom)) {
            toolTipText_ = ToWide(hint);
            info->lpszText = toolTipText_.data();
            return true;
        }
    }
    return false;
}

}  // namespace vantrel
