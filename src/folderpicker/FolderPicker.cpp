#include "folderpicker/FolderPicker.h"

#include <memory>
#include <stdexcept>

#include "folderpicker/FolderPickerResources.h"
#include "widgets/Application.h"
#include "widgets/Resources.h"
#include "widgets/WaitCursor.h"
#include "win32/Handles.h"

namespace quenmar {

bool FolderPicker::Run(HWND owner) {
    if (running_) throw std::runtime_error(kAlreadyOpenError);
    running_ = true;
    const win::ScopeExit clear([this] { running_ = false; });
    widgets::WaitCursor wait;
    // The folders on the way to the chosen one are read while the window is
    // being built.
    auto prefetch = std::make_shared<ShellLevelPrefetch>(
        BaseFolder.IdList(), ChosenFolder.IdList(),
        ShellFolderTree::ListingFlags(FolderPickerWindow::TreeOptionsFor(Options, 0)));
    FolderPickerWindow window;
    window.CreateHandle(owner);
    window.ShellTree.UsePrefetch(std::move(prefetch));
    PrepareWindow(window);
    if (OnInitialized) OnInitialized(this);
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    const int result = window.ShowModal();
    if (window.OnFormClose) window.OnFormClose(&window);
    RecordWindowState(window);
    return result == IDOK;
}

void FolderPicker::PrepareWindow(FolderPickerWindow& window) {
    window.OnSelChange = OnSelChange;
    window.OnFormShow = OnFormShow;
    window.OnFormClose = OnFormClose;
    window.ShellTree.OnAddItem = OnAddItem;
    const SIZE designed = window.OuterSize();
    const int width = FormWidth > 0 ? FormWidth : designed.cx;
    const int height = FormHeight > 0 ? FormHeight : designed.cy;
    SetWindowPos(window.Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    window.CenterOnScreen();
    window.SetShowState(FormWindowState == WindowState::wsMaximized   ? SW_SHOWMAXIMIZED
                        : FormWindowState == WindowState::wsMinimized ? SW_SHOWMINIMIZED
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

void FolderPicker::RecordWindowState(FolderPickerWindow& window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window.Handle(), &placement);
    FormWidth = placement.rcNormalPosition.right - placement.rcNormalPosition.left;
    FormHeight = placement.rcNormalPosition.bottom - placement.rcNormalPosition.top;
    FormWindowState = IsZoomed(window.Handle())   ? WindowState::wsMaximized
                      : IsIconic(window.Handle()) ? WindowState::wsMinimized
                                                  : WindowState::wsNormal;
    if (window.ModalResult() == IDOK) ChosenFolder.Assign(window.ShellTree.CurrentFolder);
}

}  // namespace quenmar
