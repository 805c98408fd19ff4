#include "platform/qt/QtDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>

#include "platform/SystemColours.h"
#include "platform/qt/QtText.h"

namespace tess::qt {

namespace {

struct ButtonAnswer {
    QMessageBox::StandardButton button;
    int answer;
};

std::vector<ButtonAnswer> buttonsOf(int style) {
    using B = QMessageBox;
    switch (style & 7) {
        case mb::OKCancel:
            return {{B::Ok, mb::OK}, {B::Cancel, mb::Cancel}};
        case mb::AbortRetryIgnore:
            return {{B::Abort, mb::Abort}, {B::Retry, mb::Retry}, {B::Ignore, mb::Ignore}};
        case mb::YesNoCancel:
            return {{B::Yes, mb::Yes}, {B::No, mb::No}, {B::Cancel, mb::Cancel}};
        case mb::YesNo:
            return {{B::Yes, mb::Yes}, {B::No, mb::No}};
        case mb::RetryCancel:
            return {{B::Retry, mb::Retry}, {B::Cancel, mb::Cancel}};
        default:
            return {{B::Ok, mb::OK}};
    }
}

QMessageBox::Icon iconOf(int style) {
    switch (style & 0x70) {
        case mb::Critical:
            return QMessageBox::Critical;
        case mb::Question:
            return QMessageBox::Question;
        case mb::Exclamation:
            return QMessageBox::Warning;
        case mb::Information:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// The button Escape and the close button stand for: Cancel where there is one, else No, Abort or
// the lone OK.
std::size_t escapeIndex(const std::vector<ButtonAnswer>& buttons) {
    for (int answer : {mb::Cancel, mb::No, mb::Abort}) {
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            if (buttons[i].answer == answer)
                return i;
        }
    }
    return 0;
}

}  // namespace

QWidget* QtDialogs::dialogParent() const {
    if (parent_)
        return parent_;
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    // A disabled window still asks: its dialogs stay enabled, as windows of their own.
    if (QWidget* active = QApplication::activeWindow())
        return active;
    // No window of the program is active: it is not in front, or its main window is still loading
    // and not shown yet. The main window asks then; its place is where it is or will be shown.
    QWidget* hiddenMain = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!qobject_cast<QMainWindow*>(top))
            continue;
        if (top->isVisible())
            return top;
        if (!hiddenMain)
            hiddenMain = top;
    }
    return hiddenMain;
}

QString QtDialogs::messageText(const std::string& prompt) {
    QString text = toQ(prompt);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

int QtDialogs::msgBox(const std::string& prompt, int style, const std::string& title) {
    const QString caption = title.empty() ? QGuiApplication::applicationDisplayName() : toQ(title);
    QMessageBox box(iconOf(style), caption, messageText(prompt), QMessageBox::NoButton,
                    dialogParent());
    box.setTextFormat(Qt::PlainText);

    const std::vector<ButtonAnswer> buttons = buttonsOf(style);
    std::vector<QAbstractButton*> added;
    for (const auto& b : buttons)
        added.push_back(box.addButton(b.button));

    std::size_t defaultIndex = 0;
    if (style & mb::DefaultButton3) {
        defaultIndex = 2;
    } else if (style & mb::DefaultButton2) {
        defaultIndex = 1;
    }
    if (defaultIndex >= added.size())
        defaultIndex = 0;
    box.setDefaultButton(qobject_cast<QPushButton*>(added[defaultIndex]));
    const std::size_t escape = escapeIndex(buttons);
    box.setEscapeButton(added[escape]);

    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (std::size_t i = 0; i < added.size(); ++i) {
        if (added[i] == clicked)
            return buttons[i].answer;
    }
    return buttons[escape].answer;
}

QStringList QtDialogs::toQtFilters(const std::string& filter) {
    const QStringList parts = toQ(filter).split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString pattern = p.trimmed();
            if (pattern.isEmpty())
                continue;
            patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
        }
        if (patterns.isEmpty())
            patterns << QStringLiteral("*");
        const QString description = parts[i].trimmed();
        result << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                      QLatin1Char(')');
    }
    return result;
}

int QtDialogs::filterIndexOf(const QStringList& filters, const QString& selected) {
    for (qsizetype i = 0; i < filters.size(); ++i) {
        const QString& f = filters[i];
        // Without its details a filter is the text before the " (patterns)" toQtFilters added.
        if (f == selected || f.left(f.lastIndexOf(QStringLiteral(" ("))) == selected) {
            return static_cast<int>(i) + 1;
        }
    }
    return 1;
}

QString QtDialogs::startPath(const FileDialogRequest& request) {
    const QString name = toQ(request.fileName);
    const QString dir = toQ(request.initialDir);
    if (name.isEmpty())
        return dir;
    if (QDir::isAbsolutePath(name) || dir.isEmpty())
        return name;
    return QDir(dir).filePath(name);
}

std::optional<FileDialogAnswer> QtDialogs::fileDialog(const FileDialogRequest& request, bool save) {
    const QStringList filters = toQtFilters(request.filter);
    QString selected;
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size()) {
        selected = filters[request.filterIndex - 1];
    } else if (!filters.isEmpty()) {
        selected = filters.front();
    }

    QFileDialog::Options options = QFileDialog::HideNameFilterDetails;
    if (save && !(request.flags & kOverwritePrompt))
        options |= QFileDialog::DontConfirmOverwrite;

    const QString caption = toQ(request.title);
    const QString start = startPath(request);
    const QString filterText = filters.join(QStringLiteral(";;"));
    const QString chosen = save ? QFileDialog::getSaveFileName(dialogParent(), caption, start,
                                                               filterText, &selected, options)
                                : QFileDialog::getOpenFileName(dialogParent(), caption, start,
                                                               filterText, &selected, options);
    if (chosen.isEmpty())
        return std::nullopt;

    return FileDialogAnswer{fromQ(chosen), filterIndexOf(filters, selected)};
}

std::optional<FileDialogAnswer> QtDialogs::openFile(const FileDialogRequest& request) {
    return fileDialog(request, false);
}

std::optional<FileDialogAnswer> QtDialogs::saveFile(const FileDialogRequest& request) {
    return fileDialog(request, true);
}

std::optional<Colour> QtDialogs::chooseColour(Colour initial, int flags) {
    const Colour start = (flags & kColourInit) ? SystemColours::resolve(initial) : 0;
    const QColor chosen =
        QColorDialog::getColor(QColor(redOf(start), greenOf(start), blueOf(start)), dialogParent());
    if (!chosen.isValid())
        return std::nullopt;
    return rgb(chosen.red(), chosen.green(), chosen.blue());
}

std::optional<std::string> QtDialogs::chooseFolder(const std::string& title,
                                                   const std::string& startDir) {
    const QString chosen = QFileDialog::getExistingDirectory(
        dialogParent(), toQ(title), toQ(startDir), QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return std::nullopt;
    return fromQ(chosen);
}

}  // namespace tess::qt
