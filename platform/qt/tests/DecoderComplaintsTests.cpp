#include "platform/qt/DecoderComplaints.h"

#include <gtest/gtest.h>

#include <QLoggingCategory>
#include <QString>
#include <string>
#include <thread>
#include <vector>

namespace tess {
namespace {

Q_LOGGING_CATEGORY(imageIo, "qt.gui.imageio")
Q_LOGGING_CATEGORY(other, "tess.other")

// The messages that reach the handler installed before the complaints.
std::vector<std::string> passedOn;

void record(QtMsgType, const QMessageLogContext&, const QString& text) {
    passedOn.push_back(text.toStdString());
}

TEST(DecoderComplaints, KeepsItsThreadsDecoderWarningsAndPassesOnEveryOtherMessage) {
    passedOn.clear();
    const QtMessageHandler before = qInstallMessageHandler(&record);
    {
        DecoderComplaints complaints;
        qCWarning(other) << "not a decoder's";
        qCWarning(imageIo) << "first";
        qCWarning(imageIo) << "second";
        // Another thread's decoder warning is not this load's, and the log still gets it.
        std::thread([] { qCWarning(imageIo) << "another thread's"; }).join();
        std::thread([] { qCWarning(other) << "another thread's other"; }).join();

        EXPECT_TRUE(complaints.any());
        EXPECT_EQ(complaints.first(), "first");
    }
    qCWarning(other) << "after";
    qInstallMessageHandler(before);

    EXPECT_EQ(passedOn, (std::vector<std::string>{"not a decoder's", "another thread's",
                                                  "another thread's other", "after"}));
}

TEST(DecoderComplaints, OverlappingOnesPassEachMessageOnOnce) {
    passedOn.clear();
    const QtMessageHandler before = qInstallMessageHandler(&record);
    {
        DecoderComplaints outer;
        DecoderComplaints inner;
        qCWarning(other) << "once";
        qCWarning(imageIo) << "damaged";
        EXPECT_EQ(inner.first(), "damaged");
    }
    qInstallMessageHandler(before);

    EXPECT_EQ(passedOn, std::vector<std::string>{"once"});
}

}  // namespace
}  // namespace tess
