#include "places/RegistryScript.h"

#include "places/PolicyFile.h"
#include "places/Utf16.h"

namespace quenmar {

namespace {

std::u16string Ascii(const char* text) { return std::u16string(text, text + std::char_traits<char>::length(text)); }

// A string value: backslashes and quotes escaped.
std::u16string Quoted(const std::u16string& text) {
    std::u16string quoted = u"\"";
    for (char16_t c : text) {
        if (c == u'\\' || c == u'"') quoted += u'\\';
        quoted += c;
    }
    return quoted + u'"';
}

// "name"=hex(type):xx,xx,... wrapped as the registry editor wraps it: a
// backslash ends each full line and the next begins with two blanks.
std::u16string HexValue(const std::u16string& head, uint32_t type, const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::u16string line = head + (type == kRegBinary ? u"hex:" : u"hex(" + Ascii(std::to_string(type).c_str()) + u"):");
    std::u16string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        line += static_cast<char16_t>(digits[byte >> 4]);
        line += static_cast<char16_t>(digits[byte & 15]);
        if (i + 1 < bytes.size()) {
            line += u',';
            if (line.size() > 76) {
                out += line + u"\\\r\n";
                line = u"  ";
            }
        }
    }
    return out + line + u"\r\n";
}

std::string Utf16Bytes(const std::u16string& text, bool terminated) {
    std::string bytes;
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    if (terminated) bytes.append(2, '\0');
    return bytes;
}

bool NeedsBytes(const std::u16string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x20) return true;
        const bool lead = c >= 0xD800 && c <= 0xDBFF, trail = c >= 0xDC00 && c <= 0xDFFF;
        const bool paired = lead && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (paired) {
            ++i;
        } else if (lead || trail) {
            return true;
        }
    }
    return false;
}

std::u16string Dword(const std::u16string& head, uint32_t value) {
    static const char digits[] = "0123456789abcdef";
    std::u16string text = head + u"dword:";
    for (int shift = 28; shift >= 0; shift -= 4) text += static_cast<char16_t>(digits[(value >> shift) & 15]);
    return text + u"\r\n";
}

// The script's text before it is encoded.
std::u16string PlacesScriptText(const Places& places, bool hidden) {
    const std::u16string root = u"HKEY_CURRENT_USER\\";
    const std::u16string placesKey = root + Ascii(kPlacesBarKey);
    std::u16string text = u"Windows Registry Editor Version 5.00\r\n\r\n";
    text += u"[-" + placesKey + u"]\r\n\r\n";
    text += u"[" + root + Ascii(kComdlgPolicyKey) + u"]\r\n";
    text += Dword(Quoted(Ascii(kNoPlacesBarValue)) + u"=", hidden ? 1 : 0) + u"\r\n";
    text += u"[" + placesKey + u"]\r\n";
    for (int n = 0; n < kSlotCount; ++n) {
        const std::u16string head = Quoted(Ascii(PlaceValueName(n).c_str())) + u"=";
        const StoredValue stored = StoredValueOf(places[n]);
        if (stored.type == kRegDword) {
            text += Dword(head, static_cast<uint32_t>(stored.number));
        } else if (stored.type == kRegExpandSz) {
            text += HexValue(head, kRegExpandSz, Utf16Bytes(Utf8ToUtf16(stored.text), true));
        } else {
            // A quoted string cannot hold a line break, and a surrogate without
            // its partner may not survive a reader's decoding: such text goes
            // as bytes.
            const std::u16string path = Utf8ToUtf16(stored.text);
            text += NeedsBytes(path) ? HexValue(head, kRegSz, Utf16Bytes(path, true)) : head + Quoted(path) + u"\r\n";
        }
    }
    return text + u"\r\n";
}

}  // namespace

std::string PlacesScript(const Places& places, bool hidden) {
    return "\xFF\xFE" + Utf16Bytes(PlacesScriptText(places, hidden), false);
}

std::string PlacesPolicyFile(const Places& places, bool hidden) {
    PolicyFile file;
    for (int n = 0; n < kSlotCount; ++n) {
        const StoredValue stored = StoredValueOf(places[n]);
        file.Set(kPlacesBarKey, PlaceValueName(n), stored.type,
                 stored.type == kRegDword ? DwordData(static_cast<uint32_t>(stored.number)) : StringData(stored.text));
    }
    if (hidden) file.Set(kComdlgPolicyKey, kNoPlacesBarValue, kRegDword, DwordData(1));
    return file.Bytes();
}

ExportFormat ExportFormatFor(std::string_view path) {
    const std::string_view extension = path.size() >= 4 ? path.substr(path.size() - 4) : std::string_view();
    const bool policy = extension.size() == 4 && extension[0] == '.' && (extension[1] | 0x20) == 'p' &&
                        (extension[2] | 0x20) == 'o' && (extension[3] | 0x20) == 'l';
    return policy ? ExportFormat::PolicyFile : ExportFormat::RegistryScript;
}

std::string ExportedSettings(ExportFormat format, const Places& places, bool hidden) {
    return format == ExportFormat::PolicyFile ? PlacesPolicyFile(places, hidden) : PlacesScript(places, hidden);
}

}  // namespace quenmar
