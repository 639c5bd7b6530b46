// MRU and History Lists: entries of the open and save dialogs' history naming files that are gone.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "scan/CheckTable.h"
#include "scan/RowReasons.h"
#include "scan/RowTarget.h"
#include "scan/ScanContext.h"
#include "scan/checks/CheckSupport.h"
#include "scan/checks/EntryRules.h"
#include "scan/checks/MissingFileValueWalker.h"

namespace vantrel {

extern const RegistryList kOpenSaveMruList = {
    RootKey::CurrentUser,
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU",
    ListKey::Container, ListWalk::Alone};

namespace {

const std::string_view kOpenSaveMruKey = kOpenSaveMruList.path;
constexpr std::string_view kAllFilesSubkey = "*";

// "X:\..." with X one of the fixed disks' letters.
bool IsOnFixedDrive(std::string_view text, std::string_view fixedDriveLetters) {
    if (text.size() < 3 || text[1] != ':' || text[2] != '\\')
        return false;
    return FindIgnoreCase(fixedDriveLetters, text.substr(0, 1)) != std::string_view::npos;
}

// The history keeps names with or without their extension; either form of an existing file
// counts as present. Only files count, not folders.
bool NamesExistingFile(FileSystem& files, const std::string& text,
                       const std::vector<std::string>& extensions) {
    if (files.FileExists(text))
        return true;
    for (const std::string& extension : extensions) {
        if (extension == kAllFilesSubkey)
            continue;
        if (files.FileExists(text + '.' + extension))
            return true;
    }
    return false;
}

bool IsMissingHistoryFile(const ScanContext& context, const std::string& text,
                          const std::vector<std::string>& extensions) {
    return IsOnFixedDrive(text, context.Paths().FixedDriveLetters()) &&
           !NamesExistingFile(context.Files(), text, extensions);
}

// The extensions tried are the list's subkeys, read again too.
bool HistoryFileStillMissing(ScanContext& context, const RowTarget& entry, const RowEvidence&) {
    const std::optional<std::string> text = ReadEntryText(context, entry);
    const auto key = context.OpenRegistryKey(entry.root, entry.keyPath);
    return text && key && IsMissingHistoryFile(context, *text, key->GetKeyNames());
}

// The key's own values: history entries kept outside the per-extension lists.
void ExamineOwnValues(ScanContext& context, RegistryAccess& key,
                      const std::vector<std::string>& extensions) {
    ForEachStringValue(context, key, [&](const std::string& name, const std::string& text) {
        if (!IsMissingHistoryFile(context, text, extensions))
            return;
        // A history entry is the user's own record: deleting it is for them to decide.
        context.AddScanIssue(
            ValueKeyText(RootKeyName(kOpenSaveMruList.root), kOpenSaveMruKey, name), text,
            RepairKind::DeleteValueInKey, DoesNotExistReason(text), RowRisk::Review,
            JudgedBy(&HistoryFileStillMissing));
    });
}

}  // namespace

void CheckMruLists(ScanContext& context) {
    const auto key = context.OpenRegistryKey(kOpenSaveMruList.root, kOpenSaveMruKey);
    if (!key)
        return;
    std::vector<std::string> extensions;
    {
        OpenKeyScope keyScope(*key);
        context.ShowProgressKey(kOpenSaveMruKey);
        extensions = key->GetKeyNames();
        ExamineOwnValues(context, *key, extensions);
    }
    // One history list per extension, "*" included.
    for (const std::string& extension : extensions) {
        context.ThrowIfStopped();
        WalkMissingFileValues(context, kOpenSaveMruList.root,
                              JoinKeyPath(kOpenSaveMruKey, extension), {}, NoSkipKeys(),
                              WalkRisk::Review);
    }
}

}  // namespace vantrel
