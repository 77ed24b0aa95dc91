#include "widgets/ImageList.h"

#include <algorithm>

#include "win32/Handles.h"

namespace quenmar::widgets {

void ImageList::CreateOwn(int width, int height) {
    shared_ = nullptr;
    owned_.reset(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 0, 4));
}

void ImageList::Adopt(HIMAGELIST shared) {
    if (shared == Handle()) return;
    owned_.reset();
    shared_ = shared;
    for (const auto& listener : listeners) listener(shared_);
}

namespace {

// The icon with the warning sign drawn over its lower left quarter, its
// alpha kept; null when it cannot be drawn.
win::UniqueGdiObject MarkedPicture(HICON icon, int width, int height) {
    const auto sign = static_cast<HICON>(LoadImageW(nullptr, IDI_WARNING, IMAGE_ICON, width / 2, height / 2, LR_SHARED));
    if (!sign) return {};
    const win::WindowDC screen(nullptr);
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    win::UniqueGdiObject picture(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!picture) return {};
    {
        const win::UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
        const win::SelectedObject onPicture(dc.get(), picture.get());
        DrawIconEx(dc.get(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
        DrawIconEx(dc.get(), 0, height - height / 2, sign, width / 2, height / 2, 0, nullptr, DI_NORMAL);
    }
    GdiFlush();
    // Drawn, each colour is multiplied by its pixel's alpha; an image list
    // takes a picture's colours as they are, and multiplies them itself.
    auto* pixel = static_cast<BYTE*>(bits);
    for (int n = 0; n < width * height; ++n, pixel += 4) {
        const int alpha = pixel[3];
        if (alpha == 0 || alpha == 255) continue;
        for (int channel = 0; channel < 3; ++channel) pixel[channel] = static_cast<BYTE>(std::min(255, pixel[channel] * 255 / alpha));
    }
    return picture;
}

}  // namespace

void IconCopies::Create(int width, int height) {
    copies_.clear();
    list_.CreateOwn(width, height);
}

void IconCopies::CopyFrom(HIMAGELIST source) {
    if (source == source_) return;
    source_ = source;
    copies_.clear();
    if (list_.Handle()) ImageList_RemoveAll(list_.Handle());
}

int IconCopies::CopyOf(int icon, bool marked) {
    const HIMAGELIST list = list_.Handle();
    if (!source_ || icon < 0 || !list) return -1;
    const auto known = copies_.find({icon, marked});
    if (known != copies_.end()) return known->second;
    const win::UniqueIcon original(ImageList_GetIcon(source_, icon, ILD_NORMAL));
    if (!original) return -1;
    int copy = -1;
    if (marked) {
        int width = 0, height = 0;
        ImageList_GetIconSize(list, &width, &height);
        if (const win::UniqueGdiObject picture = MarkedPicture(original.get(), width, height)) {
            copy = ImageList_Add(list, static_cast<HBITMAP>(picture.get()), nullptr);
        }
    }
    // Unmarked, as it is, when the mark cannot be drawn.
    if (copy < 0) copy = ImageList_ReplaceIcon(list, -1, original.get());
    if (copy >= 0) copies_[{icon, marked}] = copy;
    return copy;
}

}  // namespace quenmar::widgets
