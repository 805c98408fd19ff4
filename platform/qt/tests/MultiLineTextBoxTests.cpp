#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <functional>
#include <string>

#include "platform/qt/MultiLineTextBox.h"
#include "platform/qt/QtText.h"
#include "platform/testing/AddressSpaceLimit.h"

namespace tess::qt {
namespace {

const QString kNbsp(QChar(0xA0));
const QString kParagraph(QChar(0x2029));
// Qt's frame marks, which it also turns into paragraph breaks.
const QString kFrameStart(QChar(0xFDD0));
const QString kFrameEnd(QChar(0xFDD1));

// Puts the caret at `position` of the box's text as Qt counts it (one per line break).
void caretAt(MultiLineTextBox& box, int position) {
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(position);
    box.setTextCursor(cursor);
}

TEST(MultiLineTextBox, GivesBackEveryLineEndItWasGiven) {
    MultiLineTextBox box;
    for (const QString& text :
         {QString("a\r\nb"), QString("a\rb"), QString("a\nb"), QString("a\n\rb"),
          QString("a\r\r\nb"), QString("end\r\n"), QString("\n"), QString(""), "x" + kNbsp + "y",
          "p" + kParagraph + "q", QString("tab\there"),
          "a" + kFrameStart + "b\nc" + kFrameEnd + "d"}) {
        box.setText(text);
        EXPECT_EQ(box.text(), text) << text.toStdString();
    }
}

TEST(MultiLineTextBox, TypedBreaksAreCrLfBesideTheOnesItKeeps) {
    MultiLineTextBox box;
    box.setText("a\nb\rc");
    caretAt(box, 1);  // after "a", before its LF
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(box.text(), "a\r\n\nb\rc");

    caretAt(box, 4);  // after "b", before its CR
    QTest::keyClick(&box, Qt::Key_Delete);
    EXPECT_EQ(box.text(), "a\r\n\nbc");

    box.moveCursor(QTextCursor::End);
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, "d");
    EXPECT_EQ(box.text(), "a\r\n\nbc\r\nd");

    box.selectAll();
    QTest::keyClicks(&box, "new");
    EXPECT_EQ(box.text(), "new");
}

void select(MultiLineTextBox& box, int from, int to) {
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    box.setTextCursor(cursor);
}

// Each edit on "aa\nbb\rcc\r\ndd" (Qt's positions: aa 0-1, bb 3-4, cc 6-7, dd 9-10): the line
// ends it does not touch stay as they were, whatever Qt does with its blocks; a break it makes is
// CR LF, or the line end of the text it pastes.
TEST(MultiLineTextBox, EditsKeepTheLineEndsTheyDoNotTouch) {
    const QString start = "aa\nbb\rcc\r\ndd";
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        return [=](MultiLineTextBox& box) { QTest::keyClick(&box, k, modifiers); };
    };
    const auto paste = [](const QString& text) {
        return [=](MultiLineTextBox& box) {
            QApplication::clipboard()->setText(text);
            box.paste();
        };
    };
    const struct {
        const char* name;
        int from, to;  // the selection, or the caret where they are equal
        std::function<void(MultiLineTextBox&)> edit;
        QString expected;
    } cases[] = {
        {"Enter at the very start", 0, 0, key(Qt::Key_Return), "\r\naa\nbb\rcc\r\ndd"},
        {"Enter at a line's start", 3, 3, key(Qt::Key_Return), "aa\n\r\nbb\rcc\r\ndd"},
        {"Enter inside a line", 4, 4, key(Qt::Key_Return), "aa\nb\r\nb\rcc\r\ndd"},
        {"Enter at a line's end", 5, 5, key(Qt::Key_Return), "aa\nbb\r\n\rcc\r\ndd"},
        {"Enter at the very end", 11, 11, key(Qt::Key_Return), "aa\nbb\rcc\r\ndd\r\n"},
        {"Backspace joins the first two", 3, 3, key(Qt::Key_Backspace), "aabb\rcc\r\ndd"},
        {"Backspace joins the middle two", 6, 6, key(Qt::Key_Backspace), "aa\nbbcc\r\ndd"},
        {"Delete joins the last two", 8, 8, key(Qt::Key_Delete), "aa\nbb\rccdd"},
        {"a selection over two breaks deleted", 1, 7, key(Qt::Key_Delete), "ac\r\ndd"},
        {"a selection of whole lines deleted", 3, 9, key(Qt::Key_Delete), "aa\ndd"},
        {"a selection over a break typed over", 4, 7, key(Qt::Key_X), "aa\nbxc\r\ndd"},
        {"a paste over two breaks", 1, 7, paste("1\r2\n3"), "a1\r2\n3c\r\ndd"},
        {"a paste at a line's start", 6, 6, paste("\n\r"), "aa\nbb\r\n\rcc\r\ndd"},
        {"a paste of a line end alone", 2, 2, paste("\r"), "aa\r\nbb\rcc\r\ndd"},
        {"a break joined and undone comes back as CR LF", 6, 6,
         [](MultiLineTextBox& box) {
             QTest::keyClick(&box, Qt::Key_Backspace);
             box.undo();
         },
         "aa\nbb\r\ncc\r\ndd"},
        {"undone and done again", 6, 6,
         [](MultiLineTextBox& box) {
             QTest::keyClick(&box, Qt::Key_Backspace);
             box.undo();
             box.redo();
         },
         "aa\nbbcc\r\ndd"},
        {"a format over everything changes no line end", 0, 11,
         [](MultiLineTextBox& box) {
             QTextCharFormat bold;
             bold.setFontWeight(QFont::Bold);
             box.textCursor().mergeCharFormat(bold);
         },
         start},
    };
    for (const auto& c : cases) {
        MultiLineTextBox box;
        box.setText(start);
        select(box, c.from, c.to);
        c.edit(box);
        EXPECT_EQ(box.text(), c.expected) << c.name;
    }
}

TEST(MultiLineTextBox, PastedTextKeepsItsLineEndsAndCopiesCarryThem) {
    MultiLineTextBox box;
    box.setText("[\r\n]");
    caretAt(box, 1);
    QApplication::clipboard()->setText("x\ny\rz");
    box.paste();
    EXPECT_EQ(box.text(), "[x\ny\rz\r\n]");

    box.selectAll();
    box.copy();
    EXPECT_EQ(QApplication::clipboard()->text(), "[x\ny\rz\r\n]");
    box.moveCursor(QTextCursor::End);
    box.paste();
    EXPECT_EQ(box.text(), "[x\ny\rz\r\n][x\ny\rz\r\n]");
}

// Lines of 70 characters and CR LF, `bytes` in all.
std::string linesOf70(std::size_t bytes) {
    std::string text;
    text.reserve(bytes + 72);
    while (text.size() < bytes)
        text += std::string(70, 'w') + "\r\n";
    text.resize(bytes);
    return text;
}

// `text` cut before each of `cuts` (in order), with an empty piece at the first cut.
TextPieces cut(const std::string& text, const std::vector<std::size_t>& cuts) {
    std::vector<std::string> pieces;
    std::size_t from = 0;
    for (const std::size_t at : cuts) {
        pieces.push_back(text.substr(from, at - from));
        if (pieces.size() == 1)
            pieces.emplace_back();
        from = at;
    }
    pieces.push_back(text.substr(from));
    return TextPieces(std::move(pieces));
}

// A UTF-8 text goes into the document a part at a time, however it is cut into pieces: the box
// holds what the whole text turned into UTF-16 at once is, line ends included, and shows it as a
// box given that text whole does.
TEST(MultiLineTextBox, UTF8TextInPiecesIsTheWholeTextTurnedAtOnce) {
    constexpr std::size_t kMiB = std::size_t{1} << 20;
    struct Case {
        std::string text;
        std::vector<std::size_t> cuts;
    };
    std::vector<Case> cases;
    for (const std::string& text : {std::string(""), std::string("x"), std::string("a\r\nb\rc\nd"),
                                    std::string("\xEF\xBB\xBF"
                                                "bom kept"),
                                    std::string("cut \xE2\x82"),
                                    std::string("stray \x80\x80"
                                                " bytes"),
                                    std::string("\xE2\x80\xA9"
                                                "para\xE2\x80\xA8"
                                                "line"),
                                    std::string("frame\xEF\xB7\x90"
                                                "marks\xEF\xB7\x91"),
                                    std::string("\xF0\x9F\x98\x80\r\n\xE2\x82\xAC\r")}) {
        cases.push_back({text, {}});
        std::vector<std::size_t> everyByte;
        for (std::size_t at = 1; at < text.size(); ++at)
            everyByte.push_back(at);
        cases.push_back({text, everyByte});
    }
    // Something that must not be cut, across the end of the box's first part, and cut inside.
    for (const std::string special :
         {"\r\n", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xEF\xBB\xBF", "\xE2\x80\xA9", "\x80\x80"}) {
        for (std::size_t at = kMiB - 2; at <= kMiB + 1; ++at) {
            std::string text = linesOf70(kMiB + 64);
            text.replace(at, special.size(), special);
            cases.push_back({text, {at + 1}});
        }
    }
    cases.push_back({linesOf70(3 * kMiB + 5), {}});
    MultiLineTextBox box;
    MultiLineTextBox whole;
    for (const Case& c : cases) {
        const std::string shown = c.text.substr(0, 16) + " cut " + std::to_string(c.cuts.size());
        box.setText("before");
        box.setUtf8Text(cut(c.text, c.cuts));
        whole.setText(toQ(c.text));
        ASSERT_TRUE(box.text() == toQ(c.text)) << shown;
        EXPECT_EQ(box.toPlainText(), whole.toPlainText()) << shown;
        EXPECT_EQ(box.document()->blockCount(), whole.document()->blockCount()) << shown;
        EXPECT_EQ(box.textCursor().position(), 0) << shown;
        EXPECT_EQ(box.verticalScrollBar()->value(), 0) << shown;
        EXPECT_EQ(box.textCursor().charFormat(), whole.textCursor().charFormat()) << shown;
        EXPECT_FALSE(box.document()->isUndoAvailable()) << shown;
        EXPECT_FALSE(box.document()->isModified()) << shown;
    }
}

// What the mosaic run reads: the text with its line ends in UTF-8, as text() gives it.
TEST(MultiLineTextBox, UTF8TextIsTheTextInUTF8) {
    const QString pair = QString::fromUtf8("\xF0\x9F\x98\x80");
    std::vector<QString> texts = {"", "a\r\nb\rc\nd" + kParagraph + "e" + kFrameEnd + "f",
                                  "x" + kNbsp + "\xE9" + pair + "\r\n" + pair};
    // Long texts with a surrogate pair about where the box cuts them into parts (a megabyte of
    // the document's characters; with LF alone for a line end, the text's places are the
    // document's).
    for (const int at : {(1 << 20) - 2, (1 << 20) - 1, 1 << 20}) {
        QString text;
        while (text.size() < at)
            text += "word word\n";
        text.truncate(at);
        texts.push_back(text + pair + "\r\nend");
    }
    MultiLineTextBox box;
    for (const QString& text : texts) {
        box.setText(text);
        // Compared as a whole, not printed: a long text's difference is too large to print.
        const std::string utf8 = box.utf8Text();
        EXPECT_TRUE(utf8 == box.text().toStdString()) << text.size();
        EXPECT_TRUE(utf8 == text.toStdString()) << text.size();
    }
}

// A long text costs its document and no more: the scroll bar it brings does not lay out every
// line again (Qt keeps a layout of several hundred bytes for each line it has laid out), whether
// the box is shown when the text comes or only later. Without the memory for the document, the
// box keeps its text.
TEST(MultiLineTextBox, ALongTextCostsItsDocumentAndNoLayoutOfEveryLine) {
    constexpr std::size_t kBytes = std::size_t{16} << 20;
    const std::string text = linesOf70(kBytes);
    for (const bool shownFirst : {true, false}) {
        SCOPED_TRACE(shownFirst ? "shown" : "shown later");
        QWidget window;
        window.resize(440, 200);
        QWidget page(&window);
        page.setGeometry(0, 0, 440, 200);
        MultiLineTextBox box(&page);
        box.setGeometry(10, 106, 403, 64);
        box.setText("kept");
        window.show();
        if (!shownFirst)
            page.hide();
        QCoreApplication::processEvents();
        std::string handed = text;
        {
            testing::AddressSpaceLimit limit(10 * kBytes);
            if (!limit.active())
                GTEST_SKIP() << "the address space cannot be limited here";
            box.setUtf8Text(std::move(handed));
            page.show();
            QCoreApplication::processEvents();
        }
        EXPECT_TRUE(box.verticalScrollBar()->isVisible());
        EXPECT_EQ(box.document()->blockCount(), static_cast<int>(kBytes / 72) + 1);
        EXPECT_TRUE(box.text() == toQ(text));

        box.setText("kept");
        QCoreApplication::processEvents();
        EXPECT_FALSE(box.verticalScrollBar()->isVisible());
        handed = text;
        {
            testing::AddressSpaceLimit limit(4 * kBytes);
            EXPECT_THROW(box.setUtf8Text(std::move(handed)), std::bad_alloc);
        }
        EXPECT_EQ(box.text(), "kept");
    }
}

}  // namespace
}  // namespace tess::qt
