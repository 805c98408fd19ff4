#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <string>

#include "platform/Text.h"
#include "platform/qt/IniSettingsStore.h"

namespace tess::qt {
namespace {

class IniSettingsStoreTest : public ::testing::Test {
  protected:
    QString path(const QString& relative) const { return root_.path() + u'/' + relative; }

    QByteArray fileBytes(const QString& relative) const {
        QFile file(path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void writeFile(const QString& relative, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir root_;
    IniSettingsStore store_{root_.path()};
};

TEST_F(IniSettingsStoreTest, ApplicationNamesBecomeFilesAndFolders) {
    EXPECT_EQ(store_.fileFor("Tessaryn32"), path("Tessaryn32.ini"));
    EXPECT_EQ(store_.fileFor("Tessaryn32\\TGLBuilder"), path("Tessaryn32/TGLBuilder.ini"));
    EXPECT_EQ(store_.fileFor("Tessaryn32\\Explorer"), path("Tessaryn32/Explorer.ini"));
    EXPECT_EQ(store_.fileFor(""), QString());
    // no name can leave the root folder or hide its file
    EXPECT_EQ(store_.fileFor("..\\..\\evil"), path("%2E./%2E./evil.ini"));
    EXPECT_EQ(store_.fileFor("a/b"), path("a%2Fb.ini"));

    store_.save("Tessaryn32", "Settings", "Mode", "3");
    store_.save("Tessaryn32\\TGLBuilder", "Info", "TesAppPath", "/opt/tessaryn/");
    store_.save("Tessaryn32\\Explorer", "MRU", "DirList", "/home/u/m/");
    EXPECT_TRUE(QFileInfo::exists(path("Tessaryn32.ini")));
    EXPECT_TRUE(QFileInfo::exists(path("Tessaryn32/TGLBuilder.ini")));
    EXPECT_TRUE(QFileInfo::exists(path("Tessaryn32/Explorer.ini")));
}

TEST_F(IniSettingsStoreTest, MissingValuesGiveTheFallback) {
    EXPECT_EQ(store_.get("Tessaryn32", "Settings", "Splash", "1"), "1");
    store_.save("Tessaryn32", "Settings", "Mode", "3");
    EXPECT_EQ(store_.get("Tessaryn32", "Settings", "Splash", "1"), "1");
    EXPECT_EQ(store_.get("Tessaryn32", "Other", "Mode", "x"), "x");
    EXPECT_EQ(store_.get("Tessaryn32\\Explorer", "Settings", "Mode", "x"), "x");
    store_.save("Tessaryn32", "Settings", "Empty", "");
    EXPECT_EQ(store_.get("Tessaryn32", "Settings", "Empty", "fallback"), "");
}

TEST_F(IniSettingsStoreTest, EveryTextRoundTrips) {
    const std::string values[] = {
        "",
        "3",
        " leading",
        "trailing ",
        "  both  ",
        "\tab\t",
        "a,b",
        "/home/u/one/,/home/u/two/",
        "a , b ,c",
        "k=v",
        "x;y",
        "\"quoted\"",
        "back\\slash\\",
        "C:\\Tools\\",
        "\\n is not a line break",
        "line\r\nbreak",
        std::string("nul\0"
                    "5",
                    5),
        "\x01"
        "F",
        "caf\xC3\xA9 \xE2\x82\xAC \xE6\x97\xA5\xF0\x9F\x98\x80",
        "@at",
        "@@",
        "@Variant(x)",
        "[not a section]",
        "#hash",
        "100%",
        // U+FEFF alone, first, last, and right after an escape: never taken for a byte-order mark
        "\xEF\xBB\xBF",
        "\xEF\xBB\xBF"
        "x",
        "x\xEF\xBB\xBF",
        "\t\xEF\xBB\xBF",
        "\"\xEF\xBB\xBF\xEF\xBB\xBF\"",
    };
    for (const std::string& value : values) {
        store_.save("Tessaryn32", "Settings", "Value", value);
        EXPECT_EQ(store_.get("Tessaryn32", "Settings", "Value"), value) << value;
        EXPECT_EQ(IniSettingsStore(root_.path()).get("Tessaryn32", "Settings", "Value"), value)
            << value;
    }
}

TEST_F(IniSettingsStoreTest, EveryCodePointRoundTrips) {
    std::u32string all;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c < 0xD800 || c > 0xDFFF) {
            all += c;
        }
    }
    const std::string value = utf8::encode(all);
    store_.save("Tessaryn32", "Settings", "Value", value);
    // A copy under another name is read from its bytes, not from what Qt keeps of the first file.
    ASSERT_TRUE(QFile::copy(path("Tessaryn32.ini"), path("Copy.ini")));
    EXPECT_EQ(store_.get("Copy", "Settings", "Value"), value);
}

TEST_F(IniSettingsStoreTest, OddSectionAndKeyNamesRoundTrip) {
    const std::string names[] = {"With Blank", "a/b", "a\\b", "100%", "caf\xC3\xA9", "[x]", "k=v"};
    for (const std::string& name : names) {
        store_.save("Tessaryn32", name, name, "v-" + name);
    }
    for (const std::string& name : names) {
        EXPECT_EQ(store_.get("Tessaryn32", name, name), "v-" + name) << name;
    }
}

TEST_F(IniSettingsStoreTest, ApplicationsAreIndependent) {
    store_.save("Tessaryn32", "Explorer", "SortKey", "1");
    store_.save("Tessaryn32\\Explorer", "Explorer", "SortKey", "2");
    EXPECT_EQ(store_.get("Tessaryn32", "Explorer", "SortKey"), "1");
    EXPECT_EQ(store_.get("Tessaryn32\\Explorer", "Explorer", "SortKey"), "2");
}

TEST_F(IniSettingsStoreTest, SectionAndKeyNamesIgnoreCase) {
    store_.save("Tessaryn32", "Settings", "Splash", "0");
    store_.save("Tessaryn32", "SETTINGS", "splash", "1");
    store_.save("Tessaryn32", "settings", "Mode", "3");
    EXPECT_EQ(store_.get("Tessaryn32", "Settings", "SPLASH"), "1");
    const QByteArray bytes = fileBytes("Tessaryn32.ini");
    EXPECT_EQ(bytes.count("[Settings]"), 1) << bytes.constData();
    EXPECT_EQ(bytes.count("Splash="), 1) << bytes.constData();
    EXPECT_EQ(bytes.count("splash="), 0) << bytes.constData();
}

TEST_F(IniSettingsStoreTest, SavesReachTheFileAtOnceAndMergeWithOtherInstances) {
    IniSettingsStore other(root_.path());
    store_.save("Tessaryn32", "Settings", "LastFile1", "/home/u/a.tpw");
    EXPECT_TRUE(fileBytes("Tessaryn32.ini").contains("LastFile1="));
    EXPECT_EQ(other.get("Tessaryn32", "Settings", "LastFile1"), "/home/u/a.tpw");

    other.save("Tessaryn32", "Settings", "LastFile2", "/home/u/b.tpw");
    store_.save("Tessaryn32", "Settings", "LastFile3", "/home/u/c.tpw");
    IniSettingsStore third(root_.path());
    EXPECT_EQ(third.get("Tessaryn32", "Settings", "LastFile1"), "/home/u/a.tpw");
    EXPECT_EQ(third.get("Tessaryn32", "Settings", "LastFile2"), "/home/u/b.tpw");
    EXPECT_EQ(third.get("Tessaryn32", "Settings", "LastFile3"), "/home/u/c.tpw");
}

TEST_F(IniSettingsStoreTest, RemovesKeysAndSections) {
    store_.save("Tessaryn32", "Settings", "LastFX", "Blur");
    store_.save("Tessaryn32", "Settings", "Mode", "3");
    store_.save("Tessaryn32", "Explorer", "ShowGrid", "0");
    store_.remove("Tessaryn32", "settings", "lastfx");
    EXPECT_EQ(store_.get("Tessaryn32", "Settings", "LastFX", "gone"), "gone");
    EXPECT_EQ(store_.get("Tessaryn32", "Settings", "Mode"), "3");
    store_.remove("Tessaryn32", "Settings");
    EXPECT_EQ(store_.get("Tessaryn32", "Settings", "Mode", "gone"), "gone");
    EXPECT_EQ(store_.get("Tessaryn32", "Explorer", "ShowGrid"), "0");
    EXPECT_EQ(IniSettingsStore(root_.path()).get("Tessaryn32", "Explorer", "ShowGrid"), "0");

    store_.remove("Tessaryn32\\Nothing", "Settings", "Mode");
    EXPECT_FALSE(QFileInfo::exists(path("Tessaryn32/Nothing.ini")));
}

TEST_F(IniSettingsStoreTest, HandWrittenFilesAreReadRaw) {
    writeFile("Tessaryn32.ini",
              "\xEF\xBB\xBF; written by hand\r\n"
              "[Settings]\r\n"
              "DirList=/home/u/one/,/home/u/two/\r\n"
              "  Spaced  =   value with blanks   \r\n"
              "Quoted=\" padded \"\r\n"
              "Semi=a;b\r\n"
              "Windows=C:\\Tools\\\r\n"
              "Empty=\r\n"
              "Equals=a=b\r\n"
              "Latin1=caf\xE9\t\r\n"
              "NoValueLine\r\n"
              "\r\n"
              "[ Explorer ]\r\n"
              "SortKey=2\r\n");
    EXPECT_EQ(store_.get("Tessaryn32", "Settings", "DirList"), "/home/u/one/,/home/u/two/");
    EXPECT_EQ(store_.get("Tessaryn32", "Settings", "Spaced"), "value with blanks");
    EXPECT_EQ(store_.get("Tessaryn32", "Settings", "Quoted"), " padded ");
    EXPECT_EQ(store_.get("Tessaryn32", "Settings", "Semi"), "a;b");
    EXPECT_EQ(store_.get("Tessaryn32", "Settings", "Windows"), "C:\\Tools\\");
    EXPECT_EQ(store_.get("Tessaryn32", "Settings", "Empty", "x"), "");
    EXPECT_EQ(store_.get("Tessaryn32", "Settings", "Equals"), "a=b");
    // A byte that is not UTF-8 (an "é" of another code page) stays as a replacement character,
    // even where only blanks follow it.
    EXPECT_EQ(store_.get("Tessaryn32", "Settings", "Latin1"), "caf\xEF\xBF\xBD");
    EXPECT_EQ(store_.get("Tessaryn32", "Settings", "NoValueLine", "x"), "x");
    EXPECT_EQ(store_.get("Tessaryn32", "Explorer", "SortKey"), "2");

    // Rewriting the file for another key keeps the hand-written values as they were read.
    store_.save("Tessaryn32", "Settings", "Mode", "4");
    EXPECT_EQ(store_.get("Tessaryn32", "Settings", "DirList"), "/home/u/one/,/home/u/two/");
    EXPECT_EQ(store_.get("Tessaryn32", "Settings", "Windows"), "C:\\Tools\\");
    EXPECT_EQ(store_.get("Tessaryn32", "Explorer", "SortKey"), "2");
}

TEST_F(IniSettingsStoreTest, EachInstanceSeesWhatOthersWroteSinceItRead) {
    // Each instance keeps what it parsed; a change on disk, however quick and whatever its size,
    // is read again.
    IniSettingsStore other(root_.path());
    store_.save("Tessaryn32", "Settings", "Mode", "0");
    ASSERT_EQ(other.get("Tessaryn32", "Settings", "Mode"), "0");
    for (int i = 1; i <= 40; ++i) {
        IniSettingsStore& writer = i % 2 == 0 ? store_ : other;
        IniSettingsStore& reader = i % 2 == 0 ? other : store_;
        const std::string value = std::to_string(i % 10);
        writer.save("Tessaryn32", "Settings", "Mode", value);
        ASSERT_EQ(reader.get("Tessaryn32", "Settings", "Mode"), value) << i;
        ASSERT_EQ(writer.get("Tessaryn32", "Settings", "Mode"), value) << i;
    }
    // Written in place by hand (the same file, not a new one).
    writeFile("Tessaryn32.ini", "[Settings]\nMode=hand\nOther=1\n");
    EXPECT_EQ(store_.get("Tessaryn32", "Settings", "Mode"), "hand");
    EXPECT_EQ(other.get("Tessaryn32", "Settings", "Other"), "1");
    // Removed: nothing is read from what was parsed before, and a save starts a new file.
    ASSERT_TRUE(QFile::remove(path("Tessaryn32.ini")));
    EXPECT_EQ(store_.get("Tessaryn32", "Settings", "Mode", "gone"), "gone");
    other.save("Tessaryn32", "Settings", "Splash", "0");
    EXPECT_EQ(fileBytes("Tessaryn32.ini"), "[Settings]\nSplash=0\n");
    EXPECT_EQ(store_.get("Tessaryn32", "Settings", "Other", "gone"), "gone");
}

TEST_F(IniSettingsStoreTest, KeysNoProgramKnowsStayThroughEverySave) {
    writeFile("Tessaryn32.ini",
              "[Settings]\r\nMode=3\r\nFromANewerVersion=a,b\r\n"
              "[Plugins]\r\nSomething=\"  x  \"\r\n"
              "[settings]\r\nLower=1\r\n");
    store_.save("Tessaryn32", "Settings", "Mode", "4");
    store_.remove("Tessaryn32", "Settings", "NotThere");
    IniSettingsStore fresh(root_.path());
    EXPECT_EQ(fresh.get("Tessaryn32", "Settings", "Mode"), "4");
    EXPECT_EQ(fresh.get("Tessaryn32", "Settings", "FromANewerVersion"), "a,b");
    EXPECT_EQ(fresh.get("Tessaryn32", "Plugins", "Something"), "  x  ");
    EXPECT_EQ(fresh.get("Tessaryn32", "SETTINGS", "lower"), "1");
    // The file is written whole, sorted as Qt's settings write it.
    EXPECT_EQ(fileBytes("Tessaryn32.ini"),
              "[Plugins]\nSomething=\"  x  \"\n\n"
              "[Settings]\nFromANewerVersion=\"a,b\"\nMode=4\n\n"
              "[settings]\nLower=1\n");

    // A value saved as it stands leaves the file as it is.
    writeFile("Tessaryn32.ini", "; by hand\n[Settings]\n  Mode = 4 \n");
    store_.save("Tessaryn32", "settings", "MODE", "4");
    EXPECT_EQ(fileBytes("Tessaryn32.ini"), "; by hand\n[Settings]\n  Mode = 4 \n");
}

TEST_F(IniSettingsStoreTest, OnlyARegularFileIsReadOrWrittenOver) {
    // A FIFO would block the read for ever; a folder cannot be parsed.
    ASSERT_EQ(::mkfifo(path("Tessaryn32.ini").toLocal8Bit().constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkpath(path("Other.ini")));
    for (const char* app : {"Tessaryn32", "Other"}) {
        EXPECT_EQ(store_.get(app, "Settings", "Mode", "none"), "none") << app;
        store_.save(app, "Settings", "Mode", "3");
        store_.remove(app, "Settings");
        EXPECT_EQ(store_.get(app, "Settings", "Mode", "none"), "none") << app;
    }
    EXPECT_FALSE(QFileInfo(path("Tessaryn32.ini")).isFile());
    EXPECT_TRUE(QFileInfo(path("Other.ini")).isDir());
}

TEST_F(IniSettingsStoreTest, WrittenFilesReadTheSameWithQtsOwnIniFormat) {
    store_.save("Tessaryn32", "Settings", "DirList", "/home/u/one/,/home/u/two/");
    store_.save("Tessaryn32", "Settings", "Title", " Image From \"x\" \\ ");
    store_.save("Tessaryn32", "Settings", "Name", "caf\xC3\xA9");
    QSettings qt(path("Tessaryn32.ini"), QSettings::IniFormat);
    EXPECT_EQ(qt.value("Settings/DirList").toString(), QString("/home/u/one/,/home/u/two/"));
    EXPECT_EQ(qt.value("Settings/Title").toString(), QString(" Image From \"x\" \\ "));
    EXPECT_EQ(qt.value("Settings/Name").toString(), QString::fromUtf8("caf\xC3\xA9"));
}

}  // namespace
}  // namespace tess::qt
