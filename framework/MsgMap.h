// Message and command maps: each class that handles messages declares a
// static table of entries that names its base class's table. Dispatch walks
// the chain from the most derived table to the root.
//
// An entry holds a small function (a "thunk") generated for the handler's
// exact signature, so no member-function pointer is ever cast: a handler
// with the wrong signature does not compile.
#pragma once
#include "Res.h"
#include <windows.h>

class CCmdTarget;
class CCmdUI;
class CWnd;
class CDC;

// Calls the handler on the target; wParam and lParam carry the message's
// arguments (for update handlers lParam is the CCmdUI*).
using AFX_THUNK = LRESULT (*)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;   // window message, or WM_COMMAND for command entries
    int nCode;       // CN_COMMAND or CN_UPDATE_COMMAND_UI for command entries
    UINT nID;        // first command id
    UINT nLastID;    // last command id of a range
    AFX_THUNK pfn;   // null marks the end of a table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

namespace afx_detail {
template <class T> struct MemberClass;
template <class C, class R, class... A> struct MemberClass<R (C::*)(A...)> {
    using type = C;
};
template <auto Fn> using ClassOf = typename MemberClass<decltype(Fn)>::type;
template <auto Fn> ClassOf<Fn>* Self(CCmdTarget* p) { return static_cast<ClassOf<Fn>*>(p); }
CWnd* WndFromHandle(HWND hWnd);   // temporary or permanent wrapper
CDC* DCFromHandle(HDC hDC);       // temporary wrapper, freed at idle time

template <auto Fn> LRESULT Command(CCmdTarget* p, WPARAM, LPARAM)
{
    (Self<Fn>(p)->*Fn)();
    return 0;
}
template <auto Fn> LRESULT UpdateUI(CCmdTarget* p, WPARAM, LPARAM l)
{
    (Self<Fn>(p)->*Fn)(reinterpret_cast<CCmdUI*>(l));
    return 0;
}
template <auto Fn> LRESULT Create(CCmdTarget* p, WPARAM, LPARAM l)
{
    return LRESULT((Self<Fn>(p)->*Fn)(reinterpret_cast<LPCREATESTRUCT>(l)));
}
template <auto Fn> LRESULT Void(CCmdTarget* p, WPARAM, LPARAM)
{
    (Self<Fn>(p)->*Fn)();
    return 0;
}
template <auto Fn> LRESULT Size(CCmdTarget* p, WPARAM w, LPARAM l)
{
    (Self<Fn>(p)->*Fn)(UINT(w), int(short(LOWORD(l))), int(short(HIWORD(l))));
    return 0;
}
template <auto Fn> LRESULT EraseBkgnd(CCmdTarget* p, WPARAM w, LPARAM)
{
    return LRESULT((Self<Fn>(p)->*Fn)(DCFromHandle(HDC(w))));
}
template <auto Fn> LRESULT Activate(CCmdTarget* p, WPARAM w, LPARAM l)
{
    (Self<Fn>(p)->*Fn)(UINT(LOWORD(w)), WndFromHandle(HWND(l)), BOOL(HIWORD(w)));
    return 0;
}
template <auto Fn> LRESULT Focus(CCmdTarget* p, WPARAM w, LPARAM)
{
    (Self<Fn>(p)->*Fn)(WndFromHandle(HWND(w)));
    return 0;
}
template <auto Fn> LRESULT InitMenuPopup(CCmdTarget* p, WPARAM w, LPARAM l)
{
    (Self<Fn>(p)->*Fn)(HMENU(w), UINT(LOWORD(l)), BOOL(HIWORD(l)));
    return 0;
}
template <auto Fn> LRESULT MenuSelect(CCmdTarget* p, WPARAM w, LPARAM l)
{
    (Self<Fn>(p)->*Fn)(UINT(LOWORD(w)), UINT(HIWORD(w)), HMENU(l));
    return 0;
}
template <auto Fn> LRESULT Raw(CCmdTarget* p, WPARAM w, LPARAM l) { return (Self<Fn>(p)->*Fn)(w, l); }
}   // namespace afx_detail

#define DECLARE_MESSAGE_MAP()                         \
protected:                                            \
    static const AFX_MSGMAP* GetThisMessageMap();     \
    const AFX_MSGMAP* GetMessageMap() const override; \
                                                      \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                   \
    {                                                                                 \
        using ThisClass [[maybe_unused]] = theClass;                                  \
        using TheBaseClass = baseClass;                                               \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                             \
    {                                                                                 \
        0, 0, 0, 0, nullptr                                                           \
    }                                                                                 \
    }                                                                                 \
    ;                                                                                 \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, entries}; \
    return &messageMap;                                                               \
    }

#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, CN_COMMAND, UINT(id), UINT(id), &afx_detail::Command<&ThisClass::memberFxn>},
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND, CN_COMMAND, UINT(id), UINT(idLast), &afx_detail::Command<&ThisClass::memberFxn>},
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, UINT(id), UINT(id), &afx_detail::UpdateUI<&ThisClass::memberFxn>},

#define ON_WM_CREATE()                 {WM_CREATE, 0, 0, 0, &afx_detail::Create<&ThisClass::OnCreate>},
#define ON_WM_CLOSE()                  {WM_CLOSE, 0, 0, 0, &afx_detail::Void<&ThisClass::OnClose>},
#define ON_WM_PAINT()                  {WM_PAINT, 0, 0, 0, &afx_detail::Void<&ThisClass::OnPaint>},
#define ON_WM_SIZE()                   {WM_SIZE, 0, 0, 0, &afx_detail::Size<&ThisClass::OnSize>},
#define ON_WM_ERASEBKGND()             {WM_ERASEBKGND, 0, 0, 0, &afx_detail::EraseBkgnd<&ThisClass::OnEraseBkgnd>},
#define ON_WM_ACTIVATE()               {WM_ACTIVATE, 0, 0, 0, &afx_detail::Activate<&ThisClass::OnActivate>},
#define ON_WM_SETFOCUS()               {WM_SETFOCUS, 0, 0, 0, &afx_detail::Focus<&ThisClass::OnSetFocus>},
#define ON_WM_INITMENUPOPUP()          {WM_INITMENUPOPUP, 0, 0, 0, &afx_detail::InitMenuPopup<&ThisClass::OnInitMenuPopup>},
#define ON_WM_MENUSELECT()             {WM_MENUSELECT, 0, 0, 0, &afx_detail::MenuSelect<&ThisClass::OnMenuSelect>},
// Any message to a handler LRESULT fn(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn) {UINT(message), 0, 0, 0, &afx_detail::Raw<&ThisClass::memberFxn>},
