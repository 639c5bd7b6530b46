// Custom Controls: class registrations whose keys name a missing file in their default value.
#include "scan/Checks.h"
#include "scan/checks/DefaultValueWalker.h"

namespace vantrel {

namespace {
constexpr CheckId kCustomControlsId = 13;
}  // namespace

void CheckCustomControls(ScanContext& context) {
    context.SetCaptionLabel(ProgressCaption(kCustomControlsId));
    const std::string problem = ProblemCaption(kCustomControlsId);
    // Every key is judged: server keys (InprocServer32, LocalServer32), icon keys and the rest.
    const DefaultValueWalkRules rules{problem, RepairKind::DeleteKey, nullptr, true};
    WalkDefaultValues(context, "HKEY_CLASSES_ROOT", "CLSID", "", rules);
}

}  // namespace vantrel
