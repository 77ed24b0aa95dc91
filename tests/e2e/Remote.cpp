#include "Remote.h"

#include <filesystem>
#include <fstream>

#include <commctrl.h>

#include <stdexcept>

#include "win32/Handles.h"
#include "win32/WideText.h"

namespace quenmar::e2e {

std::string ExeDirectory() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::string directory = win::Utf8(path);
    return directory.substr(0, directory.find_last_of('\\'));
}

std::string Text(HWND window) { return win::WindowText(window); }

DWORD ProcessOf(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    return id;
}

HWND FindChild(HWND parent, const char* className, const std::string& text) {
    for (HWND child : Children(parent, className)) {
        if (Text(child) == text) return child;
    }
    return nullptr;
}

std::vector<HWND> Children(HWND parent, const char* className) {
    std::vector<HWND> found;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        if (lstrcmpiW(name, win::Wide(className).c_str()) == 0) found.push_back(child);
    }
    return found;
}

HWND WaitForWindow(DWORD processId, const char* className, const std::string& caption, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (ProcessOf(window) == processId && lstrcmpiW(name, win::Wide(className).c_str()) == 0 && IsWindowVisible(window) &&
                (caption.empty() || Text(window) == caption)) {
                return window;
            }
        }
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void Key(HWND window, UINT key) {
    PostMessageW(window, WM_KEYDOWN, key, 0x00000001);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

void Await(HWND window, const std::function<bool()>& condition, DWORD limitMs) {
    const DWORD start = GetTickCount();
    while (!condition() && GetTickCount() - start < limitMs) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result);
        Sleep(5);
    }
}

void AwaitDrawn(HWND window, DWORD limitMs) {
    const auto drawn = [window] {
        if (GetUpdateRect(window, nullptr, FALSE)) return false;
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) return false;
        }
        return true;
    };
    Await(window, drawn, limitMs);
}

void Screenshot(HWND window, const std::string& name) {
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return;
    const win::WindowDC screen(nullptr);
    const win::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    const win::UniqueGdiObject bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const win::SelectedObject drawn(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((width * 3 + 3) / 4) * 4;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + stride * height;
    const std::string directory = ExeDirectory() + "\\..\\screenshots";
    CreateDirectoryW(win::Wide(directory).c_str(), nullptr);
    std::ofstream out(std::filesystem::path(win::Wide(directory + "\\" + name + ".bmp")), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), stride * height);
}

QuenmarProcess::QuenmarProcess(const std::string& arguments) {
    std::wstring command = win::Wide("\"" + ExeDirectory() + "\\Quenmar.exe\" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_)) {
        throw std::runtime_error("Quenmar.exe did not start");
    }
    WaitForInputIdle(process_.hProcess, 10000);
    main_ = WaitForWindow(process_.dwProcessId, "TfrmQuenmar", "");
    if (!main_) throw std::runtime_error("Quenmar's window did not appear");
    AwaitDrawn(main_);
}

QuenmarProcess::~QuenmarProcess() {
    if (buffer_) VirtualFreeEx(process_.hProcess, buffer_, 0, MEM_RELEASE);
    if (!Exited(0)) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool QuenmarProcess::Exited(DWORD waitMs) { return WaitForSingleObject(process_.hProcess, waitMs) == WAIT_OBJECT_0; }

DWORD QuenmarProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

void* QuenmarProcess::Remote(size_t size) {
    if (!buffer_) buffer_ = VirtualAllocEx(process_.hProcess, nullptr, 8192, MEM_COMMIT, PAGE_READWRITE);
    if (size > 8192) throw std::runtime_error("remote buffer too small");
    return buffer_;
}

std::wstring QuenmarProcess::ListViewTextW(HWND list, int item) {
    auto* remote = static_cast<char*>(Remote(4096));
    LVITEMW request{};
    request.iSubItem = 0;
    request.pszText = reinterpret_cast<wchar_t*>(remote + 1024);
    request.cchTextMax = 1024;
    WriteProcessMemory(process_.hProcess, remote, &request, sizeof request, nullptr);
    SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(remote));
    wchar_t text[1024] = {};
    ReadProcessMemory(process_.hProcess, remote + 1024, text, sizeof text - sizeof(wchar_t), nullptr);
    return text;
}

std::string QuenmarProcess::ListViewText(HWND list, int item) { return win::Utf8(ListViewTextW(list, item)); }

LRESULT QuenmarProcess::SendRect(HWND window, UINT message, WPARAM wParam, const RECT& rect) {
    void* remote = Remote(sizeof rect);
    WriteProcessMemory(process_.hProcess, remote, &rect, sizeof rect, nullptr);
    return SendMessageW(window, message, wParam, reinterpret_cast<LPARAM>(remote));
}

int QuenmarProcess::ListViewImage(HWND list, int item) {
    void* remote = Remote(sizeof(LVITEMW));
    LVITEMW request{};
    request.mask = LVIF_IMAGE;
    request.iItem = item;
    WriteProcessMemory(process_.hProcess, remote, &request, sizeof request, nullptr);
    if (!SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote))) return -1;
    ReadProcessMemory(process_.hProcess, remote, &request, sizeof request, nullptr);
    return request.iImage == I_IMAGENONE ? -1 : request.iImage;
}

int QuenmarProcess::ListViewCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

int QuenmarProcess::ListViewSelected(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::vector<std::string> QuenmarProcess::PlacesBar(HWND dialog) {
    std::vector<std::string> captions;
    const HWND bar = GetDlgItem(dialog, 0x4A0);
    if (!bar || !IsWindowVisible(bar)) return captions;
    auto* remote = static_cast<char*>(Remote(4096));
    const int count = static_cast<int>(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        SendMessageW(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(remote));
        TBBUTTON button{};
        ReadProcessMemory(process_.hProcess, remote, &button, sizeof button, nullptr);
        SendMessageW(bar, TB_GETBUTTONTEXTW, button.idCommand, reinterpret_cast<LPARAM>(remote + 1024));
        wchar_t text[512] = {};
        ReadProcessMemory(process_.hProcess, remote + 1024, text, sizeof text - sizeof(wchar_t), nullptr);
        captions.push_back(win::Utf8(text));
    }
    return captions;
}

}  // namespace quenmar::e2e
