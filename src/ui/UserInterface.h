#pragma once

#include "ui/FileDialogRequest.h"

#include <QString>
#include <QStringList>
#include <optional>

class QDialog;
class QWidget;

namespace ui {

// Every message box, question, file dialog, modal dialog and browser call of the program
// goes through this interface, so tests can script the answers instead of blocking.
class UserInterface {
public:
    virtual ~UserInterface() = default;

    // A message with an OK button only.
    virtual void message(QWidget* parent, const QString& text) = 0;
    // OK and Cancel; true when the user chose OK.
    virtual bool question(QWidget* parent, const QString& text) = 0;
    // Two buttons with these captions; true when the user chose the first. Seams that
    // know no captions ask an OK/Cancel question.
    virtual bool choose(QWidget* parent, const QString& text, const QString& first, const QString& second);
    // The chosen file's full path, or nothing when the dialog was cancelled.
    virtual std::optional<QString> openFileName(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFileName(QWidget* parent, const FileDialogRequest& request) = 0;
    // A folder, or nothing when cancelled. Seams that never ask for one answer "cancelled".
    virtual std::optional<QString> directoryName(QWidget* parent, const FileDialogRequest& request);
    // Several existing files at once (empty list never returned), or nothing when cancelled.
    virtual std::optional<QStringList> openFileNames(QWidget* parent, const FileDialogRequest& request);
    // Shows the dialog modally and returns once it is hidden or closed.
    virtual void runModal(QDialog* dialog) = 0;
    // Hands a local file to the desktop's web browser; does not wait for it. False when
    // no browser could be started.
    virtual bool openInBrowser(const QString& path) = 0;
};

// The interface the program talks to: the real one unless a test installed its own.
UserInterface& current();
// A name chosen in a save dialog with `ending` (".zip") added when it lacks it. The dialog
// asked about the name as typed, so a file under the longer name is asked about again;
// nothing when the user keeps it.
std::optional<QString> withEnding(QWidget* parent, const QString& chosen, const QString& ending);
// Installs an implementation (not owned); nullptr goes back to the real one.
void install(UserInterface* implementation);

} // namespace ui
