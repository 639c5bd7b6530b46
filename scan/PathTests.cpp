#include "scan/PathTests.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "scan/ListablePath.h"
#include "scan/ValueFormats.h"

namespace vantrel {

namespace {

constexpr std::string_view kPathSeparators = " *,/:<>?|";
constexpr std::string_view kDriveRootMark = ":\\";
constexpr std::string_view kProgramExtension = ".exe";
constexpr size_t kExpansionBufferChars = 1024;

bool IsTrimmedChar(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::string_view TrimControlsAndBlanks(std::string_view text) {
    while (!text.empty() && IsTrimmedChar(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsTrimmedChar(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string Concat(std::string_view a, std::string_view b) {
    std::string out;
    out.reserve(a.size() + b.size());
    out.append(a);
    out.append(b);
    return out;
}

// The text inside a leading quote (arguments after the closing quote dropped); nullopt when the
// quote is all there is.
std::optional<std::string_view> StripLeadingQuote(std::string_view text) {
    if (text.empty() || text.front() != '"')
        return text;
    std::string_view inner = text.substr(1);
    if (inner.empty())
        return std::nullopt;
    return inner.substr(0, inner.find('"'));
}

// An indirect string ("@C:\x.dll,-12") names its file after the "@".
std::string_view WithoutIndirectMark(std::string_view text) {
    return !text.empty() && text.front() == '@' ? text.substr(1) : text;
}

}  // namespace

bool IsPathSeparator(char c) {
    return kPathSeparators.find(c) != std::string_view::npos;
}

std::string ComputeFixedDriveLetters(FileSystem& files) {
    std::string letters;
    for (char letter = 'c'; letter <= 'z'; ++letter) {
        const std::string root{letter, ':', '\\'};
        // A fixed disk that is locked or not mounted answers "missing" for everything.
        if (files.DriveType(root) == drivetype::kFixed && files.DirectoryExists(root))
            letters.push_back(letter);
    }
    return letters;
}

PathTests::PathTests(FileSystem& files, std::string fixedDriveLetters)
    : files_(files), fixedDriveLetters_(std::move(fixedDriveLetters)) {}

std::string PathTests::ExpandEnvironmentPath(std::string_view text) const {
    const std::optional<std::string> expanded =
        files_.ExpandEnvironmentStrings(text, kExpansionBufferChars);
    std::string_view candidate = text;
    if (expanded) {
        // The expansion is a C string in the system's buffer: only what precedes its zero counts.
        candidate = std::string_view(*expanded);
        candidate = TrimControlsAndBlanks(candidate.substr(0, candidate.find('\0')));
    }
    if (!candidate.empty() && files_.DirectoryExists(candidate))
        return std::string(candidate);
    return std::string(text);
}

const std::string& PathTests::ExpandReference(std::string_view reference) const {
    std::string key(reference);
    const auto known = expandedReferences_.find(key);
    if (known != expandedReferences_.end())
        return known->second;
    std::string expanded = ExpandEnvironmentPath(reference);
    return expandedReferences_.emplace(std::move(key), std::move(expanded)).first->second;
}

std::optional<std::string> PathTests::ExpandLeadingVariable(std::string_view path) const {
    if (path.empty() || path.front() != '%')
        return std::string(path);
    const std::string_view afterPercent = path.substr(1);
    if (afterPercent.empty())
        return std::nullopt;
    const size_t closing = afterPercent.find('%');
    // Without a closing "%" there is no variable reference to expand: not judged.
    if (closing == std::string_view::npos)
        return std::nullopt;
    const std::string_view reference = path.substr(0, closing + 2);
    std::string expanded = ExpandReference(reference);
    if (!expanded.empty() && expanded.front() == '%')
        return std::nullopt;
    expanded.append(path.substr(closing + 2));
    return expanded;
}

bool PathTests::IsMissingFilePath(std::string_view text, std::string_view fileName,
                                  bool allowDirectory) const {
    if (text.empty())
        return false;
    // Most texts name no drive path at all and are told apart at once.
    if (fileName.empty() && !MayNameADrivePath(WithoutIndirectMark(text)))
        return false;
    // A registry repeats the same paths in many keys, and a judgement asks the file system
    // about every prefix of its text: each text is judged once per scan. The key holds the
    // arguments too; it is made in a buffer kept from one text to the next.
    judgementKey_.assign(1, allowDirectory ? 'd' : 'f');
    judgementKey_.append(fileName);
    judgementKey_.push_back('\0');
    judgementKey_.append(text);
    const auto known = judgements_.find(judgementKey_);
    if (known != judgements_.end())
        return known->second;
    std::string key = judgementKey_;
    const bool missing = JudgeEveryPath(text, fileName, allowDirectory);
    judgements_.emplace(std::move(key), missing);
    return missing;
}

bool PathTests::JudgeEveryPath(std::string_view text, std::string_view fileName,
                               bool allowDirectory) const {
    if (!ReadPathList(text, paths_))
        return false;
    // Judge reads no list itself, so the buffer holds while it runs.
    for (std::string_view path : paths_) {
        if (!Judge(path, fileName, allowDirectory))
            return false;
    }
    return true;
}

bool PathTests::Judge(std::string_view text, std::string_view fileName, bool allowDirectory) const {
    const std::optional<std::string_view> unquoted = StripLeadingQuote(text);
    if (!unquoted)
        return false;
    // Most texts hold no variable: they are judged as they stand, without a copy.
    std::optional<std::string> expanded;
    std::string_view path = *unquoted;
    if (!path.empty() && path.front() == '%') {
        expanded = ExpandLeadingVariable(path);
        if (!expanded)
            return false;
        path = *expanded;
    }
    if (!fileName.empty())
        return JudgeWithFileName(path, fileName);
    return JudgeCommandLine(path, allowDirectory);
}

bool PathTests::MayNameADrivePath(std::string_view text) const {
    const std::optional<std::string_view> unquoted = StripLeadingQuote(text);
    if (!unquoted || unquoted->empty())
        return false;
    return unquoted->front() == '%' || IsOnFixedDrive(*unquoted);
}

bool PathTests::IsOnFixedDrive(std::string_view path) const {
    if (path.empty())
        return false;
    if (FindIgnoreCase(fixedDriveLetters_, path.substr(0, 1)) == std::string::npos)
        return false;
    return path.find(kDriveRootMark) == 1;
}

bool PathTests::JudgeWithFileName(std::string_view path, std::string_view fileName) const {
    const size_t at = FindIgnoreCase(path, fileName);
    if (at == std::string_view::npos)
        return false;
    const std::string program = Concat(path.substr(0, at), fileName);
    if (!IsOnFixedDrive(program))
        return false;
    return !files_.FileExists(program);
}

bool PathTests::JudgeCommandLine(std::string_view path, bool allowDirectory) const {
    if (!IsOnFixedDrive(path))
        return false;
    // A text naming a second drive path (an argument such as "/log C:\temp") is not judged.
    if (path.substr(kDriveRootMark.size() + 1).find(kDriveRootMark) != std::string_view::npos) {
        return false;
    }
    const std::string_view folder = path.substr(0, path.rfind('\\') + 1);
    if (folder.size() == path.size() && files_.DirectoryExists(path))
        return false;
    if (files_.DirectoryExists(folder))
        return JudgeInsideFolder(path, folder.size(), allowDirectory);
    return JudgeWithoutFolder(path);
}

bool PathTests::JudgeInsideFolder(std::string_view path, size_t folderLength,
                                  bool allowDirectory) const {
    std::string& candidate = candidate_;
    candidate.assign(path.substr(0, folderLength));
    for (const char c : path.substr(folderLength)) {
        if (IsPathSeparator(c) && NamesProgram(candidate, allowDirectory))
            return false;
        candidate.push_back(c);
    }
    if (files_.FileExists(candidate))
        return false;
    return !(allowDirectory && files_.DirectoryExists(candidate));
}

bool PathTests::NamesProgram(const std::string& candidate, bool allowDirectory) const {
    if (files_.FileExists(candidate))
        return true;
    if (allowDirectory && files_.DirectoryExists(candidate))
        return true;
    return ProgramExists(candidate);
}

bool PathTests::ProgramExists(std::string_view candidate) const {
    program_.assign(candidate);
    program_.append(kProgramExtension);
    return !InMissingFolder(program_) && files_.FileExists(program_);
}

bool PathTests::InMissingFolder(std::string_view path) const {
    const std::optional<std::string_view> folder = ParentFolderOf(path);
    if (!folder)
        return false;
    if (*folder != lastFolder_) {
        lastFolder_.assign(*folder);
        lastFolderMissing_ = !files_.DirectoryExists(*folder);
    }
    return lastFolderMissing_;
}

// The folder part is missing, so the last backslash may belong to an argument: every prefix of
// the whole text is tried as a program.
bool PathTests::JudgeWithoutFolder(std::string_view path) const {
    std::string& candidate = candidate_;
    candidate.clear();
    for (const char c : path) {
        if (IsPathSeparator(c) && ProgramExists(candidate))
            return false;
        candidate.push_back(c);
        if (!InMissingFolder(candidate) && files_.FileExists(candidate))
            return false;
    }
    return true;
}

bool RegKeyExists(RegistrySource& registry, RootKey root, std::string_view path) {
    const std::unique_ptr<RegistryAccess> access = registry.NewAccess();
    access->SetAccess(AccessMode::ReadOnly);
    access->SetRootKey(root);
    return access->KeyExists(path);
}

namespace {

bool IsEmptyDefaultString(RegistryAccess& key, const std::vector<std::string>& valueNames) {
    if (valueNames.size() != 1 || !valueNames.front().empty())
        return false;
    const ValueType type = key.GetDataType("");
    if (type != ValueType::String && type != ValueType::ExpandString)
        return false;
    try {
        return key.ReadString("").empty();
    } catch (const RegistryError&) {
        // A default value that cannot be read is not known to be empty.
        return false;
    }
}

bool LimitReached(int limit, int count) {
    return limit > 0 && count >= limit;
}

int CountOf(size_t size) {
    return static_cast<int>(std::min<size_t>(size, 0x7fffffff));
}

}  // namespace

int CountKeyEntries(RegistrySource& registry, RootKey root, std::string_view path, int limit,
                    bool countSubkeys, bool countEmptyDefault) {
    std::vector<std::string> subkeys;
    bool subkeyNamesExact = true;
    int count = 0;
    {
        // The accessor is released before descending, so a deep tree holds one open key per
        // level only while that level is being read.
        const std::unique_ptr<RegistryAccess> key = registry.NewAccess();
        key->SetAccess(AccessMode::ReadOnly);
        key->SetRootKey(root);
        // What cannot be read is not known to be empty: it counts as an entry.
        if (!key->OpenKey(path))
            return 1;
        const std::vector<std::string> valueNames = key->GetValueNames();
        count = CountOf(valueNames.size());
        if (!countEmptyDefault && IsEmptyDefaultString(*key, valueNames))
            count = 0;
        if (LimitReached(limit, count))
            return count;
        subkeys = key->GetKeyNames();
        subkeyNamesExact = key->LastNamesExact();
    }
    if (countSubkeys && limit > 0 && CountOf(subkeys.size()) > limit)
        return CountOf(subkeys.size());
    // A subkey whose name the ANSI code page cannot hold cannot be opened by that name; it is
    // counted as an entry so that its parent is never taken for empty unseen.
    if (!subkeyNamesExact)
        return count + CountOf(subkeys.size());
    for (const std::string& name : subkeys) {
        count += CountKeyEntries(registry, root, JoinKeyPath(path, name), limit, countSubkeys,
                                 countEmptyDefault);
        if (LimitReached(limit, count))
            return count;
    }
    return count;
}

}  // namespace vantrel
