#pragma once

#include <QWidget>
#include <functional>

#include "platform/Services.h"
#include "platform/qt/PictureBoxWidget.h"
#include "shell/ConverterState.h"

class QLabel;
class QTimer;

namespace tess {

// The converter's start window: it records where the program lives and then either hands over to
// the main window at once or shows its picture until a click or its four-second timer.
class frmSplash : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kTimeoutMs = 4000;

    // `showMain` creates the main window on its first call (running its load) and shows it.
    frmSplash(Services& services, ConverterState& state, std::function<void()> showMain);

    void Form_Load();
    // Ends the splash for good and shows the main window.
    void LoadTessaryn();
    void Form_Click();
    void Picture1_Click();
    void Timer1_Timer();

    bool Dismissed = false;

    qt::PictureBoxWidget* Picture1 = nullptr;
    QLabel* lblBetaStat = nullptr;
    QTimer* Timer1 = nullptr;

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    Services& services_;
    ConverterState& state_;
    std::function<void()> showMain_;
};

}  // namespace tess
