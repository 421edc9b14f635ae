#pragma once

#include "ui/UserInterface.h"

namespace ui {

// The real seam: Qt's message boxes without icons, its file dialogs and the desktop browser.
class QtUserInterface : public UserInterface {
public:
    void message(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& text) override;
    bool choose(QWidget* parent, const QString& text, const QString& first, const QString& second) override;
    std::optional<QString> openFileName(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> saveFileName(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> directoryName(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QStringList> openFileNames(QWidget* parent, const FileDialogRequest& request) override;
    void runModal(QDialog* dialog) override;
    bool openInBrowser(const QString& path) override;
};

} // namespace ui
