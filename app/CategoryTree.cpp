#include "app/CategoryTree.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "app/CommandIds.h"
#include "ui/ExceptionBarrier.h"
#include "ui/ScaledDrawing.h"

namespace vantrel {

namespace {

constexpr int kTreeIndent = 19;
constexpr int kTickBoxSize = 16;
constexpr COLORREF kTreeTextColour = RGB(0, 0, 255);

HTREEITEM InsertNode(HWND tree, HTREEITEM parent, const CategoryNode& node) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(node.treeCaption);
    insert.item.iImage = node.imageIndex;
    insert.item.iSelectedImage = node.imageIndex;
    insert.item.lParam = node.imageIndex;
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void DrawBox(HDC dc, int left, bool ticked) {
    const RECT box{left + 2, 2, left + 15, 15};
    unique_gdiobj frame(::CreateSolidBrush(RGB(28, 81, 128)));
    unique_gdiobj inside(::CreateSolidBrush(RGB(255, 255, 255)));
    ::FillRect(dc, &box, static_cast<HBRUSH>(frame.get()));
    const RECT inner{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
    ::FillRect(dc, &inner, static_cast<HBRUSH>(inside.get()));
    if (!ticked)
        return;
    unique_gdiobj pen(::CreatePen(PS_SOLID, 2, RGB(33, 161, 33)));
    SelectedObject selected(dc, pen.get());
    ::MoveToEx(dc, left + 5, 8, nullptr);
    ::LineTo(dc, left + 7, 11);
    ::LineTo(dc, left + 12, 5);
}

}  // namespace

unique_himagelist CreateTickStateImages(int size) {
    constexpr COLORREF kTransparent = RGB(255, 0, 255);
    unique_himagelist images(::ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 3, 0));
    HDC screen = ::GetDC(nullptr);
    unique_memory_dc dc(::CreateCompatibleDC(screen));
    unique_hbitmap strip(::CreateCompatibleBitmap(screen, 3 * size, size));
    ::ReleaseDC(nullptr, screen);
    {
        SelectedObject selected(dc.get(), strip.get());
        unique_gdiobj background(::CreateSolidBrush(kTransparent));
        const RECT all{0, 0, 3 * size, size};
        ::FillRect(dc.get(), &all, static_cast<HBRUSH>(background.get()));
        const ScaledDrawing design(dc.get(), static_cast<double>(size) / kTickBoxSize);
        DrawBox(dc.get(), kTickBoxSize, false);
        DrawBox(dc.get(), 2 * kTickBoxSize, true);
    }
    ::ImageList_AddMasked(images.get(), strip.get(), kTransparent);
    return images;
}

void CategoryTree::Create(HWND parent, HINSTANCE instance, HFONT font, const DpiScaler& scale,
                          Prompts& prompts) {
    prompts_ = &prompts;
    // A thin border and no horizontal scroll bar: the column is only 179 pixels wide (at 96 dpi)
    // and its longest caption needs nearly all of them.
    tree_ = ::CreateWindowExA(0, WC_TREEVIEWA, "",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | TVS_HASLINES |
                                  TVS_HASBUTTONS | TVS_SHOWSELALWAYS | TVS_NOHSCROLL,
                              0, 0, 179, 100, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(control::kTree)),
                              instance, nullptr);
    if (tree_ == nullptr)
        throw std::runtime_error("Cannot create the category tree.");
    ::SendMessageA(tree_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ::SendMessageA(tree_, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(kTreeTextColour));
    SetScale(scale);

    HTREEITEM parents[3] = {TVI_ROOT, nullptr, nullptr};
    for (const CategoryNode& node : CategoryTable()) {
        const HTREEITEM item = InsertNode(tree_, parents[node.level], node);
        if (node.level + 1 < 3)
            parents[node.level + 1] = item;
    }
    ::SetWindowSubclass(tree_, &CategoryTree::SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void CategoryTree::SetScale(const DpiScaler& scale) {
    ::SendMessageA(tree_, TVM_SETINDENT, static_cast<WPARAM>(scale(kTreeIndent)), 0);
    unique_himagelist images = CreateTickStateImages(scale(kTickBoxSize));
    ::SendMessageA(tree_, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(images.get()));
    stateImages_ = std::move(images);  // the old list only once the tree has let go of it
}

// Mouse downs on a state icon toggle the tick and go no further: the tree's own handling would
// start tracking a drag. The space bar toggles the selected node's tick, as in a list of boxes;
// its character goes no further either (the tree would search for a caption starting with it).
LRESULT CALLBACK CategoryTree::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<CategoryTree*>(data);
    bool clickedBox = false;
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN) {
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RunGuarded(self->prompts_, [&] { clickedBox = self->ClickAt(point); });
    }
    if (wParam == VK_SPACE && (message == WM_KEYDOWN || message == WM_CHAR)) {
        if (message == WM_KEYDOWN)
            RunGuarded(self->prompts_, [&] { self->ToggleSelected(); });
        return 0;
    }
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(window, &CategoryTree::SubclassProc, 1);
        self->tree_ = nullptr;
    }
    return clickedBox ? 0 : ::DefSubclassProc(window, message, wParam, lParam);
}

HTREEITEM CategoryTree::Root() const {
    return reinterpret_cast<HTREEITEM>(::SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

HTREEITEM CategoryTree::ParentOf(HTREEITEM item) const {
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM CategoryTree::FirstChildOf(HTREEITEM item) const {
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM CategoryTree::NextSiblingOf(HTREEITEM item) const {
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
}

int CategoryTree::StateOf(HTREEITEM item) const {
    const auto state = static_cast<UINT>(::SendMessageA(
        tree_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_STATEIMAGEMASK));
    return static_cast<int>((state & TVIS_STATEIMAGEMASK) >> 12);
}

void CategoryTree::SetState(HTREEITEM item, int state) {
    TVITEMA change{};
    change.mask = TVIF_STATE | TVIF_HANDLE;
    change.hItem = item;
    change.stateMask = TVIS_STATEIMAGEMASK;
    change.state = INDEXTOSTATEIMAGEMASK(static_cast<UINT>(state));
    ::SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change));
}

int CategoryTree::ImageIndexOf(HTREEITEM item) const {
    TVITEMA read{};
    read.mask = TVIF_PARAM | TVIF_HANDLE;
    read.hItem = item;
    ::SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&read));
    return static_cast<int>(read.lParam);
}

std::vector<HTREEITEM> CategoryTree::NodesInPreOrder() const {
    std::vector<HTREEITEM> nodes;
    std::vector<HTREEITEM> pending{Root()};
    while (!pending.empty()) {
        const HTREEITEM item = pending.back();
        pending.pop_back();
        if (item == nullptr)
            continue;
        nodes.push_back(item);
        pending.push_back(NextSiblingOf(item));
        pending.push_back(FirstChildOf(item));
    }
    return nodes;
}

HTREEITEM CategoryTree::FindByImageIndex(int imageIndex) const {
    // The tree is small.
    for (const HTREEITEM item : NodesInPreOrder()) {
        if (ImageIndexOf(item) == imageIndex)
            return item;
    }
    return nullptr;
}

int CategoryTree::LevelOf(HTREEITEM item) const {
    int level = 0;
    for (HTREEITEM parent = ParentOf(item); parent != nullptr; parent = ParentOf(parent))
        ++level;
    return level;
}

void CategoryTree::ExpandAll() {
    for (const HTREEITEM item : NodesInPreOrder())
        ::SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
}

int CategoryTree::WidestCaptionRight() const {
    int widest = 0;
    for (const HTREEITEM item : NodesInPreOrder()) {
        RECT caption{};
        // The message reads the item from the rectangle it fills; a collapsed branch gives none.
        std::memcpy(&caption, &item, sizeof(item));
        if (::SendMessageA(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&caption)))
            widest = std::max(widest, static_cast<int>(caption.right));
    }
    return widest;
}

void CategoryTree::VisitNode(HTREEITEM item, TreeWalkMode mode, std::vector<std::string>* checkList,
                             CategoryTickSet* ticks) {
    const int imageIndex = ImageIndexOf(item);
    switch (mode) {
        case TreeWalkMode::Collect:
            if (checkList != nullptr && StateOf(item) == kTicked)
                checkList->push_back(std::to_string(imageIndex));
            break;
        case TreeWalkMode::Set1:
            SetState(item, kUnticked);
            break;
        case TreeWalkMode::Set2:
            SetState(item, kTicked);
            break;
        case TreeWalkMode::Save:
            if (ticks != nullptr)
                ticks->SetTicked(imageIndex, StateOf(item) == kTicked);
            break;
        case TreeWalkMode::Load:
            if (ticks != nullptr)
                SetState(item, ticks->IsTicked(imageIndex) ? kTicked : kUnticked);
            break;
    }
}

void CategoryTree::WalkCategoryTree(HTREEITEM start, TreeWalkMode mode,
                                    std::vector<std::string>* checkList, CategoryTickSet* ticks) {
    for (HTREEITEM item = start; item != nullptr; item = NextSiblingOf(item)) {
        VisitNode(item, mode, checkList, ticks);
        if (const HTREEITEM child = FirstChildOf(item))
            WalkCategoryTree(child, mode, checkList, ticks);
    }
}

int CategoryTree::StateFromChildren(HTREEITEM parent) const {
    for (HTREEITEM child = FirstChildOf(parent); child != nullptr; child = NextSiblingOf(child)) {
        if (StateOf(child) == kTicked)
            return kTicked;
    }
    return kUnticked;
}

void CategoryTree::ToggleTick(HTREEITEM item) {
    const int state = StateOf(item);
    if (state == kUnticked)
        SetState(item, kTicked);
    else if (state == kTicked)
        SetState(item, kUnticked);
    const int newState = StateOf(item);

    switch (LevelOf(item)) {
        case 0:
            WalkCategoryTree(Root(), newState == kTicked ? TreeWalkMode::Set2 : TreeWalkMode::Set1,
                             nullptr, nullptr);
            break;
        case 1:
            for (HTREEITEM child = FirstChildOf(item); child != nullptr;
                 child = NextSiblingOf(child))
                SetState(child, newState);
            SetState(Root(), StateFromChildren(Root()));
            break;
        default: {
            const HTREEITEM parent = ParentOf(item);
            SetState(parent, StateFromChildren(parent));
            SetState(Root(), StateFromChildren(Root()));
            break;
        }
    }
}

void CategoryTree::ToggleSelected() {
    const auto selected =
        reinterpret_cast<HTREEITEM>(::SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (selected != nullptr)
        ToggleTick(selected);
}

bool CategoryTree::ClickAt(POINT point) {
    TVHITTESTINFO hit{};
    hit.pt = point;
    ::SendMessageA(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.hItem == nullptr || (hit.flags & TVHT_ONITEMSTATEICON) == 0)
        return false;
    ToggleTick(hit.hItem);
    return true;
}

}  // namespace vantrel
