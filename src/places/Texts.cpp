#include "places/Texts.h"

#include <atomic>

namespace quenmar {

namespace {

std::atomic<TextReader> reader{nullptr};

}  // namespace

void SetTextReader(TextReader newReader) { reader = newReader; }

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> arguments) {
    std::string text;
    text.reserve(pattern.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (pattern[i] == '%' && next == '%') {
            text += '%';
            ++i;
        } else if (pattern[i] == '%' && next >= '1' && next <= '9' &&
                   static_cast<size_t>(next - '1') < arguments.size()) {
            text += *(arguments.begin() + (next - '1'));
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

std::string TextOf(int id, std::initializer_list<std::string_view> arguments) {
    const TextReader read = reader;
    return read ? FormatText(read(id), arguments) : std::string();
}

}  // namespace quenmar
