#include "ui/MessageBoxPrompts.h"

#include <commdlg.h>

#include <array>

#include "platform/ProductVersion.h"
#include "platform/win32/Win32Shell.h"

namespace vantrel {
namespace {

int ShowBox(HWND owner, std::string_view text, UINT style) {
    const std::string message(text);
    return ::MessageBoxA(owner, message.c_str(), kProductName, style);
}

// "Text|*.ext|..." as the save dialog takes it: pairs of zero-ended strings and one more zero.
std::string DialogFilter(std::string_view filter) {
    std::string pairs(filter);
    for (char& c : pairs) {
        if (c == '|')
            c = '\0';
    }
    pairs.append(2, '\0');
    return pairs;
}

}  // namespace

bool MessageBoxPrompts::AskYesNo(std::string_view question, DefaultAnswer defaultAnswer) {
    const UINT defaultButton = defaultAnswer == DefaultAnswer::No ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
    return ShowBox(owner_, question, MB_YESNO | MB_ICONINFORMATION | defaultButton) == IDYES;
}

void MessageBoxPrompts::ShowNotice(std::string_view text) {
    ShowBox(owner_, text, MB_OK | MB_ICONINFORMATION);
}

void MessageBoxPrompts::ShowError(std::string_view text) {
    ShowBox(owner_, text, MB_OK | MB_ICONERROR);
}

std::optional<std::string> MessageBoxPrompts::AskSaveFileName(const SaveFileQuestion& question) {
    std::array<char, 4 * MAX_PATH> path{};
    const std::string filter = DialogFilter(question.filter);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrTitle = question.title.c_str();
    // The program's current folder is not the user's to change by browsing.
    dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
    if (!::GetSaveFileNameA(&dialog))
        return std::nullopt;
    return std::string(path.data());
}

std::optional<std::string> MessageBoxPrompts::AskFolder(std::string_view instruction) {
    std::string folder;
    if (!BrowseForDirectory(owner_, std::string(instruction), L"", folder))
        return std::nullopt;
    return folder;
}

}  // namespace vantrel
