#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QMenu>
#include <QScrollBar>
#include <QStyleHints>
#include <QTest>
#include <QTextBoundaryFinder>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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

void caretAt(MultiLineTextBox& box, int position) {
    box.setCursorPosition(position);
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

    caretAt(box, 5);  // after "b", before its CR
    QTest::keyClick(&box, Qt::Key_Delete);
    EXPECT_EQ(box.text(), "a\r\n\nbc");

    QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, "d");
    EXPECT_EQ(box.text(), "a\r\n\nbc\r\nd");

    box.selectAll();
    QTest::keyClicks(&box, "new");
    EXPECT_EQ(box.text(), "new");
}

void select(MultiLineTextBox& box, int from, int to) {
    box.setSelection(from, to);
}

// Each edit on "aa\nbb\rcc\r\ndd" (aa 0-1, bb 3-4, cc 6-7, dd 10-11): the line ends it does not
// touch stay as they were; a break it makes is CR LF, or the line end of the text it pastes; an
// undo brings back what was there.
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
        {"Enter at the very end", 12, 12, key(Qt::Key_Return), "aa\nbb\rcc\r\ndd\r\n"},
        {"Backspace joins the first two", 3, 3, key(Qt::Key_Backspace), "aabb\rcc\r\ndd"},
        {"Backspace joins the middle two", 6, 6, key(Qt::Key_Backspace), "aa\nbbcc\r\ndd"},
        {"Delete joins the last two", 8, 8, key(Qt::Key_Delete), "aa\nbb\rccdd"},
        {"a selection over two breaks deleted", 1, 7, key(Qt::Key_Delete), "ac\r\ndd"},
        {"a selection of whole lines deleted", 3, 10, key(Qt::Key_Delete), "aa\ndd"},
        {"a selection over a break typed over", 4, 7, key(Qt::Key_X), "aa\nbxc\r\ndd"},
        {"a paste over two breaks", 1, 7, paste("1\r2\n3"), "a1\r2\n3c\r\ndd"},
        {"a paste at a line's start", 6, 6, paste("\n\r"), "aa\nbb\r\n\rcc\r\ndd"},
        {"a paste of a line end alone", 2, 2, paste("\r"), "aa\r\nbb\rcc\r\ndd"},
        {"a break joined and undone comes back as it was", 6, 6,
         [](MultiLineTextBox& box) {
             QTest::keyClick(&box, Qt::Key_Backspace);
             box.undo();
         },
         start},
        {"undone and done again", 6, 6,
         [](MultiLineTextBox& box) {
             QTest::keyClick(&box, Qt::Key_Backspace);
             box.undo();
             box.redo();
         },
         "aa\nbbcc\r\ndd"},
        {"a typed word is undone whole", 6, 6,
         [](MultiLineTextBox& box) {
             QTest::keyClicks(&box, "word");
             box.undo();
         },
         start},
        {"Ctrl+Backspace takes the word before", 8, 8, key(Qt::Key_Backspace, Qt::ControlModifier),
         "aa\nbb\r\r\ndd"},
        {"Delete before a CR LF takes both", 8, 8, key(Qt::Key_Delete), "aa\nbb\rccdd"},
        {"a place inside a CR LF is the place before it", 9, 9, key(Qt::Key_X),
         "aa\nbb\rccx\r\ndd"},
    };
    for (const auto& c : cases) {
        MultiLineTextBox box;
        box.setText(start);
        select(box, c.from, c.to);
        c.edit(box);
        EXPECT_EQ(box.text(), c.expected) << c.name;
    }
}

// A CR and an LF an edit brings side by side are one line end from then on: the caret is left
// past it, so what is typed next goes after it and does not part them again.
TEST(MultiLineTextBox, ACrAndAnLfAnEditJoinsAreNotPartedByTheNextKey) {
    const auto key = [](Qt::Key k) {
        return [=](MultiLineTextBox& box) { QTest::keyClick(&box, k); };
    };
    const struct {
        const char* name;
        QString start;
        int from, to;
        std::function<void(MultiLineTextBox&)> edit;
    } cases[] = {
        {"Backspace over what stood between", "a\rx\nb", 3, 3, key(Qt::Key_Backspace)},
        {"Delete of what stood between", "a\rx\nb", 2, 2, key(Qt::Key_Delete)},
        {"that deletion undone and done again", "a\rx\nb", 2, 3,
         [](MultiLineTextBox& box) {
             QTest::keyClick(&box, Qt::Key_Delete);
             box.undo();
             box.redo();
         }},
        {"a CR pasted before an LF", "a\nb", 1, 1,
         [](MultiLineTextBox& box) {
             QApplication::clipboard()->setText("\r");
             box.paste();
         }},
    };
    for (const auto& c : cases) {
        MultiLineTextBox box;
        box.setText(c.start);
        box.setSelection(c.from, c.to);
        c.edit(box);
        QTest::keyClicks(&box, "y");
        EXPECT_EQ(box.text(), "a\r\nyb") << c.name;
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
    box.setCursorPosition(box.length());
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
        ASSERT_TRUE(box.text() == whole.text()) << shown;
        EXPECT_EQ(box.cursorPosition(), 0) << shown;
        EXPECT_EQ(box.verticalScrollBar()->value(), 0) << shown;
        EXPECT_FALSE(box.isUndoAvailable()) << shown;
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

// A long text costs a few times its size: two bytes a character, four a line and the layouts of
// the lines in view, whether the box is shown when the text comes or only later. Without the
// memory for the text, the box keeps its text.
TEST(MultiLineTextBox, ALongTextCostsAFewTimesItsSize) {
    constexpr std::size_t kBytes = std::size_t{16} << 20;
    std::string oneCharacter;
    while (oneCharacter.size() < kBytes)
        oneCharacter += "x\r\n";
    const struct {
        const char* name;
        std::string text;
        std::size_t bound;  // in address space, times the text's size
    } cases[] = {{"lines of 70", linesOf70(kBytes), 3},
                 {"lines of one character", oneCharacter, 4},
                 {"one line", std::string(kBytes, 'w'), 3}};
    for (const auto& c : cases) {
        for (const bool shownFirst : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (shownFirst ? ", shown" : ", shown later"));
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
            std::string handed = c.text;
            {
                testing::AddressSpaceLimit limit(c.bound * c.text.size());
                if (!limit.active())
                    GTEST_SKIP() << "the address space cannot be limited here";
                box.setUtf8Text(std::move(handed));
                page.show();
                QCoreApplication::processEvents();
                QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
                QTest::keyClicks(&box, "!");
                QCoreApplication::processEvents();
            }
            EXPECT_TRUE(box.verticalScrollBar()->isVisible());
            EXPECT_EQ(box.verticalScrollBar()->value(), box.verticalScrollBar()->maximum());
            EXPECT_TRUE(box.utf8Text() == c.text + "!");

            box.setText("kept");
            QCoreApplication::processEvents();
            EXPECT_FALSE(box.verticalScrollBar()->isVisible());
            handed = c.text;
            {
                testing::AddressSpaceLimit limit(c.text.size());
                EXPECT_THROW(MultiLineTextBox::checkRoomFor(c.text), std::bad_alloc);
                EXPECT_THROW(box.setUtf8Text(std::move(handed)), std::bad_alloc);
            }
            EXPECT_EQ(box.text(), "kept");
        }
    }
}

// The caret moves over a CR LF as over one character and never stops inside it; Home and End
// keep to the row; a selection made with the keys takes the line ends it crosses.
TEST(MultiLineTextBox, TheCaretStepsOverLineEndsWhole) {
    MultiLineTextBox box;
    box.resize(300, 100);
    box.setText(QString("ab\r\ncd\ref\n") + QString::fromUtf8("\xF0\x9F\x98\x80") + "g");
    const struct {
        const char* name;
        int from;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int caret, anchor;
    } cases[] = {
        {"Right over a CR LF", 2, Qt::Key_Right, Qt::NoModifier, 4, 4},
        {"Left over a CR LF", 4, Qt::Key_Left, Qt::NoModifier, 2, 2},
        {"Right over a lone CR", 6, Qt::Key_Right, Qt::NoModifier, 7, 7},
        {"Right over a surrogate pair", 10, Qt::Key_Right, Qt::NoModifier, 12, 12},
        {"Left over a surrogate pair", 12, Qt::Key_Left, Qt::NoModifier, 10, 10},
        {"End of a row", 4, Qt::Key_End, Qt::NoModifier, 6, 6},
        {"Home of a row", 6, Qt::Key_Home, Qt::NoModifier, 4, 4},
        {"Down keeps the column", 1, Qt::Key_Down, Qt::NoModifier, 5, 5},
        {"Up from the first row goes to the start", 1, Qt::Key_Up, Qt::NoModifier, 0, 0},
        {"Down from the last row goes to the end", 11, Qt::Key_Down, Qt::NoModifier, 13, 13},
        {"Shift+Right takes the CR LF", 2, Qt::Key_Right, Qt::ShiftModifier, 4, 2},
        {"Ctrl+End", 0, Qt::Key_End, Qt::ControlModifier, 13, 13},
        {"Ctrl+Shift+Home", 5, Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier, 0, 5},
    };
    for (const auto& c : cases) {
        box.setCursorPosition(c.from);
        QTest::keyClick(&box, c.key, c.modifiers);
        EXPECT_EQ(box.cursorPosition(), c.caret) << c.name;
        EXPECT_EQ(box.anchorPosition(), c.anchor) << c.name;
    }
    box.setSelection(2, 4);
    EXPECT_EQ(box.selectedText(), "\r\n");
    box.setSelection(3, 3);
    EXPECT_EQ(box.cursorPosition(), 2);  // not inside the CR LF
}

// End stops before a row's last character where the row wraps or a part of a long line ends; a
// character of two units there is passed whole, never cut.
TEST(MultiLineTextBox, TheEndOfAWrappedRowKeepsASurrogatePairWhole) {
    const auto k = static_cast<int>(MultiLineTextBox::kSegment);
    const QString pair = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString pairs = pair.repeated(60);
    QString partEndingInAPair(k + 10, 'w');
    partEndingInAPair.replace(k - 2, 2, pair);
    const struct {
        const char* name;
        QString text;
        int width;
        int from;
    } cases[] = {
        {"rows of pairs wrapped anywhere", pairs, 120, 0},
        {"a part that ends with a pair", partEndingInAPair, 403, k - 3},
    };
    const auto insidePair = [](const QString& text, qsizetype place) {
        return place > 0 && place < text.size() && text[place].isLowSurrogate() &&
               text[place - 1].isHighSurrogate();
    };
    for (const auto& c : cases) {
        MultiLineTextBox box;
        box.resize(c.width, 100);
        box.show();
        box.setText(c.text);
        QCoreApplication::processEvents();
        box.setCursorPosition(c.from);
        for (int row = 0; row < 4; ++row) {
            QTest::keyClick(&box, Qt::Key_End);
            EXPECT_FALSE(insidePair(c.text, box.cursorPosition())) << c.name << ", row " << row;
            QTest::keyClick(&box, Qt::Key_Down);
        }
    }
}

// A line longer than one part is laid out a part at a time: the scroll bar counts the parts, the
// caret crosses from one part into the next (a surrogate pair at the cut kept whole), and the
// text is the text.
TEST(MultiLineTextBox, ALongLineIsShownAPartAtATime) {
    const auto k = static_cast<int>(MultiLineTextBox::kSegment);
    QString line(3 * k + 5, 'w');
    const QString pair = QString::fromUtf8("\xF0\x9F\x98\x80");
    line.replace(k - 1, 2, pair);  // across the end of the first part
    QWidget window;
    MultiLineTextBox box(&window);
    box.setGeometry(0, 0, 403, 64);
    window.show();
    box.setText("first\r\n" + line + "\r\nlast");
    QCoreApplication::processEvents();
    EXPECT_TRUE(box.verticalScrollBar()->isVisible());
    EXPECT_GE(box.verticalScrollBar()->maximum(), 4);

    box.setCursorPosition(7 + k - 1);  // before the pair
    QTest::keyClick(&box, Qt::Key_Right);
    EXPECT_EQ(box.cursorPosition(), 7 + k + 1);
    QTest::keyClick(&box, Qt::Key_Left);
    EXPECT_EQ(box.cursorPosition(), 7 + k - 1);

    box.setCursorPosition(7 + 2 * k - 1);
    QTest::keyClicks(&box, "ab");  // across the end of the second part
    QTest::keyClick(&box, Qt::Key_Left);
    QTest::keyClick(&box, Qt::Key_Left);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QString expected = "first\r\n" + line + "\r\nlast";
    expected.replace(7 + 2 * k - 2, 1, "");
    expected.insert(7 + 2 * k - 2, "ab");
    EXPECT_TRUE(box.text() == expected);

    QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(box.verticalScrollBar()->value(), box.verticalScrollBar()->maximum());
    QTest::keyClick(&box, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(box.verticalScrollBar()->value(), 0);
}

// Edits that make, join, part and take away long lines leave the box showing what a box given
// the edited text afresh shows: the same parts (the scroll bar's range) and the same rows.
TEST(MultiLineTextBox, EditedLongLinesShowAsTheTextSetAfresh) {
    const auto k = static_cast<int>(MultiLineTextBox::kSegment);
    const QString longLine(2 * k + 10, 'w');
    const QString start = "a\r\n" + longLine + "\r\nb\r\n" + longLine + "\rc";
    const auto paste = [](const QString& text) {
        return [=](MultiLineTextBox& box) {
            QApplication::clipboard()->setText(text);
            box.paste();
        };
    };
    const auto key = [](Qt::Key k_) {
        return [=](MultiLineTextBox& box) { QTest::keyClick(&box, k_); };
    };
    const int length = 2 * k + 10;
    const int secondLong = 3 + length + 2 + 3;
    const struct {
        const char* name;
        int from, to;
        std::function<void(MultiLineTextBox&)> edit;
    } cases[] = {
        {"a long line pasted at the start", 0, 0, paste(longLine + "\n")},
        {"a long line pasted inside another", 3 + k, 3 + k, paste(longLine)},
        {"a long line parted with Enter", 3 + k, 3 + k, key(Qt::Key_Return)},
        {"two long lines joined", secondLong - 3, secondLong, key(Qt::Key_Delete)},
        {"a long line taken away", 3, 3 + length + 2, key(Qt::Key_Delete)},
        {"a short line made long", 0, 0, paste(QString(k + 1, 'x'))},
        {"a CR joined to an LF", secondLong + length, secondLong + length + 1, paste("\r\n")},
        {"everything replaced", 0, static_cast<int>(start.size()), paste("x")},
    };
    QWidget window;
    MultiLineTextBox box(&window);
    box.setGeometry(0, 0, 403, 64);
    MultiLineTextBox fresh(&window);
    fresh.setGeometry(0, 70, 403, 64);
    window.show();
    for (const auto& c : cases) {
        for (const bool undone : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (undone ? ", undone" : ""));
            box.setText(start);
            box.setSelection(c.from, c.to);
            c.edit(box);
            if (undone)
                box.undo();
            fresh.setText(box.text());
            QCoreApplication::processEvents();
            EXPECT_EQ(box.verticalScrollBar()->maximum(), fresh.verticalScrollBar()->maximum());
            QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
            QTest::keyClick(&fresh, Qt::Key_End, Qt::ControlModifier);
            EXPECT_EQ(box.verticalScrollBar()->value(), fresh.verticalScrollBar()->value());
            for (int up = 0; up < 6; ++up) {
                QTest::keyClick(&box, Qt::Key_Up);
                QTest::keyClick(&fresh, Qt::Key_Up);
                EXPECT_EQ(box.cursorPosition(), fresh.cursorPosition()) << up;
            }
        }
    }
}

// The mouse puts the caret where it is pressed, a drag selects, a double click takes a word; in a
// box that is read-only nothing typed, pasted or dropped changes the text.
TEST(MultiLineTextBox, MouseSelectsAndAReadOnlyBoxKeepsItsText) {
    MultiLineTextBox box;
    box.resize(300, 100);
    box.show();
    box.setText("one two\r\nthree");
    QWidget* view = box.viewport();
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(2, 8));
    EXPECT_EQ(box.cursorPosition(), 0);
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(290, 8));
    EXPECT_EQ(box.cursorPosition(), 7);  // the end of the first line, before its CR LF
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, QPoint(2, 8));
    QTest::mouseMove(view, QPoint(290, 30));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, QPoint(290, 30));
    EXPECT_EQ(box.selectedText(), "one two\r\nthree");
    QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(2, 8));
    EXPECT_EQ(box.selectedText(), "one");

    box.setReadOnly(true);
    box.setCursorPosition(0);
    QTest::keyClicks(&box, "x");
    QTest::keyClick(&box, Qt::Key_Delete);
    QApplication::clipboard()->setText("pasted");
    box.paste();
    EXPECT_EQ(box.text(), "one two\r\nthree");
}

// What an input method composes shows at the caret without changing the text; what it commits is
// typed there, over the selection.
TEST(MultiLineTextBox, InputMethodsComposeAtTheCaret) {
    MultiLineTextBox box;
    box.resize(300, 100);
    box.show();
    box.setText("ab\r\ncd");
    box.setSelection(4, 5);
    QInputMethodEvent composing("ni", {{QInputMethodEvent::Cursor, 1, 1, {}}});
    QCoreApplication::sendEvent(&box, &composing);
    EXPECT_EQ(box.text(), "ab\r\ncd");
    EXPECT_FALSE(box.grab().isNull());
    QInputMethodEvent committed;
    committed.setCommitString(QString::fromUtf8("\xE4\xBD\xA0"));
    QCoreApplication::sendEvent(&box, &committed);
    EXPECT_EQ(box.text(), QString::fromUtf8("ab\r\n\xE4\xBD\xA0"
                                            "d"));
    EXPECT_EQ(box.cursorPosition(), 5);
    EXPECT_FALSE(box.grab().isNull());
}

// Assistive programs read the box's text, caret and selection, and the text about a place comes
// from that place's line, cut short in a very long one.
TEST(MultiLineTextBox, AssistiveProgramsReadTheTextAboutAPlace) {
    MultiLineTextBox box;
    box.setToolTip("custom text");
    box.setText("one two\r\nthree four\rfive");
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&box);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::EditableText);
    EXPECT_TRUE(accessible->state().multiLine);
    EXPECT_EQ(accessible->text(QAccessible::Name), "custom text");
    QAccessibleTextInterface* text = accessible->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->characterCount(), 24);
    EXPECT_EQ(text->text(4, 12), "two\r\nthr");

    const struct {
        int offset;
        QAccessible::TextBoundaryType type;
        const char* at;
        int start, end;
        const char* before;
        const char* after;
    } cases[] = {
        {10, QAccessible::LineBoundary, "three four\r", 9, 20, "one two\r\n", "five"},
        {0, QAccessible::LineBoundary, "one two\r\n", 0, 9, "", "three four\r"},
        {15, QAccessible::WordBoundary, "four", 15, 19, " ", "\r"},
        {1, QAccessible::CharBoundary, "n", 1, 2, "o", "e"},
        {24, QAccessible::LineBoundary, "five", 20, 24, "three four\r", ""},
    };
    for (const auto& c : cases) {
        int start = 0;
        int end = 0;
        EXPECT_EQ(text->textAtOffset(c.offset, c.type, &start, &end), c.at) << c.offset;
        EXPECT_EQ(start, c.start) << c.offset;
        EXPECT_EQ(end, c.end) << c.offset;
        EXPECT_EQ(text->textBeforeOffset(c.offset, c.type, &start, &end), c.before) << c.offset;
        EXPECT_EQ(text->textAfterOffset(c.offset, c.type, &start, &end), c.after) << c.offset;
    }

    text->setSelection(0, 4, 7);
    EXPECT_EQ(box.selectedText(), "two");
    int start = 0;
    int end = 0;
    text->selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(4, 7));
    EXPECT_EQ(text->cursorPosition(), 7);
    text->removeSelection(0);
    EXPECT_EQ(text->selectionCount(), 0);

    box.setText(QString(1 << 20, 'w'));
    EXPECT_LE(text->textAtOffset(1 << 19, QAccessible::LineBoundary, &start, &end).size(),
              2 * 4096);
}

// Scrolled to a row inside a wrapped line, the box shows that row first: nothing of the row
// above it shows in the margin over it.
TEST(MultiLineTextBox, NothingOfTheRowAboveTheTopShowsOverIt) {
    MultiLineTextBox box;
    box.resize(300, 64);
    box.show();
    box.setText(QString("Wgjy ").repeated(400));
    QCoreApplication::processEvents();
    for (const auto key : {Qt::Key_Home, Qt::Key_End}) {
        QTest::keyClick(&box, key, Qt::ControlModifier);
        const QImage shown = box.viewport()->grab().toImage();
        const QColor base = box.palette().color(QPalette::Base);
        for (int x = 0; x < shown.width(); ++x)
            ASSERT_EQ(shown.pixelColor(x, 0), base) << key << " at " << x;
    }
}

// A drag out of the box scrolls it; a menu that opens meanwhile takes the button's release, and
// the drag ends with it rather than go on scrolling and selecting the text to its end.
TEST(MultiLineTextBox, ADragEndsWhenAMenuTakesTheMouse) {
    QWidget window;
    MultiLineTextBox box(&window);
    box.setGeometry(0, 0, 300, 64);
    window.show();
    QApplication::setActiveWindow(&window);
    box.setFocus();
    QCoreApplication::processEvents();
    if (!box.hasFocus())
        GTEST_SKIP() << "the platform gives no window activation";
    box.setText(QString("line\r\n").repeated(100));
    QTest::mousePress(box.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(2, 8));
    QTest::mouseMove(box.viewport(), QPoint(2, 200));
    QMenu menu;
    menu.addAction("item");
    menu.popup(window.mapToGlobal(QPoint(0, 0)));
    QCoreApplication::processEvents();
    EXPECT_TRUE(QAbstractEventDispatcher::instance()->registeredTimers(&box).isEmpty());
    menu.close();
    QTest::mouseRelease(box.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(2, 200));
}

// A double click takes the word the pointer is on, whichever half of a letter it is over.
TEST(MultiLineTextBox, ADoubleClickTakesTheWordUnderThePointer) {
    MultiLineTextBox box;
    box.resize(300, 100);
    box.show();
    box.setText("one two");
    QCoreApplication::processEvents();
    const struct {
        int place;  // the edge between two characters
        int dx;     // the pointer's x from it
        QString word;
    } cases[] = {
        {3, -1, "one"},  // over the right half of its "e"
        {3, 1, " "},    {4, -1, " "}, {4, 1, "two"}, {0, 1, "one"}, {7, -1, "two"},
    };
    for (const auto& c : cases) {
        box.setCursorPosition(c.place);
        const QRect caret = static_cast<QWidget&>(box)
                                .inputMethodQuery(Qt::ImCursorRectangle)
                                .toRect()
                                .translated(-box.viewport()->pos());
        QTest::mouseDClick(box.viewport(), Qt::LeftButton, Qt::NoModifier,
                           QPoint(caret.x() + c.dx, caret.center().y()));
        EXPECT_EQ(box.selectedText(), c.word) << c.place << " " << c.dx;
    }
}

// In a window with shortcuts of its own on Ctrl+C, Ctrl+V and Ctrl+Z, those keys act on the text
// while the box has the focus; Alt with a letter is left to the window (a menu's mnemonic).
TEST(MultiLineTextBox, EditKeysGoToTheTextAndAltKeysToTheWindow) {
    QMainWindow window;
    auto* box = new MultiLineTextBox(&window);
    window.setCentralWidget(box);
    QString triggered;
    for (const char* keys : {"Ctrl+C", "Ctrl+V", "Ctrl+Z", "Alt+F"}) {
        QAction* action = window.addAction(keys);
        action->setShortcut(QKeySequence(keys));
        QObject::connect(action, &QAction::triggered, [&triggered, keys] { triggered = keys; });
    }
    window.show();
    QApplication::setActiveWindow(&window);
    box->setFocus();
    QCoreApplication::processEvents();
    if (!window.isActiveWindow())
        GTEST_SKIP() << "the platform gives no window activation";
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString text, clipboard, triggered;
    } cases[] = {
        {Qt::Key_C, Qt::ControlModifier, "one!", "one", ""},
        {Qt::Key_V, Qt::ControlModifier, "pasted!", "pasted", ""},
        {Qt::Key_Z, Qt::ControlModifier, "one", "pasted", ""},
        {Qt::Key_F, Qt::AltModifier, "one!", "pasted", "Alt+F"},
        {Qt::Key_F, Qt::NoModifier, "f!", "pasted", ""},
    };
    for (const auto& c : cases) {
        box->setText("one");
        box->setCursorPosition(3);
        QTest::keyClicks(box, "!");
        box->setSelection(0, 3);
        QApplication::clipboard()->setText("pasted");
        triggered.clear();
        QTest::keyClick(box, c.key, c.modifiers);
        const std::string name = QKeySequence(c.key | c.modifiers).toString().toStdString();
        EXPECT_EQ(box->text(), c.text) << name;
        EXPECT_EQ(QApplication::clipboard()->text(), c.clipboard) << name;
        EXPECT_EQ(triggered, c.triggered) << name;
    }
}

// A paste or an undo there is not the memory for is not made: the box keeps its text and what can
// be undone and done again.
TEST(MultiLineTextBox, AChangeBeyondTheMemoryKeepsTheText) {
    MultiLineTextBox box;
    box.setText("kept");
    box.setCursorPosition(4);
    QTest::keyClicks(&box, "!");
    QApplication::clipboard()->setText(QString(32 << 20, 'p'));  // 64 MiB
    {
        testing::AddressSpaceLimit limit(std::size_t{16} << 20);
        if (!limit.active())
            GTEST_SKIP() << "the address space cannot be limited here";
        box.paste();
    }
    EXPECT_EQ(box.text(), "kept!");
    box.undo();
    EXPECT_EQ(box.text(), "kept");
    QApplication::clipboard()->clear();

    const QString lines(8 << 20, '\n');
    box.setText(lines);
    box.selectAll();
    QTest::keyClick(&box, Qt::Key_Delete);
    {
        testing::AddressSpaceLimit limit(std::size_t{16} << 20);
        box.undo();
    }
    EXPECT_TRUE(box.text().isEmpty());
    EXPECT_TRUE(box.isUndoAvailable());
    EXPECT_FALSE(box.isRedoAvailable());
    box.undo();
    EXPECT_TRUE(box.text() == lines);
    EXPECT_TRUE(box.isRedoAvailable());

    // A copy or a cut of a long text selected whole: the clipboard holds the text or what it
    // held, and the cut takes the text away only once the clipboard holds it. (After other tests
    // in the same process the allocator may still hold memory enough for a copy.)
    QApplication::clipboard()->setText("before");
    box.selectAll();
    {
        testing::AddressSpaceLimit limit(std::size_t{4} << 20);
        box.copy();
        box.cut();
    }
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied == "before" || copied == lines);
    if (box.text().isEmpty())
        EXPECT_TRUE(copied == lines);
    else
        EXPECT_TRUE(box.text() == lines);
}

// Undo takes back a run of Backspaces, or of Deletes, in one step, as a run of typed characters;
// a caret move, a typed character or a selection deleted ends the run.
TEST(MultiLineTextBox, ARunOfDeletionsIsUndoneInOneStep) {
    const QString pair = QString::fromUtf8("\xF0\x9F\x98\x80");
    const auto keys = [](std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> list) {
        return [=](MultiLineTextBox& box) {
            for (const auto& [key, modifiers] : list)
                QTest::keyClick(&box, key, modifiers);
        };
    };
    const auto bs = std::pair(Qt::Key_Backspace, Qt::KeyboardModifiers());
    const auto del = std::pair(Qt::Key_Delete, Qt::KeyboardModifiers());
    const auto left = std::pair(Qt::Key_Left, Qt::KeyboardModifiers());
    const auto x = std::pair(Qt::Key_X, Qt::KeyboardModifiers());
    const struct {
        const char* name;
        QString start;
        int from, to;
        std::function<void(MultiLineTextBox&)> edit;
        QString undone;  // after one undo
    } cases[] = {
        {"three Backspaces", "abcdef", 6, 6, keys({bs, bs, bs}), "abcdef"},
        {"three Deletes", "abcdef", 0, 0, keys({del, del, del}), "abcdef"},
        {"Backspaces over a pair and line ends", "a\nb\r\n" + pair + "c", 8, 8,
         keys({bs, bs, bs, bs, bs}), "a\nb\r\n" + pair + "c"},
        {"Deletes over a pair and line ends", "a\r\n" + pair + "\rb", 0, 0,
         keys({del, del, del, del}), "a\r\n" + pair + "\rb"},
        {"a caret move ends the run", "abcdef", 6, 6, keys({bs, bs, left, bs}), "abcd"},
        {"a click ends the run", "abcdef", 6, 6,
         [](MultiLineTextBox& box) {
             QTest::keyClick(&box, Qt::Key_Backspace);
             box.setCursorPosition(2);
             QTest::keyClick(&box, Qt::Key_Backspace);
         },
         "abcde"},
        {"a typed character ends the run", "abcdef", 6, 6, keys({bs, x, bs}), "abcdex"},
        {"a Delete after Backspaces is a step of its own", "abcdef", 3, 3, keys({bs, bs, del}),
         "adef"},
        {"a selection deleted is a step of its own", "abcdef", 2, 4, keys({bs, bs}), "abef"},
        {"a run undone and done again", "abcdef", 6, 6,
         [](MultiLineTextBox& box) {
             for (int i = 0; i < 3; ++i)
                 QTest::keyClick(&box, Qt::Key_Backspace);
             box.undo();
             box.redo();
             QTest::keyClick(&box, Qt::Key_Backspace);  // a step of its own after the redo
         },
         "abc"},
    };
    for (const auto& c : cases) {
        MultiLineTextBox box;
        box.setText(c.start);
        box.setSelection(c.from, c.to);
        c.edit(box);
        box.undo();
        EXPECT_EQ(box.text(), c.undone) << c.name;
    }
}

// The mouse as the window system drives it: each event stamped with its time, the second press of
// a double click followed by a double-click event.
class Mouse {
  public:
    explicit Mouse(MultiLineTextBox& box) : box_(box) {}

    // Over the character after `place` (the box scrolled to show it, the caret put there).
    QPoint at(int place) {
        box_.setCursorPosition(place);
        const QRect caret = static_cast<QWidget&>(box_)
                                .inputMethodQuery(Qt::ImCursorRectangle)
                                .toRect()
                                .translated(-box_.viewport()->pos());
        return {caret.x() + 1, caret.center().y()};
    }
    void send(QEvent::Type type, QPoint point, Qt::MouseButton button = Qt::LeftButton) {
        QWidget* view = box_.viewport();
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        QMouseEvent event(type, point, view->mapToGlobal(point),
                          type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
        event.setTimestamp(time_ += 20);
        QCoreApplication::sendEvent(view, &event);
    }
    // `count` clicks at `point`, each in time after the one before; the last press held.
    void clicks(QPoint point, int count) {
        for (int click = 0; click < count; ++click) {
            if (click > 0)
                send(QEvent::MouseButtonRelease, point);
            send(QEvent::MouseButtonPress, point);
            if (click == 1)
                send(QEvent::MouseButtonDblClick, point);
        }
    }
    void dragTo(QPoint point) {
        send(QEvent::MouseMove, point);
        send(QEvent::MouseButtonRelease, point);
    }
    // `count` clicks at the place `from` of the text, then a drag to the place `to`.
    void clicksThenDrag(int from, int count, int to) {
        const QPoint start = at(from);
        const QPoint end = at(to);
        clicks(start, count);
        dragTo(end);
    }
    void middleClick(QPoint point) {
        send(QEvent::MouseButtonPress, point, Qt::MiddleButton);
        send(QEvent::MouseButtonRelease, point, Qt::MiddleButton);
    }
    void wait(int ms) { time_ += static_cast<quint64>(ms); }

  private:
    MultiLineTextBox& box_;
    quint64 time_ = 1000;
};

// A triple click takes the line (its line end too, and all its rows where it wraps); a drag after
// a double or a triple click goes on by whole words or lines, either way, the one clicked kept.
TEST(MultiLineTextBox, ATripleClickTakesTheLineAndDragsAfterMoreClicksGoByWords) {
    // "one two three" 0-12, CR LF, "four five" 15-23, CR, "six" 25-27.
    const QString text = "one two three\r\nfour five\rsix";
    const QString wrapped = QString("alpha beta gamma delta ").repeated(8) + "end\nnext";
    const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    const struct {
        const char* name;
        QString text;
        std::function<void(Mouse&)> gesture;
        QString selected;
        int caret;
    } cases[] = {
        {"a triple click on a line ended by CR LF", text,
         [](Mouse& m) {
             const QPoint point = m.at(5);
             m.clicks(point, 3);
             m.send(QEvent::MouseButtonRelease, point);
         },
         "one two three\r\n", 15},
        {"a triple click on a line ended by a lone CR", text,
         [](Mouse& m) { m.clicks(m.at(20), 3); }, "four five\r", 25},
        {"a triple click on the last line", text, [](Mouse& m) { m.clicks(m.at(26), 3); }, "six",
         28},
        {"a triple click on a wrapped row", wrapped, [](Mouse& m) { m.clicks(m.at(60), 3); },
         wrapped.left(wrapped.indexOf('\n') + 1), static_cast<int>(wrapped.indexOf('\n') + 1)},
        {"a third click after the interval is one click", text,
         [interval](Mouse& m) {
             const QPoint point = m.at(5);
             m.clicks(point, 2);
             m.send(QEvent::MouseButtonRelease, point);
             m.wait(interval);
             m.send(QEvent::MouseButtonPress, point);
         },
         "", 5},
        {"a double click dragged right", text, [](Mouse& m) { m.clicksThenDrag(5, 2, 9); },
         "two three", 13},
        {"a double click dragged left", text, [](Mouse& m) { m.clicksThenDrag(5, 2, 1); },
         "one two", 0},
        {"a double click dragged to the next line", text,
         [](Mouse& m) { m.clicksThenDrag(9, 2, 16); }, "three\r\nfour", 19},
        {"a double click dragged inside its word", text,
         [](Mouse& m) { m.clicksThenDrag(17, 2, 16); }, "four", 19},
        {"a triple click dragged down", text, [](Mouse& m) { m.clicksThenDrag(5, 3, 20); },
         "one two three\r\nfour five\r", 25},
        {"a triple click dragged up", text, [](Mouse& m) { m.clicksThenDrag(26, 3, 20); },
         "four five\rsix", 15},
    };
    for (const auto& c : cases) {
        MultiLineTextBox box;
        box.resize(200, 200);
        box.show();
        box.setText(c.text);
        QCoreApplication::processEvents();
        Mouse mouse(box);
        c.gesture(mouse);
        EXPECT_EQ(box.selectedText(), c.selected) << c.name;
        EXPECT_EQ(box.cursorPosition(), c.caret) << c.name;
    }
}

// A selection clipboard in memory: it holds what it is offered and reads its text, as the
// desktop's does when a program asks for it.
class MemorySelection : public SelectionClipboard {
  public:
    bool supported() const override { return true; }
    QString text() const override { return data_ ? data_->text() : QString(); }
    void offer(QMimeData* data) override { data_.reset(data); }

  private:
    std::unique_ptr<QMimeData> data_;
};

// The selection is the desktop's selection clipboard: a middle click pastes it, in this box too,
// and once the selection is cleared or typed over the clipboard still holds it, as it holds what
// any other box selected last; it outlives the box.
TEST(MultiLineTextBox, TheSelectionClipboardKeepsTheLastSelection) {
    // "one two" 0-6, CR LF, "three" 9-13.
    const struct {
        const char* name;
        std::function<void(std::unique_ptr<MultiLineTextBox>&, Mouse&)> gesture;
        QString text;  // the box's afterwards, where it is still there
        QString selection;
    } cases[] = {
        {"a middle click pastes the box's own selection",
         [](auto&, Mouse& m) {
             const QPoint word = m.at(5);
             const QPoint end = m.at(14);
             m.clicks(word, 2);
             m.send(QEvent::MouseButtonRelease, word);
             m.middleClick(end);
         },
         "one two\r\nthreetwo", "two"},
        {"a click clears the selection",
         [](auto&, Mouse& m) {
             const QPoint word = m.at(5);
             const QPoint other = m.at(10);
             m.clicks(word, 2);
             m.send(QEvent::MouseButtonRelease, word);
             m.wait(1000);
             m.clicks(other, 1);
         },
         "one two\r\nthree", "two"},
        {"the selection typed over",
         [](auto& box, Mouse& m) {
             m.clicks(m.at(5), 2);
             QTest::keyClicks(box.get(), "x");
         },
         "one x\r\nthree", "two"},
        {"a selection made with the keys, cleared with them",
         [](auto& box, Mouse&) {
             box->setCursorPosition(9);
             for (int i = 0; i < 5; ++i)
                 QTest::keyClick(box.get(), Qt::Key_Right, Qt::ShiftModifier);
             QTest::keyClick(box.get(), Qt::Key_Left);
         },
         "one two\r\nthree", "three"},
        {"a new text",
         [](auto& box, Mouse& m) {
             m.clicks(m.at(1), 2);
             box->setText("new");
         },
         "new", "one"},
        {"the box closed",
         [](auto& box, Mouse& m) {
             m.clicks(m.at(1), 2);
             box.reset();
         },
         "", "one"},
    };
    for (const auto& c : cases) {
        MemorySelection selection;
        auto box = std::make_unique<MultiLineTextBox>();
        box->setSelectionClipboard(selection);
        box->resize(200, 100);
        box->show();
        box->setText("one two\r\nthree");
        QCoreApplication::processEvents();
        Mouse mouse(*box);
        c.gesture(box, mouse);
        if (box) {
            EXPECT_EQ(box->text(), c.text) << c.name;
        }
        EXPECT_EQ(selection.text(), c.selection) << c.name;
    }
}

// A part of a long line ends after the last space before its limit, or else between two letters:
// no word, letter with its marks or emoji sequence is cut in two. The caret stops where it
// stops in the whole line, a click finds the place it shows, and a row end is not inside a word.
TEST(MultiLineTextBox, ALongLineIsNotCutInsideAWordOrALetter) {
    const auto k = static_cast<int>(MultiLineTextBox::kSegment);
    const QString emoji = QString::fromUtf8("\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x92\xBB");
    const QString flag = QString::fromUtf8("\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA");
    const struct {
        const char* name;
        QString line;
        int from, to;  // what lies across the limit of the first part, kept whole
        bool word;
        bool clicks;  // Qt's hit test among flags depends on the font
    } cases[] = {
        {"words", QString("abcdefghij ").repeated(2 * k / 11), k - 8, k + 2, true, true},
        {"letters with marks and no space", "x" + QString("e\u0301").repeated(k), k - 1, k + 1,
         false, true},
        {"an emoji sequence and no space", QString(k - 2, 'x') + emoji + QString(k, 'x'), k - 2,
         k + 3, false, true},
        // Flags pair their indicators from the start of the run, far before the limit.
        {"a long run of flags", "xx" + flag.repeated(k / 2), k - 2, k + 2, false, false},
        // A sign before the number it stands for, below U+0300 as the number is.
        {"a prepended sign and no space",
         QString(k - 1, 'a') + QChar(0x600) + "1" + QString(k, 'a'), k - 1, k + 1, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MultiLineTextBox box;
        box.resize(300, 200);
        box.show();
        box.setText(c.line);
        QCoreApplication::processEvents();
        ASSERT_TRUE(box.text() == c.line);

        QTextBoundaryFinder letters(QTextBoundaryFinder::Grapheme, c.line);
        std::vector<int> expected;
        for (int place = c.from - 3; place <= c.to + 3; ++place) {
            letters.setPosition(place);
            if (letters.isAtBoundary())
                expected.push_back(place);
        }
        std::vector<int> right{expected.front()};
        box.setCursorPosition(expected.front());
        while (box.cursorPosition() < expected.back()) {
            QTest::keyClick(&box, Qt::Key_Right);
            right.push_back(static_cast<int>(box.cursorPosition()));
        }
        EXPECT_EQ(right, expected);
        std::vector<int> left{static_cast<int>(box.cursorPosition())};
        while (box.cursorPosition() > expected.front()) {
            QTest::keyClick(&box, Qt::Key_Left);
            left.insert(left.begin(), static_cast<int>(box.cursorPosition()));
        }
        EXPECT_EQ(left, expected);

        Mouse mouse(box);
        if (c.clicks)
            for (const int place : expected) {
                const QPoint point = mouse.at(place) - QPoint(1, 0);
                QTest::mouseClick(box.viewport(), Qt::LeftButton, Qt::NoModifier, point);
                EXPECT_EQ(box.cursorPosition(), place);
            }
        // A row ends before or after what is kept whole, never inside it.
        box.setCursorPosition(c.from);
        QTest::keyClick(&box, Qt::Key_End);
        EXPECT_FALSE(box.cursorPosition() > c.from && box.cursorPosition() < c.to);
        box.setCursorPosition(c.to - 1);
        QTest::keyClick(&box, Qt::Key_Home);
        EXPECT_FALSE(box.cursorPosition() > c.from && box.cursorPosition() < c.to);
        if (c.word) {
            QTest::mouseDClick(box.viewport(), Qt::LeftButton, Qt::NoModifier,
                               mouse.at((c.from + c.to) / 2));
            EXPECT_EQ(box.selectedText(), c.line.mid(c.from, c.to - c.from));
        }
    }
}

}  // namespace
}  // namespace tess::qt
