#pragma once

#include <string_view>

namespace vantrel {

// Hands a document, a folder or a program to the shell with the "Open" verb, shown normally,
// and does not wait for it. What the shell cannot open it reports itself, in its own box.
class ShellOpener {
  public:
    virtual ~ShellOpener() = default;
    // `parameters` are the program's command-line arguments ("" for none).
    virtual void Open(std::string_view target, std::string_view parameters) = 0;
};

}  // namespace vantrel
