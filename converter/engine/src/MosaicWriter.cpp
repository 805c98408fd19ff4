#include "engine/MosaicWriter.h"

#include <algorithm>
#include <memory>
#include <new>

#include "engine/MosaicOptions.h"
#include "engine/SizeEstimate.h"
#include "platform/Runtime.h"
#include "platform/Text.h"

namespace tess {

namespace {
// Pages up to this size keep their memory for the next clipboard page even once the clipboard has
// let go of them; a larger one keeps it only while the clipboard holds the page.
constexpr std::size_t kLargestIdlePage = std::size_t{256} << 20;

// The memory of the last clipboard page, for the next one. A large page written into fresh memory
// spends as long waiting for the system to clear it as on its cells; a page written over the last
// one does not. Runs take it only once nothing else reads it any more.
std::weak_ptr<std::string>& lastPage() {
    static std::weak_ptr<std::string> last;
    return last;
}

std::shared_ptr<std::string>& idlePage() {
    static std::shared_ptr<std::string> idle;
    return idle;
}

// `page` (the last page, held by the caller) when no result or clipboard reads it any more.
bool onlyKept(const std::shared_ptr<std::string>& page) {
    return page != nullptr && page.use_count() == (idlePage() == page ? 2 : 1);
}

void keepPage(const std::shared_ptr<std::string>& page) {
    lastPage() = page;
    idlePage() = page->capacity() <= kLargestIdlePage ? page : nullptr;
}

Error noMemoryForClipboard() {
    return Error{errc::OutOfMemory, "Not enough memory to copy the page to the clipboard"};
}
}  // namespace

MosaicWriter::MosaicWriter(const Picture& picture, const MosaicOptions& options, Clock& clock,
                           Random& random)
    : picture_(picture), options_(options), clock_(clock), chars_(options, clock, random) {}

Status MosaicWriter::begin(const MosaicTarget& target) {
    const DateTime start = clock_.now();
    log_.startTime = rt::formatTime12(start);
    log_.startDate = rt::formatDateMDY(start);
    startTick_ = clock_.tickCount();

    seams_ = target.seams();
    switch (target.kind()) {
        case MosaicTarget::Kind::File:
            if (Status opened = file_.open(target.path()); !opened) {
                return opened;
            }
            toFile_ = true;
            sink_ = &file_;
            break;
        case MosaicTarget::Kind::Clipboard: {
            clipboard_ = target.clipboardService();
            // What the clipboard holds goes now, as the page it is replaced by starts: a page of
            // the last run it held is then free to be written over.
            std::shared_ptr<std::string> last = lastPage().lock();
            if (clipboard_ != nullptr) {
                clipboard_->clear();
            }
            if (onlyKept(last)) {
                text_.swap(*last);
                text_.clear();
            }
            // Room for the page as if every cell opened a run, so the text is never copied as it
            // grows; memory that stays unused is never touched. It is not advised for huge pages:
            // a session's first page then waits while the system gathers free 2 MiB blocks for
            // it, several times as long as the ordinary page faults cost.
            const std::int64_t estimate =
                estimateOutputSize(picture_.width(), picture_.height(), options_.Title);
            try {
                if (estimate > 0 && static_cast<std::uint64_t>(estimate) <= text_.max_size()) {
                    text_.reserve(static_cast<std::size_t>(estimate));
                }
            } catch (const std::bad_alloc&) {
                // Only a head start: the page then grows as it is gathered.
            }
            // Whether the page is plain ASCII follows from what goes into it: the markup is,
            // the head may not be (the title), the cells by their mode.
            ascii_ = chars_.asciiOnly();
            break;
        }
        case MosaicTarget::Kind::Sink:
            sink_ = target.pageSink();
            break;
    }
    std::string head = page::head(options_);
    ascii_ = ascii_ && isAscii(head);
    if (seams_ == page::Seams::File) {
        head += page::kCrLf;
    }
    put(head);
    return status_;
}

void MosaicWriter::put(std::string_view piece) {
    if (!status_) {
        return;
    }
    if (sink_ != nullptr) {
        status_ = sink_->write(piece);
    } else {
        // The clipboard page is gathered whole; a picture can make it larger than memory allows.
        try {
            text_.append(piece);
        } catch (const std::bad_alloc&) {
            text_ = std::string();
            status_ = noMemoryForClipboard();
        }
    }
}

void MosaicWriter::flush(char* end) {
    // A cell can be empty (custom text without characters), so a row can end with nothing left.
    if (end != buffer_.data()) {
        put(std::string_view(buffer_.data(), static_cast<std::size_t>(end - buffer_.data())));
    }
}

char* MosaicWriter::firstRun(char* out, std::uint32_t colour) {
    first_ = false;
    const char* form = kChangeForm + kFirstSkip;
    const std::size_t length = kChangeLength - kFirstSkip;
    std::memcpy(out, form, length);
    char* digits = out + (kChangeDigits - kFirstSkip);
    std::memcpy(digits, kHexPairs[colour & 255].data(), 2);
    std::memcpy(digits + 2, kHexPairs[(colour >> 8) & 255].data(), 2);
    std::memcpy(digits + 4, kHexPairs[(colour >> 16) & 255].data(), 2);
    return out + length;
}

Status MosaicWriter::endRow() {
    put(page::kCrLf);
    return status_;
}

Result<RunResult> MosaicWriter::finish(bool cancelled, const SpeedLog* speedLog) {
    std::string trailer(page::trailer(options_.isCssPage(), cancelled));
    if (seams_ == page::Seams::File) {
        trailer += page::kCrLf;
    }
    put(trailer);
    if (!status_) {
        return status_.error();
    }
    if (toFile_) {
        if (Status saved = file_.commit(); !saved) {
            return saved.error();
        }
    }

    RunResult result;
    result.status = cancelled ? RunStatus::Cancelled : RunStatus::Complete;
    result.cellsWritten = written_;
    if (sink_ == nullptr) {
        std::shared_ptr<std::string> page = lastPage().lock();
        if (!onlyKept(page)) {
            page = std::make_shared<std::string>();
        }
        page->swap(text_);
        keepPage(page);
        if (clipboard_ != nullptr) {
            try {
                // Most pages are plain ASCII, which is its own UTF-8: the clipboard shares it.
                clipboard_->clear();
                clipboard_->offerText(
                    ascii_ ? std::shared_ptr<const std::string>(page)
                           : std::make_shared<const std::string>(cp1252::toUtf8(*page)));
            } catch (const std::bad_alloc&) {
                return noMemoryForClipboard();
            }
        }
        result.clipboardText = *page;
        result.clipboardPage = std::move(page);
    }

    const DateTime end = clock_.now();
    log_.endTime = rt::formatTime12(end);
    log_.endDate = rt::formatDateMDY(end);
    // Unsigned arithmetic gives the difference modulo 2^32, right across a wrap of the counter.
    log_.elapsedMs = clock_.tickCount() - startTick_;
    log_.width = picture_.width();
    log_.height = picture_.height();
    log_.mode = std::string(options_.modeText());
    log_.priority = std::string(options_.priorityText());
    log_.status = cancelled ? "Cancelled" : "Complete";
    result.log = log_;
    if (speedLog != nullptr) {
        if (Status logged = speedLog->WriteSpeedFile(log_.line()); !logged) {
            result.speedLogError = logged.error();
        }
    }
    return result;
}

}  // namespace tess
