#pragma once

#include "scan/CheckCatalogue.h"
#include "scan/ScanContext.h"

namespace vantrel {

// Runs the check with this id; an id without a check runs nothing.
void RunCheck(CheckId id, ScanContext& context);

// One function per check, each in its own file under scan/checks/.
void CheckFilesAndFoldersLocalMachine(ScanContext& context);  // 3
void CheckFilesAndFoldersCurrentUser(ScanContext& context);   // 4
void CheckFilesAndFoldersUsers(ScanContext& context);         // 5
void CheckSoftwareLocations(ScanContext& context);            // 6
void CheckWindowsFonts(ScanContext& context);                 // 7
void CheckHelpFilePaths(ScanContext& context);                // 8
void CheckSharedDlls(ScanContext& context);                   // 9
void CheckStartupPrograms(ScanContext& context);              // 10
void CheckAddRemovePrograms(ScanContext& context);            // 11
void CheckFileExtensions(ScanContext& context);               // 12
void CheckCustomControls(ScanContext& context);               // 13
void CheckObsoleteSoftware(ScanContext& context);             // 14
void CheckWindowsServices(ScanContext& context);              // 15
void CheckStartMenu(ScanContext& context);                    // 16
void CheckShortcuts(ScanContext& context);                    // 17
void CheckSoundEvents(ScanContext& context);                  // 18
void CheckInvalidActiveX(ScanContext& context);               // 19
void CheckMruLists(ScanContext& context);                     // 20
void CheckInstaller(ScanContext& context);                    // 21
void CheckApplications(ScanContext& context);                 // 22

}  // namespace vantrel
