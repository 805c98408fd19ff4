#pragma once

#include <optional>
#include <string>

#include "platform/Clipboard.h"

namespace tess::testing {

// A clipboard in memory. Like the system one it holds one thing at a time: setting text drops the
// picture and setting a picture drops the text. It counts the calls that a test may want to pin
// (the mosaic run sets the text once per flush).
class MemoryClipboard : public Clipboard {
  public:
    void clear() override;
    void setText(const std::string& utf8) override;
    std::string text() const override { return text_; }
    bool hasText() const override { return hasText_; }
    void setPicture(const Picture& picture) override;
    std::optional<Picture> picture() const override { return readable_ ? picture_ : std::nullopt; }
    bool hasPicture() const override { return picture_.has_value() || !readable_; }

    // Offers a picture format whose data cannot be read: hasPicture() is true, picture() is empty.
    void offerUnreadablePicture();

    int setTextCount() const { return setTextCount_; }
    int setPictureCount() const { return setPictureCount_; }
    int clearCount() const { return clearCount_; }

  private:
    std::string text_;
    bool hasText_ = false;
    std::optional<Picture> picture_;
    bool readable_ = true;
    int setTextCount_ = 0;
    int setPictureCount_ = 0;
    int clearCount_ = 0;
};

}  // namespace tess::testing
