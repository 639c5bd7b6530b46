// Sound and Appevents: event sounds of the sound schemes whose file is missing.
#include <array>
#include <string_view>

#include "platform/TextCase.h"
#include "scan/ScanContext.h"
#include "scan/checks/DefaultValueWalker.h"

namespace vantrel {

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
    WalkDefaultValues(context, "HKEY_Current_User", "AppEvents\\Schemes\\Apps", rules);
}

}  // namespace vantrel
