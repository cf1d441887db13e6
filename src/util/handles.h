// Small owners for Win32 resources, so that every release happens in one place.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <memory>
#include <type_traits>

struct HandleCloser {
    void operator()(HANDLE handle) const noexcept
    {
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// CreateFileW reports failure with INVALID_HANDLE_VALUE, most other calls with null.
inline UniqueHandle adoptHandle(HANDLE handle)
{
    return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const noexcept
    {
        if (object != nullptr) {
            DeleteObject(object);
        }
    }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;

struct IconDestroyer {
    void operator()(HICON icon) const noexcept
    {
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;

struct MenuDestroyer {
    void operator()(HMENU menu) const noexcept
    {
        if (menu != nullptr) {
            DestroyMenu(menu);
        }
    }
};
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer>;

struct AcceleratorDestroyer {
    void operator()(HACCEL table) const noexcept
    {
        if (table != nullptr) {
            DestroyAcceleratorTable(table);
        }
    }
};
using UniqueAccelerators = std::unique_ptr<std::remove_pointer_t<HACCEL>, AcceleratorDestroyer>;

struct LocalMemoryFreer {
    void operator()(void* memory) const noexcept
    {
        if (memory != nullptr) {
            LocalFree(memory);
        }
    }
};
template <typename T>
using UniqueLocal = std::unique_ptr<T, LocalMemoryFreer>;

// COM interfaces, released once.
struct ComReleaser {
    void operator()(IUnknown* object) const noexcept
    {
        if (object != nullptr) {
            object->Release();
        }
    }
};
template <typename T>
using ComOwner = std::unique_ptr<T, ComReleaser>;

// Memory the shell hands out with CoTaskMemAlloc.
struct TaskMemoryFreer {
    void operator()(void* memory) const noexcept { CoTaskMemFree(memory); }
};
template <typename T>
using UniqueTaskMemory = std::unique_ptr<T, TaskMemoryFreer>;
