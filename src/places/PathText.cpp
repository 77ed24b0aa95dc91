#include "places/PathText.h"

namespace quenmar {

bool NoLeadBytes(unsigned char) { return false; }

bool ShiftJisLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

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

namespace {

// Walks the text character by character, so that trail bytes are skipped.
// Returns the start of the last character, or npos for empty text, and the
// last separator seen.
struct Scan {
    size_t lastCharStart = std::string_view::npos;
    size_t lastSeparator = std::string_view::npos;
};

Scan ScanText(std::string_view text, LeadByteTest isLead) {
    Scan scan;
    for (size_t i = 0; i < text.size();) {
        scan.lastCharStart = i;
        const auto c = static_cast<unsigned char>(text[i]);
        if (isLead(c) && i + 1 < text.size()) {
            i += 2;
            continue;
        }
        if (c == '\\' || c == ':') scan.lastSeparator = i;
        ++i;
    }
    return scan;
}

}  // namespace

bool EndsWithBackslash(std::string_view text, LeadByteTest isLead) {
    const Scan scan = ScanText(text, isLead);
    return scan.lastCharStart != std::string_view::npos && scan.lastCharStart == text.size() - 1 &&
           text.back() == '\\';
}

std::string StripTrailingBackslash(std::string_view text, LeadByteTest isLead) {
    if (EndsWithBackslash(text, isLead)) text.remove_suffix(1);
    return std::string(text);
}

size_t LastSeparator(std::string_view text, LeadByteTest isLead) {
    return ScanText(text, isLead).lastSeparator;
}

std::string LastPathComponent(std::string_view text, LeadByteTest isLead) {
    const size_t sep = LastSeparator(text, isLead);
    if (sep == std::string_view::npos) return std::string(text);
    return std::string(text.substr(sep + 1));
}

std::string DirectoryPart(std::string_view text, LeadByteTest isLead) {
    const size_t sep = LastSeparator(text, isLead);
    if (sep == std::string_view::npos) return {};
    return std::string(text.substr(0, sep + 1));
}

}  // namespace quenmar
