// Applications: "Open with" registrations whose shell commands name a program file that is gone.
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "scan/Checks.h"
#include "scan/checks/CheckSupport.h"
#include "scan/checks/FindCommandValue.h"

namespace vantrel {

namespace {

constexpr CheckId kApplicationsId = 22;
constexpr std::string_view kApplicationsKey = "Software\\Classes\\Applications";
constexpr std::string_view kCommandSubkey = "command";

// Every shell command of one application, in depth-first order, judged by the application's
// own file name: a command that names another program is not this registration's concern.
void ExamineApplication(ScanContext& context, const std::string& application,
                        const std::string& problem) {
    const std::string startPath = std::string(kApplicationsKey) + '\\' + application;
    context.ShowProgressKey(startPath);
    std::string foundKey;
    std::string text =
        FindCommandValue(context, RootKey::LocalMachine, foundKey, startPath, kCommandSubkey, "");
    while (!text.empty()) {
        if (context.Paths().IsMissingFilePath(text, application, false)) {
            context.AddScanIssue(problem,
                                 JoinKeyText("HKEY_LOCAL_MACHINE", foundKey, kCommandSubkey), text,
                                 RepairKind::DeleteDefaultValue);
        }
        text = FindCommandValue(context, RootKey::LocalMachine, foundKey, startPath, kCommandSubkey,
                                "");
    }
}

void ExamineApplications(ScanContext& context) {
    const std::string problem = ProblemCaption(kApplicationsId);
    auto key = context.NewRegistryAccess();
    key->SetRootKey(RootKey::LocalMachine);
    if (!key->OpenKey(kApplicationsKey))
        return;
    OpenKeyScope keyScope(*key);
    const std::vector<std::string> applications = key->GetKeyNames();
    for (const std::string& application : applications) {
        context.ThrowIfStopped();
        ExamineApplication(context, application, problem);
    }
}

}  // namespace

// Leaves the caption label as the check before it set it.
void CheckApplications(ScanContext& context) {
    try {
        ExamineApplications(context);
    } catch (const std::exception&) {
        // An error ends this check only; its rows so far stay.
    }
}

}  // namespace vantrel
