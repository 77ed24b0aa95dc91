// What a screen reader hears of a window, asked as one asks: through the
// window's accessible object.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>

namespace quenmar::testing {

// A text property of a window's accessible object, or of one of its children
// (from 1); "(no object)" when the window gives none.
inline std::wstring AccessibleText(HWND window, LONG child, HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, BSTR*)) {
    // MinGW's own IID_IAccessible cannot be linked to: the ID is spelled here.
    static const GUID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, kIAccessible, reinterpret_cast<void**>(&object)))) {
        return L"(no object)";
    }
    VARIANT which{};
    which.vt = VT_I4;
    which.lVal = child;
    BSTR text = nullptr;
    (object->*property)(which, &text);
    std::wstring result = text ? text : L"";
    SysFreeString(text);
    object->Release();
    return result;
}

inline std::wstring AccessibleName(HWND window) {
    return AccessibleText(window, CHILDID_SELF, &IAccessible::get_accName);
}
inline std::wstring AccessibleDescription(HWND window, LONG child = CHILDID_SELF) {
    return AccessibleText(window, child, &IAccessible::get_accDescription);
}

}  // namespace quenmar::testing
