// Owners of the Win32 handles the player acquires: one traits type per kind of handle.
#pragma once

#include "win/unique_handle.h"

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

// Most kinds of handle hold nothing when null: their invalid value.
template <typename Held> struct NullIsInvalid {
    using Handle = Held;
    static Handle invalid() { return nullptr; }
};

// A file from CreateFile, which answers INVALID_HANDLE_VALUE rather than null.
struct FileTraits {
    using Handle = HANDLE;
    static Handle invalid() { return INVALID_HANDLE_VALUE; }
    static void release(Handle file) { CloseHandle(file); }
};
using UniqueFile = UniqueHandle<FileTraits>;

// A search of a folder from FindFirstFile, which also answers INVALID_HANDLE_VALUE.
struct FindTraits {
    using Handle = HANDLE;
    static Handle invalid() { return INVALID_HANDLE_VALUE; }
    static void release(Handle search) { FindClose(search); }
};
using UniqueFind = UniqueHandle<FindTraits>;

// Any other kernel object: a file mapping, a process, a thread.
struct KernelObjectTraits : NullIsInvalid<HANDLE> {
    static void release(HANDLE object) { CloseHandle(object); }
};
using UniqueKernelObject = UniqueHandle<KernelObjectTraits>;

// A view of a file mapping from MapViewOfFile.
struct MappedViewTraits : NullIsInvalid<const void*> {
    static void release(const void* view) { UnmapViewOfFile(view); }
};
using UniqueMappedView = UniqueHandle<MappedViewTraits>;

// A window that we created and that nothing else destroys.
struct WindowTraits : NullIsInvalid<HWND> {
    static void release(HWND window) { DestroyWindow(window); }
};
using UniqueWindow = UniqueHandle<WindowTraits>;

// A device context from GetDC, which goes back to the window it came from.
struct WindowDc {
    HWND window = nullptr;
    HDC dc = nullptr;
    bool operator==(const WindowDc&) const = default;
};
struct WindowDcTraits {
    using Handle = WindowDc;
    static Handle invalid() { return {}; }
    static void release(Handle held) { ReleaseDC(held.window, held.dc); }
};
using UniqueWindowDc = UniqueHandle<WindowDcTraits>;

// The device context of `window` (null: the screen's).
inline UniqueWindowDc getWindowDc(HWND window) {
    HDC dc = GetDC(window);
    return dc ? UniqueWindowDc({window, dc}) : UniqueWindowDc();
}

// A memory device context from CreateCompatibleDC.
struct MemoryDcTraits : NullIsInvalid<HDC> {
    static void release(HDC dc) { DeleteDC(dc); }
};
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;

// An object selected into a device context: releasing selects the previous one again.
struct Selection {
    HDC dc = nullptr;
    HGDIOBJ previous = nullptr;
    bool operator==(const Selection&) const = default;
};
struct SelectionTraits {
    using Handle = Selection;
    static Handle invalid() { return {}; }
    static void release(Handle held) { SelectObject(held.dc, held.previous); }
};
using UniqueSelection = UniqueHandle<SelectionTraits>;

inline UniqueSelection selectObject(HDC dc, HGDIOBJ object) {
    HGDIOBJ previous = SelectObject(dc, object);
    if (!previous || previous == HGDI_ERROR)
        return {};
    return UniqueSelection({dc, previous});
}

// A GDI object that we created (never a stock object): a bitmap, a brush, a font.
template <typename Object> struct GdiObjectTraits : NullIsInvalid<Object> {
    static void release(Object object) { DeleteObject(object); }
};
template <typename Object> using UniqueGdiObject = UniqueHandle<GdiObjectTraits<Object>>;

// A global memory block from GlobalAlloc.
struct GlobalBlockTraits : NullIsInvalid<HGLOBAL> {
    static void release(HGLOBAL block) { GlobalFree(block); }
};
using UniqueGlobalBlock = UniqueHandle<GlobalBlockTraits>;

// A string from SysAllocString, as COM string properties want it.
struct BstrTraits : NullIsInvalid<BSTR> {
    static void release(BSTR text) { SysFreeString(text); }
};
using UniqueBstr = UniqueHandle<BstrTraits>;

// A library from LoadLibrary.
struct ModuleTraits : NullIsInvalid<HMODULE> {
    static void release(HMODULE module) { FreeLibrary(module); }
};
using UniqueModule = UniqueHandle<ModuleTraits>;

// An icon loaded at a size of our choosing (a shared icon must not be destroyed).
struct IconTraits : NullIsInvalid<HICON> {
    static void release(HICON icon) { DestroyIcon(icon); }
};
using UniqueIcon = UniqueHandle<IconTraits>;

// COM on this thread: true once our CoInitialize succeeded. S_FALSE (already initialised here)
// counts and is balanced too; a refused change of threading model is not.
struct ComInitializationTraits {
    using Handle = bool;
    static Handle invalid() { return false; }
    static void release(Handle) { CoUninitialize(); }
};
using UniqueComInitialization = UniqueHandle<ComInitializationTraits>;

inline UniqueComInitialization initializeCom() {
    return UniqueComInitialization(SUCCEEDED(CoInitialize(nullptr)));
}
