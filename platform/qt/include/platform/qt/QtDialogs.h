#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <string>

#include "platform/Dialogs.h"

namespace tess::qt {

// The dialogs on Qt: QMessageBox, QFileDialog and QColorDialog, modal over the window that asks
// and centred on it.
//
// Flags honoured: a save dialog asks before overwriting only with the overwrite-prompt flag (0x2);
// a colour dialog starts at the given colour only with the initial-colour flag (1), else at black.
// The other flag values describe what Qt's dialogs do anyway (the file must exist in an open
// dialog, no read-only box) and are not needed.
class QtDialogs : public Dialogs {
  public:
    static constexpr int kOverwritePrompt = 0x2;
    static constexpr int kColourInit = 0x1;

    // Without a parent the dialogs sit over the modal dialog that is up, else the active window
    // (also a disabled one), else the program's main window, shown or still loading.
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    int msgBox(const std::string& prompt, int style, const std::string& title) override;
    std::optional<FileDialogAnswer> openFile(const FileDialogRequest& request) override;
    std::optional<FileDialogAnswer> saveFile(const FileDialogRequest& request) override;
    std::optional<Colour> chooseColour(Colour initial, int flags) override;
    std::optional<std::string> chooseFolder(const std::string& title,
                                            const std::string& startDir) override;

    // "Images (*.bmp;*.gif)|*.bmp;*.gif|All Files (*.*)|*.*" becomes one Qt filter per pair,
    // "Images (*.bmp;*.gif) (*.bmp *.gif)" and "All Files (*.*) (*)": the patterns go into the
    // trailing parentheses Qt reads, and "*.*" means every file, as it does on the original
    // platform (for Qt it would need a dot in the name). The dialogs hide that trailing part, so
    // the user sees the original text.
    static QStringList toQtFilters(const std::string& filter);
    // The 1-based index of the filter a dialog reports as chosen, which Qt gives without the
    // hidden part; 1 when it is none of them.
    static int filterIndexOf(const QStringList& filters, const QString& selected);
    // Where the dialog opens: the proposed name, inside the initial folder unless it is a path.
    static QString startPath(const FileDialogRequest& request);
    // Message texts use CR LF; Qt wants LF.
    static QString messageText(const std::string& prompt);

  private:
    QWidget* dialogParent() const;
    std::optional<FileDialogAnswer> fileDialog(const FileDialogRequest& request, bool save);

    QPointer<QWidget> parent_;
};

}  // namespace tess::qt
