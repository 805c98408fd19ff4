#pragma once

#include <string>

#include "engine/PageFormat.h"

namespace tess {

class Clipboard;
class PageSink;
struct MosaicOptions;

// Where a run writes its page.
class MosaicTarget {
  public:
    enum class Kind { File, Clipboard, Sink };

    // The file at `path`; it is replaced only when the run ends, complete or cancelled.
    static MosaicTarget file(std::string path);
    // The page is built in memory; `clipboard` (when not null) is cleared as the run starts and
    // handed the page once, at the end of the run. The run's result carries the same text.
    static MosaicTarget clipboard(Clipboard* clipboard);
    // The pieces go to `sink` as the run flushes them, with the line ends of `seams`.
    static MosaicTarget sink(PageSink& sink, page::Seams seams);
    // The options' choice: the clipboard when ToClipboard is ticked, else the file OutputPath.
    static MosaicTarget fromOptions(const MosaicOptions& options, Clipboard* clipboard);

    Kind kind() const { return kind_; }
    page::Seams seams() const { return seams_; }
    const std::string& path() const { return path_; }
    Clipboard* clipboardService() const { return clipboard_; }
    PageSink* pageSink() const { return sink_; }

  private:
    MosaicTarget() = default;

    Kind kind_ = Kind::File;
    page::Seams seams_ = page::Seams::File;
    std::string path_;
    Clipboard* clipboard_ = nullptr;
    PageSink* sink_ = nullptr;
};

}  // namespace tess
