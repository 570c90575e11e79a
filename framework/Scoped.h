#pragma once
// Owners for the handles the program must give back.
#include <windows.h>

#include <utility>

template <class Handle, class Traits>
class Scoped {
 public:
  Scoped() = default;
  explicit Scoped(Handle handle) : m_handle(handle) {}
  ~Scoped() { reset(); }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  Scoped(Scoped&& other) noexcept : m_handle(std::exchange(other.m_handle, Traits::Invalid())) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) {
      reset();
      m_handle = std::exchange(other.m_handle, Traits::Invalid());
    }
    return *this;
  }

  Handle get() const { return m_handle; }
  Handle* put() {
    reset();
    return &m_handle;
  }
  Handle release() { return std::exchange(m_handle, Traits::Invalid()); }
  explicit operator bool() const { return m_handle != Traits::Invalid(); }
  void reset() {
    if (*this) Traits::Close(std::exchange(m_handle, Traits::Invalid()));
  }

 private:
  Handle m_handle = Traits::Invalid();
};

struct FileTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { (void)CloseHandle(h); }
};
struct IconTraits {
  static HICON Invalid() { return nullptr; }
  static void Close(HICON h) { (void)DestroyIcon(h); }
};
struct BitmapTraits {
  static HBITMAP Invalid() { return nullptr; }
  static void Close(HBITMAP h) { (void)DeleteObject(h); }
};
struct FontTraits {
  static HFONT Invalid() { return nullptr; }
  static void Close(HFONT h) { (void)DeleteObject(h); }
};
struct MenuTraits {
  static HMENU Invalid() { return nullptr; }
  static void Close(HMENU h) { (void)DestroyMenu(h); }
};
struct RegKeyTraits {
  static HKEY Invalid() { return nullptr; }
  static void Close(HKEY h) { (void)RegCloseKey(h); }
};

using ScopedFile = Scoped<HANDLE, FileTraits>;
using ScopedBitmap = Scoped<HBITMAP, BitmapTraits>;
using ScopedIcon = Scoped<HICON, IconTraits>;
using ScopedFont = Scoped<HFONT, FontTraits>;
using ScopedMenu = Scoped<HMENU, MenuTraits>;
using ScopedRegKey = Scoped<HKEY, RegKeyTraits>;
