#pragma once

#include <windows.h>

#include <commctrl.h>

#include "platform/win32/UniqueHandle.h"

namespace vantrel {

// Handle kinds the windows own, in the shape of platform/win32/UniqueHandle.h.
struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { ::DeleteObject(handle); }
};

struct FontTraits {
    using Handle = HFONT;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { ::DeleteObject(handle); }
};

struct BitmapTraits {
    using Handle = HBITMAP;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { ::DeleteObject(handle); }
};

struct ImageListTraits {
    using Handle = HIMAGELIST;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { ::ImageList_Destroy(handle); }
};

struct MenuTraits {
    using Handle = HMENU;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { ::DestroyMenu(handle); }
};

struct AcceleratorTraits {
    using Handle = HACCEL;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { ::DestroyAcceleratorTable(handle); }
};

// A memory device context from CreateCompatibleDC.
struct MemoryDcTraits {
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { ::DeleteDC(handle); }
};

using unique_hfont = UniqueHandle<FontTraits>;
using unique_hbitmap = UniqueHandle<BitmapTraits>;
using unique_himagelist = UniqueHandle<ImageListTraits>;
using unique_hmenu = UniqueHandle<MenuTraits>;
using unique_haccel = UniqueHandle<AcceleratorTraits>;
using unique_memory_dc = UniqueHandle<MemoryDcTraits>;
using unique_gdiobj = UniqueHandle<GdiObjectTraits>;

// Puts an object into a device context for one scope and puts the old one back.
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~SelectedObject() { ::SelectObject(dc_, old_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace vantrel
