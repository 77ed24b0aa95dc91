#include "app/Export.h"

#include "places/PlacesEditor.h"
#include "win32/ReplaceFile.h"

namespace quenmar {

void ExportStoredSettings(const std::string& path, RegistryAccessor& registry) {
    PlacesEditor editor(registry);
    editor.Load();
    win::ReplaceFileContents(path, *editor.ExportFile(ExportFormatFor(path)));
}

}  // namespace quenmar
