#include "folderpicker/ShellDialogs.h"

#include <stdexcept>

#include "folderpicker/FolderPickerResources.h"
#include "widgets/Application.h"
#include "widgets/Resources.h"
#include "widgets/WaitCursor.h"
#include "win32/Handles.h"

namespace quenmar {

bool TShellDialog::Run() {
    if (running_) throw std::runtime_error(std::string(ClassName()) + " already executing");
    running_ = true;
    const win::ScopeExit clear([this] { running_ = false; });
    return DoRun();
}

void TShellDialog::NotifyInitialized() {
    if (OnInitialized) OnInitialized(this);
}

TCustomSelectFolderDialog::TCustomSelectFolderDialog() = default;

bool TCustomSelectFolderDialog::DoRun() {
    widgets::WaitCursor wait;
    std::unique_ptr<TSelectFolderForm> window;
    // The folders on the way to the chosen one are read while the window is
    // being built.
    auto prefetch = std::make_shared<ShellLevelPrefetch>(
        BaseFolder.IdList(), ChosenFolder.IdList(),
        TShellTree::ListingFlags(TSelectFolderForm::TreeOptionsFor(Options, 0)));
    window = MakeWindow();
    window->ShellTree.UsePrefetch(std::move(prefetch));
    PrepareWindow(*window);
    NotifyInitialized();
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    const int result = window->ShowModal();
    if (window->OnFormClose) window->OnFormClose(window.get());
    RecordWindowState(*window);
    return result == IDOK;
}

std::unique_ptr<TSelectFolderForm> TCustomSelectFolderDialog::MakeWindow() {
    auto window = std::make_unique<TSelectFolderForm>();
    const widgets::Form* main = widgets::Form::MainForm();
    HWND owner = main ? main->Handle() : GetActiveWindow();
    window->CreateHandle(owner);
    return window;
}

void TCustomSelectFolderDialog::PrepareWindow(TSelectFolderForm& window) {
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

void TCustomSelectFolderDialog::RecordWindowState(TSelectFolderForm& window) {
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
