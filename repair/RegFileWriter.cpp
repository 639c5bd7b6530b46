#include "repair/RegFileWriter.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/PathText.h"

namespace vantrel {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kHeader = "REGEDIT4\r\n";
// After the comma that follows every 25th byte (from the 26th on) the bytes continue on the
// next line, as the registry editor wraps them.
constexpr size_t kBytesPerLine = 25;

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

std::string NamePart(std::string_view name) {
    return name.empty() ? std::string("@") : "\"" + EscapeRegText(name) + "\"";
}

// The bytes after "hex:" or "hex(N):", with the line end that closes the value.
std::string HexBytes(const std::vector<uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3 + (bytes.size() / kBytesPerLine + 1) * 3);
    for (size_t i = 0; i < bytes.size(); ++i) {
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 0x0F];
        if (i + 1 == bytes.size())
            break;
        out += ',';
        if (i > 0 && i % kBytesPerLine == 0) {
            out += '\\';
            out += kLineEnd;
        }
    }
    out += kLineEnd;
    return out;
}

std::string TypedHexPrefix(uint32_t type) {
    char prefix[24];
    std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(type));
    return prefix;
}

// Quotes carry a string faithfully only when its data is the text and one terminating zero,
// with no line break that would split the line.
bool QuotesCarry(const std::vector<uint8_t>& data) {
    if (data.empty() || data.back() != 0)
        return false;
    for (size_t i = 0; i + 1 < data.size(); ++i) {
        if (data[i] == 0 || data[i] == '\r' || data[i] == '\n')
            return false;
    }
    return true;
}

std::string QuotedString(const std::vector<uint8_t>& data) {
    const std::string text(data.begin(), data.end() - 1);
    return "\"" + EscapeRegText(text) + "\"" + std::string(kLineEnd);
}

std::string DwordText(const std::vector<uint8_t>& data) {
    uint32_t number = 0;
    for (size_t i = 0; i < 4; ++i)
        number |= static_cast<uint32_t>(data[i]) << (8 * i);
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(number));
    return "dword:" + std::string(digits) + std::string(kLineEnd);
}

std::string DataPart(const RawValue& value) {
    switch (value.type) {
        case regtype::kString:
            if (QuotesCarry(value.data))
                return QuotedString(value.data);
            break;
        case regtype::kDword:
            if (value.data.size() == 4)
                return DwordText(value.data);
            break;
        case regtype::kBinary:
            return "hex:" + HexBytes(value.data);
        default:
            break;
    }
    return TypedHexPrefix(value.type) + HexBytes(value.data);
}

ExportResult AddValueLine(RegistryAccess& access, std::string_view name, std::string& text) {
    if (HasLineBreak(name))
        return ExportResult::RefusedInexactText;
    const RawValue value = access.ReadRawValue(name);
    // A symbolic link reads as ANSI text, but the registry editor merges hex(6) bytes back
    // as they stand, not as converted text: the line would restore a different value.
    if (!value.exact || value.type == regtype::kLink)
        return ExportResult::RefusedInexactText;
    text += RegValueLine(name, value);
    return ExportResult::Written;
}

// Adds to `text` the block of keyPath (below the access's root) and, in whole-key mode, the
// blocks of its subtree depth first, parents before children. Each key is opened from the root
// by its full path and closed before its subkeys are visited. On a refusal `text` holds an
// unfinished block that the caller discards.
ExportResult WriteKeyBlock(RegistryAccess& access, std::string_view keyPath,
                           std::string_view valueName, ExportScope scope, std::string& text);

ExportResult AddKeyContents(RegistryAccess& access, std::string_view keyPath, std::string& text) {
    const std::vector<std::string> valueNames = access.GetValueNames();
    if (!access.LastNamesExact())
        return ExportResult::RefusedInexactText;
    const std::vector<std::string> subkeyNames = access.GetKeyNames();
    if (!access.LastNamesExact())
        return ExportResult::RefusedInexactText;
    for (const auto& name : valueNames) {
        const ExportResult result = AddValueLine(access, name, text);
        if (result != ExportResult::Written)
            return result;
    }
    // Each subkey is opened afresh from the root, so this key is closed first.
    access.CloseKey();
    for (const auto& subkey : subkeyNames) {
        const std::string subkeyPath = JoinKeyPath(keyPath, subkey);
        const ExportResult result =
            WriteKeyBlock(access, subkeyPath, {}, ExportScope::WholeKey, text);
        if (result != ExportResult::Written)
            return result;
    }
    return ExportResult::Written;
}

ExportResult WriteKeyBlock(RegistryAccess& access, std::string_view keyPath,
                           std::string_view valueName, ExportScope scope, std::string& text) {
    if (HasLineBreak(keyPath))
        return ExportResult::RefusedInexactText;
    text += kLineEnd;
    text += "[" + KeyText(RootKeyName(access.GetRootKey()), keyPath) + "]";
    text += kLineEnd;

    // With no key open the path is taken from the root.
    access.CloseKey();
    if (!access.OpenKey(keyPath))
        return ExportResult::RefusedUnopenableKey;
    if (scope == ExportScope::SingleValue)
        return AddValueLine(access, valueName, text);
    return AddKeyContents(access, keyPath, text);
}

}  // namespace

std::string EscapeRegText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out;
}

std::string RegValueLine(std::string_view name, const RawValue& value) {
    return NamePart(name) + "=" + DataPart(value);
}

ExportResult ExportToRegFile(RegistrySource& registry, RootKey root, std::string_view keyPath,
                             std::string_view valueName, ExportScope scope, std::string& blocks) {
    const auto access = registry.NewAccess();
    access->SetAccess(AccessMode::ReadOnly);
    access->SetRootKey(root);
    std::string block;
    const ExportResult result =
        WriteKeyBlock(*access, WithoutTrailingBackslash(keyPath), valueName, scope, block);
    if (result == ExportResult::Written)
        blocks += block;
    return result;
}

void AppendRegBlocks(BackupFile& file, std::string_view filePath, std::string_view blocks) {
    if (file.Exists(filePath))
        file.Append(filePath, blocks);
    else
        file.Create(filePath, std::string(kHeader) + std::string(blocks));
}

}  // namespace vantrel
