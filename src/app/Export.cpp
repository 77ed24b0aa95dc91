#include "app/Export.h"

#include "places/PlacesEditor.h"
#include "win32/ReplaceFile.h"
#include "win32/Win32Registry.h"

namespace quenmar {

void ExportStoredSettings(const std::string& path) {
    win::Win32Registry registry;
    PlacesEditor editor(registry);
    editor.Load();
    win::ReplaceFileContents(path, *editor.ExportFile(ExportFormatFor(path)));
}

}  // namespace quenmar
