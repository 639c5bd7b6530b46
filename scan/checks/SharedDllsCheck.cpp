// Shared DLLs: reference-count entries whose file is gone or whose count is zero.
#include "platform/PathText.h"
#include "scan/ScanContext.h"

namespace vantrel {

namespace {
constexpr std::string_view kSharedDllsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
}  // namespace

void CheckSharedDlls(ScanContext& context) {
    const std::string keyText = KeyText("HKEY_LOCAL_MACHINE", kSharedDllsKey);
    const auto key = context.OpenRegistryKey(RootKey::LocalMachine, kSharedDllsKey);
    if (!key)
        return;
    context.ShowProgressKey(kSharedDllsKey);
    // Each value's name is a file path, its data the file's reference count. The name is
    // tested as written: any drive, or none, is judged.
    const std::vector<std::string> fileNames = key->GetValueNames();
    for (const std::string& fileName : fileNames) {
        context.ThrowIfStopped();
        if (key->GetDataType(fileName) != ValueType::Integer)
            continue;
        if (context.Files().FileExists(fileName) && key->ReadInteger(fileName) != 0)
            continue;
        context.AddScanIssue(keyText, fileName, RepairKind::DeleteNamedValue);
    }
}

}  // namespace vantrel
