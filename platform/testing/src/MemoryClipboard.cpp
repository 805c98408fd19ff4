#include "platform/testing/MemoryClipboard.h"

namespace tess::testing {

void MemoryClipboard::clear() {
    ++clearCount_;
    text_.clear();
    hasText_ = false;
    picture_.reset();
    readable_ = true;
}

void MemoryClipboard::setText(const std::string& utf8) {
    ++setTextCount_;
    text_ = utf8;
    hasText_ = true;
    picture_.reset();
    readable_ = true;
}

void MemoryClipboard::setPicture(const Picture& picture) {
    ++setPictureCount_;
    text_.clear();
    hasText_ = false;
    picture_ = picture;
    readable_ = true;
}

void MemoryClipboard::offerUnreadablePicture() {
    text_.clear();
    hasText_ = false;
    picture_.reset();
    readable_ = false;
}

}  // namespace tess::testing
