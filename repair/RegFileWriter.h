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

// Exports one key (whole-key mode, with its subtree) or one value (single-value mode; an empty
// name is the default value) of the live registry for a REGEDIT4 file: adds its blocks to
// `blocks`, the text AppendRegBlocks writes to the file. Each block is an empty line, the key
// line and the value lines, with CR LF line ends. A trailing "\" of the key path is dropped. The
// registry is only read (read-only access). On a refusal, or a read that raises RegistryError,
// `blocks` is left as it was, so nothing of the entry reaches the file. Raises RegistryError
// when a value's data cannot be read.
ExportResult ExportToRegFile(RegistrySource& registry, RootKey root, std::string_view keyPath,
                             std::string_view valueName, ExportScope scope, std::string& blocks);

// Appends exported blocks to a REGEDIT4 file; "REGEDIT4" heads a new file. Raises
// BackupFileError when the file cannot be created or written.
void AppendRegBlocks(BackupFile& file, std::string_view filePath, std::string_view blocks);

// Escapes a value name or string text for a quoted field: every "\" doubled, then every
// double quote preceded by a "\" (the added backslashes are not doubled).
std::string EscapeRegText(std::string_view text);

// One value line (with its CR LF; binary data may continue on further lines): "@" or the
// quoted name, "=", and the data part by type: a faithful string as quoted text, a 32-bit
// number as dword:XXXXXXXX, binary as hex:, every other type (and a string that quotes cannot
// carry) as hex(N): with N the type number in lower-case hexadecimal.
std::string RegValueLine(std::string_view name, const RawValue& value);

}  // namespace vantrel
