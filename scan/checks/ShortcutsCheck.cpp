// Shortcuts: shell shortcut files in the user's and all users' shell folders whose target is gone.
#include <array>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "scan/RowReasons.h"
#include "scan/RowTarget.h"
#include "scan/ScanContext.h"

namespace vantrel {

namespace {

// The folders searched, in this order.
constexpr std::array<int, 6> kShortcutFolders = {
    specialfolder::kCommonStartMenu, specialfolder::kCommonDesktopDirectory,
    specialfolder::kAppData,         specialfolder::kRecent,
    specialfolder::kStartMenu,       specialfolder::kDesktopDirectory,
};

bool IsShortcutFileName(std::string_view name) {
    return EndsWithIgnoreCase(name, ".lnk");
}

// The shortcut's target when it is gone. Only a target on a fixed disk is tested: a share, a
// mapped drive or a disc not inserted cannot answer today (and asking a share may wait for the
// network), and the shortcut is the user's own file.
std::optional<std::string> MissingTargetOf(const ScanContext& context,
                                           const std::string& linkPath) {
    std::optional<std::string> target = context.Files().ResolveShortcutTarget(linkPath);
    if (!target || !context.Paths().IsOnFixedDrive(*target))
        return std::nullopt;
    if (context.Files().FileExists(*target) || context.Files().DirectoryExists(*target))
        return std::nullopt;
    return target;
}

bool ShortcutTargetStillMissing(ScanContext& context, const RowTarget& shortcut,
                                const RowEvidence&) {
    return MissingTargetOf(context, shortcut.filePath).has_value();
}

// One run of the check. Newer systems keep the Start Menu and Recent folders inside
// Application Data, so the same folder can be reached twice; it is searched once, else
// every dead shortcut in it would be listed (and later deleted) twice.
class ShortcutSearch {
  public:
    explicit ShortcutSearch(ScanContext& context) : context_(context) {}

    void ScanShortcutFolder(const std::string& folder) {
        if (!visitedFolders_.insert(FolderIdentity(folder)).second)
            return;
        for (const FolderEntry& entry : context_.Files().ListFolder(folder)) {
            context_.ThrowIfStopped();
            if (entry.IsDirectory()) {
                // A junction or symbolic link leads to a folder that lies elsewhere, or to a
                // parent of its own ("Application Data" inside itself): never followed.
                if (entry.name != "." && entry.name != ".." && !entry.IsReparsePoint())
                    ScanShortcutFolder(JoinFilePath(folder, entry.name));
            } else if (IsShortcutFileName(entry.name)) {
                ExamineShortcut(JoinFilePath(folder, entry.name));
            }
        }
    }

  private:
    static std::string FolderIdentity(std::string_view folder) {
        while (!folder.empty() && folder.back() == '\\')
            folder.remove_suffix(1);
        return UpperAscii(folder);
    }

    void ExamineShortcut(const std::string& linkPath) {
        context_.ShowProgressKey(linkPath);
        const std::optional<std::string> target = MissingTargetOf(context_, linkPath);
        if (!target)
            return;
        context_.AddScanIssue(linkPath, *target, RepairKind::DeleteNamedFile,
                              "the shortcut's target " + *target + " does not exist", RowRisk::Safe,
                              JudgedBy(&ShortcutTargetStillMissing));
    }

    ScanContext& context_;
    std::set<std::string> visitedFolders_;
};

}  // namespace

void CheckShortcuts(ScanContext& context) {
    ShortcutSearch search(context);
    for (int folder : kShortcutFolders) {
        context.ThrowIfStopped();
        const std::string path = context.Files().SpecialFolderPath(folder);
        if (!path.empty())
            search.ScanShortcutFolder(path);
    }
}

}  // namespace vantrel
