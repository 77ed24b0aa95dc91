#pragma once

#include <stdexcept>
#include <string>

#include "widgets/Form.h"

namespace quenmar::testing {

// A form's control found by its ID, as the class it is: the one way the
// tests reach a window's controls.
template <class T>
T& FoundControl(const widgets::Form& form, int id) {
    auto* control = dynamic_cast<T*>(form.ControlOf(GetDlgItem(form.Handle(), id)));
    if (!control) throw std::logic_error("no such control with ID " + std::to_string(id));
    return *control;
}

}  // namespace quenmar::testing
