// The four checks that are one walk each.
#include "scan/Checks.h"
#include "scan/checks/MissingFileValueWalker.h"

namespace vantrel {

namespace {

constexpr CheckId kLocalMachineId = 3;
constexpr CheckId kCurrentUserId = 4;
constexpr CheckId kUsersId = 5;
constexpr CheckId kActiveXId = 19;

void RunWalkCheck(ScanContext& context, CheckId id, std::string_view rootName,
                  std::string_view keyPath, std::string_view fileName,
                  const SkipKeyList& skipKeys) {
    context.SetCaptionLabel(ProgressCaption(id));
    WalkMissingFileValues(context, rootName, keyPath, fileName, ProblemCaption(id), skipKeys);
}

}  // namespace

void CheckFilesAndFoldersLocalMachine(ScanContext& context) {
    RunWalkCheck(context, kLocalMachineId, "HKEY_LOCAL_MACHINE", "Software", "",
                 LocalMachineSkipKeys());
}

void CheckFilesAndFoldersCurrentUser(ScanContext& context) {
    RunWalkCheck(context, kCurrentUserId, "HKEY_CURRENT_USER", "", "", CurrentUserSkipKeys());
}

void CheckFilesAndFoldersUsers(ScanContext& context) {
    RunWalkCheck(context, kUsersId, "HKEY_USERS", "", "", NoSkipKeys());
}

void CheckInvalidActiveX(ScanContext& context) {
    // Type-library versions name their server as "C:\...\x.dll" or with a resource index
    // after it; only text naming a ".dll" is judged.
    RunWalkCheck(context, kActiveXId, "HKEY_CLASSES_ROOT", "TypeLib", ".dll", NoSkipKeys());
}

}  // namespace vantrel
