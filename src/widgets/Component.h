#pragma once

#include <windows.h>

namespace quenmar::widgets {

// Something that can own components. Windowed ones (forms and controls) have
// a window of their own; others (image lists, dialogs) do not.
class Component {
public:
    virtual ~Component() = default;
    // The component's own window, made now if it does not exist yet; null
    // for a component that has none.
    virtual HWND OwnWindow() { return nullptr; }
};

}  // namespace quenmar::widgets
