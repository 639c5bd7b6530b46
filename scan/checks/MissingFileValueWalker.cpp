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

namespace {

constexpr std::string_view kSoftwarePrefix = "Software\\";
constexpr std::string_view kClassesPrefix = "Classes\\";

}  // namespace

SkipKeyList::SkipKeyList(std::initializer_list<std::string_view> keyPaths) {
    for (std::string_view keyPath : keyPaths) {
        keyPaths_.emplace_back(keyPath);
        if (!StartsWithIgnoreCase(keyPath, kSoftwarePrefix))
            continue;
        const std::string_view belowSoftware = keyPath.substr(kSoftwarePrefix.size());
        keyPaths_.push_back(std::string(kSoftwarePrefix) + "Wow6432Node\\" +
                            std::string(belowSoftware));
        if (StartsWithIgnoreCase(belowSoftware, kClassesPrefix)) {
            keyPaths_.push_back(std::string(kSoftwarePrefix) + std::string(kClassesPrefix) +
                                "Wow6432Node\\" +
                                std::string(belowSoftware.substr(kClassesPrefix.size())));
        }
    }
}

bool SkipKeyList::Skips(std::string_view keyPath) const {
    for (const std::string& skipped : keyPaths_) {
        if (EqualsIgnoreCase(skipped, keyPath))
            return true;
    }
    return false;
}

bool IsSkippedKey(const SkipKeyList& skipKeys, std::string_view keyPath) {
    return skipKeys.Skips(keyPath);
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

void WalkMissingFileValues(ScanContext& context, std::string_view rootName,
                           std::string_view keyPath, std::string_view fileName,
                           const KeyFilter& skipKeys) {
    const RootKey root = RootKeyFromName(rootName);
    if (root == RootKey::None)
        return;
    MissingFileValues visitor(context, RootKeyName(root), fileName, skipKeys);
    WalkKeyTree(context, root, keyPath, visitor);
}

}  // namespace vantrel
