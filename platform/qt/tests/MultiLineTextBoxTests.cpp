#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTextCursor>

#include "platform/qt/MultiLineTextBox.h"

namespace tess::qt {
namespace {

const QString kNbsp(QChar(0xA0));
const QString kParagraph(QChar(0x2029));

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
          "p" + kParagraph + "q", QString("tab\there")}) {
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

}  // namespace
}  // namespace tess::qt
