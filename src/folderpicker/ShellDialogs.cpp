#include "folderpicker/ShellDialogs.h"

#include <memory>
#include <stdexcept>

#include "folderpicker/FolderPickerResources.h"
#include "widgets/Application.h"
#include "widgets/Resources.h"
#include "widgets/WaitCursor.h"
#include "win32/Handles.h"

namespace quenmar {

bool TSelectFolderDialog::Run() {
    if (running_) throw std::runtime_error("TSelectFolderDialog already executing");
    running_ = true;
    const win::ScopeExit clear([this] { running_ = false; });
    widgets::WaitCursor wait;
    // The folders on the way to the chosen one are read while the window is
    // being built.
    auto prefetch = std::make_shared<ShellLevelPrefetch>(
        BaseFolder.IdList(), ChosenFolder.IdList(),
        TShellTree::ListingFlags(TSelectFolderForm::TreeOptionsFor(Options, 0)));
    TSelectFolderForm window;
    const widgets::Form* main = widgets::Form::MainForm();
    window.CreateHandle(main ? main->Handle() : GetActiveWindow());
    window.ShellTree.UsePrefetch(std::move(prefetch));
    PrepareWindow(window);
    if (OnInitialized) OnInitialized(this);
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    const int result = window.ShowModal();
    if (window.OnFormClose) window.OnFormClose(&window);
    RecordWindowState(window);
    return result == IDOK;
}

void TSelectFolderDialog::PrepareWindow(TSelectFolderForm& window) {
    window.OnSelChange = OnSelChange;
    window.OnFormShow = OnFormShow;
    window.OnFormClose = OnFormClose;
    window.ShellTree.OnAddItem = OnAddItem;
    const SIZE designed = window.OuterSize();
    const int width = FormWidth > 0 ? FormWidth : designed.cx;
    const int height = FormHeight > 0 ? FormHeight : designed.cy;
    SetWindowPos(window.Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    window.CenterOnScreen();
    window.SetShowState(FormWindowState == TWindowState::wsMaximized   ? SW_SHOWMAXIMIZED
                        : FormWindowState == TWindowState::wsMinimized ? SW_SHOWMINIMIZED
                                                                       : SW_SHOWNORMAL);
    window.ApplyOptions(Options);
    if (!Title.empty()) {
        window.SetCaption(Title);
    } else {
        window.SetCaption(widgets::LoadText(IDS_PICKER_CAPTION));
    }
    window.ShellTree.BaseFolder.Assign(BaseFolder);
    window.ShellTree.CurrentFolder.Assign(ChosenFolder);
}

void TSelectFolderDialog::RecordWindowState(TSelectFolderForm& window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window.Handle(), &placement);
    FormWidth = placement.rcNormalPosition.right - placement.rcNormalPosition.left;
    FormHeight = placement.rcNormalPosition.bottom - placement.rcNormalPosition.top;
    FormWindowState = IsZoomed(window.Handle())   ? TWindowState::wsMaximized
                      : IsIconic(window.Handle()) ? TWindowState::wsMinimized
                                                  : TWindowState::wsNormal;
    if (window.ModalResult() == IDOK) ChosenFolder.Assign(window.ShellTree.CurrentFolder);
}

}  // namespace quenmar
