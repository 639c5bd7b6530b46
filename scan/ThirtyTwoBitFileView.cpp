#include "scan/ThirtyTwoBitFileView.h"

#include "platform/PathText.h"
#include "platform/TextCase.h"

namespace vantrel {

namespace {

// The variables a 32-bit program sees with other values, and where the native process keeps
// those values.
struct ThirtyTwoBitVariable {
    std::string_view name;
    std::string_view nativeSource;
};
constexpr ThirtyTwoBitVariable kThirtyTwoBitVariables[] = {
    {"ProgramFiles", "ProgramFiles(x86)"},
    {"CommonProgramFiles", "CommonProgramFiles(x86)"},
    // The same for both, but only 64-bit Windows defines it.
    {"ProgramW6432", "ProgramW6432"},
};

// The path with folder replaced by replacement, when it begins with that folder (as a whole
// name: "C:\Windows\System32x" is not below "C:\Windows\System32").
std::optional<std::string> Replaced(std::string_view path, std::string_view folder,
                                    std::string_view replacement) {
    if (folder.empty() || !StartsWithIgnoreCase(path, folder))
        return std::nullopt;
    const std::string_view rest = path.substr(folder.size());
    if (!rest.empty() && rest.front() != '\\' && rest.front() != '/')
        return std::nullopt;
    std::string replaced(replacement);
    replaced.append(rest);
    return replaced;
}

std::string_view ParentFolder(std::string_view folder) {
    folder = WithoutTrailingBackslash(folder);
    const size_t separator = folder.rfind('\\');
    return separator == std::string_view::npos ? std::string_view() : folder.substr(0, separator);
}

}  // namespace

ThirtyTwoBitFileView::ThirtyTwoBitFileView(FileSystem& files) : ForwardingFileSystem(files) {}

const ThirtyTwoBitFileView::Folders& ThirtyTwoBitFileView::ViewFolders() {
    if (folders_)
        return *folders_;
    Folders folders;
    folders.wow64 = std::string(WithoutTrailingBackslash(Inner().SystemWow64Folder()));
    // Without 32-bit system folder there is no 32-bit view: everything stays as it is.
    if (!folders.wow64.empty()) {
        folders.system = std::string(WithoutTrailingBackslash(Inner().SystemFolder()));
        const std::string_view windows = ParentFolder(folders.system);
        if (!windows.empty())
            folders.sysnative = JoinFilePath(windows, "Sysnative");
        for (const ThirtyTwoBitVariable& variable : kThirtyTwoBitVariables) {
            if (std::optional<std::string> value =
                    Inner().EnvironmentVariable(variable.nativeSource))
                folders.variables.emplace_back(std::string(variable.name), std::move(*value));
        }
    }
    folders_ = std::move(folders);
    return *folders_;
}

bool ThirtyTwoBitFileView::IsOwnView() {
    return !ViewFolders().wow64.empty();
}

std::string ThirtyTwoBitFileView::Redirect(std::string_view path) {
    const Folders& folders = ViewFolders();
    if (folders.wow64.empty())
        return std::string(path);
    if (std::optional<std::string> redirected = Replaced(path, folders.system, folders.wow64))
        return std::move(*redirected);
    if (std::optional<std::string> native = Replaced(path, folders.sysnative, folders.system))
        return std::move(*native);
    return std::string(path);
}

const std::string* ThirtyTwoBitFileView::ThirtyTwoBitValue(std::string_view name) {
    for (const auto& [variable, value] : ViewFolders().variables) {
        if (EqualsIgnoreCase(variable, name))
            return &value;
    }
    return nullptr;
}

// References are read as the system reads them: from each "%" to the next; an unknown one
// keeps its closing "%", which may open the next reference.
std::string ThirtyTwoBitFileView::WithThirtyTwoBitVariables(std::string_view text) {
    std::string out;
    size_t position = 0;
    while (position < text.size()) {
        const size_t open = text.find('%', position);
        const size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
        if (close == std::string_view::npos) {
            out.append(text.substr(position));
            break;
        }
        out.append(text.substr(position, open - position));
        const std::string_view name = text.substr(open + 1, close - open - 1);
        if (const std::string* value = ThirtyTwoBitValue(name)) {
            out.append(*value);
            position = close + 1;
        } else {
            out.append(text.substr(open, close - open));
            position = close;
        }
    }
    return out;
}

bool ThirtyTwoBitFileView::FileExists(std::string_view path) {
    return Inner().FileExists(Redirect(path));
}

bool ThirtyTwoBitFileView::DirectoryExists(std::string_view path) {
    return Inner().DirectoryExists(Redirect(path));
}

std::vector<FolderEntry> ThirtyTwoBitFileView::ListFolder(std::string_view folder) {
    return Inner().ListFolder(Redirect(folder));
}

std::optional<std::string> ThirtyTwoBitFileView::ExpandEnvironmentStrings(std::string_view text,
                                                                          size_t bufferChars) {
    return Inner().ExpandEnvironmentStrings(WithThirtyTwoBitVariables(text), bufferChars);
}

std::optional<std::string> ThirtyTwoBitFileView::EnvironmentVariable(std::string_view name) {
    if (const std::string* value = ThirtyTwoBitValue(name))
        return *value;
    return Inner().EnvironmentVariable(name);
}

std::optional<std::string> ThirtyTwoBitFileView::ResolveShortcutTarget(std::string_view linkPath) {
    return Inner().ResolveShortcutTarget(Redirect(linkPath));
}

}  // namespace vantrel
