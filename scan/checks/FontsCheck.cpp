// Windows Fonts: font entries whose file is not in the system fonts folder.
#include <optional>
#include <set>
#include <string>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "scan/CheckTable.h"
#include "scan/RegistryViews.h"
#include "scan/RowReasons.h"
#include "scan/ScanContext.h"
#include "scan/checks/CheckSupport.h"
#include "scan/checks/EntryRules.h"

namespace vantrel {

extern const RegistryList kNtFontsList = {RootKey::LocalMachine,
                                          "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",
                                          ListKey::Container, ListWalk::Shared};
extern const RegistryList k9xFontsList = {RootKey::LocalMachine,
                                          "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts",
                                          ListKey::Container, ListWalk::Shared};

namespace {

// The NT family, and any version the classification does not know, keep fonts under the NT key.
std::string_view FontsKeyFor(WindowsVersion version) {
    switch (version) {
        case WindowsVersion::Nt3:
        case WindowsVersion::Nt4:
        case WindowsVersion::Windows2000:
        case WindowsVersion::WindowsXp:
        case WindowsVersion::Nt52OrLater:
            return kNtFontsList.path;
        default:
            return k9xFontsList.path;
    }
}

// The fonts folder and the upper-cased names of the files (not folders) in it.
struct FontsFolder {
    std::string path;
    std::set<std::string> fileNames;
};

// nullopt when there is no fonts folder to compare with: then nothing is known to be missing.
std::optional<FontsFolder> ListFontsFolder(FileSystem& files) {
    FontsFolder folder;
    folder.path = files.SpecialFolderPath(specialfolder::kFonts);
    if (folder.path.empty() || !files.DirectoryExists(folder.path))
        return std::nullopt;
    for (const FolderEntry& entry : files.ListFolder(WithTrailingBackslash(folder.path))) {
        if (!entry.IsDirectory())
            folder.fileNames.insert(UpperAscii(entry.name));
    }
    return folder;
}

// A name read with '?' in place of characters the ANSI code page lacks is not the file's real
// name, and no file name holds a '?': such an entry cannot be judged.
bool MayBeLossyName(const std::string& name) {
    return name.find('?') != std::string::npos;
}

bool IsFontFilePresent(const ScanContext& context, std::string_view keyPath,
                       const std::string& data, const FontsFolder& folder) {
    if (data.find('\\') != std::string::npos)
        return !context.Paths().IsOnFixedDrive(data) || context.FileExistsFor(keyPath, data);
    if (folder.fileNames.count(UpperAscii(data)) != 0)
        return true;
    // The listing gives short names in place of names the code page lacks, and folds only the
    // letters a to z: before a font is called missing, the system looks for it by its own rules.
    return context.Files().FileExists(JoinFilePath(folder.path, data));
}

// Judged again without the listing: the system looks for the one file by its own rules.
bool FontFileStillMissing(ScanContext& context, const RowTarget& entry, const RowEvidence&) {
    const std::optional<std::string> file = ReadEntryText(context, entry);
    if (!file || MayBeLossyName(*file))
        return false;
    const FontsFolder folder{context.Files().SpecialFolderPath(specialfolder::kFonts), {}};
    return !folder.path.empty() && context.Files().DirectoryExists(folder.path) &&
           !IsFontFilePresent(context, entry.keyPath, *file, folder);
}

std::string FontReason(const std::string& file, const FontsFolder& folder) {
    if (file.find('\\') != std::string::npos)
        return DoesNotExistReason(file);
    return "the font file " + file + " is not in " + folder.path;
}

void ExamineFontsKey(ScanContext& context, std::string_view keyPath, const FontsFolder& folder) {
    const auto key = context.OpenRegistryKey(kNtFontsList.root, keyPath);
    if (!key)
        return;
    context.ShowProgressKey(keyPath);
    // Entries are compared with the fonts folder's bare file names. An entry holding a path
    // names its file itself (fonts installed elsewhere, the system's own in some setups): it is
    // judged by that file, since reporting a font whose file is there would delete a working
    // registration.
    ForEachStringValue(context, *key, [&](const std::string& font, const std::string& file) {
        if (MayBeLossyName(file) || IsFontFilePresent(context, keyPath, file, folder))
            return;
        context.AddScanIssue(ValueKeyText(RootKeyName(kNtFontsList.root), keyPath, font), file,
                             RepairKind::DeleteValueInKey, FontReason(file, folder), RowRisk::Safe,
                             JudgedBy(&FontFileStillMissing));
    });
}

}  // namespace

void CheckWindowsFonts(ScanContext& context) {
    const std::optional<FontsFolder> folder = ListFontsFolder(context.Files());
    if (!folder)
        return;
    const std::string_view keyPath = FontsKeyFor(context.Version());
    for (const std::string& path : MachineKeyInBothViews(context.Registry(), keyPath))
        ExamineFontsKey(context, path, *folder);
}

}  // namespace vantrel
