#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/Prompts.h"
#include "scan/CheckTable.h"
#include "settings/OptionsSetting.h"
#include "ui/GuiHandles.h"
#include "ui/WindowDpi.h"

namespace vantrel {

// Tick states as state image indexes: 1 an empty box, 2 a ticked box.
constexpr int kUnticked = 1;
constexpr int kTicked = 2;

enum class TreeWalkMode { Collect, Set1, Set2, Save, Load };

// tvRegistry: the tree of check categories with a tick on every node.
class CategoryTree {
  public:
    // Errors in the tree's own message handling are shown through `prompts`.
    void Create(HWND parent, HINSTANCE instance, HFONT font, const DpiScaler& scale,
                Prompts& prompts);
    // The indent and the tick boxes at another DPI.
    void SetScale(const DpiScaler& scale);
    HWND Handle() const { return tree_; }

    HTREEITEM Root() const;
    // The tick of a node: kUnticked, kTicked, or 0 before the ticks are loaded.
    int StateOf(HTREEITEM item) const;
    void SetState(HTREEITEM item, int state);
    int ImageIndexOf(HTREEITEM item) const;
    HTREEITEM FindByImageIndex(int imageIndex) const;

    void ExpandAll();
    // The right edge of the widest caption shown, in the tree's client coordinates.
    int WidestCaptionRight() const;

    // Pre-order walk of `start` and every node after it on its level, with their children.
    // `checkList` receives the ticked image indexes in Collect mode (nothing when null);
    // `ticks` is written in Save mode and read in Load mode.
    void WalkCategoryTree(HTREEITEM start, TreeWalkMode mode, std::vector<std::string>* checkList,
                          CategoryTickSet* ticks);

    // A mouse button went down at this point (tree client coordinates): toggles the node when
    // the point lies on its state icon. True when a tick changed.
    // Every node, each before its children and they before its next sibling.
    std::vector<HTREEITEM> NodesInPreOrder() const;
    void ToggleSelected();
    bool ClickAt(POINT point);
    // The tick rules for a click on the state icon of `item`.
    void ToggleTick(HTREEITEM item);

  private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);
    int LevelOf(HTREEITEM item) const;
    HTREEITEM ParentOf(HTREEITEM item) const;
    HTREEITEM FirstChildOf(HTREEITEM item) const;
    HTREEITEM NextSiblingOf(HTREEITEM item) const;
    // kTicked when any child of `parent` is ticked, else kUnticked.
    int StateFromChildren(HTREEITEM parent) const;
    void VisitNode(HTREEITEM item, TreeWalkMode mode, std::vector<std::string>* checkList,
                   CategoryTickSet* ticks);

    Prompts* prompts_ = nullptr;
    HWND tree_ = nullptr;
    unique_himagelist stateImages_;
};

// ImageList2: three 16 x 16 images, empty, an empty box and a ticked box.
unique_himagelist CreateTickStateImages(int size);

}  // namespace vantrel
