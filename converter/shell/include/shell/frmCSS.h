#pragma once

#include <QDialog>

#include "platform/SettingsStore.h"
#include "platform/qt/PictureBoxWidget.h"
#include "shell/ConverterState.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace tess {

class frmMain;

// The custom CSS font size dialog: a size from 0 to 100 on a spin bar and a unit. OK writes the
// size into CSSSize and the last entry of the main window's font-size list; the unit buttons
// write CSSUnit at once.
class frmCSS : public QDialog {
    Q_OBJECT
  public:
    frmCSS(frmMain& main, ConverterState& state, const SettingsStore& settings);

    void Form_Load();
    void VScroll1_Change();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Text1_GotFocus();
    void Command1_Click();
    void Command2_Click();

    // The spin bar's value, 100 at its top end and 0 at its bottom end.
    int spinValue() const;
    void setSpinValue(int value);

    QLabel* Label1 = nullptr;
    qt::PictureBoxWidget* Image1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option3 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showSize();

    frmMain& main_;
    ConverterState& state_;
    const SettingsStore& settings_;
};

}  // namespace tess
