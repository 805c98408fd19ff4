#include "platform/testing/MemoryClipboard.h"

namespace tess::testing {

void MemoryClipboard::clear() {
    ++clearCount_;
    text_.clear();
    picture_.reset();
    readable_ = true;
}

void MemoryClipboard::setText(const std::string& utf8) {
    ++setTextCount_;
    text_ = utf8;
    picture_.reset();
    readable_ = true;
}

void MemoryClipboard::setPicture(const Picture& picture) {
    ++setPictureCount_;
    text_.clear();
    picture_ = picture;
    readable_ = true;
}

void MemoryClipboard::offerUnreadablePicture() {
    text_.clear();
    picture_.reset();
    readable_ = false;
}

}  // namespace tess::testing
