// Every file of the settings corpus goes through the reader the fuzz target drives: any file is
// read, and what it gave comes back the same after the writer has stored it.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QSettings>
#include <string>

#include "platform/qt/IniFormat.h"
#include "platform/testing/Corpus.h"
#include "platform/testing/TempFolder.h"

namespace tess::qt {
namespace {

QSettings::SettingsMap parse(QByteArray bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QSettings::SettingsMap map;
    EXPECT_TRUE(readIniText(buffer, map));
    return map;
}

class SettingsCorpus : public ::testing::TestWithParam<std::string> {};

TEST_P(SettingsCorpus, ReadsAndComesBackAfterWriting) {
    const std::string bytes = tess::testing::readFileContents(SETTINGS_CORPUS_DIR "/" + GetParam());
    const QSettings::SettingsMap read = parse(QByteArray::fromStdString(bytes));
    bool storable = true;
    for (auto it = read.cbegin(); it != read.cend(); ++it) {
        // an escape in a hand-written file can make a lone surrogate, which no UTF-8 file holds
        storable = storable && it.key().isValidUtf16() && it.value().toString().isValidUtf16();
    }
    if (!storable) {
        return;
    }
    QByteArray written;
    QBuffer out(&written);
    out.open(QIODevice::WriteOnly);
    ASSERT_TRUE(writeIniText(out, read));
    out.close();
    EXPECT_EQ(parse(written), read) << written.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Files, SettingsCorpus,
                         ::testing::ValuesIn(tess::testing::corpusFileNames(SETTINGS_CORPUS_DIR)),
                         [](const auto& file) {
                             return tess::testing::corpusTestName(file.param);
                         });

}  // namespace
}  // namespace tess::qt
