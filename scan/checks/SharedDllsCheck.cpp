// Shared DLLs: reference-count entries whose file is gone or whose count is zero.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "platform/PathText.h"
#include "scan/CheckTable.h"
#include "scan/RegistryViews.h"
#include "scan/RowReasons.h"
#include "scan/ScanContext.h"
#include "scan/checks/EntryRules.h"

namespace vantrel {

extern const RegistryList kSharedDllsList = {
    RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls",
    ListKey::Container, ListWalk::Alone};

namespace {

// The reference count; nullopt for data that is no 32-bit number, which is no count at all.
std::optional<uint32_t> ReadCount(RegistryAccess& key, const std::string& fileName) {
    const RawValue raw = key.ReadRawValue(fileName);
    if (raw.data.size() != sizeof(uint32_t))
        return std::nullopt;
    uint32_t count = 0;
    for (size_t i = 0; i < raw.data.size(); ++i)
        count |= static_cast<uint32_t>(raw.data[i]) << (8 * i);
    return count;
}

// Why the entry of fileName is a problem; nullopt when it is none, or holds no count. Only a
// name on a fixed disk is judged by its file; a count of zero is a problem wherever the file is.
std::optional<std::string> SharedDllProblem(const ScanContext& context, RegistryAccess& key,
                                            std::string_view sharedDllsKey,
                                            const std::string& fileName) {
    if (key.GetDataType(fileName) != ValueType::Integer)
        return std::nullopt;
    const std::optional<uint32_t> count = ReadCount(key, fileName);
    if (!count)
        return std::nullopt;
    const bool fileGone =
        context.Paths().IsOnFixedDrive(fileName) && !context.FileExistsFor(sharedDllsKey, fileName);
    if (!fileGone && *count != 0)
        return std::nullopt;
    return fileGone ? DoesNotExistReason(fileName) : std::string("the reference count is zero");
}

bool SharedDllStillAProblem(ScanContext& context, const RowTarget& entry, const RowEvidence&) {
    const auto key = context.OpenRegistryKey(entry.root, entry.keyPath);
    return key && SharedDllProblem(context, *key, entry.keyPath, entry.valueName);
}

void ExamineSharedDlls(ScanContext& context, std::string_view sharedDllsKey) {
    const std::string keyText = KeyText(RootKeyName(kSharedDllsList.root), sharedDllsKey);
    const auto key = context.OpenRegistryKey(kSharedDllsList.root, sharedDllsKey);
    if (!key)
        return;
    context.ShowProgressKey(sharedDllsKey);
    // Each value's name is a file path, its data the file's reference count.
    const std::vector<std::string> fileNames = key->GetValueNames();
    for (const std::string& fileName : fileNames) {
        context.ThrowIfStopped();
        std::optional<std::string> problem =
            SharedDllProblem(context, *key, sharedDllsKey, fileName);
        if (problem)
            context.AddScanIssue(keyText, fileName, RepairKind::DeleteNamedValue,
                                 std::move(*problem), RowRisk::Safe,
                                 JudgedBy(&SharedDllStillAProblem));
    }
}
}  // namespace

void CheckSharedDlls(ScanContext& context) {
    for (const std::string& path : MachineKeyInBothViews(context.Registry(), kSharedDllsList.path))
        ExamineSharedDlls(context, path);
}

}  // namespace vantrel
