#pragma once

#include <string_view>
#include <vector>

namespace vantrel {

// Reads a registry text in the formats Windows and programs store paths in, before any path in
// it is judged. Fills `paths` with the texts to judge (views into `text`) and returns true; a
// list separated by semicolons gives each of its elements, and counts as missing only when every
// one of them does. Returns false, with `paths` empty, for a text that names no local file:
// a URL, a "shell:" form, a "::{GUID}" namespace, a placeholder in angle brackets, or an
// environment reference that is not the text's leading one.
//
// Each path is read without the marks around it: an indirect string's "@" ("@C:\x.dll,-12"), a
// resource index (",3", ",-109"), a type library's or the Run history's trailing "\N", an old
// association's " ^.ext", and a "|N" suffix.
bool ReadPathList(std::string_view text, std::vector<std::string_view>& paths);

}  // namespace vantrel
