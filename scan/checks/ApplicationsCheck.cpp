// Applications: "Open with" registrations whose shell commands name a program file that is gone.
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "platform/PathText.h"
#include "scan/CheckTable.h"
#include "scan/RegistryViews.h"
#include "scan/RowReasons.h"
#include "scan/ScanContext.h"
#include "scan/checks/CommandSearch.h"
#include "scan/checks/EntryRules.h"

namespace vantrel {

extern const RegistryList kApplicationsList = {
    RootKey::LocalMachine, "Software\\Classes\\Applications", ListKey::Container, ListWalk::Alone};

namespace {
constexpr std::string_view kCommandSubkey = "command";

// Every shell command of one application, in depth-first order, judged by the application's
// own file name: a command that names another program is not this registration's concern.
void ExamineApplication(ScanContext& context, std::string_view applicationsKey,
                        const std::string& application) {
    const std::string startPath = JoinKeyPath(applicationsKey, application);
    context.ShowProgressKey(startPath);
    ForEachCommand(
        context, kApplicationsList.root, startPath, kCommandSubkey, "",
        [&](const std::string& keyPath, const std::string& text) {
            if (!context.IsMissingFilePath(keyPath, text, application, false))
                return;
            context.AddScanIssue(
                ValueKeyText(RootKeyName(kApplicationsList.root), keyPath, kCommandSubkey), text,
                RepairKind::DeleteDefaultValue, NamesMissingProgramReason(text), RowRisk::Safe,
                MissingPathEvidence(application, false));
        });
}

void ExamineApplications(ScanContext& context, std::string_view applicationsKey) {
    const auto key = context.OpenRegistryKey(kApplicationsList.root, applicationsKey);
    if (!key)
        return;
    OpenKeyScope keyScope(*key);
    const std::vector<std::string> applications = key->GetKeyNames();
    for (const std::string& application : applications) {
        context.ThrowIfStopped();
        ExamineApplication(context, applicationsKey, application);
    }
}

void ExamineApplications(ScanContext& context) {
    for (const std::string& path :
         MachineKeyInBothViews(context.Registry(), kApplicationsList.path))
        ExamineApplications(context, path);
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
