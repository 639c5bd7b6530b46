// Custom Controls: class registrations whose keys name a missing file in their default value.
#include "scan/ScanContext.h"
#include "scan/checks/DefaultValueWalker.h"

namespace vantrel {

void CheckCustomControls(ScanContext& context) {
    // Every key is judged: server keys (InprocServer32, LocalServer32), icon keys and the rest.
    const DefaultValueWalkRules rules{RepairKind::DeleteKey, nullptr, true};
    WalkDefaultValues(context, "HKEY_CLASSES_ROOT", "CLSID", rules);
}

}  // namespace vantrel
