#include "places/RegistryScript.h"

#include "places/AsciiCase.h"
#include "places/PolicyDeployment.h"

#include <algorithm>
#include <cstdio>

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
        if (!places[n].set) continue;  // a policy's place not set: no value
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
        if (!places[n].set) continue;
        const StoredValue stored = StoredValueOf(places[n]);
        file.Set(kPlacesBarKey, PlaceValueName(n), stored.type,
                 stored.type == kRegDword ? DwordData(static_cast<uint32_t>(stored.number)) : StringData(stored.text));
    }
    if (hidden) file.Set(kComdlgPolicyKey, kNoPlacesBarValue, kRegDword, DwordData(1));
    return file.Bytes();
}

std::string XmlAttribute(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '"') out += "&quot;";
        else if (c == '\t') out += "&#x9;";
        else if (c == '\n') out += "&#xA;";
        else if (c == '\r') out += "&#xD;";
        else if (static_cast<unsigned char>(c) < 0x20) out += "\xEF\xBF\xBD";
        else out += c;
    }
    return out;
}

namespace {

std::string PreferenceItem(const PreferenceStamps& stamps, const std::string& key, const std::string& name,
                           const StoredValue& value) {
    const bool number = value.type == kRegDword;
    char digits[9] = {};
    snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(value.number));
    const std::string type = number ? "REG_DWORD" : value.type == kRegExpandSz ? "REG_EXPAND_SZ" : "REG_SZ";
    // The items' icons as GPMC shows an update: 7 for text, 17 for a number.
    return "\t<Registry clsid=\"{9CD4B2F4-923D-47f5-A062-E897DD1DAD50}\" name=\"" + name + "\" status=\"" + name +
           "\" image=\"" + (number ? "17" : "7") + "\" changed=\"" + stamps.changed + "\" uid=\"" + stamps.newGuid() +
           "\"><Properties action=\"U\" displayDecimal=\"0\" default=\"0\" hive=\"HKEY_CURRENT_USER\" key=\"" + key +
           "\" name=\"" + name + "\" type=\"" + type + "\" value=\"" + (number ? std::string(digits) : XmlAttribute(value.text)) +
           "\"/></Registry>\r\n";
}

}  // namespace

std::string PlacesPreferences(const Places& places, bool hidden, const PreferenceStamps& stamps) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                      "<RegistrySettings clsid=\"{A3CCFC41-DFDB-43a5-8D26-0FE8B954DA51}\">\r\n";
    for (int n = 0; n < kSlotCount; ++n) {
        if (places[n].set) xml += PreferenceItem(stamps, kPlacesBarKey, PlaceValueName(n), StoredValueOf(places[n]));
    }
    xml += PreferenceItem(stamps, kComdlgPolicyKey, kNoPlacesBarValue,
                          {StoredValue::Presence::Value, kRegDword, {}, hidden ? 1 : 0});
    return xml + "</RegistrySettings>\r\n";
}

ExportFormat ExportFormatFor(std::string_view path) {
    if (EndsWithIgnoringAsciiCase(path, ".pol")) return ExportFormat::PolicyFile;
    if (EndsWithIgnoringAsciiCase(path, ".xml")) return ExportFormat::Preferences;
    if (EndsWithIgnoringAsciiCase(path, ".ps1")) return ExportFormat::PowerShell;
    return ExportFormat::RegistryScript;
}

std::string ExportedSettings(ExportFormat format, const Places& places, HideFlag hide, const PreferenceStamps& stamps,
                             std::string_view gpoGuid) {
    const bool hidden = hide == HideFlag::Hide;
    switch (format) {
    case ExportFormat::PowerShell: return PlacesPowerShell(places, hide, gpoGuid);
    case ExportFormat::PolicyFile: return PlacesPolicyFile(places, hidden);
    case ExportFormat::Preferences: return PlacesPreferences(places, hidden, stamps);
    case ExportFormat::RegistryScript: break;
    }
    return PlacesScript(places, hidden);
}

}  // namespace quenmar
