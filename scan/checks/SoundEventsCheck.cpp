// Sound and Appevents: event sounds of the sound schemes whose file is missing.
#include <array>
#include <string_view>

#include "platform/TextCase.h"
#include "scan/CheckTable.h"
#include "scan/ScanContext.h"
#include "scan/checks/DefaultValueWalker.h"

namespace vantrel {

extern const RegistryList kSoundSchemesList = {RootKey::CurrentUser, "AppEvents\\Schemes\\Apps",
                                               ListKey::Container, ListWalk::Alone};

namespace {
// The keys that hold an event's sound file in a scheme.
constexpr std::array<std::string_view, 3> kSchemeSoundKeyNames = {".current", ".default",
                                                                  "utopia0"};

bool IsSchemeSoundKey(std::string_view keyName) {
    for (std::string_view soundKeyName : kSchemeSoundKeyNames) {
        if (EqualsIgnoreCase(keyName, soundKeyName))
            return true;
    }
    return false;
}
}  // namespace

void CheckSoundEvents(ScanContext& context) {
    const DefaultValueWalkRules rules{RepairKind::DeleteDefaultValue, IsSchemeSoundKey, false};
    WalkDefaultValues(context, kSoundSchemesList.root, kSoundSchemesList.path, rules);
}

}  // namespace vantrel
