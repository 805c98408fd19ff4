#pragma once

#include <QString>
#include <QtGlobal>
#include <atomic>
#include <string>

namespace tess {

// The warnings Qt's image decoders log while one lives (libjpeg's "Corrupt JPEG data: premature
// end of data segment" and the like): the decoder still reports success and fills what it could
// not read, so a warning is the only sign that the picture is not what the file holds. They are
// kept from the log. Decoding runs on one thread at a time; messages of other threads and
// categories go on to the handler before this one.
class DecoderComplaints {
  public:
    DecoderComplaints();
    ~DecoderComplaints();
    DecoderComplaints(const DecoderComplaints&) = delete;
    DecoderComplaints& operator=(const DecoderComplaints&) = delete;

    // Whether a decoder warned at all, and its first warning (empty when none, or when its text
    // was empty).
    bool any() const { return any_; }
    const std::string& first() const { return first_; }

  private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text);

    static thread_local DecoderComplaints* active_;
    // The handler that was installed before any of these, which every message not kept goes on
    // to, whichever thread logs it.
    static std::atomic<QtMessageHandler> passOn_;
    // The handler to install again at the end.
    QtMessageHandler previous_;
    bool any_ = false;
    std::string first_;
};

}  // namespace tess
