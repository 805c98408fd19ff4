// The picture decoder takes bytes nobody checked (dropped files, the pictures inside project and
// library files): it must end quickly, stay inside its input and never hand back a picture larger
// than the limits.
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "PictureChecks.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Qt's readers (BMP kinds, PNG pictures inside icons, and the formats a refusal names) are
    // found through the application object.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    // The decoders' complaints about damaged files would drown the fuzzer's own report.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tess::fuzzcheck::abortIfBroken(tess::fuzzcheck::checkPicture(bytes).broken);
    return 0;
}
