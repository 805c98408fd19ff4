#pragma once

#include <QDialog>
#include <string>

#include "platform/SettingsStore.h"
#include "platform/qt/PictureBoxWidget.h"
#include "shell/ConverterState.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tess {

class frmMain;

// The custom resize dialog: a new width and height for the working picture, optionally kept in
// proportion and optionally resampled. OK resizes the main window's picture and closes; the two
// check boxes are stored at every change.
class frmCResize : public QDialog {
    Q_OBJECT
  public:
    frmCResize(frmMain& main, ConverterState& state, SettingsStore& settings);

    void Form_Load();
    void Check1_Click();
    void Check2_Click();
    void Text1_Change();
    void Text2_Change();
    // Enter (13) while OK is enabled runs OK and sets the key to 0, which swallows it.
    void Text1_KeyPress(int& KeyAscii);
    void Text2_KeyPress(int& KeyAscii);
    void Command1_Click();
    void Command2_Click();

    QLabel* Label1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Text2 = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    qt::PictureBoxWidget* Image1 = nullptr;
    // The boxes' Tag texts: the proportion rule's guard against the two boxes driving each other.
    std::string Text1Tag;
    std::string Text2Tag;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The proportion step from one box into the other; false when it overflowed (OK is then
    // disabled and the rule ends).
    bool keepProportion(QLineEdit* edited, const std::string& editedTag, QLineEdit* other,
                        std::string& otherTag, const char* guard, const QLabel* editedOriginal,
                        const QLabel* otherOriginal);
    void applyOkRule();

    frmMain& main_;
    ConverterState& state_;
    SettingsStore& settings_;
};

}  // namespace tess
