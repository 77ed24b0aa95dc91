#pragma once

// Driving Quenmar.exe from outside, as another program (or a user) would:
// its windows are found by class and text, pressed with posted messages and
// keys, and read through memory lent in its own address space.

#include <windows.h>

#include <optional>
#include <functional>
#include <string>
#include <vector>

namespace quenmar::e2e {

// Quenmar.exe running as a process of its own.
class QuenmarProcess {
public:
    // Started with these arguments after the program's name.
    explicit QuenmarProcess(const std::string& arguments = "");
    ~QuenmarProcess();
    QuenmarProcess(const QuenmarProcess&) = delete;
    QuenmarProcess& operator=(const QuenmarProcess&) = delete;

    HWND MainWindow() const { return main_; }
    bool Exited(DWORD waitMs);
    DWORD ExitCode() const;

    // A block of the process's memory for messages that carry pointers.
    std::string ListViewText(HWND list, int item);
    std::wstring ListViewTextW(HWND list, int item);
    int ListViewCount(HWND list);
    int ListViewImage(HWND list, int item);  // -1 for none
    int ListViewSelected(HWND list);
    std::vector<std::string> PlacesBar(HWND dialog);  // empty when there is none
    // Sends a message whose lParam points to a rectangle, as the system sends
    // WM_DPICHANGED.
    LRESULT SendRect(HWND window, UINT message, WPARAM wParam, const RECT& rect);

private:
    void* Remote(size_t size);
    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
    void* buffer_ = nullptr;
};

std::string ExeDirectory();
std::string Text(HWND window);
HWND FindChild(HWND parent, const char* className, const std::string& text);
std::vector<HWND> Children(HWND parent, const char* className);
// A top-level window of a process by class and caption, waited for.
HWND WaitForWindow(DWORD processId, const char* className, const std::string& caption, DWORD timeoutMs = 10000);
DWORD ProcessOf(HWND window);
void Click(HWND button);
void Key(HWND window, UINT key);
// Until nothing of the window or its children is left to paint (bounded):
// what a screenshot shows is the window as drawn.
void AwaitDrawn(HWND window, DWORD limitMs = 10000);
// Lets the window's thread run until the condition holds, or the limit
// passes (bounded: the check that follows says what was not so).
void Await(HWND window, const std::function<bool()>& condition, DWORD limitMs = 10000);
// Saves what the screen shows of a window as build/screenshots/<name>.bmp.
void Screenshot(HWND window, const std::string& name);

}  // namespace quenmar::e2e
