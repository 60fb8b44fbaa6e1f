// Response tables: how a class names the handlers of its messages and commands.
//
//   class TMyWindow : public ui::TWindow {
//       void EvTimer(UINT id);
//       void CmHelp();
//       void CeHelp(ui::TCommandEnabler& ce);
//       DECLARE_RESPONSE_TABLE(TMyWindow);
//   };
//   DEFINE_RESPONSE_TABLE1(TMyWindow, ui::TWindow)
//     EV_WM_TIMER,
//     EV_COMMAND(135, CmHelp),
//     EV_COMMAND_ENABLE(135, CeHelp),
//   END_RESPONSE_TABLE;
//
// Every entry ends with a comma. A table is a function-local static array;
// lookup searches the most derived class's table first, then its bases'. A
// handler whose signature does not match its entry does not compile, and a
// table that names one message (or one command and notification) twice fails a
// static_assert. DECLARE_RESPONSE_TABLE leaves the class's access public.
//
// Handler signatures:
//   EV_COMMAND(id, m)            void m()                     (WM_COMMAND, code 0)
//   EV_COMMAND_ENABLE(id, m)     void m(TCommandEnabler&)
//   EV_MESSAGE(msg, m)           LRESULT m(WPARAM, LPARAM)
//   EV_WM_PAINT                  void EvPaint()
//   EV_WM_TIMER                  void EvTimer(UINT timerId)
//   EV_WM_SIZE                   void EvSize(UINT sizeType, const TSize& size)
//   EV_WM_KEYDOWN                void EvKeyDown(UINT key, UINT repeatCount, UINT flags)
//   EV_WM_LBUTTONDOWN            void EvLButtonDown(UINT modKeys, const TPoint& point)
//   EV_WM_RBUTTONDOWN            void EvRButtonDown(UINT modKeys, const TPoint& point)
//   EV_WM_MBUTTONDOWN            void EvMButtonDown(UINT modKeys, const TPoint& point)
//   EV_WM_MOUSEMOVE              void EvMouseMove(UINT modKeys, const TPoint& point)
//   EV_WM_MDIACTIVATE            void EvMDIActivate(HWND activated, HWND deactivated)
//   EV_WM_PARENTNOTIFY           void EvParentNotify(UINT event, HWND child, UINT childId)
//   EV_BN_CLICKED(id, m)         void m()                     (same key as EV_COMMAND)
//   EV_EN_CHANGE(id, m)          void m()
//   EV_CBN_SELCHANGE(id, m)      void m()
//   EV_TVN_SELCHANGED(id, m)     void m(TTwNotify&)
#pragma once

#include "ui/Types.h"

#include <cstddef>

namespace ui {

// One handler: the message, the command or control id and the notification code
// it answers (0 for plain window messages), and the function that calls it.
using TDispatcher = LRESULT (*)(void* object, WPARAM wParam, LPARAM lParam);

struct TResponseTableEntry {
    UINT Msg = 0; // 0 ends a table
    UINT Id = 0;
    UINT Code = 0;
    TDispatcher Dispatcher = nullptr;
};

// What is looked for, and where it was found.
struct TEventInfo {
    UINT Msg = 0;
    UINT Id = 0;
    UINT Code = 0;
    const TResponseTableEntry* Entry = nullptr;
    void* Object = nullptr;

    LRESULT Dispatch(WPARAM wParam, LPARAM lParam) const {
        return Entry->Dispatcher(Object, wParam, lParam);
    }
};

// Anything with a response table: windows and the application.
class TEventHandler {
  public:
    virtual ~TEventHandler() = default;
    // Fills info.Entry and info.Object and answers true when this object's class
    // (or a base) handles info's message; the base handles nothing.
    virtual bool Find(TEventInfo& info) {
        (void)info;
        return false;
    }
};

// Asked at idle for each command a gadget stands for: the handler chain's
// enabler sets whether it is enabled and checked.
class TCommandEnabler {
  public:
    enum { Unchecked = 0, Checked = 1, Indeterminate = 2 };

    explicit TCommandEnabler(UINT id) : Id(id) {}
    virtual ~TCommandEnabler() = default;

    UINT GetId() const { return Id; }
    virtual void Enable(bool enable = true) {
        Enabled = enable;
        Handled = true;
    }
    // Unchecked, Checked or Indeterminate.
    virtual void SetCheck(int state) {
        Check = state;
        Handled = true;
    }

    bool GetHandled() const { return Handled; }
    bool IsEnabled() const { return Enabled; }
    int GetCheck() const { return Check; } // -1 when never set

  private:
    UINT Id;
    bool Enabled = true;
    bool Handled = false;
    int Check = -1;
};

// A tree-view item and the selection notice of a tree view.
using HTREEITEM = struct TTreeItemTag*;
struct TTvItem {
    HTREEITEM hItem = nullptr;
    LPARAM lParam = 0; // the item's data
};
// The head of a WM_NOTIFY notice: the control's id and the notification code.
struct TNotify {
    UINT idFrom = 0;
    UINT code = 0;
};
struct TTwNotify : TNotify {
    TTvItem itemOld, itemNew;
};

namespace detail {

template <std::size_t N> constexpr bool NoDuplicateEntries(const TResponseTableEntry (&e)[N]) {
    for (std::size_t i = 0; i < N; ++i)
        for (std::size_t j = i + 1; j < N; ++j)
            if (e[i].Msg != 0 && e[i].Msg == e[j].Msg && e[i].Id == e[j].Id &&
                e[i].Code == e[j].Code)
                return false;
    return true;
}

template <std::size_t N>
bool Search(const TResponseTableEntry (&e)[N], TEventInfo& info, void* object) {
    for (const TResponseTableEntry& entry : e)
        if (entry.Msg == info.Msg && entry.Id == info.Id && entry.Code == info.Code &&
            entry.Msg != 0) {
            info.Entry = &entry;
            info.Object = object;
            return true;
        }
    return false;
}

template <class C, void (C::*M)()> LRESULT DispatchVoid(void* o, WPARAM, LPARAM) {
    (static_cast<C*>(o)->*M)();
    return 0;
}
template <class C, void (C::*M)(TCommandEnabler&)>
LRESULT DispatchEnable(void* o, WPARAM, LPARAM lp) {
    (static_cast<C*>(o)->*M)(*reinterpret_cast<TCommandEnabler*>(lp));
    return 0;
}
template <class C, LRESULT (C::*M)(WPARAM, LPARAM)>
LRESULT DispatchMessage(void* o, WPARAM wp, LPARAM lp) {
    return (static_cast<C*>(o)->*M)(wp, lp);
}
template <class C, void (C::*M)(UINT)> LRESULT DispatchUint(void* o, WPARAM wp, LPARAM) {
    (static_cast<C*>(o)->*M)(UINT(wp));
    return 0;
}
template <class C, void (C::*M)(UINT, const TSize&)>
LRESULT DispatchSize(void* o, WPARAM wp, LPARAM lp) {
    const TSize size{int(LOWORD(std::uintptr_t(lp))), int(HIWORD(std::uintptr_t(lp)))};
    (static_cast<C*>(o)->*M)(UINT(wp), size);
    return 0;
}
template <class C, void (C::*M)(UINT, UINT, UINT)>
LRESULT DispatchKey(void* o, WPARAM wp, LPARAM lp) {
    (static_cast<C*>(o)->*M)(UINT(wp), LOWORD(std::uintptr_t(lp)), HIWORD(std::uintptr_t(lp)));
    return 0;
}
template <class C, void (C::*M)(UINT, const TPoint&)>
LRESULT DispatchMouse(void* o, WPARAM wp, LPARAM lp) {
    const TPoint point{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    (static_cast<C*>(o)->*M)(UINT(wp), point);
    return 0;
}
template <class C, void (C::*M)(HWND, HWND)>
LRESULT DispatchMdiActivate(void* o, WPARAM wp, LPARAM lp) {
    (static_cast<C*>(o)->*M)(reinterpret_cast<HWND>(lp), reinterpret_cast<HWND>(wp));
    return 0;
}
template <class C, void (C::*M)(UINT, HWND, UINT)>
LRESULT DispatchParentNotify(void* o, WPARAM wp, LPARAM lp) {
    (static_cast<C*>(o)->*M)(LOWORD(wp), reinterpret_cast<HWND>(lp), HIWORD(wp));
    return 0;
}
template <class C, void (C::*M)(TTwNotify&)>
LRESULT DispatchTreeNotify(void* o, WPARAM, LPARAM lp) {
    (static_cast<C*>(o)->*M)(*reinterpret_cast<TTwNotify*>(lp));
    return 0;
}

} // namespace detail
} // namespace ui

#define DECLARE_RESPONSE_TABLE(cls)                                                                \
  public:                                                                                          \
    bool Find(::ui::TEventInfo& info) override

#define UI_RESPONSE_TABLE_BODY(cls)                                                                \
    using TMyClass [[maybe_unused]] = cls;                                                         \
    static constexpr ::ui::TResponseTableEntry ui_entries_[] = {

#define DEFINE_RESPONSE_TABLE1(cls, base)                                                          \
    bool cls::Find(::ui::TEventInfo& ui_info_) {                                                   \
        const auto ui_bases_ = [this](::ui::TEventInfo& i) { return base::Find(i); };              \
        UI_RESPONSE_TABLE_BODY(cls)

#define DEFINE_RESPONSE_TABLE2(cls, base1, base2)                                                  \
    bool cls::Find(::ui::TEventInfo& ui_info_) {                                                   \
        const auto ui_bases_ = [this](::ui::TEventInfo& i) {                                       \
            return base1::Find(i) || base2::Find(i);                                               \
        };                                                                                         \
        UI_RESPONSE_TABLE_BODY(cls)

#define END_RESPONSE_TABLE                                                                         \
    ::ui::TResponseTableEntry {}                                                                   \
    }                                                                                              \
    ;                                                                                              \
    static_assert(::ui::detail::NoDuplicateEntries(ui_entries_),                                   \
                  "a response table names one message twice");                                     \
    return ::ui::detail::Search(ui_entries_, ui_info_, static_cast<void*>(this)) ||                \
           ui_bases_(ui_info_);                                                                    \
    }                                                                                              \
    static_assert(true)

#define UI_ENTRY(msg, id, code, dispatcher)                                                        \
    ::ui::TResponseTableEntry {                                                                    \
        ::ui::UINT(msg), ::ui::UINT(id), ::ui::UINT(code), dispatcher                              \
    }

#define EV_COMMAND(id, method)                                                                     \
    UI_ENTRY(::ui::WM_COMMAND, id, ::ui::BN_CLICKED,                                               \
             (&::ui::detail::DispatchVoid<TMyClass,                                                \
                                          static_cast<void (TMyClass::*)()>(&TMyClass::method)>))
#define EV_BN_CLICKED(id, method) EV_COMMAND(id, method)
#define EV_EN_CHANGE(id, method)                                                                   \
    UI_ENTRY(::ui::WM_COMMAND, id, ::ui::EN_CHANGE,                                                \
             (&::ui::detail::DispatchVoid<TMyClass,                                                \
                                          static_cast<void (TMyClass::*)()>(&TMyClass::method)>))
#define EV_CBN_SELCHANGE(id, method)                                                               \
    UI_ENTRY(::ui::WM_COMMAND, id, ::ui::CBN_SELCHANGE,                                            \
             (&::ui::detail::DispatchVoid<TMyClass,                                                \
                                          static_cast<void (TMyClass::*)()>(&TMyClass::method)>))
#define EV_COMMAND_ENABLE(id, method)                                                              \
    UI_ENTRY(::ui::WM_COMMAND_ENABLE, id, 0,                                                       \
             (&::ui::detail::DispatchEnable<                                                       \
                 TMyClass,                                                                         \
                 static_cast<void (TMyClass::*)(::ui::TCommandEnabler&)>(&TMyClass::method)>))
#define EV_MESSAGE(msg, method)                                                                    \
    UI_ENTRY(msg, 0, 0,                                                                            \
             (&::ui::detail::DispatchMessage<                                                      \
                 TMyClass, static_cast<::ui::LRESULT (TMyClass::*)(::ui::WPARAM, ::ui::LPARAM)>(   \
                               &TMyClass::method)>))
#define EV_TVN_SELCHANGED(id, method)                                                              \
    UI_ENTRY(::ui::WM_NOTIFY, id, ::ui::TVN_SELCHANGED,                                            \
             (&::ui::detail::DispatchTreeNotify<                                                   \
                 TMyClass, static_cast<void (TMyClass::*)(::ui::TTwNotify&)>(&TMyClass::method)>))

#define EV_WM_PAINT                                                                                \
    UI_ENTRY(::ui::WM_PAINT, 0, 0,                                                                 \
             (&::ui::detail::DispatchVoid<TMyClass,                                                \
                                          static_cast<void (TMyClass::*)()>(&TMyClass::EvPaint)>))
#define EV_WM_TIMER                                                                                \
    UI_ENTRY(::ui::WM_TIMER, 0, 0,                                                                 \
             (&::ui::detail::DispatchUint<TMyClass, static_cast<void (TMyClass::*)(::ui::UINT)>(   \
                                                        &TMyClass::EvTimer)>))
#define EV_WM_SIZE                                                                                 \
    UI_ENTRY(::ui::WM_SIZE, 0, 0,                                                                  \
             (&::ui::detail::DispatchSize<                                                         \
                 TMyClass, static_cast<void (TMyClass::*)(::ui::UINT, const ::ui::TSize&)>(        \
                               &TMyClass::EvSize)>))
#define EV_WM_KEYDOWN                                                                              \
    UI_ENTRY(::ui::WM_KEYDOWN, 0, 0,                                                               \
             (&::ui::detail::DispatchKey<                                                          \
                 TMyClass, static_cast<void (TMyClass::*)(::ui::UINT, ::ui::UINT, ::ui::UINT)>(    \
                               &TMyClass::EvKeyDown)>))
#define UI_MOUSE_ENTRY(msg, method)                                                                \
    UI_ENTRY(msg, 0, 0,                                                                            \
             (&::ui::detail::DispatchMouse<                                                        \
                 TMyClass, static_cast<void (TMyClass::*)(::ui::UINT, const ::ui::TPoint&)>(       \
                               &TMyClass::method)>))
#define EV_WM_LBUTTONDOWN UI_MOUSE_ENTRY(::ui::WM_LBUTTONDOWN, EvLButtonDown)
#define EV_WM_RBUTTONDOWN UI_MOUSE_ENTRY(::ui::WM_RBUTTONDOWN, EvRButtonDown)
#define EV_WM_MBUTTONDOWN UI_MOUSE_ENTRY(::ui::WM_MBUTTONDOWN, EvMButtonDown)
#define EV_WM_MOUSEMOVE UI_MOUSE_ENTRY(::ui::WM_MOUSEMOVE, EvMouseMove)
#define EV_WM_MDIACTIVATE                                                                          \
    UI_ENTRY(::ui::WM_MDIACTIVATE, 0, 0,                                                           \
             (&::ui::detail::DispatchMdiActivate<                                                  \
                 TMyClass, static_cast<void (TMyClass::*)(::ui::HWND, ::ui::HWND)>(                \
                               &TMyClass::EvMDIActivate)>))
#define EV_WM_PARENTNOTIFY                                                                         \
    UI_ENTRY(::ui::WM_PARENTNOTIFY, 0, 0,                                                          \
             (&::ui::detail::DispatchParentNotify<                                                 \
                 TMyClass, static_cast<void (TMyClass::*)(::ui::UINT, ::ui::HWND, ::ui::UINT)>(    \
                               &TMyClass::EvParentNotify)>))
