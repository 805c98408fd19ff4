#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "windows/ExplorerState.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QWidget;

namespace tess::qt {
class PictureBoxWidget;
}

namespace tess::explorer {

// The font-size dialog: nine sizes in a list, the last of which opens a second pane for a custom
// CSS size (0 to 100 and a unit). OK ends the dialog with the row text of the chosen size
// ("-1", "CSS - 40%", "CSS - 12px"); the main window writes it into the row. Each opening starts
// at "-1" with the custom size 60 and "%".
class frmFont : public QDialog {
    Q_OBJECT
  public:
    frmFont(QWidget* owner, ExplorerState& state, const std::string& fileName,
            const std::string& fontSize);

    void Form_Load();
    void Combo1_Click();
    bool Combo1_KeyPress(int KeyAscii);
    void Command1_Click();
    void Command2_Click();
    void Command1b_Click();
    void Command2b_Click();
    void Option1b_Click();
    void Option2b_Click();
    void Option3b_Click();
    void VScroll1b_Change();
    bool VScroll1b_KeyPress(int KeyAscii);
    bool Text1b_KeyPress(int KeyAscii);
    void Text1b_GotFocus();

    // The spin's value, 100 at its top end and 0 at its bottom end.
    int spinValue() const;
    void setSpinValue(int value);

    // Whether OK ended the dialog, and the row text it chose (none when the entry matched no
    // size, which the list cannot offer).
    bool okPressed() const { return okPressed_; }
    const std::optional<std::string>& rowText() const { return rowText_; }

    // The main pane.
    QWidget* Picture1 = nullptr;
    qt::PictureBoxWidget* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* Combo1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    // The custom pane.
    QWidget* Picture2 = nullptr;
    qt::PictureBoxWidget* Image1b = nullptr;
    QLabel* Label1b = nullptr;
    QLabel* Label2b = nullptr;
    QLineEdit* Text1b = nullptr;
    QScrollBar* VScroll1b = nullptr;
    QRadioButton* Option1b = nullptr;
    QRadioButton* Option2b = nullptr;
    QRadioButton* Option3b = nullptr;
    QPushButton* Command1b = nullptr;
    QPushButton* Command2b = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Escape does nothing here; only the buttons end the dialog or leave the custom pane.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void showSpin();

    ExplorerState& state_;
    std::string fileName_;
    std::string fontSize_;
    bool okPressed_ = false;
    std::optional<std::string> rowText_;
};

}  // namespace tess::explorer
