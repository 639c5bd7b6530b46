// Custom Controls: class registrations whose keys name a missing file in their default value.
#include <string>
#include <string_view>

#include "platform/TextCase.h"
#include "scan/CheckTable.h"
#include "scan/RowReasons.h"
#include "scan/ScanContext.h"
#include "scan/checks/DefaultValueWalker.h"

namespace vantrel {

// The class registrations, as the system merges the machine's and the user's.
extern const RegistryList kClassIdList = {RootKey::ClassesRoot, "CLSID", ListKey::Container,
                                          ListWalk::Alone};

namespace {

// Names the class ("CLSID\{...}\InprocServer32" is class {...}) whose key names the file, and
// says a server where a server key (InprocServer32, LocalServer32) names it.
std::string ClassReason(std::string_view keyPath, std::string_view text) {
    const size_t start = keyPath.find('\\');
    if (start == std::string_view::npos)
        return NamesMissingFileReason(text);
    const std::string_view classId =
        keyPath.substr(start + 1, keyPath.find('\\', start + 1) - (start + 1));
    const char* file = EndsWithIgnoreCase(keyPath, "Server32") ? "a server file" : "a file";
    return "class " + std::string(classId) + " names " + file +
           " that does not exist: " + std::string(text);
}

}  // namespace

void CheckCustomControls(ScanContext& context) {
    // Every key is judged: server keys (InprocServer32, LocalServer32), icon keys and the rest.
    const DefaultValueWalkRules rules{RepairKind::DeleteKey, nullptr, true, ClassReason};
    WalkDefaultValues(context, kClassIdList.root, kClassIdList.path, rules);
}

}  // namespace vantrel
