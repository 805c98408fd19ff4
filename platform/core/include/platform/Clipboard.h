#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/Picture.h"

namespace tess {

class Clipboard {
  public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    virtual void setText(const std::string& utf8) = 0;
    // Puts text on the clipboard that it may hold by reference instead of copying it (a page of
    // hundreds of megabytes); the text must not change while anyone holds it. A clipboard that
    // keeps copies takes it as setText does.
    virtual void offerText(std::shared_ptr<const std::string> utf8) { setText(*utf8); }
    virtual std::string text() const = 0;
    // Whether text is on offer, without fetching it.
    virtual bool hasText() const = 0;
    virtual void setPicture(const Picture& picture) = 0;
    virtual std::optional<Picture> picture() const = 0;
    // Whether a picture format is on offer (decides the Paste item's state).
    virtual bool hasPicture() const = 0;
};

}  // namespace tess
