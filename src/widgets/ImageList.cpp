#include "widgets/ImageList.h"

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

}  // namespace quenmar::widgets
