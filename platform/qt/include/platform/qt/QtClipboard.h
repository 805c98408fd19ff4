#pragma once

#include "platform/Clipboard.h"

namespace tess::qt {

// The system clipboard through QGuiApplication::clipboard(). Pictures travel as images; a picture
// with transparent parts comes in painted onto white.
class QtClipboard : public Clipboard {
  public:
    void clear() override;
    void setText(const std::string& utf8) override;
    // Qt is handed the text itself, never a conversion of it (see SharedTextMimeData).
    void offerText(std::shared_ptr<const std::string> utf8) override;
    std::string text() const override;
    bool hasText() const override;
    void setPicture(const Picture& picture) override;
    std::optional<Picture> picture() const override;
    bool hasPicture() const override;
};

}  // namespace tess::qt
