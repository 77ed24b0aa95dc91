#include "dragdrop/zelDragFromShell.h"

#include <shellapi.h>

#include <mutex>
#include <stdexcept>
#include <unordered_map>

#include "places/PathText.h"
#include "widgets/Application.h"
#include "win32/AnsiText.h"

namespace quenmar {

namespace {

// The receiver of each hooked window. A table of this process rather than a
// window property: the procedure looks it up for every message the window
// gets, and a property lookup can be a round trip to the window server.
std::mutex receiversLock;

std::unordered_map<HWND, TzelDragFromShell*>& Receivers() {
    static std::unordered_map<HWND, TzelDragFromShell*> receivers;
    return receivers;
}

TzelDragFromShell* ReceiverOf(HWND window) {
    std::lock_guard<std::mutex> lock(receiversLock);
    const auto found = Receivers().find(window);
    return found != Receivers().end() ? found->second : nullptr;
}

void SetReceiver(HWND window, TzelDragFromShell* receiver) {
    std::lock_guard<std::mutex> lock(receiversLock);
    Receivers()[window] = receiver;
}

// Only its own entry: the handle may since name another window.
void ForgetReceiver(HWND window, TzelDragFromShell* receiver) {
    std::lock_guard<std::mutex> lock(receiversLock);
    const auto found = Receivers().find(window);
    if (found != Receivers().end() && found->second == receiver) Receivers().erase(found);
}

// The shell's drop handle, released however the handling ends.
class DropHandle {
public:
    explicit DropHandle(HDROP drop) : drop_(drop) {}
    ~DropHandle() { DragFinish(drop_); }
    DropHandle(const DropHandle&) = delete;
    DropHandle& operator=(const DropHandle&) = delete;

private:
    HDROP drop_;
};

}  // namespace

TzelDragFromShell::TzelDragFromShell(widgets::Component* owner) {
    const HWND window = owner ? owner->OwnWindow() : nullptr;
    if (!window) throw std::invalid_argument(kOwnerError);
    ownerWindow_ = window;
    DragAcceptFiles(ownerWindow_, TRUE);
    previousWindowProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(ownerWindow_, GWLP_WNDPROC));
    SetReceiver(ownerWindow_, this);
    SetWindowLongPtrA(ownerWindow_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OwnerWindowProc));
}

TzelDragFromShell::~TzelDragFromShell() {
    droppedNames_.clear();
    if (IsWindow(ownerWindow_)) {
        SetWindowLongPtrA(ownerWindow_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousWindowProc_));
    }
    ForgetReceiver(ownerWindow_, this);
}

LRESULT CALLBACK TzelDragFromShell::OwnerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = ReceiverOf(window);
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    if (message != WM_DROPFILES) {
        return CallWindowProcA(self->previousWindowProc_, window, message, wParam, lParam);
    }
    const auto drop = reinterpret_cast<HDROP>(wParam);
    widgets::Application::Instance().Guard(window, [&] { self->HandleDrop(drop); });
    return 0;
}

void TzelDragFromShell::HandleDrop(HDROP drop) {
    DropHandle release(drop);
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    droppedNames_.clear();
    SkippedNames skipped;
    std::wstring wide;
    for (UINT index = 0; index < count; ++index) {
        // Each name is read whole: a name cut short could name another folder.
        const UINT length = DragQueryFileW(drop, index, nullptr, 0);
        wide.assign(length + 1, L'\0');
        const UINT copied = DragQueryFileW(drop, index, wide.data(), length + 1);
        wide.resize(copied);
        const auto name = win::WideToAnsi(wide);
        if (!name) {
            ++skipped.unrepresentable;
            continue;
        }
        const std::string trimmed = TrimControlsAndBlanks(*name);
        if (trimmed.size() >= MAX_PATH) {
            ++skipped.tooLong;
            continue;
        }
        AddDroppedName(trimmed);
    }
    if (!skipped.empty() && OnShellDragDropSkipped) OnShellDragDropSkipped(*this, skipped);
    if (OnShellDragDropDone) OnShellDragDropDone(*this);
}

void TzelDragFromShell::AddDroppedName(const std::string& name) {
    const std::string folder = DirectoryPart(name, win::SystemLeadByte);
    const std::string filename = name.substr(folder.size());
    droppedNames_.push_back(name);
    if (OnShellDragDrop) OnShellDragDrop(*this, folder, filename, name);
}

}  // namespace quenmar
