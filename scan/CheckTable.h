#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RootKey.h"

namespace vantrel {

class ScanContext;

// The number of a check, 3 to 22: equal to the image index of its category-tree node, and
// handed from the window to the scan task as its decimal text.
class CheckId {
  public:
    constexpr explicit CheckId(int number) : number_(number) {}
    constexpr int Number() const { return number_; }
    std::string Text() const { return std::to_string(number_); }
    constexpr bool operator==(CheckId other) const { return number_ == other.number_; }
    constexpr bool operator!=(CheckId other) const { return number_ != other.number_; }
    constexpr bool operator<(CheckId other) const { return number_ < other.number_; }

  private:
    int number_;
};

using CheckFunction = void (*)(ScanContext& context);

// Whether a check reads a list's own key as a container of entries it judges one by one. Such a
// key is never reported nor deleted, by any check: an empty list is no sign of a removed program,
// and Windows and programs expect to find it.
enum class ListKey { Container, Plain };

// Whether the Files and Folders walks leave a list's subtree to the check that reads it, so that
// no value is judged twice.
enum class ListWalk { Shared, Alone };

// A registry list a check reads. Its path is written as the 64-bit view names it; the check reads
// the 32-bit view's twin as well where it says so, and the twin counts alike.
struct RegistryList {
    RootKey root;
    std::string_view path;
    ListKey key;
    ListWalk walk;

    bool IsContainer() const { return key == ListKey::Container; }
    bool IsWalkedAlone() const { return walk == ListWalk::Alone; }
};

// The hives a Windows-owned tree lies in: the machine's, every user's, or both.
enum class OwnerHives { Machine, User, Both };

// A key tree that Windows components write and maintain themselves (caches, histories, app
// state), or that holds the user's own choices: the Files and Folders walks judge nothing in it.
// Deleting one of its values leaves a half entry behind, or undoes what the user chose.
struct WindowsOwnedTree {
    OwnerHives hives;
    // Below the hive's root; a user's classes are "Software\Classes\...". A final "*" takes
    // every key whose name begins with what stands before it.
    std::string_view path;
    std::string_view reason;
};

// One node of the category tree. The nodes that select a check carry its captions and its
// function; the two group nodes ("My Computers", "Files and Folders") carry only a caption.
struct CategoryNode {
    int imageIndex;  // the node's identifier; for a check, its CheckId
    int level;       // 0 the root, 1 its children, 2 the children of "Files and Folders"
    const char* treeCaption;
    // What the scan window's caption label shows while the check runs; nullptr leaves the
    // label as the check before it set it.
    const char* progressCaption;
    const char* problemCaption;  // column 1 of every row the check adds
    CheckFunction run;           // nullptr for a group node
    // The lists the check reads; the protected keys and the walks' skip lists follow from them.
    std::vector<const RegistryList*> reads;

    bool IsCheck() const { return run != nullptr; }
    CheckId Id() const { return CheckId(imageIndex); }
};

// Every node of the category tree, in display order: the one table of the checks.
const std::vector<CategoryNode>& CategoryTable();

// Every tree the Files and Folders walks leave to Windows.
const std::vector<WindowsOwnedTree>& WindowsOwnedTrees();

// Every list some check reads, in table order (a list two checks read, once for each).
std::vector<const RegistryList*> ListsReadByChecks();

// The checks alone, in the order of their ids.
std::vector<const CategoryNode*> ChecksInIdOrder();

// The table's node of a check; nullptr for an id that names no check.
const CategoryNode* FindCheck(CheckId id);

// A CheckId from its decimal text; nullopt for text that is not a check's number.
std::optional<CheckId> ParseCheckId(std::string_view text);

// The CheckId texts a scan of every ticked node runs, in the order the tree collects them.
std::vector<std::string> CheckIdsInTreeOrder();

// The caption of the group node a check sits under below the root ("Files and Folders"), or
// nullptr for a check directly below the root.
const char* GroupCaptionOf(CheckId id);

// Runs one check the way the scan task runs it: the check becomes the context's current check
// (its rows carry its problem caption), its progress caption goes to the caption label, and its
// function runs. An id that names no check runs nothing.
void RunCheck(CheckId id, ScanContext& context);

}  // namespace vantrel
