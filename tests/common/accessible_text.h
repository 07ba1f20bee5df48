#pragma once
// One element of an accessible object as a line a test can compare:
// "role|name|value|description|default action", or "error XXXXXXXX" for the
// first call that failed.
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>

inline std::string AccessibleLine(IAccessible* object, long child) {
    VARIANT id{};
    id.vt = VT_I4;
    id.lVal = child;
    VARIANT role{};
    HRESULT failed = object->get_accRole(id, &role);
    std::string line = std::to_string(role.lVal);
    using Getter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
    for (Getter get : {&IAccessible::get_accName, &IAccessible::get_accValue,
                       &IAccessible::get_accDescription, &IAccessible::get_accDefaultAction}) {
        BSTR text = nullptr;
        const HRESULT result = (object->*get)(id, &text);
        failed = FAILED(failed) ? failed : result;
        char utf8[512] = "";
        if (text) {
            WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), nullptr, nullptr);
            SysFreeString(text);
        }
        line += std::string("|") + utf8;
    }
    if (FAILED(failed)) {
        char error[32];
        std::snprintf(error, sizeof(error), "error %08lX", static_cast<unsigned long>(failed));
        return error;
    }
    return line;
}
