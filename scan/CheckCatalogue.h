#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace vantrel {

// The number of a check, 3 to 22; equal to its category-tree node's image index.
using CheckId = int;

constexpr CheckId kFirstCheckId = 3;
constexpr CheckId kLastCheckId = 22;

struct CheckInfo {
    CheckId id;
    const char* treeCaption;
    // Empty for the one check that leaves the caption label as the check before it set it.
    const char* progressCaption;
    const char* problemCaption;
};

// The program's string table of checks: one entry per check, in the order of their ids.
const std::vector<CheckInfo>& CheckCatalogue();

// The catalogue entry of a check, or nullptr for an id outside 3 to 22.
const CheckInfo* FindCheck(CheckId id);

// A CheckId from its decimal text; nullopt for text that is not a number from 3 to 22.
std::optional<CheckId> ParseCheckId(std::string_view text);

}  // namespace vantrel
