#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "win32/Handles.h"

namespace quenmar::testing {

// The pixels of a window's client area as the screen shows them.
class ScreenPixels {
public:
    explicit ScreenPixels(HWND window) {
        GetClientRect(window, &client_);
        // From the client area's left edge on screen, mirrored or not.
        RECT onScreen = client_;
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&onScreen), 2);
        const POINT origin{onScreen.left, onScreen.top};
        origin_ = origin;
        const int width = client_.right, height = client_.bottom;
        BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        const win::WindowDC screen(nullptr);
        const win::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
        void* bits = nullptr;
        const win::UniqueGdiObject bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        const win::SelectedObject drawn(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), origin.x, origin.y, SRCCOPY);
        GdiFlush();
        const auto* quads = static_cast<const RGBQUAD*>(bits);
        pixels_.resize(static_cast<size_t>(width) * height);
        for (size_t i = 0; i < pixels_.size(); ++i) pixels_[i] = RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue);
    }
    // Kept as a picture for people to look at, beside the end-to-end tests'.
    void Save(const std::wstring& name) const {
        wchar_t exe[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        std::wstring directory(exe);
        directory = directory.substr(0, directory.find_last_of(L'\\')) + L"\\..\\screenshots";
        CreateDirectoryW(directory.c_str(), nullptr);
        const int width = Width(), height = Height();
        BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
        BITMAPINFOHEADER info{sizeof info, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels_.size() * 4);
        std::ofstream out(std::filesystem::path(directory + L"\\" + name + L".bmp"), std::ios::binary);
        out.write(reinterpret_cast<const char*>(&file), sizeof file);
        out.write(reinterpret_cast<const char*>(&info), sizeof info);
        for (const COLORREF c : pixels_) {
            const RGBQUAD quad{GetBValue(c), GetGValue(c), GetRValue(c), 0};
            out.write(reinterpret_cast<const char*>(&quad), sizeof quad);
        }
    }
    // The client area's left edge on screen.
    POINT Origin() const { return origin_; }
    int Width() const { return client_.right; }
    int Height() const { return client_.bottom; }
    COLORREF At(int x, int y) const { return pixels_[static_cast<size_t>(y) * client_.right + x]; }

private:
    RECT client_{};
    POINT origin_{};
    std::vector<COLORREF> pixels_;
};

}  // namespace quenmar::testing
