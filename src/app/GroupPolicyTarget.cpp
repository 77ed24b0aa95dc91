#include "app/GroupPolicyTarget.h"

#include <windows.h>

#include <cctype>
#include <vector>

#include "app/AppTexts.h"
#include "places/AsciiCase.h"
#include "places/GptIni.h"
#include "win32/FileContents.h"
#include "win32/SystemMessage.h"
#include "win32/Texts.h"
#include "win32/WideText.h"

namespace quenmar {

namespace {

// Larger than any gpt.ini is.
constexpr size_t kLargestGptIni = 64 * 1024;

// A gpt.ini's text, or why it cannot be read: the system's reason, or the
// file larger than any gpt.ini is.
std::optional<std::string> ReadGptIni(const std::string& path, std::string& text) {
    const win::FileStatus status = win::ReadFileContents(path, kLargestGptIni, text);
    if (status != ERROR_SUCCESS) return win::SystemMessage(status);
    if (text.size() > kLargestGptIni) return win::SystemMessage(ERROR_FILE_TOO_LARGE);
    return std::nullopt;
}

// A line at fault as the user reads it: to its first zero, and not past
// about sixty bytes (at a character's start).
std::string LineShown(const std::string& line) {
    std::string shown = line.substr(0, line.find('\0'));
    if (shown.size() <= 60) return shown;
    size_t cut = 60;
    while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80) --cut;
    return shown.substr(0, cut) + "\u2026";
}

std::string FullPath(const std::string& path) {
    wchar_t full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameW(win::Wide(path).c_str(), MAX_PATH, full, nullptr);
    return length == 0 || length >= MAX_PATH ? path : win::Utf8(full);
}

bool IsFolder(const std::string& path) { return win::IsFolder(win::Wide(path)); }
bool Exists(const std::string& path) { return win::Exists(win::Wide(path)); }

// Whether a name that is not there was meant as a policy file: it ends in
// .pol (in letters of either case), and not in a backslash.
bool NamesPolicyFile(const std::string& path) { return EndsWithIgnoringAsciiCase(path, ".pol"); }

// "{...}" as a GUID is written: 8-4-4-4-12 hexadecimal digits in braces.
bool IsGuid(const std::string& text) {
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
    for (size_t i = 1; i < 37; ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash ? text[i] != '-' : !std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    return true;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

std::string FileName(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string LocalGroupPolicyFile() {
    // System32's own, also for the 32-bit program on 64-bit Windows, whose
    // System32 is another folder unless named Sysnative.
    wchar_t windows[MAX_PATH] = {};
    const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    return (length && length < MAX_PATH ? win::Utf8(windows) : std::string("C:\\Windows")) +
           (wow64 ? "\\Sysnative" : "\\System32") + "\\GroupPolicy\\User\\Registry.pol";
}

GroupPolicyTarget ResolveGroupPolicyTarget(const std::string& named) {
    GroupPolicyTarget target;
    std::string folder;
    if (SameIgnoringAsciiCase(named, "local")) {
        folder = FolderOf(FolderOf(LocalGroupPolicyFile()));
        target.description = TextOf(IDS_POLICY_LOCAL_TARGET);
        target.shortDescription = TextOf(IDS_BANNER_LOCAL_POLICY);
        target.local = true;
    } else if (IsFolder(named)) {
        folder = FullPath(named);
        target.description = TextOf(IDS_POLICY_FILE_TARGET, {folder});
        target.shortDescription = TextOf(IDS_BANNER_POLICY_OBJECT);
    }
    if (!folder.empty()) {
        target.policyFile = folder + "\\User\\Registry.pol";
        target.gptIni = folder + "\\gpt.ini";
        target.onAServer = folder.starts_with("\\\\");
        if (IsGuid(FileName(folder))) target.gpoGuid = FileName(folder);
    } else {
        target.policyFile = FullPath(named);
        target.description = TextOf(IDS_POLICY_FILE_TARGET, {FileName(target.policyFile)});
        target.shortDescription = TextOf(IDS_BANNER_POLICY_FILE);
        if (!Exists(target.policyFile) && (!NamesPolicyFile(named) || !IsFolder(FolderOf(target.policyFile)))) {
            // A Group Policy Object's folder mistyped, or a file in a folder
            // that is not there: nothing is made of it. (A file that is
            // there is read whatever its name.)
            target.missing = TextOf(IDS_POLICY_FOLDER_MISSING,
                                    {NamesPolicyFile(named) ? FolderOf(target.policyFile) : target.policyFile,
                                     win::SystemMessage(ERROR_PATH_NOT_FOUND)});
        }
    }
    // A policy that is not there yet opens empty, and is made by the first
    // save that sets something.
    if (!Exists(target.policyFile)) target.description = TextOf(IDS_POLICY_NEW, {target.description});
    return target;
}

std::unique_ptr<PolicyRegistry> OpenGroupPolicy(const GroupPolicyTarget& target) {
    const auto read = [file = target.policyFile](std::string& bytes) -> std::optional<std::string> {
        const win::FileStatus status = win::ReadFileContents(file, PolicyFile::kLargestFile, bytes);
        return status == ERROR_SUCCESS ? std::nullopt : std::optional(win::CouldNotRead(file, status));
    };
    const auto write = [target](const std::string& bytes) -> std::optional<std::string> {
        // A Group Policy Object made anew (the local one on a computer
        // where it was never used) has no folders yet.
        if (target.gptIni) {
            CreateDirectoryW(win::Wide(FolderOf(*target.gptIni)).c_str(), nullptr);
            CreateDirectoryW(win::Wide(FolderOf(target.policyFile)).c_str(), nullptr);
        }
        const win::FileStatus status = win::ReplaceFileContents(target.policyFile, bytes);
        return status == ERROR_SUCCESS ? std::nullopt : std::optional(win::CouldNotWrite(target.policyFile, status));
    };
    const auto afterWrite = [target]() -> std::optional<std::string> {
        // Clients apply the change once the version has risen; a gpt.ini that
        // cannot be read was told at the start and is left alone.
        const std::optional<std::string> applies =
            target.local ? std::optional<std::string>(TextOf(IDS_LOCAL_POLICY_SAVED)) : std::nullopt;
        std::string ini;
        if (!target.gptIni || ReadGptIni(*target.gptIni, ini)) return applies;
        const std::optional<std::string> raised = GptIniAfterUserSave(ini);
        if (!raised) return applies;
        if (const win::FileStatus status = win::ReplaceFileContents(*target.gptIni, *raised); status != ERROR_SUCCESS) {
            return TextOf(IDS_GPT_INI_NOT_WRITTEN, {*target.gptIni, win::CouldNotWrite(*target.gptIni, status)});
        }
        return applies;
    };
    const auto stamp = [file = target.policyFile] { return win::FileStamp(file); };
    return std::make_unique<PolicyRegistry>(target.policyFile, read, write, afterWrite, stamp);
}

std::optional<std::string> GroupPolicyNotice(const GroupPolicyTarget& target) {
    if (!target.gptIni) return std::nullopt;
    std::vector<std::string> told;
    if (target.onAServer) told.push_back(TextOf(IDS_DOMAIN_GPO_NOTE));
    std::string ini;
    GptIniRefusal refusal;
    if (std::optional<std::string> unreadable = ReadGptIni(*target.gptIni, ini)) {
        told.push_back(TextOf(IDS_GPT_INI_UNREADABLE, {*target.gptIni, *unreadable}));
    } else if (!GptIni::Read(ini, refusal)) {
        const std::string why = refusal.fault == GptIniRefusal::Fault::NoGeneralSection
                                    ? TextOf(IDS_GPT_INI_NO_GENERAL)
                                    : TextOf(IDS_GPT_INI_BAD_LINE, {std::to_string(refusal.line), LineShown(refusal.text)});
        told.push_back(TextOf(IDS_GPT_INI_UNREADABLE, {*target.gptIni, why}));
    }
    if (told.empty()) return std::nullopt;
    std::string text;
    for (const std::string& each : told) text += (text.empty() ? "" : "\n\n") + each;
    return text;
}

}  // namespace quenmar
