// The four checks that are one walk each.
#include <optional>
#include <string>
#include <utility>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "scan/CheckTable.h"
#include "scan/RegistryViews.h"
#include "scan/ScanContext.h"
#include "scan/checks/MissingFileValueWalker.h"

namespace vantrel {

namespace {

constexpr std::string_view kClassesHiveSuffix = "_Classes";
constexpr std::string_view kUserClasses = "Software\\Classes";

// Files and Folders - HKEY_USERS walks every user's hive but the current user's own two: that
// hive is HKEY_CURRENT_USER, walked with its skip list by the check before. Below each other
// hive's own key the current user's skip list is in force too; a classes hive ("<user>_Classes")
// is that user's "Software\Classes".
class OtherUsersHives : public KeyFilter {
  public:
    explicit OtherUsersHives(std::optional<std::string> ownHive) : ownHive_(std::move(ownHive)) {}

    bool Skips(std::string_view keyPath) const override {
        const size_t separator = keyPath.find('\\');
        const std::string_view hive = keyPath.substr(0, separator);
        if (IsOwnHive(hive))
            return true;
        if (separator == std::string_view::npos)
            return false;
        const std::string_view inHive = keyPath.substr(separator + 1);
        if (EndsWithIgnoreCase(hive, kClassesHiveSuffix))
            return CurrentUserSkipKeys().Skips(JoinKeyPath(kUserClasses, inHive));
        return CurrentUserSkipKeys().Skips(inHive);
    }

  private:
    bool IsOwnHive(std::string_view hive) const {
        if (!ownHive_ || hive.empty())
            return false;
        if (EqualsIgnoreCase(hive, *ownHive_))
            return true;
        return hive.size() == ownHive_->size() + kClassesHiveSuffix.size() &&
               StartsWithIgnoreCase(hive, *ownHive_) &&
               EndsWithIgnoreCase(hive, kClassesHiveSuffix);
    }

    std::optional<std::string> ownHive_;
};

}  // namespace

extern const RegistryList kTypeLibList = {RootKey::ClassesRoot, "TypeLib", ListKey::Container,
                                          ListWalk::Alone};

void CheckFilesAndFoldersLocalMachine(ScanContext& context) {
    WalkMissingFileValues(context, RootKey::LocalMachine, "Software", "", LocalMachineSkipKeys(),
                          WalkRisk::ReviewInInstalledProgram);
}

void CheckFilesAndFoldersCurrentUser(ScanContext& context) {
    WalkMissingFileValues(context, RootKey::CurrentUser, "", "", CurrentUserSkipKeys(),
                          WalkRisk::ReviewInInstalledProgram);
}

void CheckFilesAndFoldersUsers(ScanContext& context) {
    const OtherUsersHives otherUsers(CurrentUserHiveName(context.Registry()));
    WalkMissingFileValues(context, RootKey::Users, "", "", otherUsers,
                          WalkRisk::ReviewInInstalledProgram);
}

void CheckInvalidActiveX(ScanContext& context) {
    // Type-library versions name their server as "C:\...\x.dll" or with a resource index
    // after it; only text naming a ".dll" is judged.
    WalkMissingFileValues(context, kTypeLibList.root, kTypeLibList.path, ".dll", NoSkipKeys());
}

}  // namespace vantrel
