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
    if (running_) throw std::runtime_error(TextOf(IDS_PICKER_ALREADY_OPEN));
    running_ = true;
    const win::ScopeExit clear([this] { running_ = false; });
    widgets::WaitCursor wait;
    // The folders on the way to the chosen one are read while the window is
    // being built.
    auto prefetch = std::make_shared<ShellLevelPrefetch>(
        pidl::Empty(), chosen_.IdList(), ShellFolderTree::ListingFlags());
    FolderPickerWindow window(Icon, SmallIcon);
    window.CreateHandle(owner);
    window.Tree().UsePrefetch(std::move(prefetch));
    PrepareWindow(window);
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    const int result = window.ShowModal();
    RecordWindowState(window);
    return result == IDOK;
}

void FolderPicker::PrepareWindow(FolderPickerWindow& window) {
    const SIZE designed = window.OuterSize();
    const int width = width_ > 0 ? width_ : designed.cx;
    const int height = height_ > 0 ? height_ : designed.cy;
    SetWindowPos(window.Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    window.CenterOnScreen();
    window.SetShowState(showState_);
    window.ApplyOptions(Options);
    window.SetCaption(Title.empty() ? TextOf(IDS_PICKER_CAPTION) : Title);
    window.Tree().CurrentFolder.Assign(chosen_);
}

void FolderPicker::RecordWindowState(FolderPickerWindow& window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window.Handle(), &placement);
    width_ = placement.rcNormalPosition.right - placement.rcNormalPosition.left;
    height_ = placement.rcNormalPosition.bottom - placement.rcNormalPosition.top;
    showState_ = IsZoomed(window.Handle()) ? SW_SHOWMAXIMIZED : IsIconic(window.Handle()) ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    if (window.ModalResult() == IDOK) chosen_.Assign(window.Tree().CurrentFolder);
}

}  // namespace quenmar
