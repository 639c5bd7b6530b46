#include "scan/checks/MissingFileValueWalker.h"

#include <string>
#include <utility>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "scan/CheckedLists.h"
#include "scan/KeyTreeWalk.h"
#include "scan/RegistryViews.h"
#include "scan/checks/CheckSupport.h"

namespace vantrel {

const SkipKeyList& LocalMachineSkipKeys() {
    static const SkipKeyList kKeys(ListsWalkedAlone(RootKey::LocalMachine));
    return kKeys;
}

const SkipKeyList& CurrentUserSkipKeys() {
    static const SkipKeyList kKeys(ListsWalkedAlone(RootKey::CurrentUser));
    return kKeys;
}

const SkipKeyList& NoSkipKeys() {
    static const SkipKeyList kKeys;
    return kKeys;
}

SkipKeyList::SkipKeyList(const std::vector<std::string>& keyPaths) {
    for (const std::string& keyPath : keyPaths) {
        for (std::string& path : PathAndThirtyTwoBitTwins(keyPath))
            keyPaths_.push_back(std::move(path));
    }
}

bool SkipKeyList::Skips(std::string_view keyPath) const {
    for (const std::string& skipped : keyPaths_) {
        if (EqualsIgnoreCase(skipped, keyPath))
            return true;
    }
    return false;
}

namespace {

class MissingFileValues : public KeyVisitor {
  public:
    MissingFileValues(ScanContext& context, std::string rootName, std::string_view fileName,
                      const KeyFilter& skipKeys)
        : context_(context),
          rootName_(std::move(rootName)),
          fileName_(fileName),
          skipKeys_(skipKeys) {}

    bool Enters(std::string_view keyPath) override { return !skipKeys_.Skips(keyPath); }

    WalkOn Visit(const WalkedKey& key) override {
        ForEachStringValue(context_, key.access,
                           [&](const std::string& name, const std::string& text) {
                               if (context_.IsMissingFilePath(key.path, text, fileName_, true))
                                   context_.AddScanIssue(ValueKeyText(rootName_, key.path, name),
                                                         text, RepairKind::DeleteValueInKey);
                           });
        return WalkOn::IntoSubkeys;
    }

  private:
    ScanContext& context_;
    std::string rootName_;
    std::string_view fileName_;
    const KeyFilter& skipKeys_;
};

}  // namespace

void WalkMissingFileValues(ScanContext& context, RootKey root, std::string_view keyPath,
                           std::string_view fileName, const KeyFilter& skipKeys) {
    if (!IsScannedRoot(root))
        return;
    MissingFileValues visitor(context, RootKeyName(root), fileName, skipKeys);
    WalkKeyTree(context, root, keyPath, visitor);
}

}  // namespace vantrel
