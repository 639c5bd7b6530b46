// Windows Fonts: font entries whose file is not in the system fonts folder.
#include <set>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "scan/ScanContext.h"
#include "scan/checks/CheckSupport.h"

namespace vantrel {

namespace {

constexpr std::string_view kNtFontsKey = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
constexpr std::string_view k9xFontsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";

// The NT family, and any version the classification does not know, keep fonts under the NT key.
std::string_view FontsKeyFor(WindowsVersion version) {
    switch (version) {
        case WindowsVersion::Nt3:
        case WindowsVersion::Nt4:
        case WindowsVersion::Windows2000:
        case WindowsVersion::WindowsXp:
        case WindowsVersion::Nt52OrLater:
            return kNtFontsKey;
        default:
            return k9xFontsKey;
    }
}

// The upper-cased names of the files (not folders) in the fonts folder. Without a fonts folder
// there is nothing to list, rather than the root of the current drive.
std::set<std::string> ListFontFileNames(FileSystem& files) {
    std::set<std::string> names;
    const std::string folder = files.SpecialFolderPath(specialfolder::kFonts);
    if (folder.empty())
        return names;
    for (const FolderEntry& entry : files.ListFolder(WithTrailingBackslash(folder))) {
        if (!entry.IsDirectory())
            names.insert(UpperAscii(entry.name));
    }
    return names;
}

bool IsFontFilePresent(const std::string& data, const std::set<std::string>& fontFiles,
                       FileSystem& files) {
    if (data.find('\\') != std::string::npos)
        return files.FileExists(data);
    return fontFiles.count(UpperAscii(data)) != 0;
}

}  // namespace

void CheckWindowsFonts(ScanContext& context) {
    const std::string_view keyPath = FontsKeyFor(context.Version());
    const std::set<std::string> fontFiles = ListFontFileNames(context.Files());
    const auto key = context.OpenRegistryKey(RootKey::LocalMachine, keyPath);
    if (!key)
        return;
    context.ShowProgressKey(keyPath);
    // Entries are compared with the fonts folder's bare file names. An entry holding a path
    // names its file itself (fonts installed elsewhere, the system's own in some setups): it is
    // judged by that file, since reporting a font whose file is there would delete a working
    // registration.
    ForEachStringValue(context, *key, [&](const std::string& font, const std::string& file) {
        if (!IsFontFilePresent(file, fontFiles, context.Files()))
            context.AddScanIssue(ValueKeyText("HKEY_LOCAL_MACHINE", keyPath, font), file,
                                 RepairKind::DeleteValueInKey);
    });
}

}  // namespace vantrel
