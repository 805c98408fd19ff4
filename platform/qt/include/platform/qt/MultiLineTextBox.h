#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QClipboard>
#include <QPointer>
#include <QString>
#include <QTextLayout>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/TextPieces.h"
#include "platform/TextStore.h"
#include "platform/qt/SelectionClipboard.h"
#include "platform/qt/SelectionMimeData.h"

namespace tess::qt {

// A multi-line text box that keeps each line end as it came. Qt's own boxes turn CR LF, a lone
// CR and a lone LF alike into one paragraph break, and their document costs a few hundred bytes a
// line; this box holds its text in a TextStore (two bytes a character, four a line) and lays out
// only the lines in view. A break typed with Enter is CR LF, as in the desktop's text boxes; a
// paste or a drop keeps the line ends it brings, and a copy carries them.
//
// Lines wrap at the box's width. A line longer than kSegment characters is laid out in parts of
// that length, each starting a row of its own, so no layout ever holds more than one part. The
// vertical scroll bar of a short text counts rows; that of a long one counts these parts (a line
// of normal length is one part), so a change never lays out more than the rows about it.
//
// The caret and the selection are places in text(): a CR LF counts two, and no place lies
// between its CR and its LF.
class MultiLineTextBox : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit MultiLineTextBox(QWidget* parent = nullptr);
    ~MultiLineTextBox() override;

    // Throws std::bad_alloc, with the box as it was, when the memory for the text is not there.
    void setText(const QString& text);
    // The same from UTF-8, as the programs keep texts, turned into the box's text a piece at a
    // time; each of the pieces handed over is let go once the box holds it.
    void setUtf8Text(TextPieces utf8);
    // Throws std::bad_alloc when the memory for holding `utf8` is not there, as setUtf8Text
    // would; for callers that must know before they change anything else.
    static void checkRoomFor(std::string_view utf8);
    QString text() const;
    // text() in UTF-8, turned a part at a time.
    std::string utf8Text() const;
    qsizetype length() const { return static_cast<qsizetype>(store_.size()); }

    qsizetype cursorPosition() const { return static_cast<qsizetype>(caret_); }
    qsizetype anchorPosition() const { return static_cast<qsizetype>(anchor_); }
    // Places out of the text are taken as its end; a place inside a CR LF as the place before it.
    void setSelection(qsizetype anchor, qsizetype caret);
    void setCursorPosition(qsizetype place) { setSelection(place, place); }
    QString selectedText() const;
    bool isReadOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly);
    bool isUndoAvailable() const { return !undo_.empty(); }
    bool isRedoAvailable() const { return !redo_.empty(); }
    // The selection clipboard the box offers its selection to and a middle click pastes from:
    // the desktop's unless one is given, which must outlive the box.
    void setSelectionClipboard(SelectionClipboard& selection) { selection_ = &selection; }

    // The characters of a part of a long line.
    static constexpr std::size_t kSegment = 8192;

  public slots:
    void selectAll();
    void copy();
    void cut();
    void paste();
    void undo();
    void redo();

  protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    friend class MultiLineTextBoxAccessible;

    // --- the text and its changes (MultiLineTextBox.cpp)
    // A run of keys that the next such key joins into one step to undo: typed characters, or
    // Backspaces, or Deletes, one after the other with the caret not moved between them.
    enum class Run { None, Typed, Backspace, Delete };
    struct Change {
        std::size_t at = 0;
        std::u16string removed;
        std::u16string inserted;
        Run run = Run::None;
    };
    // Replaces [from, from + count) by `text`, as one step to undo (or as more of the run of the
    // last one), and puts the caret after it. A change there is not the memory for is not made
    // (the box beeps); returns whether it was.
    bool change(std::size_t from, std::size_t count, std::u16string_view text, Run run = Run::None);
    // Joins the change to the last step when it goes on that step's run; false when it does not.
    bool joinRun(std::size_t from, std::size_t count, std::u16string_view text, Run run);
    // Takes back what joinRun joined, for a change that could not be made.
    void unjoinRun(std::size_t count, std::size_t inserted, Run run);
    bool replaceSelection(std::u16string_view text, Run run = Run::None);
    // A move of the caret ends a run of deletions.
    void endDeletionRun();
    bool copySelection();
    static bool canPaste();
    // Takes the last step of `from` back (undoing) or makes it again, and keeps it on `to`.
    void replay(std::vector<Change>& from, std::vector<Change>& to, bool undoing);
    // The store's replace, with the table of long lines mended to match. Throws std::bad_alloc,
    // with the text as it was, when the memory is not there.
    void replaceText(std::size_t from, std::size_t count, std::u16string_view text);
    void takeText(TextStore& store);
    // The characters [from, to) of the text.
    QString textBetween(std::size_t from, std::size_t to) const;
    std::size_t selectionStart() const { return std::min(caret_, anchor_); }
    std::size_t selectionLength() const { return selectionEnd() - selectionStart(); }
    std::size_t selectionEnd() const { return std::max(caret_, anchor_); }
    bool hasSelection() const { return caret_ != anchor_; }
    // `place` moved off the middle of a CR LF and into the text.
    std::size_t valid(std::size_t place) const;

    // --- parts, rows and what is in view (MultiLineTextBoxView.cpp)
    // A part of a line: `segment` counts the parts of the whole text from the first.
    struct Part {
        std::size_t segment = 0;
        std::size_t line = 0;
        std::size_t index = 0;  // in its line
        std::size_t from = 0;
        std::size_t to = 0;
    };
    // A row in view: a line of a part's layout.
    struct Row {
        std::size_t segment = 0;
        int row = 0;
        bool operator<(const Row& other) const {
            return segment < other.segment || (segment == other.segment && row < other.row);
        }
        bool operator==(const Row& other) const = default;
    };
    static std::size_t partsOf(std::size_t length) {
        return length <= kSegment ? 1 : (length + kSegment - 1) / kSegment;
    }
    std::size_t segmentCount() const;
    Part partAt(std::size_t segment) const;
    Part partOf(std::size_t line, std::size_t index) const;
    Part partHolding(std::size_t place) const;
    // Where part `index` of a line starting at `start` with `length` characters begins.
    std::size_t partStart(std::size_t start, std::size_t length, std::size_t index) const;
    void findLongLines() const;
    // After a change that made lines [first, oldLast] into [first, newLast], the rest only
    // moved: looks again at those lines alone.
    void mendLongLines(std::size_t first, std::size_t oldLast, std::size_t newLast);
    std::unique_ptr<QTextLayout> newLayout(const Part& part, const QString& preedit) const;
    // Kept for the parts last shown; a reference holds only until the next call.
    QTextLayout& layoutOf(const Part& part) const;
    std::size_t rowEnd(const Part& part, int row) const;
    int rowsOf(std::size_t segment) const;
    Row rowOf(std::size_t place) const;
    bool nextRow(Row& row) const;
    bool previousRow(Row& row) const;
    int rowsInView() const;
    Row lastTop() const;
    // The place nearest to `point` of the viewport; with CursorOnCharacter, the place before the
    // character under it.
    std::size_t placeAt(const QPoint& point,
                        QTextLine::CursorPosition edge = QTextLine::CursorBetweenCharacters) const;
    // The caret's rectangle at `place`, in the viewport.
    QRect placeRect(std::size_t place) const;
    void textChanged();
    void forgetLayouts();
    void updateScrollBar();
    void setTop(Row top);
    void scrollRows(int rows);
    void ensureCaretVisible();

    // --- keys, mouse, menu, drops (MultiLineTextBoxInput.cpp)
    enum class Move {
        Left,
        Right,
        WordLeft,
        WordRight,
        Up,
        Down,
        PageUp,
        PageDown,
        RowStart,
        RowEnd,
        Start,
        End
    };
    std::size_t moved(std::size_t place, Move move) const;
    void moveCaret(Move move, bool select);
    void setCaret(std::size_t place, bool select);
    bool handleEdit(QKeyEvent* event);
    // The word (or the run of spaces, or the character) that holds the character after `place`.
    std::pair<std::size_t, std::size_t> wordAt(std::size_t place) const;
    // The line that holds `place`, with its line end.
    std::pair<std::size_t, std::size_t> lineAt(std::size_t place) const;
    // Selects the word or line [from, to) clicked, which a drag from it keeps whole.
    enum class Unit { Character, Word, Line };
    void selectUnit(Unit unit, std::size_t from, std::size_t to);
    // The selection a drag to `point` of the viewport makes: by characters, or after a double or
    // triple click by whole words or lines, the one clicked always kept.
    void dragTo(const QPoint& point);
    static bool isTyping(const QKeyEvent* event);
    void startBlinking();
    // Tells assistive programs, while one listens, where the caret and the selection are.
    void tellCaret() const;
    // Makes the selection the desktop's selection clipboard, where there is one.
    void offerSelection();
    // Called before the selection offered goes (cleared, moved or typed over): the desktop's
    // selection clipboard keeps a copy of it, as it keeps what every other box selected last.
    void keepOffer();

    TextStore store_;
    std::size_t caret_ = 0;
    std::size_t anchor_ = 0;
    // The x the caret keeps to on its way up and down; below 0 when it has moved otherwise.
    qreal wantedX_ = -1;
    bool readOnly_ = false;
    std::vector<Change> undo_;
    std::vector<Change> redo_;

    // Lines longer than one part, with the parts of all such lines before them; found again
    // after a change when needed.
    struct LongLine {
        std::size_t line;
        std::size_t extraBefore;
        std::size_t extra;
    };
    mutable std::vector<LongLine> longLines_;
    mutable bool longLinesKnown_ = false;
    mutable std::unordered_map<std::size_t, std::unique_ptr<QTextLayout>> layouts_;
    mutable std::size_t laidOutChars_ = 0;
    int laidOutWidth_ = -1;
    // A short text's scroll bar counts rows (each part's rows here); a long one's counts parts.
    bool byRows_ = true;
    std::vector<int> rowCounts_;
    int rowHeight_ = 1;
    Row top_;
    bool settingScrollBar_ = false;

    bool caretShown_ = true;
    QBasicTimer blink_;
    QBasicTimer dragScroll_;
    bool selectingWithMouse_ = false;
    // What a drag selects by, and the word or line clicked, which it keeps whole.
    Unit dragUnit_ = Unit::Character;
    std::size_t unitFrom_ = 0;
    std::size_t unitTo_ = 0;
    // A press soon after a double click and near it is a triple click; the time is the events'.
    bool doubleClicked_ = false;
    quint64 doubleClickTime_ = 0;
    QPoint doubleClickPoint_;
    SelectionClipboard* selection_ = &SelectionClipboard::desktop();
    // The offer of the selection to the selection clipboard while it reads the box.
    QPointer<SelectionMimeData> offer_;
    QPoint lastMouse_;
    int wheelDelta_ = 0;
    // What an input method is composing, and the caret's place in it.
    QString preedit_;
    int preeditCaret_ = 0;
};

}  // namespace tess::qt
