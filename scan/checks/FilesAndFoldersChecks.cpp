// The four checks that are one walk each.
#include "scan/ScanContext.h"
#include "scan/checks/MissingFileValueWalker.h"

namespace vantrel {

void CheckFilesAndFoldersLocalMachine(ScanContext& context) {
    WalkMissingFileValues(context, "HKEY_LOCAL_MACHINE", "Software", "", LocalMachineSkipKeys());
}

void CheckFilesAndFoldersCurrentUser(ScanContext& context) {
    WalkMissingFileValues(context, "HKEY_CURRENT_USER", "", "", CurrentUserSkipKeys());
}

void CheckFilesAndFoldersUsers(ScanContext& context) {
    WalkMissingFileValues(context, "HKEY_USERS", "", "", NoSkipKeys());
}

void CheckInvalidActiveX(ScanContext& context) {
    // Type-library versions name their server as "C:\...\x.dll" or with a resource index
    // after it; only text naming a ".dll" is judged.
    WalkMissingFileValues(context, "HKEY_CLASSES_ROOT", "TypeLib", ".dll", NoSkipKeys());
}

}  // namespace vantrel
