#include "scan/RowRecheck.h"

#include <atomic>
#include <memory>

#include "scan/PathTests.h"
#include "scan/RowTarget.h"
#include "scan/ScanContext.h"

namespace vantrel {

namespace {

bool EntryIsThere(RegistrySource& registry, FileSystem& files, const RowTarget& target) {
    switch (target.kind) {
        case RowTarget::Kind::Key:
            return RegKeyExists(registry, target.root, target.keyPath);
        case RowTarget::Kind::Value:
        case RowTarget::Kind::DefaultValue: {
            const std::unique_ptr<RegistryAccess> key = registry.NewAccess();
            key->SetAccess(AccessMode::ReadOnly);
            key->SetRootKey(target.root);
            return key->OpenKey(target.keyPath) && key->ValueExists(target.valueName);
        }
        case RowTarget::Kind::File:
            return files.FileExists(target.filePath);
        case RowTarget::Kind::Nothing:
            break;
    }
    return false;
}

}  // namespace

RowRecheck::RowRecheck(RegistrySource& registry, FileSystem& files)
    : registry_(registry), files_(files) {}

const std::string& RowRecheck::FixedDriveLetters() {
    if (!fixedDriveLetters_)
        fixedDriveLetters_ = ComputeFixedDriveLetters(files_);
    return *fixedDriveLetters_;
}

bool RowRecheck::StillAProblem(const ScanIssue& row) {
    if (row.evidence.stillAProblem == nullptr)
        return true;
    const RowTarget target = RowTargetOf(row);
    if (target.kind != RowTarget::Kind::File && target.root == RootKey::None)
        return true;
    try {
        if (!EntryIsThere(registry_, files_, target))
            return true;
        // A context of its own for each row: the path tests remember their judgements, and
        // each row is judged on the disk as it is when its turn comes.
        // A rule reports nothing: it only answers.
        SilentSink noReports;
        const std::atomic<bool> notStopped{false};
        ScanContext context(registry_, files_, FixedDriveLetters(), WindowsVersion::Nt52OrLater,
                            noReports, notStopped);
        return row.evidence.stillAProblem(context, target, row.evidence);
    } catch (const RegistryError&) {
        return true;
    }
}

}  // namespace vantrel
