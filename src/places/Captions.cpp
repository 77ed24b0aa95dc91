#include "places/Captions.h"

#include "places/Catalogue.h"

namespace quenmar {

std::string FolderSlotCaption(const std::string& path, ShellLookups& shell) {
    const std::string trimmed = StripTrailingBackslash(path);
    std::string caption;
    if (trimmed.size() == 2) {
        caption = shell.DriveDisplayName(trimmed + '\\') + ' ' + LastPathComponent(trimmed);
    } else {
        caption = LastPathComponent(trimmed);
    }
    if (caption.empty()) caption = trimmed;
    return caption;
}


std::string EffectivePath(const Place& entry, ShellLookups& shell) {
    return entry.keepUnexpanded ? shell.ExpandEnvironment(entry.path) : entry.path;
}

SlotDisplay DisplayFor(const Place& entry, ShellLookups& shell) {
    if (!entry.isFolder) {
        return {SpecialFolderName(entry.csidl), shell.SpecialFolderIconIndex(IconSize::Large, entry.csidl)};
    }
    const std::string path = EffectivePath(entry, shell);
    return {FolderSlotCaption(path, shell), shell.PathIconIndex(IconSize::Large, AddTrailingBackslash(path))};
}

}  // namespace quenmar
