// Custom Controls: class registrations whose keys name a missing file in their default value.
#include "scan/CheckTable.h"
#include "scan/ScanContext.h"
#include "scan/checks/DefaultValueWalker.h"

namespace vantrel {

// The class registrations, as the system merges the machine's and the user's.
extern const RegistryList kClassIdList = {RootKey::ClassesRoot, "CLSID", ListKey::Container,
                                          ListWalk::Alone};

void CheckCustomControls(ScanContext& context) {
    // Every key is judged: server keys (InprocServer32, LocalServer32), icon keys and the rest.
    const DefaultValueWalkRules rules{RepairKind::DeleteKey, nullptr, true};
    WalkDefaultValues(context, kClassIdList.root, kClassIdList.path, rules);
}

}  // namespace vantrel
