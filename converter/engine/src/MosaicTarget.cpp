#include "engine/MosaicTarget.h"

#include "engine/MosaicOptions.h"

namespace tess {

MosaicTarget MosaicTarget::file(std::string path) {
    MosaicTarget target;
    target.kind_ = Kind::File;
    target.seams_ = page::Seams::File;
    target.path_ = std::move(path);
    return target;
}

MosaicTarget MosaicTarget::clipboard(Clipboard* clipboard) {
    MosaicTarget target;
    target.kind_ = Kind::Clipboard;
    target.seams_ = page::Seams::Clipboard;
    target.clipboard_ = clipboard;
    return target;
}

MosaicTarget MosaicTarget::sink(PageSink& sink, page::Seams seams) {
    MosaicTarget target;
    target.kind_ = Kind::Sink;
    target.seams_ = seams;
    target.sink_ = &sink;
    return target;
}

MosaicTarget MosaicTarget::fromOptions(const MosaicOptions& options, Clipboard* clipboard) {
    return options.toClipboard() ? MosaicTarget::clipboard(clipboard)
                                 : MosaicTarget::file(options.OutputPath);
}

}  // namespace tess
