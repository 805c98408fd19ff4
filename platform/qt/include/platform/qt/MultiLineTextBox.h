#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <cstdint>
#include <vector>

class QMimeData;

namespace tess::qt {

// A multi-line text box that keeps each line break as it came in. Qt's box turns CR LF, a lone CR
// and a lone LF alike into one paragraph break; this one remembers, for every break, the line end
// it was given by setText or by a paste or drop of text, and gives them back in text() and in
// what it copies. A break typed with Enter is CR LF, as in the desktop's text boxes. Other
// characters (a no-break space too) come back as they are.
class MultiLineTextBox : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit MultiLineTextBox(QWidget* parent = nullptr);

    // Taken by value: a text handed over whole is let go as soon as the box holds it.
    void setText(QString text);
    QString text() const;

  protected:
    // Copies, drags, pastes and drops of text carry its line ends.
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;

  private:
    // A line end as it came in; one byte each, however many lines a text has.
    enum class LineEnd : std::uint8_t { CrLf, Cr, Lf, Paragraph };
    static std::vector<LineEnd> lineEndsOf(const QString& text);
    static QString textOf(LineEnd end);

    void followChange();
    // The text of the document positions [from, to), with its line ends.
    QString textBetween(qsizetype from, qsizetype to) const;

    // The document's text at the last change, paragraph breaks as U+2029, and the line end of
    // each of those breaks in order.
    QString shown_;
    std::vector<LineEnd> lineEnds_;
    // The line ends of the text being inserted, for the breaks the insertion adds.
    std::vector<LineEnd> incoming_;
    // Where the document reported its last change, the first place the texts can differ.
    int changedAt_ = 0;
    bool settingText_ = false;
};

}  // namespace tess::qt
