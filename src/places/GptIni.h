// A Group Policy Object's gpt.ini: clients apply a changed policy only when
// its Version has risen, and only through the extensions it lists.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenmar {

// The registry policy's client-side extension and the tool that edits its
// user half (the Administrative Templates), as gPCUserExtensionNames lists them.
inline constexpr const char* kRegistryExtension = "{35378EAC-683F-11D2-A89A-00C04FBBCFA2}";
inline constexpr const char* kAdministrativeTemplatesUserTool = "{D02B1F73-3407-48AE-BA88-E8213C6761F1}";

// Why a text is not a gpt.ini this program may rewrite, and the line (from
// 1) at fault, as it stands; no line when none is (a file without [General]).
struct GptIniRefusal {
    enum class Fault { NotText, NotALine, NoGeneralSection, VersionNotANumber, ExtensionsNotAList };
    Fault fault = Fault::NotALine;
    size_t line = 0;
    std::string text;
    bool operator==(const GptIniRefusal&) const = default;
};

// A gpt.ini read whole: its lines with their own endings (the last may have
// none). What it does not own it writes back as it was read.
class GptIni {
public:
    // An empty text is a file made anew. A refusal leaves `refusal` set.
    static std::optional<GptIni> Read(std::string_view text, GptIniRefusal& refusal);

    // After a save of the user policy: the user half of Version (its high
    // 16 bits) raised by one, wrapping past 0 to 1, and the registry
    // extension listed with its tool for users, every list kept in the order
    // Windows keeps it (by GUID). A line changed keeps its ending; a line
    // added takes the ending of the line before it.
    void RaiseUserVersion();

    std::string Text() const;

private:
    struct Line {
        std::string text;
        std::string ending;
    };
    void InsertAfter(size_t at, std::string added);

    std::vector<Line> lines_;
    size_t general_ = 0;
    std::optional<size_t> version_, extensions_;
    uint32_t number_ = 0;
    std::vector<std::vector<std::string>> groups_;  // [{extension}{tool}...]
};

// The text after a user save (GptIni::RaiseUserVersion); nothing when it
// cannot be read as a gpt.ini, which is then not rewritten.
std::optional<std::string> GptIniAfterUserSave(std::string_view text);

}  // namespace quenmar
