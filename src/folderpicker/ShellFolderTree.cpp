#include "folderpicker/ShellFolderTree.h"

#include "folderpicker/ShellFolderTreeNode.h"

#include <dbt.h>
#include <shlwapi.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "folderpicker/FolderFacts.h"
#include "folderpicker/FolderPickerResources.h"
#include "places/PathText.h"
#include "widgets/Form.h"
#include "widgets/Resources.h"
#include "widgets/WaitCursor.h"
#include "win32/SystemMessage.h"
#include "win32/Waiting.h"
#include "win32/WideText.h"
#include "win32/Win32ShellLookups.h"

namespace quenmar {

ShellFolderTree::ShellFolderTree() : ShellFolderTree(0) {}

ShellFolderTree::ShellFolderTree(int id) : Control(id) {
    CurrentFolder.OnChange = [this] {
        if (!selecting_ && hwnd_ && Root()) SelectItem(CurrentFolder.IdList(), true);
    };
}

ShellFolderTree::~ShellFolderTree() {
    CurrentFolder.OnChange = nullptr;
}

void ShellFolderTree::Create(widgets::Form& form, widgets::Bounds bounds, widgets::Anchors anchors) {
    CreateAs(form, WC_TREEVIEWW, "", WS_TABSTOP | WS_GROUP | TVS_HASLINES | TVS_HASBUTTONS | TVS_SHOWSELALWAYS,
             WS_EX_CLIENTEDGE, bounds, anchors);
    int folder = 0;
    const HIMAGELIST list = win::FolderIconByAttributes(IconSize::Small, folder);
    SendMessageW(hwnd_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
    ApplyStyle();
}

void ShellFolderTree::ApplyStyle() {
    if (!hwnd_) return;
    LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
    style = showRoot_ ? (style | TVS_LINESATROOT) : (style & ~TVS_LINESATROOT);
    style |= TVS_EDITLABELS;
    SetWindowLongW(hwnd_, GWL_STYLE, style);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void ShellFolderTree::SetShowRoot(bool show) {
    showRoot_ = show;
    ApplyStyle();
}

// Nodes ----------------------------------------------------------------------

ShellFolderTree::NodeData* ShellFolderTree::Data(Node node) const {
    if (!node) return nullptr;
    TVITEMW item{};
    item.mask = TVIF_PARAM | TVIF_HANDLE;
    item.hItem = node;
    if (!SendMessageW(hwnd_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
    return reinterpret_cast<NodeData*>(item.lParam);
}

ShellFolderTree::Node ShellFolderTree::Root() const {
    return reinterpret_cast<Node>(SendMessageW(hwnd_, TVM_GETNEXTITEM, TVGN_ROOT, 0));
}
ShellFolderTree::Node ShellFolderTree::Selected() const {
    return reinterpret_cast<Node>(SendMessageW(hwnd_, TVM_GETNEXTITEM, TVGN_CARET, 0));
}
ShellFolderTree::Node ShellFolderTree::Parent(Node node) const {
    return reinterpret_cast<Node>(SendMessageW(hwnd_, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(node)));
}

std::vector<ShellFolderTree::Node> ShellFolderTree::Children(Node node) const {
    std::vector<Node> children;
    for (auto child = reinterpret_cast<Node>(
             SendMessageW(hwnd_, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(node)));
         child; child = reinterpret_cast<Node>(
                    SendMessageW(hwnd_, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)))) {
        children.push_back(child);
    }
    return children;
}

std::string ShellFolderTree::Label(Node node) const {
    wchar_t text[MAX_PATH * 2] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = node;
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    SendMessageW(hwnd_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return win::Utf8(text);
}

void ShellFolderTree::Expand(Node node) {
    SendMessageW(hwnd_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
}

void ShellFolderTree::SelectNode(Node node) {
    SendMessageW(hwnd_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
}

HWND ShellFolderTree::EditLabel(Node node) {
    SetFocus(hwnd_);
    return reinterpret_cast<HWND>(SendMessageW(hwnd_, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(node)));
}

std::string ShellFolderTree::NodePath(Node node) const {
    const NodeData* data = Data(node);
    return data ? win::Utf8(pidl::FileSystemPath(data->absolute.get())) : std::string();
}

LPCITEMIDLIST ShellFolderTree::NodeIdList(Node node) const {
    const NodeData* data = Data(node);
    return data ? data->absolute.get() : nullptr;
}

const std::wstring& ShellFolderTree::NodeFileSystemPath(Node node) {
    NodeData* data = Data(node);
    static const std::wstring none;
    if (!data) return none;
    if (!data->path) data->path = pidl::FileSystemPath(data->absolute.get());
    return *data->path;
}

const std::wstring& ShellFolderTree::ChildPath(Node parent, IShellFolder* parentFolder, NodeData* child) {
    if (child->path) return *child->path;
    child->path = pidl::ChildPath(NodeFileSystemPath(parent), parentFolder, child->relative.get());
    // A drive below My Computer, for example, is no name in a parent's
    // path: its own is asked for.
    if (child->path->empty()) child->path = pidl::FileSystemPath(child->absolute.get());
    return *child->path;
}

bool ShellFolderTree::PlainFolder(NodeData* data, const std::wstring& path) {
    DiskFact fact;
    const bool unknown = data->subfolders == Subfolders::Unknown;
    if (const auto known = diskFacts_.find(path); known != diskFacts_.end()) {
        fact = known->second;
    } else {
        win::NoCriticalErrorBoxes quiet;
        fact = ReadDiskFact(path, true, false, unknown);
    }
    if (fact.plain && unknown) data->subfolders = fact.subfolders;
    return fact.plain;
}

ShellFolderTree::Node ShellFolderTree::InsertNode(Node parent, Node after, LPCITEMIDLIST absolute, LPCITEMIDLIST relative,
                                         ULONG attributes, const std::string& label, NodeData** inserted) {
    auto data = std::make_unique<NodeData>();
    data->absolute = pidl::Clone(absolute);
    data->relative = pidl::Clone(relative);
    data->attributes = attributes;
    const bool container = (attributes & SFGAO_FOLDER) || !relative;
    if (!container) data->subfolders = Subfolders::None;
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    std::wstring text = win::Wide(label);
    insert.item.pszText = text.data();
    insert.item.iImage = I_IMAGECALLBACK;
    insert.item.iSelectedImage = I_IMAGECALLBACK;
    insert.item.cChildren = container ? I_CHILDRENCALLBACK : 0;
    insert.item.lParam = reinterpret_cast<LPARAM>(data.get());
    const auto node = reinterpret_cast<Node>(SendMessageW(hwnd_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (inserted) *inserted = node ? data.get() : nullptr;
    if (node) data.release();
    return node;
}

bool ShellFolderTree::BindFolder(Node node, win::ComPtr<IShellFolder>& folder) const {
    NodeData* data = Data(node);
    if (!data) return false;
    if (!data->folder) {
        win::ComPtr<IShellFolder> desktop;
        if (FAILED(SHGetDesktopFolder(desktop.put()))) return false;
        if (pidl::IsEmpty(data->absolute.get())) {
            data->folder = std::move(desktop);
        } else if (FAILED(desktop->BindToObject(data->absolute.get(), nullptr, IID_IShellFolder,
                                                data->folder.put_void()))) {
            return false;
        }
    }
    data->folder->AddRef();
    *folder.put() = data->folder.get();
    return true;
}

SHCONTF ShellFolderTree::ListingFlags() { return SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN; }

void ShellFolderTree::UsePrefetch(std::shared_ptr<ShellLevelPrefetch> prefetch) { prefetch_ = std::move(prefetch); }

std::vector<ShellFolderTree::Listed> ShellFolderTree::Enumerate(Node node, IShellFolder* folder) {
    std::vector<Listed> items;
    const NodeData* parent = Data(node);
    const SHCONTF flags = ListingFlags();
    if (!prefetch_ || !prefetch_->Take(parent->absolute.get(), flags, items)) {
        win::NoCriticalErrorBoxes quiet;
        ReadShellLevel(folder, GetAncestor(hwnd_, GA_ROOT), flags, items);
    }
    // The listing rule on what was read: folders of the file system (or
    // holding some).
    std::vector<Listed> kept;
    kept.reserve(items.size());
    for (Listed& item : items) {
        if (!(item.attributes & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR))) continue;
        if (!(item.attributes & SFGAO_FOLDER)) continue;
        kept.push_back(std::move(item));
    }
    return kept;
}

void ShellFolderTree::ListChildren(Node node) { ListChildren(node, nullptr); }

void ShellFolderTree::ListChildren(Node node, std::vector<Child>* listed) {
    if (listed) listed->clear();
    NodeData* data = Data(node);
    if (!data || data->listed) return;
    widgets::WaitCursor wait;
    data->listed = true;
    win::ComPtr<IShellFolder> folder;
    std::vector<Listed> items;
    if (BindFolder(node, folder)) items = Enumerate(node, folder.get());
    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    for (const Listed& item : items) {
        const win::UniquePidl absolute = pidl::Append(data->absolute.get(), item.relative.get());
        NodeData* childData = nullptr;
        const Node child = InsertNode(node, TVI_LAST, absolute.get(), item.relative.get(), item.attributes,
                                      item.label, &childData);
        if (child && listed) listed->push_back({child, childData});
    }
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    SetSubfolders(node, data, items.empty() ? Subfolders::None : Subfolders::Some);
}

void ShellFolderTree::SetSubfolders(Node node, NodeData* data, Subfolders subfolders) {
    data->subfolders = subfolders;
    TVITEMW update{};
    update.mask = TVIF_CHILDREN | TVIF_HANDLE;
    update.hItem = node;
    // Unknown: asked again when the node is next drawn.
    update.cChildren = subfolders == Subfolders::Unknown ? I_CHILDRENCALLBACK : subfolders == Subfolders::Some;
    SendMessageW(hwnd_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&update));
}

ShellFolderTree::Node ShellFolderTree::FindChild(Node parent, IShellFolder* folder, LPCITEMIDLIST relative,
                                        const std::vector<Child>& listed) {
    // The children just listed, when there are: asking the tree for each of
    // thousands of nodes costs far more than the comparisons.
    std::vector<Child> asked;
    if (listed.empty()) {
        for (Node child : Children(parent)) asked.push_back({child, Data(child)});
    }
    const std::vector<Child>& children = listed.empty() ? asked : listed;
    // A child the folder cannot compare is taken as not the one looked for.
    auto compare = [&](const Child& child) {
        return child.data ? pidl::Compare(folder, child.data->relative.get(), relative).value_or(1) : 1;
    };
    // Levels are in the shell's order: look where the item belongs first.
    size_t low = 0, high = children.size();
    while (low < high) {
        const size_t middle = (low + high) / 2;
        const int order = compare(children[middle]);
        if (order == 0) return children[middle].node;
        if (order < 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    for (const Child& child : children) {
        if (compare(child) == 0) return child.node;
    }
    return nullptr;
}

int CALLBACK ShellFolderTree::CompareNodes(LPARAM a, LPARAM b, LPARAM folder) {
    // Nodes the folder cannot compare stay where they are.
    return pidl::Compare(reinterpret_cast<IShellFolder*>(folder), reinterpret_cast<NodeData*>(a)->relative.get(),
                         reinterpret_cast<NodeData*>(b)->relative.get())
        .value_or(0);
}

void ShellFolderTree::SortChildren(Node node) {
    win::ComPtr<IShellFolder> folder;
    if (!BindFolder(node, folder)) return;
    TVSORTCB sort{};
    sort.hParent = node;
    sort.lParam = reinterpret_cast<LPARAM>(folder.get());
    sort.lpfnCompare = CompareNodes;
    SendMessageW(hwnd_, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

// Filling, selecting, refreshing ---------------------------------------------

std::string ShellFolderTree::RootLabel(LPCITEMIDLIST root) {
    win::ComPtr<IShellFolder> desktop;
    HRESULT result = SHGetDesktopFolder(desktop.put());
    if (SUCCEEDED(result) && pidl::IsEmpty(root)) {
        SHFILEINFOW info{};
        SHGetFileInfoW(reinterpret_cast<LPCWSTR>(root), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_DISPLAYNAME);
        return win::Utf8(info.szDisplayName);
    }
    win::ComPtr<IShellFolder> check;
    if (SUCCEEDED(result)) result = desktop->BindToObject(root, nullptr, IID_IShellFolder, check.put_void());
    if (FAILED(result)) win::ThrowShellError(result);
    return pidl::DisplayName(desktop.get(), root, SHGDN_NORMAL);
}

void ShellFolderTree::FillTree() {
    widgets::WaitCursor wait;
    Node root = nullptr;
    {
        const win::RaisedFlag filling(quiet_);
        diskFacts_.clear();
        SendMessageW(hwnd_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        root = InsertNode(TVI_ROOT, TVI_LAST, pidl::Empty(), nullptr, SFGAO_FOLDER, RootLabel(pidl::Empty()));
        ListChildren(root);
        Expand(root);
    }
    if (!CurrentFolder.IsNone()) {
        SelectItem(CurrentFolder.IdList(), true);
    } else if (Selected() == root) {
        OnSelectionChanged(root);
    } else {
        SelectNode(root);
    }
    // What the prefetch has read of the folders about to be drawn; what the
    // fill did not take is out of date from now on.
    if (prefetch_) diskFacts_ = prefetch_->TakeFacts(ListingFlags());
    prefetch_.reset();
}

void ShellFolderTree::SelectItem(LPCITEMIDLIST target, bool addMissing) {
    const Node root = Root();
    if (!root) return;
    const NodeData* rootData = Data(root);
    Node node = root;
    if (!pidl::IsEmpty(target)) {
        LPCITEMIDLIST rest = pidl::BelowRoot(target, rootData->absolute.get());
        while (!pidl::IsEmpty(rest)) {
            std::vector<Child> listed;
            ListChildren(node, &listed);
            win::ComPtr<IShellFolder> folder;
            if (!BindFolder(node, folder)) break;
            const win::UniquePidl first = pidl::CloneFirst(rest);
            Node child = FindChild(node, folder.get(), first.get(), listed);
            if (!child && addMissing) {
                ULONG attributes = SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR;
                LPCITEMIDLIST one = first.get();
                if (SUCCEEDED(folder->GetAttributesOf(1, &one, &attributes))) {
                    const win::UniquePidl absolute = pidl::Append(Data(node)->absolute.get(), first.get());
                    child = InsertNode(node, TVI_LAST, absolute.get(), first.get(), attributes,
                                       pidl::DisplayName(folder.get(), first.get(), SHGDN_INFOLDER | SHGDN_NORMAL));
                    SortChildren(node);
                }
            }
            if (!child) {
                if (addMissing) MessageBeep(static_cast<UINT>(-1));
                break;
            }
            Expand(node);
            node = child;
            rest = pidl::Next(rest);
        }
    }
    SelectNode(node);
    SendMessageW(hwnd_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
}

void ShellFolderTree::RefreshNode(Node node) {
    NodeData* data = Data(node);
    if (!data) return;
    diskFacts_.clear();
    // The nodes kept from before: only they can have children of their own
    // or an expand button to ask about again; new nodes are asked when drawn.
    std::vector<Child> kept;
    if (data->listed) {
        win::ComPtr<IShellFolder> folder;
        if (!BindFolder(node, folder)) return;
        std::vector<Listed> items = Enumerate(node, folder.get());
        // The nodes and the new listing are both in the folder's order: one
        // pass keeps the nodes still listed, deletes the others and puts each
        // new item after the node before it.
        const std::vector<Node> children = Children(node);
        size_t next = 0;
        Node previous = TVI_FIRST;
        for (const Listed& item : items) {
            int order = 1;
            NodeData* child = nullptr;
            while (next < children.size()) {
                child = Data(children[next]);
                // A node the folder cannot compare is taken as after the item.
                order = pidl::Compare(folder.get(), child->relative.get(), item.relative.get()).value_or(1);
                if (order >= 0) break;
                SendMessageW(hwnd_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(children[next++]));
            }
            if (next < children.size() && order == 0) {
                kept.push_back({children[next], child});
                previous = children[next++];
                continue;
            }
            const win::UniquePidl absolute = pidl::Append(data->absolute.get(), item.relative.get());
            if (const Node added = InsertNode(node, previous, absolute.get(), item.relative.get(), item.attributes,
                                              item.label)) {
                previous = added;
                added_.push_back(added);
            }
        }
        for (; next < children.size(); ++next) {
            SendMessageW(hwnd_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(children[next]));
        }
        SetSubfolders(node, data, items.empty() ? Subfolders::None : Subfolders::Some);
    } else {
        // Shown without children: asked again when it is next drawn.
        if (data->subfolders == Subfolders::None && (data->attributes & SFGAO_FOLDER)) {
            SetSubfolders(node, data, Subfolders::Unknown);
        }
        return;  // an unlisted node has no nodes below it
    }
    for (const Child& child : kept) {
        if (child.data->listed || child.data->subfolders == Subfolders::None) RefreshNode(child.node);
    }
}

void ShellFolderTree::RefreshTree() {
    if (!Root()) return FillTree();
    widgets::WaitCursor wait;
    const Node before = Selected();
    const win::UniquePidl selected = pidl::Clone(NodeIdList(before));
    added_.clear();
    changedQuietly_ = false;
    {
        const win::RaisedFlag refreshing(quiet_);
        SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
        const win::ScopeExit redraw([this] {
            SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(hwnd_, nullptr, TRUE);
        });
        RefreshNode(Root());
    }
    // The nearest surviving node on the way to what was selected.
    const Node current = Selected();
    SelectItem(selected.get(), false);
    if (Selected() == current && (changedQuietly_ || current != before)) OnSelectionChanged(current);
    changedQuietly_ = false;
}

void ShellFolderTree::OnSelectionChanged(Node node) {
    if (quiet_) {
        changedQuietly_ = true;
    } else if (OnChange && Data(node)) {
        OnChange(node);
    }
    const win::RaisedFlag selecting(selecting_);
    const NodeData* data = Data(node);
    CurrentFolder.SetIdList(data ? data->absolute.get() : nullptr);
}

// Notifications ----------------------------------------------------------------

// A node's icons and expand button, asked for as it is drawn.
void ShellFolderTree::AnswerDisplayInfo(TVITEMW& info) {
    auto* data = reinterpret_cast<NodeData*>(info.lParam);
    if (!data) return;
    win::ComPtr<IShellFolder> parentFolder;
    const Node parent = Parent(info.hItem);
    const bool haveParent = parent && data->relative && BindFolder(parent, parentFolder);
    // Plain folders of the file system are answered from the disk; the
    // shell is asked about everything else.
    const std::wstring& path = haveParent ? ChildPath(parent, parentFolder.get(), data) : std::wstring();
    const bool plain = (data->attributes & SFGAO_FILESYSTEM) && (data->attributes & SFGAO_FOLDER) &&
                       !path.empty() && PlainFolder(data, path);
    if (plain && (info.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE))) {
        const auto [closed, open] = PlainFolderIcons();
        info.iImage = closed;
        info.iSelectedImage = open;
    }
    if (info.mask & TVIF_CHILDREN) {
        if (data->subfolders == Subfolders::Unknown) {
            // Drives and the shell's own folders are taken at their word;
            // should one turn out empty, expanding it removes the button.
            data->subfolders = (data->attributes & SFGAO_HASSUBFOLDER) ? Subfolders::Some : Subfolders::None;
        }
        info.cChildren = data->subfolders == Subfolders::Some;
    }
    if (!plain && (info.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE))) {
        // Asked of the parent folder; from the whole item-ID list only
        // where that gives nothing.
        int open = -1;
        const int normal =
            haveParent ? SHMapPIDLToSystemImageListIndex(parentFolder.get(), data->relative.get(), &open) : -1;
        if (normal >= 0) {
            info.iImage = normal;
            info.iSelectedImage = open >= 0 ? open : normal;
        } else {
            SHFILEINFOW closedInfo{}, openInfo{};
            SHGetFileInfoW(reinterpret_cast<LPCWSTR>(data->absolute.get()), 0, &closedInfo, sizeof closedInfo,
                           SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
            SHGetFileInfoW(reinterpret_cast<LPCWSTR>(data->absolute.get()), 0, &openInfo, sizeof openInfo,
                           SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON);
            info.iImage = closedInfo.iIcon;
            info.iSelectedImage = openInfo.iIcon;
        }
    }
    info.mask |= TVIF_DI_SETITEM;
}

LRESULT ShellFolderTree::HandleNotify(NMHDR* header) {
    switch (header->code) {
    case TVN_GETDISPINFOW:
        AnswerDisplayInfo(reinterpret_cast<NMTVDISPINFOW*>(header)->item);
        return 0;
    case TVN_ITEMEXPANDINGW: {
        const auto* change = reinterpret_cast<NMTREEVIEWW*>(header);
        if (change->action & TVE_EXPAND) ListChildren(change->itemNew.hItem);
        return FALSE;
    }
    case TVN_SELCHANGEDW:
        OnSelectionChanged(reinterpret_cast<NMTREEVIEWW*>(header)->itemNew.hItem);
        return 0;
    case TVN_DELETEITEMW:
        delete reinterpret_cast<NodeData*>(reinterpret_cast<NMTREEVIEWW*>(header)->itemOld.lParam);
        return 0;
    case TVN_BEGINLABELEDITW: {
        const auto* info = reinterpret_cast<NMTVDISPINFOW*>(header);
        if (!Parent(info->item.hItem)) return TRUE;  // cancels
        editEnded_ = false;
        return FALSE;
    }
    case TVN_ENDLABELEDITW:
        return EndLabelEdit(*reinterpret_cast<NMTVDISPINFOW*>(header));
    case NM_RCLICK: {
        POINT screen{};
        GetCursorPos(&screen);
        TVHITTESTINFO hit{};
        hit.pt = screen;
        ScreenToClient(hwnd_, &hit.pt);
        const auto node = reinterpret_cast<Node>(SendMessageW(hwnd_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (node && (hit.flags & TVHT_ONITEM)) ShowContextMenu(node, screen);
        return TRUE;
    }
    default:
        return 0;
    }
}

}  // namespace quenmar
