#pragma once

#include <string>
#include <string_view>

#include "platform/BackupFile.h"
#include "platform/RegistryAccess.h"
#include "platform/RootKey.h"

namespace vantrel {

// What one export copies: a key with its whole subtree, or one value of a key.
enum class ExportScope { WholeKey, SingleValue };

// How an export ended. Anything but Written means that nothing at all was written, so the
// caller must not delete the entry: there would be no faithful backup of it.
enum class ExportResult {
    Written,
    // A name or a text that the ANSI code page could not hold (it reads with '?'), a listing of
    // names that the registry broke off (the block would miss the rest), a key or value name
    // that a line of the file cannot carry (a CR or LF in it), or a symbolic link (REG_LINK),
    // whose text the registry editor would not convert back to its stored form.
    RefusedInexactText,
    // In whole-key mode the key or a key of its subtree could not be opened; in single-value
    // mode the value's key could not be opened.
    RefusedUnopenableKey,
};

// Appends one key (whole-key mode, with its subtree) or one value (single-value mode; an empty
// name is the default value) of the live registry to a REGEDIT4 file: "REGEDIT4" heads a new
// file, and each export adds an empty line, the key line and the value lines, all with CR LF
// line ends. A trailing "\" of the key path is dropped. The registry is only read (read-only
// access). The whole text is read before anything is written, so a refused export, or a read
// that raises RegistryError, leaves the file as it was (and makes none). Raises
// BackupFileError when the file cannot be created or written, RegistryError when a value's data
// cannot be read.
ExportResult ExportToRegFile(RegistrySource& registry, BackupFile& file, std::string_view filePath,
                             RootKey root, std::string_view keyPath, std::string_view valueName,
                             ExportScope scope);

// Adds the export's block (whole-key mode: the key's block and those of its subtree; single-
// value mode: the key line and the value's line) to `blocks`, read from the live registry with
// read-only access, each block an empty line, the key line and the value lines with CR LF line
// ends. A trailing "\" of the key path is dropped. On a refusal, or a read that raises
// RegistryError, `blocks` is left as it was.
ExportResult RenderRegBlock(RegistrySource& registry, RootKey root, std::string_view keyPath,
                            std::string_view valueName, ExportScope scope, std::string& blocks);

// Appends rendered blocks to a REGEDIT4 file; "REGEDIT4" heads a new file. Raises
// BackupFileError when the file cannot be created or written.
void AppendRegBlocks(BackupFile& file, std::string_view filePath, std::string_view blocks);

// Adds to `text` the block of keyPath (below the access's root) and, in whole-key mode, the
// blocks of its subtree depth first, parents before children. Each key is opened from the root
// by its full path and closed before its subkeys are visited. On a refusal `text` holds an
// unfinished block that the caller discards.
ExportResult WriteKeyBlock(RegistryAccess& access, std::string_view keyPath,
                           std::string_view valueName, ExportScope scope, std::string& text);

// Escapes a value name or string text for a quoted field: every "\" doubled, then every
// double quote preceded by a "\" (the added backslashes are not doubled).
std::string EscapeRegText(std::string_view text);

// One value line (with its CR LF; binary data may continue on further lines): "@" or the
// quoted name, "=", and the data part by type: a faithful string as quoted text, a 32-bit
// number as dword:XXXXXXXX, binary as hex:, every other type (and a string that quotes cannot
// carry) as hex(N): with N the type number in lower-case hexadecimal.
std::string RegValueLine(std::string_view name, const RawValue& value);

}  // namespace vantrel
