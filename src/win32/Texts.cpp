#include "win32/Texts.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <vector>

#include "places/Texts.h"
#include "win32/WideText.h"

namespace quenmar::win {

namespace {

std::atomic<LANGID> chosenLanguage{0};

// The text in one language's string table, if that language has it: a
// table holds its texts in blocks of sixteen, each a length and its
// characters.
std::optional<std::wstring> TextIn(HMODULE module, UINT id, LANGID language) {
    const HRSRC found = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
    if (!found) return std::nullopt;
    const auto* block = static_cast<const WCHAR*>(LockResource(LoadResource(module, found)));
    if (!block) return std::nullopt;
    const WCHAR* const end = block + SizeofResource(module, found) / sizeof(WCHAR);
    const WCHAR* entry = block;
    for (UINT n = 0; n < id % 16; ++n) {
        if (entry >= end) return std::nullopt;
        entry += 1 + *entry;
    }
    if (entry >= end || *entry == 0) return std::nullopt;
    const size_t length = std::min<size_t>(*entry, static_cast<size_t>(end - entry - 1));
    return std::wstring(entry + 1, length);
}

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
    reinterpret_cast<std::vector<LANGID>*>(languages)->push_back(language);
    return TRUE;
}

}  // namespace

LANGID TextLanguage() {
    const LANGID chosen = chosenLanguage;
    if (chosen) return chosen;
    // Asked once: the session's language stays while the program runs, and
    // Wine writes a line to the console at every asking.
    thread_local const LANGID session = GetThreadUILanguage();
    return session;
}

void SetTextLanguage(LANGID language) { chosenLanguage = language; }

LANGID NeutralLanguage(LANGID language) {
    if (PRIMARYLANGID(language) == LANG_CHINESE) {
        switch (SUBLANGID(language)) {
            case SUBLANG_CHINESE_TRADITIONAL:
            case SUBLANG_CHINESE_HONGKONG:
            case SUBLANG_CHINESE_MACAU:
                return 0x7C04;  // Chinese (Traditional)
            default:
                return MAKELANGID(LANG_CHINESE, SUBLANG_NEUTRAL);  // Chinese (Simplified)
        }
    }
    return MAKELANGID(PRIMARYLANGID(language), SUBLANG_NEUTRAL);
}

namespace {

// The languages to look for a text in, the first the table has first: the
// text language, its neutral form, then English.
std::vector<LANGID> LanguagesOf(HMODULE module, UINT id) {
    // The languages the table has, exactly: finding a resource in a language
    // the table lacks would give a language near it (Simplified Chinese for
    // Traditional) rather than none.
    std::vector<LANGID> present;
    EnumResourceLanguagesW(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), AddLanguage,
                           reinterpret_cast<LONG_PTR>(&present));
    const LANGID language = TextLanguage();
    std::vector<LANGID> candidates;
    for (const LANGID candidate : {language, NeutralLanguage(language), LANGID{MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)}}) {
        if (std::find(present.begin(), present.end(), candidate) != present.end()) candidates.push_back(candidate);
    }
    return candidates;
}

}  // namespace

std::string ResourceText(UINT id) {
    const HMODULE module = GetModuleHandleW(nullptr);
    for (const LANGID candidate : LanguagesOf(module, id)) {
        if (auto text = TextIn(module, id, candidate)) return Utf8(*text);
    }
    return {};
}

bool ReadsRightToLeft(LANGID language) {
    switch (PRIMARYLANGID(language)) {
        case LANG_ARABIC:
        case LANG_HEBREW:
        case LANG_PERSIAN:
        case LANG_URDU:
        case LANG_SYRIAC:
        case LANG_DIVEHI:
        case LANG_PASHTO:
        case LANG_UIGHUR:
            return true;
        default:
            return false;
    }
}

bool TextsReadRightToLeft() { return ReadsRightToLeft(ShownLanguage()); }

LANGID ShownLanguage() {
    const std::vector<LANGID> shown = LanguagesOf(GetModuleHandleW(nullptr), IDS_ERROR_CODE);
    return shown.empty() ? LANGID{MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)} : shown.front();
}

void UseResourceTexts() {
    SetTextReader([](int id) { return ResourceText(static_cast<UINT>(id)); });
}

}  // namespace quenmar::win
