#include "scan/ValueFormats.h"

#include "platform/TextCase.h"

namespace vantrel {

namespace {

bool IsDigits(std::string_view text) {
    if (text.empty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// A URL, a shell namespace or a placeholder: nothing on a local disk to look for.
bool NamesNoLocalFile(std::string_view text) {
    if (text.find("://") != std::string_view::npos || StartsWithIgnoreCase(text, "shell:") ||
        text.find("::{") != std::string_view::npos)
        return true;
    const size_t open = text.find('<');
    return open != std::string_view::npos && text.find('>', open) != std::string_view::npos;
}

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsVariableName(std::string_view name) {
    if (name.empty() || !IsLetter(name.front()))
        return false;
    for (char c : name) {
        if (!IsLetter(c) && !(c >= '0' && c <= '9') && c != '(' && c != ')')
            return false;
    }
    return true;
}

// A "%NAME%" reference other than the leading one cannot be expanded the way the program that
// wrote it will (its own variables, a user's profile at logon): the path is not known. A
// command's own placeholders ("%1", "%*", "%L") are no such reference.
bool HoldsInnerReference(std::string_view text) {
    if (!text.empty() && text.front() == '"')
        text.remove_prefix(1);
    size_t from = 0;
    if (!text.empty() && text.front() == '%') {
        const size_t closing = text.find('%', 1);
        if (closing == std::string_view::npos)
            return true;
        from = closing + 1;
    }
    for (size_t open = text.find('%', from); open != std::string_view::npos;
         open = text.find('%', open + 1)) {
        const size_t closing = text.find('%', open + 1);
        if (closing == std::string_view::npos)
            return false;
        if (IsVariableName(text.substr(open + 1, closing - open - 1)))
            return true;
    }
    return false;
}

// Cuts `text` before its last `mark` when what follows the mark passes `follows`.
template <typename Follows>
void CutLastMark(std::string_view& text, char mark, Follows&& follows) {
    const size_t at = text.rfind(mark);
    if (at == std::string_view::npos || at == 0)
        return;
    if (follows(TrimBlanks(text.substr(at + 1))))
        text = TrimBlanks(text.substr(0, at));
}

std::string_view WithoutFormatMarks(std::string_view text) {
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '@')
        text = TrimBlanks(text.substr(1));
    // "WINWORD.EXE ^.doc": an old association's document type.
    const size_t association = text.find(" ^.");
    if (association != std::string_view::npos)
        text = TrimBlanks(text.substr(0, association));
    CutLastMark(text, '|', IsDigits);
    CutLastMark(text, ',', [](std::string_view index) {
        if (!index.empty() && index.front() == '-')
            index.remove_prefix(1);
        return IsDigits(index);
    });
    // "C:\Windows\1" in the Run history, "C:\x\y.tlb\3" for a type library's resource.
    CutLastMark(text, '\\', IsDigits);
    return text;
}

}  // namespace

bool ReadPathList(std::string_view text, std::vector<std::string_view>& paths) {
    paths.clear();
    const std::string_view whole = TrimBlanks(text);
    if (NamesNoLocalFile(whole))
        return false;
    // A quoted command line keeps its semicolons as arguments.
    const bool isList =
        whole.find(';') != std::string_view::npos && whole.find('"') == std::string_view::npos;
    std::string_view rest = whole;
    while (true) {
        const size_t end = isList ? rest.find(';') : std::string_view::npos;
        const std::string_view path = WithoutFormatMarks(rest.substr(0, end));
        if (!path.empty()) {
            if (HoldsInnerReference(path)) {
                paths.clear();
                return false;
            }
            paths.push_back(path);
        }
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    return !paths.empty();
}

}  // namespace vantrel
