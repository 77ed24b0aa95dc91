#include "win32/SystemMessage.h"

#include <stdexcept>

#include "win32/Texts.h"
#include "win32/WideText.h"

namespace quenmar::win {

std::string SystemMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = buffer ? Utf8(buffer) : "";
    if (buffer) LocalFree(buffer);
    // Without its closing blanks and full stop (a Chinese or Japanese one
    // too): the texts it goes into end the sentence themselves.
    const std::string ideographicStop = "\u3002";
    for (bool more = true; more;) {
        more = !text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' || text.back() == '.');
        if (more) {
            text.pop_back();
        } else if (text.size() >= ideographicStop.size() &&
                   text.compare(text.size() - ideographicStop.size(), ideographicStop.size(), ideographicStop) == 0) {
            text.resize(text.size() - ideographicStop.size());
            more = true;
        }
    }
    if (text.empty()) text = TextOf(IDS_ERROR_CODE, {std::to_string(code)});
    return text;
}

void ThrowShellError(HRESULT result) {
    throw std::runtime_error(SystemMessage(HRESULT_FACILITY(result) == FACILITY_WIN32 ? HRESULT_CODE(result)
                                                                                       : static_cast<DWORD>(result)));
}

}  // namespace quenmar::win
