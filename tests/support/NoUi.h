#pragma once

#include "ui/UserInterface.h"

#include <cstdlib>

// The user interface of a child process that must never be asked anything: any message,
// question or dialog ends it with exit code 3, which its parent reports.
class NoUi : public ui::UserInterface {
public:
    void message(QWidget*, const QString&) override { std::_Exit(3); }
    bool question(QWidget*, const QString&) override { std::_Exit(3); }
    std::optional<QString> openFileName(QWidget*, const ui::FileDialogRequest&) override { std::_Exit(3); }
    std::optional<QString> saveFileName(QWidget*, const ui::FileDialogRequest&) override { std::_Exit(3); }
    void runModal(QDialog*) override { std::_Exit(3); }
    bool openInBrowser(const QString&) override { std::_Exit(3); }
};
