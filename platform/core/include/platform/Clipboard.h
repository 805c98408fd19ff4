#pragma once

#include <optional>
#include <string>

#include "platform/Picture.h"

namespace tess {

class Clipboard {
  public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    virtual void setText(const std::string& utf8) = 0;
    virtual std::string text() const = 0;
    virtual void setPicture(const Picture& picture) = 0;
    virtual std::optional<Picture> picture() const = 0;
    // Whether a picture format is on offer (decides the Paste item's state).
    virtual bool hasPicture() const = 0;
};

}  // namespace tess
