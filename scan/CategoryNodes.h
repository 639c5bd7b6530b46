#pragma once

#include <string>
#include <vector>

namespace vantrel {

// A node of the category tree: its level, caption and image index (the node's identifier; for
// the leaves the CheckId of the check it selects).
struct CategoryNode {
    int level;
    const char* caption;
    int imageIndex;
};

// The nodes in display order.
const std::vector<CategoryNode>& CategoryNodes();

// The CheckIds a scan of every ticked node runs, in the order the tree collects them, without
// the two group nodes that select no check of their own ("My Computers", "Files and
// Folders").
std::vector<std::string> CheckIdsInTreeOrder();

}  // namespace vantrel
