#pragma once

// Every field of a settings record as one text, so that two records compare in one assertion
// whose failure shows where they differ.
#include <string>
#include <vector>

#include "settings/OptionsSetting.h"

namespace vantrel::test {

inline std::string OptionsRecordText(const OptionsSetting& options) {
    // Each text with its length: no two records read alike, whatever quotes their texts hold.
    const auto quoted = [](const std::string& text) {
        return std::to_string(text.size()) + "\"" + text + "\"";
    };
    const auto list = [&](const std::vector<std::string>& entries) {
        std::string text = "[";
        for (const std::string& entry : entries)
            text += " " + quoted(entry);
        return text + " ]";
    };
    std::string ticks;
    for (int index = CategoryTickSet::kFirstIndex; index <= CategoryTickSet::kLastIndex; ++index)
        ticks += options.CategoryTicks.IsTicked(index) ? '1' : '0';
    return "OutputDirectory " + quoted(options.OutputDirectory) + ", DeleteBackupFile " +
           std::to_string(options.DeleteBackupFile) + ", ticks " + ticks + ", values " +
           list(options.IgnoreValueList) + ", keys " + list(options.IgnoreKeyList) +
           ", maximized " + std::to_string(options.WindowState == WindowShowState::Maximized) +
           ", skin " + std::to_string(options.SkinIndex);
}

}  // namespace vantrel::test
