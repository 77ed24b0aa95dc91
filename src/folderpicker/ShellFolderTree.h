#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "folderpicker/ShellLevels.h"
#include "folderpicker/ShellItem.h"
#include "widgets/Control.h"

namespace quenmar {

// How the tree lists folders and what it offers on them.
// A tree of the shell namespace, rooted at the Desktop.
// Children are listed when a node is first expanded, in the shell's own
// order; icons and expand buttons are looked up only for nodes on screen.
class ShellFolderTree : public widgets::Control {
public:
    using Node = HTREEITEM;

    ShellFolderTree();
    explicit ShellFolderTree(int id);
    ~ShellFolderTree() override;

    void Create(widgets::Form& form, widgets::Bounds bounds, widgets::Anchors anchors);

    std::function<void(Node)> OnChange;

    void SetShowRoot(bool show);

    // The item of the selected node; assigning it selects that item.
    ShellItem CurrentFolder;

    void FillTree();
    // Listings read ahead on another thread, taken level by level by the
    // next fill instead of reading those folders again; let go when the
    // fill is done.
    void UsePrefetch(std::shared_ptr<ShellLevelPrefetch> prefetch);
    // How this tree asks folders for their items under these options.
    // What the tree lists: folders, hidden ones too.
    static SHCONTF ListingFlags();
    void RefreshTree();
    // Makes a new folder below the selected node and opens its label.
    void MakeSubfolder();
    // Runs a context-menu command of a node's item by its verb.
    void RunShellVerb(Node node, const std::string& verb);

    std::string NodePath(Node node) const;
    LPCITEMIDLIST NodeIdList(Node node) const;
    Node Selected() const;
    Node Root() const;
    Node Parent(Node node) const;
    std::vector<Node> Children(Node node) const;
    std::string Label(Node node) const;
    void Expand(Node node);
    void ListChildren(Node node);
    void SelectNode(Node node);
    HWND EditLabel(Node node);
    // The tree's own answer to a right-click on a node.
    void ShowContextMenu(Node node, POINT screen);
    bool FillContextMenu(Node node, UINT flags, win::ComPtr<IContextMenu>& menu, win::UniqueMenu& popup);

    LRESULT HandleNotify(NMHDR* header) override;
    // Called by the form for WM_DEVICECHANGE.
    void DeviceChanged(WPARAM event, LPARAM data);

    // How long MakeSubfolder waits before it refreshes, in ms.
    static DWORD CreatePause(bool currentIsDesktop) { return currentIsDesktop ? 2100 : 1000; }

private:
    struct NodeData;
    struct Child {
        Node node;
        NodeData* data;
    };
    using Listed = ShellListedItem;
    NodeData* Data(Node node) const;
    Node InsertNode(Node parent, Node after, LPCITEMIDLIST absolute, LPCITEMIDLIST relative, ULONG attributes,
                    const std::string& label, NodeData** inserted = nullptr);
    // Lists a node's children once; `listed` gets the nodes it inserted.
    void ListChildren(Node node, std::vector<Child>* listed);
    bool BindFolder(Node node, win::ComPtr<IShellFolder>& folder) const;
    std::vector<Listed> Enumerate(Node node, IShellFolder* folder);
    Node FindChild(Node parent, IShellFolder* folder, LPCITEMIDLIST relative, const std::vector<Child>& listed);
    void SortChildren(Node node);
    // TVM_SORTCHILDRENCB's comparison: two nodes' data in their parent folder.
    static int CALLBACK CompareNodes(LPARAM a, LPARAM b, LPARAM folder);
    // Keeps what is known of a node's subfolders and shows its expand button
    // by it: one, none, or asked for when drawn.
    void SetSubfolders(Node node, NodeData* data, Subfolders subfolders);
    void AnswerDisplayInfo(TVITEMW& info);
    // The root's label; raises the shell's error when the root cannot be shown.
    static std::string RootLabel(LPCITEMIDLIST root);
    // Opens the label editor on the new folder of that name under the selection.
    void EditNewFolder(const std::string& name);
    void SelectItem(LPCITEMIDLIST absolute, bool addMissing);
    void RefreshNode(Node node);
    void OnSelectionChanged(Node node);
    bool EndLabelEdit(NMTVDISPINFOW& info);
    void ApplyStyle();
    const std::wstring& NodeFileSystemPath(Node node);
    const std::wstring& ChildPath(Node parent, IShellFolder* parentFolder, NodeData* child);
    // Whether a folder of the file system at that path is plain, and, when
    // it is and not known yet, whether it holds a folder: from what the fill
    // read ahead, or from the disk.
    bool PlainFolder(NodeData* data, const std::wstring& path);

    std::shared_ptr<ShellLevelPrefetch> prefetch_;
    DiskFacts diskFacts_;  // read ahead by the fill's prefetch; until the next fill or refresh
    bool showRoot_ = false;
    bool quiet_ = false;     // filling or refreshing: selections do not fire OnChange
    bool changedQuietly_ = false;
    bool selecting_ = false; // CurrentFolder is being set from the selection
    bool editEnded_ = true;  // the open label edit has been reported ended
    std::vector<Node> added_;  // the nodes the last refresh added
};

}  // namespace quenmar
