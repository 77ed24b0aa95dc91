#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
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

}  // namespace quenmar::widgets
