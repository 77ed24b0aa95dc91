#include "win32/WicImage.h"

#include <wincodec.h>

#include "win32/Canvas.h"
#include "win32/Handles.h"

namespace quenmar::win {

UniqueGdiObject LoadImageResource(HINSTANCE instance, const wchar_t* name, const wchar_t* type) {
    const HRSRC found = FindResourceW(instance, name, type);
    if (!found) return {};
    const HGLOBAL loaded = LoadResource(instance, found);
    const auto* bytes = static_cast<BYTE*>(LockResource(loaded));
    const DWORD size = SizeofResource(instance, found);
    if (!bytes || size == 0) return {};

    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.put())))) {
        return {};
    }
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICBitmapSource> converted;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes), size)) ||
        FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) ||
        FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, frame.get(), converted.put()))) {
        return {};
    }
    UINT width = 0, height = 0;
    if (FAILED(converted->GetSize(&width, &height)) || width == 0 || height == 0) return {};

    void* pixels = nullptr;
    UniqueGdiObject bitmap(CreateCanvas(nullptr, static_cast<int>(width), static_cast<int>(height), &pixels));
    if (!bitmap || FAILED(converted->CopyPixels(nullptr, width * 4, width * height * 4, static_cast<BYTE*>(pixels)))) {
        return {};
    }
    return bitmap;
}

}  // namespace quenmar::win
