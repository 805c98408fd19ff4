#pragma once

#include <string_view>

#include "platform/Result.h"

namespace tess {

// Where the pieces of a mosaic page go as the run flushes them: the head, each flushed stretch of
// cells, each row end and the trailer, in order. A failed write ends the run with that error.
class PageSink {
  public:
    virtual ~PageSink() = default;
    virtual Status write(std::string_view piece) = 0;
};

}  // namespace tess
