#include "shell/frmSplash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include "platform/Files.h"
#include "platform/Text.h"
#include "platform/qt/DesignFont.h"
#include "platform/qt/QtText.h"
#include "shell/ProgramVersion.h"
#include "shell/SplashPicture.h"
#include "shell/StoredSettings.h"

namespace tess {

frmSplash::frmSplash(Services& services, ConverterState& state, std::function<void()> showMain)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint),
      services_(services),
      state_(state),
      showMain_(std::move(showMain)) {
    setObjectName("frmSplash");
    // Hiding the splash must not count as closing the program's last window.
    setAttribute(Qt::WA_QuitOnClose, false);

    Picture1 = new qt::PictureBoxWidget(this, 0);
    Picture1->setObjectName("Picture1");
    Picture1->box().setPicture(SplashPicture());
    Picture1->setGeometry(0, 0, Picture1->box().width(), Picture1->box().height());
    connect(Picture1, &qt::PictureBoxWidget::clicked, this, [this] { Picture1_Click(); });

    lblBetaStat = new QLabel(Picture1);
    lblBetaStat->setObjectName("lblBetaStat");
    lblBetaStat->setTextFormat(Qt::PlainText);
    // Bold Verdana of 12 points in the design: the design font at that size, in pixels, so the
    // text stays within the label's 18 pixels.
    QFont font = qt::designFont(15);
    font.setBold(true);
    lblBetaStat->setFont(font);
    lblBetaStat->setStyleSheet("color: rgb(255, 196, 72); background: transparent;");
    lblBetaStat->setGeometry(276, 152, 59, 18);
    // A click on the label is a click on the picture.
    lblBetaStat->setAttribute(Qt::WA_TransparentForMouseEvents);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(kTimeoutMs);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
}

void frmSplash::Form_Load() {
    Timer1->start();
    lblBetaStat->setText(qt::toQ(betaText()));
    const std::string programFile = joinPath(services_.folders.program, kProgramFileName);
    if (FileExists(programFile)) {
        settings::write(services_.settings, "Location", programFile);
    }
    state_.MainActive = false;
    if (settings::read(services_.settings, "Splash", "1") == "0") {
        LoadTessaryn();
        return;
    }
    setFixedSize(Picture1->size());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    show();
}

void frmSplash::LoadTessaryn() {
    Dismissed = true;
    Timer1->setInterval(0);
    Timer1->stop();
    hide();
    if (showMain_)
        showMain_();
    // Only now: events that the main window's load runs before the program's own loop has started
    // would carry out an earlier request while this call is still under way.
    deleteLater();
}

void frmSplash::Form_Click() {
    LoadTessaryn();
}

void frmSplash::Picture1_Click() {
    LoadTessaryn();
}

void frmSplash::Timer1_Timer() {
    if (!Dismissed)
        LoadTessaryn();
}

void frmSplash::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        Form_Click();
}

}  // namespace tess
