#include "places/PolicyDeployment.h"

#include "places/RegistryScript.h"
#include "places/ShellAnswers.h"

namespace quenmar {

namespace {

// The registry keys as Set-GPRegistryValue names them.
std::string UserKey(const char* key) { return PowerShellQuoted(std::string("HKCU\\") + key); }

}  // namespace

std::string PowerShellQuoted(std::string_view text) {
    std::string quoted = "'";
    for (size_t i = 0; i < text.size(); ++i) {
        // U+2018 to U+201B in UTF-8: E2 80 98 to E2 80 9B.
        const bool curly = text.compare(i, 2, "\xE2\x80") == 0 && i + 2 < text.size() &&
                           static_cast<unsigned char>(text[i + 2]) >= 0x98 && static_cast<unsigned char>(text[i + 2]) <= 0x9B;
        if (curly) {
            quoted += text.substr(i, 3);
            quoted += text.substr(i, 3);
            i += 2;
        } else {
            quoted += text[i];
            if (text[i] == '\'') quoted += '\'';
        }
    }
    return quoted + "'";
}

std::string PlacesPowerShell(const Places& places, HideFlag hide, std::string_view gpoGuid) {
    std::string script = "\xEF\xBB\xBF";
    script += "# The Places Bar as this Group Policy sets it (Quenmar). The GroupPolicy module\r\n"
              "# raises the GPO's version in the directory and in its gpt.ini, so that\r\n"
              "# Windows clients apply it at their next refresh.\r\n";
    if (gpoGuid.empty()) {
        script += "param([Parameter(Mandatory = $true)] [string] $Name)\r\n$gpo = @{ Name = $Name }\r\n";
    } else {
        script += "param([string] $Guid = " + PowerShellQuoted(gpoGuid) + ")\r\n$gpo = @{ Guid = $Guid }\r\n";
    }
    script += "$ErrorActionPreference = 'Stop'\r\nImport-Module GroupPolicy\r\n";
    const auto set = [&](const char* key, const std::string& name, const char* type, const std::string& value) {
        script += "Set-GPRegistryValue @gpo -Key " + UserKey(key) + " -ValueName " + PowerShellQuoted(name) + " -Type " +
                  type + " -Value " + value + " | Out-Null\r\n";
    };
    const auto remove = [&](const char* key, const std::string& name) {
        // Not there is as good as removed.
        script += "Remove-GPRegistryValue @gpo -Key " + UserKey(key) + " -ValueName " + PowerShellQuoted(name) +
                  " -ErrorAction SilentlyContinue | Out-Null\r\n";
    };
    for (int n = 0; n < kSlotCount; ++n) {
        const StoredValue stored = StoredValueOf(places[n]);
        const std::string name = PlaceValueName(n);
        if (stored.presence != StoredValue::Presence::Value) {
            remove(kPlacesBarKey, name);
        } else if (stored.type == kRegDword) {
            set(kPlacesBarKey, name, "DWord", std::to_string(static_cast<uint32_t>(stored.number)));
        } else {
            set(kPlacesBarKey, name, stored.type == kRegExpandSz ? "ExpandString" : "String", PowerShellQuoted(stored.text));
        }
    }
    if (hide == HideFlag::Hide || hide == HideFlag::Show) {
        set(kComdlgPolicyKey, kNoPlacesBarValue, "DWord", hide == HideFlag::Hide ? "1" : "0");
    } else {
        remove(kComdlgPolicyKey, kNoPlacesBarValue);
    }
    return script;
}

std::variant<std::vector<IntuneSetting>, int32_t> PlacesForIntune(const Places& places, HideFlag hide) {
    const std::string policies = "./User/Vendor/MSFT/Policy/Config/ADMX_WindowsExplorer/";
    std::string value = "<enabled/>";
    for (int n = 0; n < kSlotCount; ++n) {
        const Place& place = places[n];
        if (!place.set) continue;
        std::string text = place.path;
        if (!place.isFolder) {
            const std::optional<std::string_view> name = PolicyNameOf(place.csidl);
            if (!name) return place.csidl;
            text = *name;
        }
        value += "<data id=\"Places" + std::to_string(n) + "\" value=\"" + XmlAttribute(text) + "\"/>";
    }
    // A policy that sets no places leaves that setting not configured.
    std::vector<IntuneSetting> settings;
    if (value != "<enabled/>") settings.push_back({policies + "PlacesBar", value});
    if (hide == HideFlag::Hide || hide == HideFlag::Show) {
        settings.push_back({policies + "NoPlacesBar", hide == HideFlag::Hide ? "<enabled/>" : "<disabled/>"});
    }
    return settings;
}

std::string IntuneText(const std::vector<IntuneSetting>& settings) {
    std::string text;
    for (const IntuneSetting& setting : settings) {
        text += (text.empty() ? "" : "\r\n") + std::string("OMA-URI: ") + setting.omaUri + "\r\nData type: String\r\nValue: " +
                setting.value + "\r\n";
    }
    return text;
}

}  // namespace quenmar
