#pragma once
// A message table without macros. Each entry pairs a window message, a
// control's command or a notification with a member function; the entry's
// template checks the handler's signature against the message at compile time
// and unpacks WPARAM/LPARAM into typed parameters.
//
//   static constexpr MessageEntry kMessages[] = {
//       OnMessage<WM_PAINT, &CMyDlg::OnPaint>(),
//       OnCommand<BN_CLICKED, IDC_BUTTON, &CMyDlg::OnButton>(),
//   };
#include <windows.h>
#include <commctrl.h>

#include <cstddef>

class CWnd;

struct MessageEntry {
  UINT message;          // WM_COMMAND and WM_NOTIFY entries also match code and id
  UINT code;             // notification code of a command or notification entry
  UINT firstId, lastId;  // control identifiers a command or notification entry covers
  UINT (*resolve)();     // for a registered message: returns its number
  LRESULT (*invoke)(CWnd& window, WPARAM wParam, LPARAM lParam);
};

struct MessageTable {
  const MessageEntry* entries = nullptr;
  std::size_t count = 0;

  MessageTable() = default;
  template <std::size_t N>
  constexpr MessageTable(const MessageEntry (&table)[N]) : entries(table), count(N) {}  // NOLINT

  const MessageEntry* Find(UINT message, WPARAM wParam, LPARAM lParam) const;
};

namespace message_table_detail {

template <class>
struct MemberOf;
template <class T, class F>
struct MemberOf<F T::*> {
  using Class = T;
};

}  // namespace message_table_detail

// How each message's parameters reach its handler: the one place where a
// message's handler signature is written. A message without a cracker of its
// own hands its raw parameters over and returns the handler's result, which
// suits the program's private messages.
template <UINT Msg>
struct Cracker {
  template <class T>
  using Handler = LRESULT (T::*)(WPARAM, LPARAM);
  template <class T, Handler<T> F>
  static LRESULT Call(T& w, WPARAM wParam, LPARAM lParam) {
    return (w.*F)(wParam, lParam);
  }
};

// void OnXxx()
template <UINT Msg>
struct PlainCracker {
  template <class T>
  using Handler = void (T::*)();
  template <class T, Handler<T> F>
  static LRESULT Call(T& w, WPARAM, LPARAM) {
    (w.*F)();
    return 0;
  }
};
template <>
struct Cracker<WM_PAINT> : PlainCracker<WM_PAINT> {};
template <>
struct Cracker<WM_DESTROY> : PlainCracker<WM_DESTROY> {};
template <>
struct Cracker<WM_TIMECHANGE> : PlainCracker<WM_TIMECHANGE> {};

// void OnSysCommand(UINT id, LPARAM lParam)
template <>
struct Cracker<WM_SYSCOMMAND> {
  template <class T>
  using Handler = void (T::*)(UINT, LPARAM);
  template <class T, Handler<T> F>
  static LRESULT Call(T& w, WPARAM wParam, LPARAM lParam) {
    (w.*F)(static_cast<UINT>(wParam), lParam);
    return 0;
  }
};

// void OnTimer(UINT_PTR timerId)
template <>
struct Cracker<WM_TIMER> {
  template <class T>
  using Handler = void (T::*)(UINT_PTR);
  template <class T, Handler<T> F>
  static LRESULT Call(T& w, WPARAM wParam, LPARAM) {
    (w.*F)(static_cast<UINT_PTR>(wParam));
    return 0;
  }
};

// HCURSOR OnQueryDragIcon()
template <>
struct Cracker<WM_QUERYDRAGICON> {
  template <class T>
  using Handler = HCURSOR (T::*)();
  template <class T, Handler<T> F>
  static LRESULT Call(T& w, WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>((w.*F)());
  }
};

// void OnSize(UINT type, int width, int height)
template <>
struct Cracker<WM_SIZE> {
  template <class T>
  using Handler = void (T::*)(UINT, int, int);
  template <class T, Handler<T> F>
  static LRESULT Call(T& w, WPARAM wParam, LPARAM lParam) {
    (w.*F)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    return 0;
  }
};

// bool OnQueryEndSession(UINT reasons): true lets the session end
template <>
struct Cracker<WM_QUERYENDSESSION> {
  template <class T>
  using Handler = bool (T::*)(UINT);
  template <class T, Handler<T> F>
  static LRESULT Call(T& w, WPARAM, LPARAM lParam) {
    return (w.*F)(static_cast<UINT>(lParam)) ? TRUE : FALSE;
  }
};

// void OnEndSession(bool ending, UINT reasons)
template <>
struct Cracker<WM_ENDSESSION> {
  template <class T>
  using Handler = void (T::*)(bool, UINT);
  template <class T, Handler<T> F>
  static LRESULT Call(T& w, WPARAM wParam, LPARAM lParam) {
    (w.*F)(wParam != FALSE, static_cast<UINT>(lParam));
    return 0;
  }
};

// BOOL OnPowerBroadcast(UINT event, LPARAM data)
template <>
struct Cracker<WM_POWERBROADCAST> {
  template <class T>
  using Handler = BOOL (T::*)(UINT, LPARAM);
  template <class T, Handler<T> F>
  static LRESULT Call(T& w, WPARAM wParam, LPARAM lParam) {
    return (w.*F)(static_cast<UINT>(wParam), lParam);
  }
};

// A window message, cracked as above.
template <UINT Msg, auto F>
constexpr MessageEntry OnMessage() {
  using T = typename message_table_detail::MemberOf<decltype(F)>::Class;
  return {Msg, 0, 0, 0, nullptr, [](CWnd& w, WPARAM wParam, LPARAM lParam) -> LRESULT {
            return Cracker<Msg>::template Call<T, F>(static_cast<T&>(w), wParam, lParam);
          }};
}

// A message whose number is only known at run time (RegisterWindowMessage),
// handled with raw parameters.
template <UINT (*Resolve)(), auto F>
constexpr MessageEntry OnRegisteredMessage() {
  using T = typename message_table_detail::MemberOf<decltype(F)>::Class;
  return {0, 0, 0, 0, Resolve, [](CWnd& w, WPARAM wParam, LPARAM lParam) -> LRESULT {
            return Cracker<0>::template Call<T, F>(static_cast<T&>(w), wParam, lParam);
          }};
}

// WM_COMMAND with a notification code from one control or menu item:
// void OnXxx()
template <UINT Code, UINT Id, auto F>
constexpr MessageEntry OnCommand() {
  using T = typename message_table_detail::MemberOf<decltype(F)>::Class;
  using Handler = void (T::*)();
  constexpr Handler handler = F;
  return {WM_COMMAND, Code, Id, Id, nullptr, [](CWnd& w, WPARAM, LPARAM) -> LRESULT {
            (static_cast<T&>(w).*handler)();
            return 0;
          }};
}

// WM_NOTIFY with a code from any control whose identifier (the low 32 bits of
// idFrom) is in [First, Last]:
// BOOL OnXxx(UINT id, NMHDR* header, LRESULT* result); the message counts as
// handled either way.
template <UINT Code, UINT First, UINT Last, auto F>
constexpr MessageEntry OnNotifyRange() {
  using T = typename message_table_detail::MemberOf<decltype(F)>::Class;
  using Handler = BOOL (T::*)(UINT, NMHDR*, LRESULT*);
  constexpr Handler handler = F;
  return {WM_NOTIFY, Code, First, Last, nullptr,
          [](CWnd& w, WPARAM, LPARAM lParam) -> LRESULT {
            LRESULT result = 0;
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            (void)(static_cast<T&>(w).*handler)(static_cast<UINT>(header->idFrom), header,
                                                &result);
            return result;
          }};
}
