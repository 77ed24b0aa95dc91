// The folder tree's commands: shell verbs, the context menu, new folders and
// renaming.
#include "folderpicker/ShellFolderTree.h"

#include <dbt.h>

#include <algorithm>

#include "folderpicker/FolderPickerResources.h"
#include "folderpicker/ShellFolderTreeNode.h"
#include "places/PathText.h"
#include "widgets/MessageBoxes.h"
#include "widgets/Resources.h"
#include "widgets/WaitCursor.h"
#include "win32/SystemMessage.h"
#include "win32/WideText.h"

namespace quenmar {

namespace {

// The shell's commands in our popup menus are numbered from here.
constexpr UINT kFirstMenuCommand = 1000;

// The verb of one of a context menu's commands; empty for ours and for those
// without one.
std::wstring VerbOf(IContextMenu* menu, UINT command) {
    wchar_t verb[128] = {};
    if (command < kFirstMenuCommand ||
        FAILED(menu->GetCommandString(command - kFirstMenuCommand, GCS_VERBW, nullptr, reinterpret_cast<char*>(verb),
                                      static_cast<UINT>(std::size(verb))))) {
        return {};
    }
    return verb;
}

void InvokeMenuCommand(IContextMenu* menu, HWND owner, UINT command) {
    CMINVOKECOMMANDINFO invoke{};
    invoke.cbSize = sizeof invoke;
    invoke.hwnd = owner;
    invoke.lpVerb = MAKEINTRESOURCEA(command - kFirstMenuCommand);
    invoke.nShow = SW_SHOWNORMAL;
    menu->InvokeCommand(&invoke);
}

}  // namespace

// Commands -------------------------------------------------------------------

// The shell's context menu of a node, in a popup menu of ours. The root has
// none (false); a shell that gives none raises its error, whichever command
// asked for it.
bool ShellFolderTree::FillContextMenu(Node node, UINT flags, win::ComPtr<IContextMenu>& menu, win::UniqueMenu& popup) {
    const Node parent = Parent(node);
    if (!node || !parent) return false;
    win::ComPtr<IShellFolder> folder;
    if (!BindFolder(parent, folder)) win::ThrowShellError(E_FAIL);
    LPCITEMIDLIST item = Data(node)->relative.get();
    const HRESULT result =
        folder->GetUIObjectOf(GetAncestor(hwnd_, GA_ROOT), 1, &item, IID_IContextMenu, nullptr, menu.put_void());
    if (FAILED(result)) win::ThrowShellError(result);
    popup.reset(CreatePopupMenu());
    menu->QueryContextMenu(popup.get(), 0, kFirstMenuCommand, 0x7FFF, flags);
    return true;
}

void ShellFolderTree::RunShellVerb(Node node, const std::string& verb) {
    win::ComPtr<IContextMenu> menu;
    win::UniqueMenu popup;
    if (!FillContextMenu(node, CMF_EXPLORE, menu, popup)) return;
    const std::wstring wanted = win::Wide(verb);
    for (int i = 0, count = GetMenuItemCount(popup.get()); i < count; ++i) {
        const UINT id = GetMenuItemID(popup.get(), i);
        if (id == static_cast<UINT>(-1) || lstrcmpiW(VerbOf(menu.get(), id).c_str(), wanted.c_str()) != 0) continue;
        InvokeMenuCommand(menu.get(), GetAncestor(hwnd_, GA_ROOT), id);
        return RefreshTree();
    }
}

void ShellFolderTree::ShowContextMenu(Node node, POINT screen) {
    win::ComPtr<IContextMenu> menu;
    win::UniqueMenu popup;
    if (!FillContextMenu(node, CMF_EXPLORE | CMF_CANRENAME, menu, popup)) return;
    const HWND owner = GetAncestor(hwnd_, GA_ROOT);
    const UINT chosen = TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
    if (chosen < kFirstMenuCommand) return;
    if (lstrcmpiW(VerbOf(menu.get(), chosen).c_str(), L"rename") == 0) {
        EditLabel(node);
        return;
    }
    InvokeMenuCommand(menu.get(), owner, chosen);
    RefreshTree();
}

namespace {

// "Cannot create the folder", with the system's reason and the name.
void WarnCreateFailed(HWND owner, const std::string& name, DWORD error) {
    const std::wstring format = win::Wide(TextOf(IDS_CREATE_FOLDER_FAILED));
    const std::wstring message = win::Wide(win::SystemMessage(error)), wideName = win::Wide(name);
    const DWORD_PTR arguments[] = {reinterpret_cast<DWORD_PTR>(message.c_str()),
                                   reinterpret_cast<DWORD_PTR>(wideName.c_str())};
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                   format.c_str(), 0, 0, reinterpret_cast<wchar_t*>(&text), 0,
                   reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(arguments)));
    std::wstring shown = text ? text : format;
    if (text) LocalFree(text);
    // The formatter may turn line feeds into CR LF pairs; the text keeps bare line feeds.
    shown.erase(std::remove(shown.begin(), shown.end(), L'\r'), shown.end());
    widgets::ShowMessage(owner, win::Utf8(shown), TextOf(IDS_WARNING), MB_ICONWARNING);
}

// Makes the first free folder of a naming scheme ("New Folder", "New Folder
// (2)", ... fifty names) in dir; only "already exists" moves on to the next
// name. Its name; empty when none was made, the failure told.
std::string CreateNumberedFolder(HWND owner, const std::string& dir, UINT baseId, UINT numberId) {
    const std::string base = TextOf(baseId);
    const std::wstring numbered = win::Wide(TextOf(numberId));
    for (int i = 1; i <= 50; ++i) {
        std::string name = base;
        if (i > 1) {
            wchar_t suffix[32] = {};
            wsprintfW(suffix, numbered.c_str(), i);
            name += win::Utf8(suffix);
        }
        if (CreateDirectoryW(win::Wide(dir + name).c_str(), nullptr)) return name;
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS) {
            WarnCreateFailed(owner, name, error);
            return {};
        }
    }
    return {};
}

}  // namespace

void ShellFolderTree::MakeSubfolder() {
    const Node selected = Selected();
    std::string dir = selected ? NodePath(selected) : std::string();
    if (dir.empty()) {
        wchar_t current[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, current);
        dir = win::Utf8(current);
    }
    dir = AddTrailingBackslash(dir);

    const HWND owner = GetAncestor(hwnd_, GA_ROOT);
    std::string created = CreateNumberedFolder(owner, dir, IDS_NEW_FOLDER, IDS_NEW_FOLDER_NUMBER);
    if (created.empty()) created = CreateNumberedFolder(owner, dir, IDS_NEW_FOLDER_SHORT, IDS_NEW_FOLDER_SHORT_NUMBER);
    if (created.empty()) {
        WarnCreateFailed(owner, TextOf(IDS_NEW_FOLDER), ERROR_ALREADY_EXISTS);
        return;
    }
    {
        // The shell may list a new folder only a moment after it is made, the
        // Desktop (which merges several folders) later still: the tree is read
        // again after a fixed pause, taken here, under the hourglass, so that
        // nothing acts on the tree in between.
        widgets::WaitCursor wait;
        Sleep(CreatePause(CurrentFolder.IsNone()));
    }
    RefreshTree();
    EditNewFolder(created);
}

void ShellFolderTree::EditNewFolder(const std::string& name) {
    const Node parent = Selected();
    if (!parent) return;
    ListChildren(parent);
    Expand(parent);
    // Among what the refresh added, or in the whole level when it was
    // listed only now.
    Node found = nullptr;
    for (Node added : added_) {
        if (Parent(added) == parent && Label(added) == name) found = added;
    }
    if (!found) {
        for (Node child : Children(parent)) {
            if (Label(child) == name) {
                found = child;
                break;
            }
        }
    }
    if (found) EditLabel(found);
}

bool ShellFolderTree::EndLabelEdit(NMTVDISPINFOW& info) {
    // An edit ends once. Wine's tree reports the end again when the hidden
    // editor loses the focus, with the text as it stands: after Esc that
    // would undo the cancel.
    if (editEnded_) return false;
    editEnded_ = true;
    if (!info.item.pszText) return false;
    const Node node = info.item.hItem;
    const Node parent = Parent(node);
    NodeData* data = Data(node);
    if (!parent || !data) return false;
    std::string typed = win::Utf8(info.item.pszText);
    const size_t first = typed.find_first_not_of(' ');
    typed = first == std::string::npos ? std::string() : typed.substr(first, typed.find_last_not_of(' ') - first + 1);
    win::ComPtr<IShellFolder> folder;
    if (typed.empty() || !BindFolder(parent, folder)) return false;
    const std::wstring wide = win::Wide(typed);
    win::UniquePidl renamed;
    const HWND owner = GetAncestor(hwnd_, GA_ROOT);
    if (FAILED(folder->SetNameOf(owner, data->relative.get(), wide.c_str(), SHGDN_INFOLDER, renamed.put())) ||
        !renamed) {
        return false;
    }
    data->relative = std::move(renamed);
    data->absolute = pidl::Append(Data(parent)->absolute.get(), data->relative.get());
    data->path.reset();
    data->folder.reset();
    const std::string label = pidl::DisplayName(folder.get(), data->relative.get(), SHGDN_INFOLDER | SHGDN_NORMAL);
    TVITEMW update{};
    update.mask = TVIF_TEXT | TVIF_HANDLE;
    update.hItem = node;
    std::wstring text = win::Wide(label);
    update.pszText = text.data();
    SendMessageW(hwnd_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&update));
    SortChildren(parent);
    // The renamed folder is what the tree shows selected, with its path and
    // commands, and so what it returns: a new folder named just now among them.
    if (Selected() == node) {
        OnSelectionChanged(node);
    } else {
        SelectNode(node);
    }
    return false;  // the label was set above, as the shell names the item
}

void ShellFolderTree::DeviceChanged(WPARAM event, LPARAM data) {
    const auto* header = reinterpret_cast<DEV_BROADCAST_HDR*>(data);
    if ((event == DBT_DEVICEARRIVAL || event == DBT_DEVICEREMOVECOMPLETE) && header &&
        header->dbch_devicetype == DBT_DEVTYP_VOLUME && Root()) {
        RefreshTree();
    }
}

}  // namespace quenmar
