#include "places/Captions.h"

#include "places/Catalogue.h"
#include "places/Texts.h"

namespace quenmar {

std::string FolderSlotCaption(const std::string& path) {
    const std::string trimmed = StripTrailingBackslash(path);
    const std::string caption = LastPathComponent(trimmed);
    return caption.empty() ? trimmed : caption;
}


std::string LeftOutText(LeftOut reason) {
    switch (reason) {
    case LeftOut::NoSuchFolder: return TextOf(IDS_LEFT_OUT_NO_FOLDER);
    case LeftOut::UnknownName: return TextOf(IDS_LEFT_OUT_UNKNOWN_NAME);
    case LeftOut::NoSuchSpecialFolder: return TextOf(IDS_LEFT_OUT_NO_SPECIAL);
    case LeftOut::NotExpanded: return TextOf(IDS_LEFT_OUT_NOT_EXPANDED);
    case LeftOut::No: break;
    }
    return {};
}

std::string EffectivePath(const Place& entry, ShellLookups& shell) {
    return entry.keepUnexpanded ? shell.ExpandEnvironment(entry.path) : entry.path;
}

PlaceQuery QueryOf(const Place& entry, ShellLookups& shell, OpenDialog dialog) {
    if (!entry.isFolder) return {true, entry.csidl, {}};
    if (dialog == OpenDialog::Windows) {
        if (const std::optional<int32_t> named = PolicyNameFolder(entry.path)) return {true, *named, {}};
    }
    // Wine's dialog reads an expandable value's text as it stands.
    return {false, 0, dialog == OpenDialog::Wine ? entry.path : EffectivePath(entry, shell)};
}

SlotDisplay DisplayFor(const Place& entry, const ShellAnswer* answer, ShellLookups& shell, OpenDialog dialog) {
    SlotDisplay display;
    if (!entry.set) return {TextOf(IDS_NOT_SET)};  // nothing to ask the shell about
    display.caption = entry.isFolder ? FolderSlotCaption(EffectivePath(entry, shell)) : SpecialFolderName(entry.csidl);
    if (!answer) return display;
    // The shell's icon of what it found, a folder's of what it did not.
    display.icon = answer->largeIcon;
    if (dialog == OpenDialog::Windows && entry.isFolder && IsPolicyName(entry.path)) {
        // Windows' dialog takes the name: its folder as the shell names it.
        const bool named = answer->found && PolicyNameFolder(entry.path);
        display.caption = named && !answer->name.empty() ? answer->name : entry.path;
        return display;
    }

    if (answer->found) {
        // The dialog's button bears the shell's name even when it is empty;
        // a drive's root keeps the caption rule then.
        const bool driveRoot = entry.isFolder && StripTrailingBackslash(EffectivePath(entry, shell)).size() == 2;
        if (!answer->name.empty() || !driveRoot) display.caption = answer->name;
        return display;
    }
    if (!entry.isFolder) {
        display.leftOut = LeftOut::NoSuchSpecialFolder;
        return display;
    }
    if (!entry.path.empty()) display.caption = entry.path;
    if (dialog == OpenDialog::Wine && entry.keepUnexpanded && NamesEnvironmentVariable(entry.path)) {
        // Wine's dialog does not expand it: the expanded text, as a plain path, would do.
        display.leftOut = LeftOut::NotExpanded;
        display.standIn = EffectivePath(entry, shell);
        return display;
    }
    display.leftOut = WrittenAsPath(EffectivePath(entry, shell)) ? LeftOut::NoSuchFolder : LeftOut::UnknownName;
    if (const std::optional<int32_t> named = PolicyNameFolder(entry.path)) display.standIn = *named;
    return display;
}

}  // namespace quenmar
