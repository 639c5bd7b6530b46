#include <array>

#include "scan/Checks.h"

namespace vantrel {

namespace {

using CheckFunction = void (*)(ScanContext&);

// Indexed by CheckId - kFirstCheckId.
constexpr std::array<CheckFunction, kLastCheckId - kFirstCheckId + 1> kChecks = {
    CheckFilesAndFoldersLocalMachine,  // 3
    CheckFilesAndFoldersCurrentUser,   // 4
    CheckFilesAndFoldersUsers,         // 5
    CheckSoftwareLocations,            // 6
    CheckWindowsFonts,                 // 7
    CheckHelpFilePaths,                // 8
    CheckSharedDlls,                   // 9
    CheckStartupPrograms,              // 10
    CheckAddRemovePrograms,            // 11
    CheckFileExtensions,               // 12
    CheckCustomControls,               // 13
    CheckObsoleteSoftware,             // 14
    CheckWindowsServices,              // 15
    CheckStartMenu,                    // 16
    CheckShortcuts,                    // 17
    CheckSoundEvents,                  // 18
    CheckInvalidActiveX,               // 19
    CheckMruLists,                     // 20
    CheckInstaller,                    // 21
    CheckApplications,                 // 22
};

}  // namespace

void RunCheck(CheckId id, ScanContext& context) {
    if (id < kFirstCheckId || id > kLastCheckId)
        return;
    const CheckFunction check = kChecks[static_cast<size_t>(id - kFirstCheckId)];
    check(context);
}

}  // namespace vantrel
