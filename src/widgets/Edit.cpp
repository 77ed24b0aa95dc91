#include "widgets/Edit.h"

#include <shlwapi.h>

#include "widgets/Form.h"
#include "win32/WideText.h"

namespace quenmar::widgets {

void Edit::Create(Form& form, Bounds bounds, Anchors anchors, bool readOnly) {
    CreateAs(form, L"EDIT", "", WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL | (readOnly ? ES_READONLY : 0), WS_EX_CLIENTEDGE,
             bounds, anchors);
}

void Edit::SetText(const std::string& text) {
    if (Text() == text) return;
    const win::RaisedFlag setting(settingText_);
    SetWindowTextW(hwnd_, win::Wide(text).c_str());
}

void Edit::CompleteFolders() { SHAutoComplete(hwnd_, SHACF_FILESYS_DIRS); }

void Edit::HandleCommand(WORD code) {
    if (code == EN_CHANGE && !settingText_) Fire(OnChange);
}

}  // namespace quenmar::widgets
