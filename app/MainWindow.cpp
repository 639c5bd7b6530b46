#include "app/MainWindow.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "app/CommandIds.h"
#include "app/MainMenu.h"
#include "app/ToolBarImages.h"
#include "platform/WindowsVersion.h"
#include "platform/win32/Win32IniFile.h"
#include "ui/BoundWindowProc.h"
#include "ui/ListViewItems.h"
#include "ui/Skin.h"
#include "ui/SystemRegistryEditor.h"
#include "ui/WindowClass.h"
#include "ui/WindowDpi.h"
#include "ui/WindowLayout.h"

namespace vantrel {
namespace {

constexpr int kStatusFoundWidth = 150;
constexpr int kStatusSelectedWidth = 260;

void RegisterMainClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = &BoundWindowProc<TfrmRegCleaner>;
    windowClass.hInstance = instance;
    // The program's icon is resource 1 of the executable; the tests run without it.
    windowClass.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(1));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = TfrmRegCleaner::kClassName;
    RegisterWindowClass(windowClass, "main window");
}

HWND CreateChild(HWND parent, HINSTANCE instance, DWORD extendedStyle, const char* windowClass,
                 DWORD style, int id, HFONT font) {
    HWND child = ::CreateWindowExA(
        extendedStyle, windowClass, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (child == nullptr)
        throw std::runtime_error(std::string("Cannot create the window's ") + windowClass + ".");
    ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

}  // namespace

TfrmRegCleaner::TfrmRegCleaner(MainWindowArgs args)
    : args_(std::move(args)),
      prompts_(args_.prompts),
      shell_(args_.shell),
      registryEditorPath_(args_.registryEditorPath.empty() ? SystemRegistryEditorPath()
                                                           : args_.registryEditorPath) {}

TfrmRegCleaner::~TfrmRegCleaner() {
    if (window_ != nullptr)
        ::DestroyWindow(window_);
}

void TfrmRegCleaner::Create() {
    RegisterMainClass(args_.instance);
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    // Sized at the system's DPI; WM_CREATE takes the DPI of the monitor it opened on.
    scale_ = DpiScaler::Of(nullptr);
    const SIZE size = DesignWindowSize();
    const WindowRect centred = CentredOnScreen(size.cx, size.cy, Screen());
    unique_hmenu menu = CreateMainMenu();
    if (::CreateWindowExA(0, kClassName, kCaption, style, centred.left, centred.top, size.cx,
                          size.cy, nullptr, menu.get(), args_.instance, this) == nullptr)
        throw std::runtime_error("Cannot create the main window.");
    menu.release();  // the window destroys its menu
    const SIZE atItsDpi = DesignWindowSize();
    if (atItsDpi.cx != size.cx || atItsDpi.cy != size.cy)
        ::SetWindowPos(window_, nullptr, 0, 0, atItsDpi.cx, atItsDpi.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FormCreate();
}

// The window's size at its design client size, scaled to its DPI. A high DPI on a small screen
// would make it larger than the work area, hiding its status bar: it then takes the work area.
SIZE TfrmRegCleaner::DesignWindowSize() const {
    RECT frame{0, 0, scale_(kDesignClientWidth), scale_(kDesignClientHeight)};
    AdjustFrameForDpi(frame, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, true, 0, scale_.Dpi());
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SIZE size{frame.right - frame.left, frame.bottom - frame.top};
    if (work.right > work.left && work.bottom > work.top) {
        size.cx = std::min(size.cx, work.right - work.left);
        size.cy = std::min(size.cy, work.bottom - work.top);
    }
    return size;
}

void TfrmRegCleaner::FormCreate() {
    ::SetWindowTextA(window_, kCaption);
    options_.IgnoreValueList.clear();
    options_.IgnoreKeyList.clear();
    // A settings file that cannot be read leaves the defaults in force.
    Win32IniFile file(args_.settingsPath);
    LoadOptions(file, args_.executableFolder, *this, options_);
    SelectSkin(options_.SkinIndex, args_.executableFolder);
    ApplyCurrentSkin(window_);
    if (IsWindows9x(args_.windowsVersion))
        ::DeleteMenu(FileMenuOf(::GetMenu(window_)), command::kWindowsBackup, MF_BYCOMMAND);
}

void TfrmRegCleaner::Show(int showCommand) {
    ::ShowWindow(window_, options_.WindowState == WindowShowState::Maximized ? SW_SHOWMAXIMIZED
                                                                             : showCommand);
    tvRegistry_.ExpandAll();
    tvRegistry_.WalkCategoryTree(tvRegistry_.Root(), TreeWalkMode::Load, nullptr,
                                 &options_.CategoryTicks);
    // The ticks' boxes take room before the captions.
    FitTreeColumn();
    ::UpdateWindow(window_);
}

void TfrmRegCleaner::FormClose() {
    try {
        Win32IniFile file(args_.settingsPath);
        SaveOptions(file, *this, options_);
    } catch (const std::exception& error) {
        // The window closes anyway: nothing the user could do here would make the file
        // writable, and keeping the program open would not save the settings either.
        UserPrompts().ShowError(error.what());
    }
    options_.IgnoreValueList.clear();
    options_.IgnoreKeyList.clear();
}

bool TfrmRegCleaner::TranslateAccelerators(MSG& message) {
    if (window_ == nullptr)
        return false;
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && MoveFocusByTab(message.hwnd))
        return true;
    return accelerators_ && ::TranslateAcceleratorA(window_, accelerators_.get(), &message) != 0;
}

// Tab and Shift+Tab move the focus between the results list and the category tree, in reading
// order: the window is not a dialog, so no dialog manager does it. Every command is in the menus.
bool TfrmRegCleaner::MoveFocusByTab(HWND from) {
    const HWND order[] = {lvRegistryData_.Handle(), tvRegistry_.Handle()};
    constexpr size_t kStops = sizeof(order) / sizeof(order[0]);
    for (size_t stop = 0; stop < kStops; ++stop) {
        if (from != order[stop] && !::IsChild(order[stop], from))
            continue;
        const bool backwards = ::GetKeyState(VK_SHIFT) < 0;
        ::SetFocus(order[(stop + (backwards ? kStops - 1 : 1)) % kStops]);
        return true;
    }
    return false;
}

void TfrmRegCleaner::CreateControls() {
    scale_ = DpiScaler::Of(window_);
    font_ = CreateDialogFont(scale_.Dpi());
    accelerators_ = CreateMainAccelerators();
    popupMenu1_ = CreateResultsContextMenu();
    CreateToolBar();

    tvTitle_ =
        CreateChild(window_, args_.instance, 0, WC_LISTVIEWA,
                    LVS_REPORT | LVS_NOSORTHEADER | LVS_SINGLESEL, control::kTitle, font_.get());
    treeWidth_ = scale_(kTreeWidth);
    AddListColumn(tvTitle_, 0, "Select options to scan", kTreeWidth - 1);

    tvRegistry_.Create(window_, args_.instance, font_.get(), scale_, UserPrompts());
    lvRegistryData_.Create(window_, args_.instance, font_.get(), scale_, UserPrompts(),
                           [this] { UpdateStatusCounts(); });

    rowDetails_ = CreateChild(window_, args_.instance, 0, "STATIC",
                              SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS | SS_NOPREFIX,
                              control::kRowDetails, font_.get());

    // Placed by ArrangeControls, not by the status bar's own rule.
    statusBar1_ = CreateChild(window_, args_.instance, 0, STATUSCLASSNAMEA,
                              CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, control::kStatusBar,
                              font_.get());
    SetStatusPanels();
    UpdateStatusCounts();
    ArrangeControls();
}

void TfrmRegCleaner::CreateToolBar() {
    toolBar_ = CreateChild(
        window_, args_.instance, 0, TOOLBARCLASSNAMEA,
        TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER,
        control::kToolBar, font_.get());
    ::SendMessageA(toolBar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SetToolBarImages();
    struct Button {
        WORD command;
        const char* caption;
    };
    static constexpr Button kButtons[] = {{command::kScan, "Scan"},
                                          {command::kRepair, "Repair"},
                                          {command::kRestore, "Restore"},
                                          {command::kOptions, "Options"},
                                          {command::kExit, "Exit"}};
    int image = 0;
    for (const Button& button : kButtons) {
        // A double-zero-ended string list with one entry.
        std::string caption = std::string(button.caption) + '\0';
        const auto stringIndex =
            ::SendMessageA(toolBar_, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(caption.c_str()));
        TBBUTTON add{};
        add.iBitmap = image++;
        add.idCommand = button.command;
        add.fsState = TBSTATE_ENABLED;
        add.fsStyle = BTNS_BUTTON;
        add.iString = stringIndex;
        ::SendMessageA(toolBar_, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&add));
    }
    SetToolBarButtonSize();
}

// Drawn at the size the DPI asks for, never stretched.
void TfrmRegCleaner::SetToolBarImages() {
    const int size = scale_(kToolBarImageSize);
    unique_himagelist images = CreateToolBarImages(size);
    ::SendMessageA(toolBar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(size, size));
    ::SendMessageA(toolBar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.get()));
    toolBarImages_ = std::move(images);  // the old list only once the bar has let go of it
}

void TfrmRegCleaner::SetToolBarButtonSize() {
    ::SendMessageA(toolBar_, TB_SETBUTTONSIZE, 0,
                   MAKELPARAM(scale_(kToolBarButtonWidth), scale_(kToolBarHeight)));
}

// Moved to a monitor of another DPI: the window takes the size Windows suggests, and its fonts,
// images and pixel layout follow. The user's column widths keep their share.
void TfrmRegCleaner::OnDpiChanged(int dpi, const RECT& suggested) {
    const int oldDpi = scale_.Dpi();
    scale_ = DpiScaler(dpi);
    // The skin gives the controls back the font they had, which is still alive here; it takes
    // its own at the new DPI when applied again.
    ApplySkin(window_, nullptr);
    // The tree takes its rows' height from its font and its boxes when the font is set.
    tvRegistry_.SetScale(scale_);
    unique_hfont font = CreateDialogFont(dpi);
    for (HWND child : {toolBar_, tvTitle_, tvRegistry_.Handle(), lvRegistryData_.Handle(),
                       rowDetails_, statusBar1_})
        ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    font_ = std::move(font);
    SetToolBarImages();
    SetToolBarButtonSize();
    lvRegistryData_.RescaleColumns(oldDpi, dpi);
    ApplyCurrentSkin(window_);
    ::SetWindowPos(window_, nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    SetStatusPanels();
    FitTreeColumn();
    ::InvalidateRect(window_, nullptr, TRUE);
}

// The tree's column is kTreeWidth at 96 dpi, or as wide as its widest caption needs: text grows a
// little faster than the DPI at some sizes, a font may be wider than the one it was designed in,
// and the tree has no horizontal scroll bar (a vertical one takes room when the window is low).
void TfrmRegCleaner::FitTreeColumn() {
    if (FitTreeColumnToItsCaptions())
        ArrangeControls();
}

// True when the column's width changed.
bool TfrmRegCleaner::FitTreeColumnToItsCaptions() {
    const HWND tree = tvRegistry_.Handle();
    // The tree measures its captions when it paints.
    ::UpdateWindow(tree);
    RECT outer{};
    RECT client{};
    ::GetWindowRect(tree, &outer);
    ::GetClientRect(tree, &client);
    const int frame = (outer.right - outer.left) - client.right;
    const int needed = tvRegistry_.WidestCaptionRight() + frame + scale_(2);
    const int fitted = std::max(scale_(kTreeWidth), needed);
    if (fitted == treeWidth_)
        return false;
    treeWidth_ = fitted;
    return true;
}

// Runs on every resize and every repaint: the list takes the free width at the left, the tree
// column keeps its width at the right, and both end at the status bar's top.
void TfrmRegCleaner::ArrangeControls() {
    if (statusBar1_ == nullptr)
        return;
    RECT client{};
    ::GetClientRect(window_, &client);
    const int clientWidth = client.right - client.left;
    const int clientHeight = client.bottom - client.top;
    // The tool bar spans the client area under the menu bar.
    PlaceChild(toolBar_, 0, scale_(kToolBarTop), clientWidth, scale_(kToolBarHeight));
    const RECT toolBar = ChildRect(toolBar_);
    const int toolBarTop = toolBar.top;
    const int toolBarHeight = toolBar.bottom - toolBar.top;

    const int treeWidth = treeWidth_;
    const int titleHeight = scale_(kTitleHeight);
    const int statusBarHeight = scale_(kStatusBarHeight);
    const int detailsHeight = scale_(kRowDetailsHeight);
    const int margin = scale_(5);
    const int titleLeft = client.right - treeWidth - margin;
    const int titleTop = toolBarTop + toolBarHeight;
    if (PlaceChild(tvTitle_, titleLeft, titleTop, treeWidth, titleHeight))
        ::SendMessageA(tvTitle_, LVM_SETCOLUMNWIDTH, 0, treeWidth - scale_(1));

    // The details line runs under both, the width of the status bar: a reason names paths.
    const int listHeight =
        clientHeight - statusBarHeight - toolBarTop - toolBarHeight - 2 * margin - detailsHeight;
    PlaceChild(lvRegistryData_.Handle(), margin, titleTop, clientWidth - treeWidth - 3 * margin,
               listHeight);
    const bool treePlaced = PlaceChild(tvRegistry_.Handle(), titleLeft, titleTop + titleHeight,
                                       treeWidth, listHeight - titleHeight);
    PlaceChild(rowDetails_, scale_(7), titleTop + listHeight + scale_(3), clientWidth - scale_(14),
               detailsHeight - scale_(3));

    if (PlaceChild(statusBar1_, margin, client.bottom - statusBarHeight - 2 * margin,
                   clientWidth - 2 * margin, statusBarHeight))
        SetStatusPanels();
    if (treePlaced && FitTreeColumnToItsCaptions())
        ArrangeControls();
}

// The last panel takes the rest of the bar. Its edge is the bar's width, set again whenever the
// bar is resized: a bar that does not place itself keeps the panel bounds it had when they were
// set, and ignores a request for the same edges ("-1" each time) as a change of nothing.
void TfrmRegCleaner::SetStatusPanels() {
    RECT bar{};
    ::GetClientRect(statusBar1_, &bar);
    // On a narrow bar the first panels give way, so the last one still ends at the bar's edge.
    const int right = std::max<int>(bar.right, 0);
    const int found = scale_(kStatusFoundWidth);
    const int selected = scale_(kStatusSelectedWidth);
    int edges[3] = {std::min(found, right), std::min(found + selected, right), right};
    ::SendMessageA(statusBar1_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
}

void TfrmRegCleaner::OnPaint() {
    PAINTSTRUCT paint{};
    ::BeginPaint(window_, &paint);
    ::EndPaint(window_, &paint);
    ArrangeControls();
}

void TfrmRegCleaner::OnMinMaxInfo(MINMAXINFO& info) const {
    info.ptMinTrackSize.x = scale_(150);
    info.ptMinTrackSize.y = scale_(50);
}

LRESULT TfrmRegCleaner::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            CreateControls();
            return 0;
        case WM_SIZE:
            ArrangeControls();
            return 0;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_GETMINMAXINFO:
            OnMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        case WM_NOTIFY:
            if (lParam == 0)
                return 0;
            return OnNotify(reinterpret_cast<NMHDR*>(lParam));
        case kExpandTreeMessage:
            tvRegistry_.ExpandAll();
            return 0;
        case WM_INITMENUPOPUP:
            OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) == lvRegistryData_.Handle()) {
                ShowResultsContextMenu(
                    POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
                return 0;
            }
            break;
        case WM_CLOSE:
            FormClose();
            ::DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            if (args_.quitWhenClosed)
                ::PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcA(window_, message, wParam, lParam);
}

WindowRect TfrmRegCleaner::Bounds() const {
    RECT rect{};
    ::GetWindowRect(window_, &rect);
    return WindowRect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

WindowRect TfrmRegCleaner::RestoredBounds() const {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!::GetWindowPlacement(window_, &placement))
        return Bounds();
    // The normal position is in work-area coordinates: off the screen's by the room a task bar
    // takes at the left or top.
    RECT normal = placement.rcNormalPosition;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (::GetMonitorInfoA(::MonitorFromRect(&normal, MONITOR_DEFAULTTONEAREST), &monitor)) {
        ::OffsetRect(&normal, monitor.rcWork.left - monitor.rcMonitor.left,
                     monitor.rcWork.top - monitor.rcMonitor.top);
    }
    return WindowRect{normal.left, normal.top, normal.right - normal.left,
                      normal.bottom - normal.top};
}

void TfrmRegCleaner::SetBounds(const WindowRect& bounds) {
    ::SetWindowPos(window_, nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

ScreenSize TfrmRegCleaner::Screen() const {
    return ScreenSize{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

namespace {

struct WorkAreaList {
    std::vector<WindowRect> areas;
    Prompts& prompts;
};

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto& list = *reinterpret_cast<WorkAreaList*>(data);
    const bool added = RunGuarded(&list.prompts, [&] {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (!::GetMonitorInfoA(monitor, &info))
            return;
        const RECT& work = info.rcWork;
        list.areas.push_back(
            WindowRect{work.left, work.top, work.right - work.left, work.bottom - work.top});
    });
    return added ? TRUE : FALSE;
}

}  // namespace

std::vector<WindowRect> TfrmRegCleaner::MonitorWorkAreas() const {
    WorkAreaList list{{}, prompts_.Get()};
    ::EnumDisplayMonitors(nullptr, nullptr, &AddWorkArea, reinterpret_cast<LPARAM>(&list));
    return list.areas;
}

std::optional<int> TfrmRegCleaner::PlacementShowCommand() const {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!::GetWindowPlacement(window_, &placement))
        return std::nullopt;
    return static_cast<int>(placement.showCmd);
}

void TfrmRegCleaner::SaveCategoryTicks(CategoryTickSet& ticks) {
    tvRegistry_.WalkCategoryTree(tvRegistry_.Root(), TreeWalkMode::Save, nullptr, &ticks);
}

}  // namespace vantrel
