#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace quenmar::widgets {

class Form;

// The one application object: its title, the message loop, and the error box
// that shows an exception no handler caught.
class Application {
public:
    static Application& Instance();

    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }

    // Runs the message loop until the main form is destroyed.
    int Run(Form& mainForm);
    // The form whose end ends the loop, while it runs.
    const Form* MainForm() const { return mainForm_; }

    // Runs the loop until done() says so; for modal windows.
    void RunUntil(const std::function<bool()>& done);

    // Dispatches one message the way the loop does: dialog keys first.
    void Dispatch(MSG& msg);

    // The error box: application title, error icon, the error's text.
    void ShowException(HWND owner, const std::exception& error) const;
    void ShowUnknownException(HWND owner) const;

    void RegisterForm(Form* form);
    void UnregisterForm(Form* form);
    Form* FormOf(HWND window) const;

    // What F1 in any of the program's windows opens (its help), with the
    // window it was pressed in; nothing until the program says.
    void SetHelp(std::function<void(HWND)> show) { help_ = std::move(show); }
    void ShowHelp(HWND owner) const {
        if (help_) help_(owner);
    }

    // Runs a callable, showing any exception it throws in the error box.
    template <typename F>
    bool Guard(HWND owner, F&& call) {
        try {
            call();
            return true;
        } catch (const std::exception& error) {
            ShowException(owner, error);
        } catch (...) {
            ShowUnknownException(owner);
        }
        return false;
    }

private:
    std::string title_;
    std::vector<Form*> forms_;
    Form* mainForm_ = nullptr;
    std::function<void(HWND)> help_;
};

}  // namespace quenmar::widgets
