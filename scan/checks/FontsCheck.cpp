// Windows Fonts: font entries whose file is not in the system fonts folder.
#include <set>

#include "platform/TextCase.h"
#include "scan/Checks.h"
#include "scan/checks/CheckSupport.h"

namespace vantrel {

namespace {

constexpr CheckId kFontsId = 7;
constexpr std::string_view kNtFontsKey = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
constexpr std::string_view k9xFontsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";

// The NT family, and any version the classification does not know, keep fonts under the NT key.
std::string_view FontsKeyFor(int windowsVersionCode) {
    switch (windowsVersionCode) {
        case 5:
        case 6:
        case 7:
        case 9:
        case 10:
            return kNtFontsKey;
        default:
            return k9xFontsKey;
    }
}

// The upper-cased names of the files (not folders) in the fonts folder. Without a fonts folder
// there is nothing to list, rather than the root of the current drive.
std::set<std::string> ListFontFileNames(FileSystem& files) {
    std::set<std::string> names;
    std::string folder = files.SpecialFolderPath(specialfolder::kFonts);
    if (folder.empty())
        return names;
    if (folder.back() != '\\')
        folder += '\\';
    for (const FolderEntry& entry : files.ListFolder(folder)) {
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
    context.SetCaptionLabel(ProgressCaption(kFontsId));
    const std::string problem = ProblemCaption(kFontsId);
    const std::string_view keyPath = FontsKeyFor(context.WindowsVersion());
    const std::set<std::string> fontFiles = ListFontFileNames(context.Files());

    auto key = context.NewRegistryAccess();
    key->SetRootKey(RootKey::LocalMachine);
    if (!key->OpenKey(keyPath))
        return;
    context.ShowProgressKey(keyPath);
    // Entries are compared with the fonts folder's bare file names. An entry holding a path
    // names its file itself (fonts installed elsewhere, the system's own in some setups): it is
    // judged by that file, since reporting a font whose file is there would delete a working
    // registration.
    const std::vector<std::string> fontNames = key->GetValueNames();
    for (const std::string& fontName : fontNames) {
        context.ThrowIfStopped();
        if (!IsStringValueType(key->GetDataType(fontName)))
            continue;
        const std::string fileName = key->ReadString(fontName);
        if (IsFontFilePresent(fileName, fontFiles, context.Files()))
            continue;
        context.AddScanIssue(problem, JoinKeyText("HKEY_LOCAL_MACHINE", keyPath, fontName),
                             fileName, RepairKind::DeleteValueInKey);
    }
}

}  // namespace vantrel
