#include "widgets/Application.h"

#include <algorithm>

#include "widgets/Form.h"
#include "widgets/MessageBoxes.h"
#include "widgets/Resources.h"

namespace quenmar::widgets {

Application& Application::Instance() {
    static Application application;
    return application;
}

void Application::RegisterForm(Form* form) { forms_.push_back(form); }

void Application::UnregisterForm(Form* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (mainForm_ == form) mainForm_ = nullptr;
}

Form* Application::FormOf(HWND window) const {
    if (!window) return nullptr;
    const HWND root = GetAncestor(window, GA_ROOT);
    for (Form* form : forms_) {
        if (form->Handle() == root) return form;
    }
    return nullptr;
}

void Application::Dispatch(MSG& msg) {
    Form* form = FormOf(msg.hwnd);
    if (form && form->PreTranslate(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

int Application::Run(Form& mainForm) {
    mainForm_ = &mainForm;
    mainForm.Show();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
    return static_cast<int>(msg.wParam);
}

void Application::RunUntil(const std::function<bool()>& done) {
    MSG msg;
    while (!done()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // leave WM_QUIT for the outer loop
            return;
        }
        Dispatch(msg);
    }
}

void Application::ShowException(HWND owner, const std::exception& error) const {
    ShowMessage(owner, error.what(), title_, MB_ICONERROR);
}

void Application::ShowUnknownException(HWND owner) const {
    ShowMessage(owner, TextOf(IDS_UNEXPECTED_ERROR), title_, MB_ICONERROR);
}

}  // namespace quenmar::widgets
