#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextPieces.h"

class QMimeData;
class QTextBlock;

namespace tess::qt {

// A multi-line text box that keeps each line break as it came in. Qt's box turns CR LF, a lone CR
// and a lone LF alike into one paragraph break; this one remembers, for every break, the line end
// it was given by setText or by a paste or drop of text, and gives them back in text() and in
// what it copies. A break typed with Enter is CR LF, as in the desktop's text boxes. Other
// characters (a no-break space too) come back as they are.
//
// A long text costs the document's own copy and its blocks, nothing beside them: the line ends
// live in the blocks, and the box never lays out every block at once.
class MultiLineTextBox : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit MultiLineTextBox(QWidget* parent = nullptr);

    // Taken by value: a text handed over whole is let go as soon as the box holds it.
    void setText(QString text);
    // The same from UTF-8, as the programs keep texts, turned into the document a piece at a
    // time; each of the pieces handed over is let go once the document holds it. Throws
    // std::bad_alloc, with the box as it was, when the memory for the document is not there.
    void setUtf8Text(TextPieces utf8);
    // Throws std::bad_alloc when the memory for holding `utf8` is not there, as setUtf8Text
    // would; for callers that must know before they change anything else.
    static void checkRoomFor(std::string_view utf8);
    QString text() const;
    // text() in UTF-8, turned a part at a time from a copy of the document's own text (so the
    // text with its line ends is never made whole in UTF-16 as well).
    std::string utf8Text() const;

  protected:
    // Copies, drags, pastes and drops of text carry its line ends.
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    enum class LineEnd : std::uint8_t { CrLf, Cr, Lf, Paragraph, FrameStart, FrameEnd };
    static QString textOf(LineEnd end);
    // The line end at `at` in the text, and its length (0: none there).
    static std::size_t lineEndAt(const QString& text, qsizetype at, LineEnd& end);
    static std::size_t lineEndAt(std::string_view utf8, std::size_t at, LineEnd& end);
    static std::vector<LineEnd> lineEndsOf(const QString& text);
    // Each block but the first keeps the line end of the break before it, and each but the last
    // that of the break after it (so a block Qt merges or splits still has its neighbour's word);
    // a block Qt made since the last change has neither.
    static bool isNew(const QTextBlock& block);
    static LineEnd before(const QTextBlock& block);
    static LineEnd after(const QTextBlock& block);
    static void setBefore(QTextBlock& block, LineEnd end);
    static void setAfter(QTextBlock& block, LineEnd end);
    // The line end of every break, in order.
    std::vector<LineEnd> lineEnds() const;
    // Gives the blocks from `block` on the line ends of `text`, the text they were just made
    // of, in order; `block` ends at the last block of that text.
    template <typename Text>
    static void takeLineEnds(const Text& text, QTextBlock& block);

    // Runs `fill` with the vertical scroll bar held in place, so the text width does not change
    // under a long text (which would lay out every one of its blocks).
    template <typename Fill>
    void replaceText(Fill fill);
    void followChange(int position, int added);
    // Gives `take` the text of the document positions [from, to) in order: the characters of each
    // block as (chars, false) and each break as (empty, true, its line end).
    template <typename Take>
    void forEachPartBetween(int from, int to, const Take& take) const;
    // The text of the document positions [from, to), with its line ends.
    QString textBetween(int from, int to) const;

    // The line ends of the text being inserted, for the breaks the insertion adds.
    std::vector<LineEnd> incoming_;
    // The viewport width the document was last laid out at.
    int laidOutWidth_ = -1;
    bool settingText_ = false;
};

}  // namespace tess::qt
