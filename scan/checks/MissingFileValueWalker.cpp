#include "scan/checks/MissingFileValueWalker.h"

#include <string>
#include <utility>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "scan/CheckedLists.h"
#include "scan/KeyTreeWalk.h"
#include "scan/RegistryViews.h"
#include "scan/RowReasons.h"
#include "scan/checks/CheckSupport.h"
#include "scan/checks/EntryRules.h"

namespace vantrel {

const SkipKeyList& LocalMachineSkipKeys() {
    static const SkipKeyList kKeys(PathsLeftOutOfTheWalk(RootKey::LocalMachine));
    return kKeys;
}

const SkipKeyList& CurrentUserSkipKeys() {
    static const SkipKeyList kKeys(PathsLeftOutOfTheWalk(RootKey::CurrentUser));
    return kKeys;
}

const SkipKeyList& NoSkipKeys() {
    static const SkipKeyList kKeys;
    return kKeys;
}

SkipKeyList::SkipKeyList(const std::vector<std::string>& keyPaths) {
    for (const std::string& keyPath : keyPaths) {
        for (const std::string& path : PathAndThirtyTwoBitTwins(keyPath)) {
            if (!path.empty() && path.back() == '*')
                namePrefixes_.push_back(path.substr(0, path.size() - 1));
            else
                wholePaths_.push_back(path);
        }
    }
}

bool SkipKeyList::Skips(std::string_view keyPath) const {
    // Asked for every key a walk meets: compared in place, nothing allocated.
    for (const std::string& skipped : wholePaths_) {
        if (EqualsIgnoreCase(skipped, keyPath))
            return true;
    }
    for (const std::string& prefix : namePrefixes_) {
        if (keyPath.size() > prefix.size() && StartsWithIgnoreCase(keyPath, prefix) &&
            keyPath.find('\\', prefix.size()) == std::string_view::npos)
            return true;
    }
    return false;
}

namespace {

class MissingFileValues : public KeyVisitor {
  public:
    MissingFileValues(ScanContext& context, RootKey root, std::string_view fileName,
                      const KeyFilter& skipKeys, WalkRisk risk)
        : context_(context),
          root_(root),
          rootName_(RootKeyName(root)),
          fileName_(fileName),
          skipKeys_(skipKeys),
          risk_(risk) {}

    bool Enters(std::string_view keyPath) override { return !skipKeys_.Skips(keyPath); }

    WalkOn Visit(const WalkedKey& key) override {
        ForEachStringValue(
            context_, key.access, [&](const std::string& name, const std::string& text) {
                if (context_.IsMissingFilePath(key.path, text, fileName_, true))
                    context_.AddScanIssue(ValueKeyText(rootName_, key.path, name), text,
                                          RepairKind::DeleteValueInKey,
                                          NamesMissingFileOrFolderReason(text), RiskAt(key.path),
                                          MissingPathEvidence(fileName_, true));
            });
        return WalkOn::IntoSubkeys;
    }

  private:
    RowRisk RiskAt(std::string_view keyPath) {
        switch (risk_) {
            case WalkRisk::Safe:
                return RowRisk::Safe;
            case WalkRisk::Review:
                return RowRisk::Review;
            case WalkRisk::ReviewInInstalledProgram:
                break;
        }
        return context_.IsInstalledProgramKey(root_, keyPath) ? RowRisk::Review : RowRisk::Safe;
    }

    ScanContext& context_;
    RootKey root_;
    std::string rootName_;
    std::string_view fileName_;
    const KeyFilter& skipKeys_;
    WalkRisk risk_;
};

}  // namespace

void WalkMissingFileValues(ScanContext& context, RootKey root, std::string_view keyPath,
                           std::string_view fileName, const KeyFilter& skipKeys, WalkRisk risk) {
    if (!IsScannedRoot(root))
        return;
    MissingFileValues visitor(context, root, fileName, skipKeys, risk);
    WalkKeyTree(context, root, keyPath, visitor);
}

}  // namespace vantrel
