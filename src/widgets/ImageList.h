#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "widgets/Component.h"
#include "win32/Handles.h"

namespace quenmar::widgets {

// An image list that either owns its handle or shows one it adopted (the
// system image lists), which it never destroys.
class ImageList : public Component {
public:
    void CreateOwn(int width, int height);
    // Shows a list owned elsewhere; the list's own one is released.
    void Adopt(HIMAGELIST shared);
    HIMAGELIST Handle() const { return shared_ ? shared_ : owned_.get(); }
    // Told the new handle whenever the list adopts another.
    std::vector<std::function<void(HIMAGELIST)>> listeners;

private:
    win::UniqueImageList owned_;
    HIMAGELIST shared_ = nullptr;
};

// An image list of the program's own that holds copies of another list's
// icons (the system's, which the shell and every other window share), each
// as it is or marked with the system's warning sign at half its size in its
// lower left corner. A copy is made the first time it is asked for.
class IconCopies {
public:
    void Create(int width, int height);
    ImageList& List() { return list_; }
    // The list the icons are copied from; the copies of another are dropped.
    void CopyFrom(HIMAGELIST source);
    // This list's copy of the source's icon; -1 when there is none to copy.
    int CopyOf(int icon, bool marked);

private:
    ImageList list_;
    HIMAGELIST source_ = nullptr;
    std::map<std::pair<int, bool>, int> copies_;
};

}  // namespace quenmar::widgets
