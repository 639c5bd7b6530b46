#include <array>

#include "scan/Checks.h"

namespace vantrel {

namespace {

using CheckFunction = void (*)(ScanContext&);

// Indexed by CheckId - kFirstCheckId; an empty slot is a check not built yet.
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
    nullptr,                           // 12
    nullptr,                           // 13
    nullptr,                           // 14
    nullptr,                           // 15
    nullptr,                           // 16
    nullptr,                           // 17
    nullptr,                           // 18
    CheckInvalidActiveX,               // 19
    nullptr,                           // 20
    nullptr,                           // 21
    nullptr,                           // 22
};

}  // namespace

void RunCheck(CheckId id, ScanContext& context) {
    if (id < kFirstCheckId || id > kLastCheckId) return;
    const CheckFunction check = kChecks[static_cast<size_t>(id - kFirstCheckId)];
    if (check != nullptr) check(context);
}

}  // namespace vantrel
