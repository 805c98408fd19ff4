#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tess::qt {
class PictureBoxWidget;
}

namespace tess::explorer {

// The title dialog: the selected mosaic's current title and a box for the new one. OK is usable
// only for a new title that is not empty and differs from the current one; it ends the dialog
// with that title as the result. The main window writes it into the row.
class frmTitle : public QDialog {
    Q_OBJECT
  public:
    frmTitle(QWidget* owner, const std::string& fileName, const std::string& currentTitle);

    void Form_Load();
    void Text1_Change();
    // Enter runs OK while OK is usable; true when the key was taken.
    bool Text1_KeyPress(int KeyAscii);
    void Command1_Click();
    void Command2_Click();

    // The title OK accepted; empty after Cancel or a close.
    const std::optional<std::string>& newTitle() const { return newTitle_; }

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Text1 = nullptr;
    // Why a typed title cannot be set (it would break the page, or the page's code page cannot
    // hold it); empty otherwise.
    QLabel* Label4 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    qt::PictureBoxWidget* Image1 = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Label4 shows its reason whole.
    void fitReason();

    std::optional<std::string> newTitle_;
};

}  // namespace tess::explorer
