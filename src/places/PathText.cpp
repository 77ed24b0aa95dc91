#include "places/PathText.h"

namespace quenmar {

std::string TrimControlsAndBlanks(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
    return std::string(text);
}

std::string AddTrailingBackslash(std::string_view text) {
    std::string result(text);
    if (!result.empty() && result.back() != '\\') result += '\\';
    return result;
}

bool EndsWithBackslash(std::string_view text) { return !text.empty() && text.back() == '\\'; }

bool NamesEnvironmentVariable(std::string_view text) {
    for (size_t open = text.find('%'); open != std::string_view::npos;) {
        const size_t close = text.find('%', open + 1);
        if (close == std::string_view::npos) return false;
        // A name has at least one character and no '=' or backslash.
        const std::string_view name = text.substr(open + 1, close - open - 1);
        if (!name.empty() && name.find_first_of("=\\") == std::string_view::npos) return true;
        open = close;
    }
    return false;
}

std::string StripTrailingBackslash(std::string_view text) {
    if (EndsWithBackslash(text)) text.remove_suffix(1);
    return std::string(text);
}

size_t LastSeparator(std::string_view text) { return text.find_last_of("\\:"); }

std::string LastPathComponent(std::string_view text) {
    const size_t sep = LastSeparator(text);
    if (sep == std::string_view::npos) return std::string(text);
    return std::string(text.substr(sep + 1));
}

std::string DirectoryPart(std::string_view text) {
    const size_t sep = LastSeparator(text);
    if (sep == std::string_view::npos) return {};
    return std::string(text.substr(0, sep + 1));
}

}  // namespace quenmar
