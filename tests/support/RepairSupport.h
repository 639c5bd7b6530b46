#pragma once

// The repair's path for tests that export or repair one entry at a time.
#include <string_view>

#include "platform/BackupFile.h"
#include "platform/RegistryAccess.h"
#include "platform/RootKey.h"
#include "repair/RegFileWriter.h"
#include "repair/Repair.h"

namespace vantrel::test {

// Exports one key or value into a REGEDIT4 file as a repair writes it: the blocks the export
// added, appended to the file.
ExportResult ExportToFile(RegistrySource& registry, BackupFile& file, std::string_view filePath,
                          RootKey root, std::string_view keyPath, std::string_view valueName,
                          ExportScope scope);

// A ticked row that repairs the key rootName\keyPath with its subtree.
RepairRow KeyRow(std::string_view rootName, std::string_view keyPath);
// A ticked row that repairs one value of rootName\keyPath; "" is the default value.
RepairRow ValueRow(std::string_view rootName, std::string_view keyPath, std::string_view valueName);
// A ticked row that deletes the shortcut file at `path`.
RepairRow ShortcutRow(std::string_view path);

// Repairs the one row as the Repair command does; the tally holds it as removed or not.
RepairTally RepairOne(const RepairContext& context, const RepairRow& row);

}  // namespace vantrel::test
