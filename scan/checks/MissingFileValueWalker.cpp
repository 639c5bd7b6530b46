#include "scan/checks/MissingFileValueWalker.h"

#include <string>
#include <utility>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "scan/KeyTreeWalk.h"
#include "scan/checks/CheckSupport.h"

namespace vantrel {

const SkipKeyList& LocalMachineSkipKeys() {
    static const SkipKeyList kKeys = {
        "SOFTWARE\\Classes\\CLSID",
        "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls",
        "SOFTWARE\\Classes\\TypeLib",
        "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths",
        "Software\\Microsoft\\Windows\\Help",
        "Software\\Microsoft\\Windows\\Html Help",
        "Software\\Classes\\Applications",
        "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
        "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders",
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache",
    };
    return kKeys;
}

const SkipKeyList& CurrentUserSkipKeys() {
    static const SkipKeyList kKeys = {
        "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
        "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
        "AppEvents\\Schemes\\Apps",
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU",
    };
    return kKeys;
}

const SkipKeyList& NoSkipKeys() {
    static const SkipKeyList kKeys;
    return kKeys;
}

bool IsSkippedKey(const SkipKeyList& skipKeys, std::string_view keyPath) {
    for (std::string_view skipped : skipKeys) {
        if (EqualsIgnoreCase(skipped, keyPath))
            return true;
    }
    return false;
}

namespace {

class MissingFileValues : public KeyVisitor {
  public:
    MissingFileValues(ScanContext& context, std::string rootName, std::string_view fileName,
                      const SkipKeyList& skipKeys)
        : context_(context),
          rootName_(std::move(rootName)),
          fileName_(fileName),
          skipKeys_(skipKeys) {}

    bool Enters(std::string_view keyPath) override { return !IsSkippedKey(skipKeys_, keyPath); }

    WalkOn Visit(const WalkedKey& key) override {
        ForEachStringValue(context_, key.access,
                           [&](const std::string& name, const std::string& text) {
                               if (context_.Paths().IsMissingFilePath(text, fileName_, true))
                                   context_.AddScanIssue(ValueKeyText(rootName_, key.path, name),
                                                         text, RepairKind::DeleteValueInKey);
                           });
        return WalkOn::IntoSubkeys;
    }

  private:
    ScanContext& context_;
    std::string rootName_;
    std::string_view fileName_;
    const SkipKeyList& skipKeys_;
};

}  // namespace

void WalkMissingFileValues(ScanContext& context, std::string_view rootName,
                           std::string_view keyPath, std::string_view fileName,
                           const SkipKeyList& skipKeys) {
    const RootKey root = RootKeyFromName(rootName);
    if (root == RootKey::None)
        return;
    MissingFileValues visitor(context, RootKeyName(root), fileName, skipKeys);
    WalkKeyTree(context, root, keyPath, visitor);
}

}  // namespace vantrel
