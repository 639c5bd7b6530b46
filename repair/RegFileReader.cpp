#include "repair/RegFileReader.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextCase.h"

namespace vantrel {
namespace {

// One line after continuations are joined, with the number of its first physical line.
struct LogicalLine {
    size_t number = 0;
    std::string text;
};

// Thrown inside the reader and turned into RegFileError naming the line.
struct LineError {
    std::string reason;
};

std::vector<std::string_view> PhysicalLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// Joins lines ending with a backslash to the next; drops blank lines and ";" comments.
std::vector<LogicalLine> LogicalLines(std::string_view text) {
    std::vector<LogicalLine> lines;
    std::optional<LogicalLine> pending;
    const auto physical = PhysicalLines(text);
    for (size_t i = 0; i < physical.size(); ++i) {
        std::string_view line = TrimBlanks(physical[i]);
        if (!pending) {
            if (line.empty() || line.front() == ';')
                continue;
            pending = LogicalLine{i + 1, {}};
        }
        const bool continues = !line.empty() && line.back() == '\\';
        if (continues)
            line.remove_suffix(1);
        pending->text += line;
        if (!continues) {
            lines.push_back(std::move(*pending));
            pending.reset();
        }
    }
    if (pending) {
        throw RegFileError("Registry text line " + std::to_string(pending->number) +
                           ": continued past the end of the text: " + pending->text);
    }
    return lines;
}

RootKey RootFromRegName(std::string_view name) {
    const RootKey root = RootKeyFromName(name);
    if (root != RootKey::None)
        return root;
    const std::string upper = UpperAscii(name);
    if (upper == "HKEY_PERFORMANCE_DATA")
        return RootKey::PerformanceData;
    if (upper == "HKEY_DYN_DATA")
        return RootKey::DynData;
    if (upper == "HKCU")
        return RootKey::CurrentUser;
    if (upper == "HKLM")
        return RootKey::LocalMachine;
    if (upper == "HKCR")
        return RootKey::ClassesRoot;
    if (upper == "HKU")
        return RootKey::Users;
    if (upper == "HKCC")
        return RootKey::CurrentConfig;
    return RootKey::None;
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

uint32_t HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return static_cast<uint32_t>(c - '0');
    return static_cast<uint32_t>(LowerAscii(c) - 'a' + 10);
}

// A number of one to maxDigits hexadecimal digits.
uint32_t ParseHexNumber(std::string_view digits, size_t maxDigits, std::string_view what) {
    if (digits.empty() || digits.size() > maxDigits) {
        throw LineError{"expected 1 to " + std::to_string(maxDigits) + " hex digits for " +
                        std::string(what)};
    }
    uint32_t number = 0;
    for (const char c : digits) {
        if (!IsHexDigit(c))
            throw LineError{"not a hex digit in " + std::string(what)};
        number = (number << 4) | HexDigitValue(c);
    }
    return number;
}

std::vector<uint8_t> ParseHexBytes(std::string_view list) {
    std::vector<uint8_t> bytes;
    if (TrimBlanks(list).empty())
        return bytes;
    while (true) {
        const auto comma = list.find(',');
        const auto item = TrimBlanks(list.substr(0, comma));
        bytes.push_back(static_cast<uint8_t>(ParseHexNumber(item, 2, "a byte")));
        if (comma == std::string_view::npos)
            break;
        list.remove_prefix(comma + 1);
    }
    return bytes;
}

// A quoted text starting at text[pos] with \\ and \" escapes; pos moves past the closing quote.
std::string ParseQuoted(std::string_view text, size_t& pos) {
    std::string out;
    for (size_t i = pos + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            pos = i + 1;
            return out;
        }
        if (c == '\\') {
            if (i + 1 >= text.size() || (text[i + 1] != '\\' && text[i + 1] != '"')) {
                throw LineError{"unknown escape in a quoted text"};
            }
            out += text[++i];
            continue;
        }
        out += c;
    }
    throw LineError{"quoted text without its closing quote"};
}

constexpr std::string_view kUnicodeHeader = "Windows Registry Editor Version 5.00";

std::string HexOfUnit(uint32_t unit) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (int shift = 12; shift >= 0; shift -= 4)
        hex += kDigits[(unit >> shift) & 0xFu];
    return hex;
}

// One UTF-16 code unit as the one byte this program's text holds for it: only ASCII is the same
// in every ANSI code page, so anything else cannot be compared here and the file counts as
// unreadable, never as something it is not.
char NarrowedUnit(uint32_t unit) {
    if (unit >= 0x80)
        throw LineError{"a character this program cannot compare (U+" + HexOfUnit(unit) + ")"};
    return static_cast<char>(unit);
}

// The data of a text value of a Unicode export (UTF-16LE) as the ANSI bytes the registry reads.
std::vector<uint8_t> NarrowedUtf16(const std::vector<uint8_t>& bytes) {
    if (bytes.size() % 2 != 0)
        throw LineError{"Unicode text data of an odd number of bytes"};
    std::vector<uint8_t> narrowed;
    narrowed.reserve(bytes.size() / 2);
    for (size_t i = 0; i < bytes.size(); i += 2)
        narrowed.push_back(static_cast<uint8_t>(NarrowedUnit(
            static_cast<uint32_t>(bytes[i]) | (static_cast<uint32_t>(bytes[i + 1]) << 8))));
    return narrowed;
}

// The text of a Unicode export after its byte order mark, narrowed like its values.
std::string NarrowedExport(std::string_view bytes) {
    if (bytes.size() % 2 != 0)
        throw RegFileError("A Unicode registry file of an odd number of bytes");
    std::string text;
    text.reserve(bytes.size() / 2);
    size_t line = 1;
    for (size_t i = 0; i < bytes.size(); i += 2) {
        const uint32_t unit = static_cast<uint8_t>(bytes[i]) |
                              (static_cast<uint32_t>(static_cast<uint8_t>(bytes[i + 1])) << 8);
        try {
            text += NarrowedUnit(unit);
        } catch (const LineError& error) {
            throw RegFileError("Registry text line " + std::to_string(line) + ": " + error.reason);
        }
        if (unit == '\n')
            ++line;
    }
    return text;
}

class RegTextReader {
  public:
    // `unicode`: the text came from the registry editor's Unicode export, whose header is its own
    // and whose hex(1), hex(2) and hex(7) data are UTF-16 text.
    RegTextReader(bool unicode) : unicode_(unicode) {}

    std::vector<RegFileBlock> Read(std::string_view text) {
        bool first = true;
        for (const auto& line : LogicalLines(text)) {
            try {
                ReadLine(line.text, first);
            } catch (const LineError& error) {
                throw RegFileError("Registry text line " + std::to_string(line.number) + ": " +
                                   error.reason + ": " + line.text);
            }
            first = false;
        }
        return std::move(blocks_);
    }

  private:
    void ReadLine(std::string_view line, bool first) {
        const std::string_view header = unicode_ ? kUnicodeHeader : "REGEDIT4";
        if (line == header) {
            if (!first)
                throw LineError{"the " + std::string(header) +
                                " header is allowed only at the start"};
            return;
        }
        if (line.front() == '[')
            return ReadKeyLine(line);
        if (line.front() == '@' || line.front() == '"')
            return ReadValueLine(line);
        throw LineError{"neither a key nor a value line"};
    }

    void ReadKeyLine(std::string_view line) {
        if (line.back() != ']')
            throw LineError{"key line without its closing bracket"};
        std::string_view name = line.substr(1, line.size() - 2);
        const bool removal = !name.empty() && name.front() == '-';
        if (removal)
            name.remove_prefix(1);
        const auto slash = name.find('\\');
        const RootKey root = RootFromRegName(name.substr(0, slash));
        if (root == RootKey::None)
            throw LineError{"unknown root key"};
        std::string path(slash == std::string_view::npos ? "" : name.substr(slash + 1));
        if (removal && path.empty())
            throw LineError{"a root key cannot be removed"};
        blocks_.push_back(RegFileBlock{root, std::move(path), removal, {}});
    }

    void ReadValueLine(std::string_view line) {
        if (blocks_.empty() || blocks_.back().removesKey)
            throw LineError{"value line outside a key section"};
        size_t pos = 0;
        std::string name;
        if (line.front() == '@') {
            pos = 1;
        } else {
            name = ParseQuoted(line, pos);
        }
        const std::string_view rest = TrimBlanks(line.substr(pos));
        if (rest.empty() || rest.front() != '=')
            throw LineError{"expected '=' after the name"};
        const std::string_view data = TrimBlanks(rest.substr(1));
        RegFileValue value{std::move(name), data == "-", regtype::kNone, {}};
        if (!value.removes)
            value.data = ParseData(data, value.type, unicode_);
        blocks_.back().values.push_back(std::move(value));
    }

    static std::vector<uint8_t> ParseData(std::string_view data, uint32_t& type, bool unicode) {
        if (!data.empty() && data.front() == '"') {
            size_t pos = 0;
            const std::string text = ParseQuoted(data, pos);
            if (!TrimBlanks(data.substr(pos)).empty())
                throw LineError{"text after the quoted value"};
            type = regtype::kString;
            std::vector<uint8_t> bytes(text.begin(), text.end());
            bytes.push_back(0);
            return bytes;
        }
        if (StartsWithIgnoreCase(data, "dword:")) {
            const uint32_t number = ParseHexNumber(TrimBlanks(data.substr(6)), 8, "a dword");
            type = regtype::kDword;
            return {static_cast<uint8_t>(number & 0xFFu),
                    static_cast<uint8_t>((number >> 8) & 0xFFu),
                    static_cast<uint8_t>((number >> 16) & 0xFFu),
                    static_cast<uint8_t>((number >> 24) & 0xFFu)};
        }
        if (StartsWithIgnoreCase(data, "hex:")) {
            type = regtype::kBinary;
            return ParseHexBytes(data.substr(4));
        }
        if (StartsWithIgnoreCase(data, "hex(")) {
            const auto close = data.find("):");
            if (close == std::string_view::npos)
                throw LineError{"hex( without its closing \"):\""};
            type = ParseHexNumber(data.substr(4, close - 4), 8, "a value type");
            std::vector<uint8_t> bytes = ParseHexBytes(data.substr(close + 2));
            const bool text = type == regtype::kString || type == regtype::kExpandString ||
                              type == regtype::kMultiString;
            return unicode && text ? NarrowedUtf16(bytes) : bytes;
        }
        throw LineError{"unknown kind of value data"};
    }

    bool unicode_;
    std::vector<RegFileBlock> blocks_;
};

}  // namespace

std::vector<RegFileBlock> ReadRegFile(std::string_view text) {
    constexpr std::string_view kUtf16ByteOrderMark = "\xFF\xFE";
    if (text.substr(0, 2) == kUtf16ByteOrderMark)
        return RegTextReader(true).Read(NarrowedExport(text.substr(2)));
    return RegTextReader(false).Read(text);
}

}  // namespace vantrel
