#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/ShellOpener.h"

namespace vantrel {

// A shell for tests: records what it was asked to open and opens nothing.
class RecordingShellOpener final : public ShellOpener {
  public:
    struct Opened {
        std::string target;
        std::string parameters;
        bool operator==(const Opened& other) const {
            return target == other.target && parameters == other.parameters;
        }
    };

    void Open(std::string_view target, std::string_view parameters) override {
        opened_.push_back({std::string(target), std::string(parameters)});
    }

    const std::vector<Opened>& OpenedSoFar() const { return opened_; }

  private:
    std::vector<Opened> opened_;
};

}  // namespace vantrel
