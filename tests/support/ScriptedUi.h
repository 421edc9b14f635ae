#pragma once

#include "ui/UserInterface.h"

#include <QList>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <variant>

// The test seam: records every message, question, dialog and browser call, and plays the
// answers a test queued, in order. Anything the program asks without a queued answer fails
// the test at once (and gets a harmless answer so nothing blocks); finish() fails the test
// when queued answers were left unused.
class ScriptedUi : public ui::UserInterface {
public:
    using ModalAction = std::function<void(QDialog*)>;

    ScriptedUi();   // installs itself as the program's seam
    ~ScriptedUi() override;

    void answerQuestion(bool ok);
    void answerOpenFile(std::optional<QString> path);
    void answerSaveFile(std::optional<QString> path);
    void answerDirectory(std::optional<QString> path);
    void answerOpenFiles(std::optional<QStringList> paths);
    // Runs inside the modal dialog (shown, not blocking); the action must close or hide it.
    void answerModal(ModalAction action);

    // Every text shown, messages and questions alike, in order.
    QStringList texts;
    QStringList questions;
    // The two captions of each question asked with its own buttons ("恢复|放弃").
    QStringList choices;
    QList<ui::FileDialogRequest> fileRequests;
    QStringList modalTitles;
    QStringList browserPaths;
    // What openInBrowser answers; false plays a desktop without a working browser.
    bool browserStarts = true;

    bool hasLeftovers() const { return !answers_.empty(); }
    // Fails the current test when answers are left; clears everything for the next test.
    void finish();
    void reset();

    void message(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& text) override;
    // Answered like question(): answerQuestion(true) picks the first caption.
    bool choose(QWidget* parent, const QString& text, const QString& first, const QString& second) override;
    std::optional<QString> openFileName(QWidget* parent, const ui::FileDialogRequest& request) override;
    std::optional<QString> saveFileName(QWidget* parent, const ui::FileDialogRequest& request) override;
    std::optional<QString> directoryName(QWidget* parent, const ui::FileDialogRequest& request) override;
    std::optional<QStringList> openFileNames(QWidget* parent, const ui::FileDialogRequest& request) override;
    void runModal(QDialog* dialog) override;
    bool openInBrowser(const QString& path) override;

private:
    struct QuestionAnswer { bool ok; };
    struct OpenAnswer { std::optional<QString> path; };
    struct SaveAnswer { std::optional<QString> path; };
    struct DirectoryAnswer { std::optional<QString> path; };
    struct OpenFilesAnswer { std::optional<QStringList> paths; };
    using Answer = std::variant<QuestionAnswer, OpenAnswer, SaveAnswer, ModalAction, DirectoryAnswer, OpenFilesAnswer>;

    template <typename T>
    std::optional<T> take(const char* what, const QString& context);

    std::deque<Answer> answers_;
};
