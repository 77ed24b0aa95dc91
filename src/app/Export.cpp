#include "app/Export.h"

#include "places/RegistryScript.h"
#include "win32/ReplaceFile.h"
#include "win32/Win32Registry.h"

namespace quenmar {

void ExportStoredSettings(const std::string& path) {
    win::Win32Registry registry;
    const PlacesStore store(registry);
    const LoadedSlots loaded = store.LoadSlots();
    win::ReplaceFileContents(path, PlacesScript(loaded.entries, store.LoadHideFlag() == HideFlag::Hide));
}

}  // namespace quenmar
