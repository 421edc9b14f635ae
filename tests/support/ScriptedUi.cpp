#include "ScriptedUi.h"

#include <QCoreApplication>
#include <QDialog>
#include <QTest>

namespace {
const char* kindName(std::size_t index)
{
    static const char* names[] = {"an answer to a question", "an open-file answer", "a save-file answer",
                                  "a modal dialog action", "a folder answer", "an open-files answer"};
    return names[index];
}
} // namespace

ScriptedUi::ScriptedUi()
{
    ui::install(this);
}

ScriptedUi::~ScriptedUi()
{
    ui::install(nullptr);
}

void ScriptedUi::answerQuestion(bool ok) { answers_.emplace_back(QuestionAnswer{ok}); }
void ScriptedUi::answerOpenFile(std::optional<QString> path) { answers_.emplace_back(OpenAnswer{std::move(path)}); }
void ScriptedUi::answerSaveFile(std::optional<QString> path) { answers_.emplace_back(SaveAnswer{std::move(path)}); }
void ScriptedUi::answerDirectory(std::optional<QString> path) { answers_.emplace_back(DirectoryAnswer{std::move(path)}); }
void ScriptedUi::answerOpenFiles(std::optional<QStringList> paths) { answers_.emplace_back(OpenFilesAnswer{std::move(paths)}); }
void ScriptedUi::answerModal(ModalAction action) { answers_.emplace_back(std::move(action)); }

template <typename T>
std::optional<T> ScriptedUi::take(const char* what, const QString& context)
{
    if (answers_.empty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected %1 with no queued answer: %2")
                                    .arg(QString::fromLatin1(what), context)),
                     __FILE__, __LINE__);
        return std::nullopt;
    }
    if (!std::holds_alternative<T>(answers_.front())) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected %1 (%2); the next queued answer is %3")
                                    .arg(QString::fromLatin1(what), context,
                                         QString::fromLatin1(kindName(answers_.front().index())))),
                     __FILE__, __LINE__);
        return std::nullopt;
    }
    T answer = std::get<T>(std::move(answers_.front()));
    answers_.pop_front();
    return answer;
}

void ScriptedUi::message(QWidget*, const QString& text)
{
    texts << text;
}

bool ScriptedUi::question(QWidget*, const QString& text)
{
    texts << text;
    questions << text;
    const auto answer = take<QuestionAnswer>("question", text);
    return answer && answer->ok;
}

bool ScriptedUi::choose(QWidget*, const QString& text, const QString& first, const QString& second)
{
    texts << text;
    questions << text;
    choices << first + QLatin1Char('|') + second;
    const auto answer = take<QuestionAnswer>("question", text);
    return answer && answer->ok;
}

std::optional<QString> ScriptedUi::openFileName(QWidget*, const ui::FileDialogRequest& request)
{
    fileRequests << request;
    const auto answer = take<OpenAnswer>("open-file dialog", request.title);
    return answer ? answer->path : std::nullopt;
}

std::optional<QString> ScriptedUi::saveFileName(QWidget*, const ui::FileDialogRequest& request)
{
    fileRequests << request;
    const auto answer = take<SaveAnswer>("save-file dialog", request.title);
    return answer ? answer->path : std::nullopt;
}

std::optional<QString> ScriptedUi::directoryName(QWidget*, const ui::FileDialogRequest& request)
{
    fileRequests << request;
    const auto answer = take<DirectoryAnswer>("folder dialog", request.title);
    return answer ? answer->path : std::nullopt;
}

std::optional<QStringList> ScriptedUi::openFileNames(QWidget*, const ui::FileDialogRequest& request)
{
    fileRequests << request;
    const auto answer = take<OpenFilesAnswer>("open-files dialog", request.title);
    return answer ? answer->paths : std::nullopt;
}

void ScriptedUi::runModal(QDialog* dialog)
{
    modalTitles << dialog->windowTitle();
    auto action = take<ModalAction>("modal dialog", dialog->windowTitle());
    dialog->setModal(true);
    dialog->show();
    QCoreApplication::processEvents();
    if (action)
        (*action)(dialog);
    if (dialog->isVisible()) {
        if (action)
            QTest::qFail(qPrintable(QStringLiteral("the modal dialog \"%1\" was left open").arg(dialog->windowTitle())),
                         __FILE__, __LINE__);
        dialog->hide();
    }
}

bool ScriptedUi::openInBrowser(const QString& path)
{
    browserPaths << path;
    return browserStarts;
}

void ScriptedUi::finish()
{
    if (!answers_.empty()) {
        const auto left = answers_.size();
        const char* first = kindName(answers_.front().index());
        answers_.clear();
        QTest::qFail(qPrintable(QStringLiteral("%1 queued answer(s) were never used, the first was %2")
                                    .arg(left)
                                    .arg(QString::fromLatin1(first))),
                     __FILE__, __LINE__);
    }
    reset();
}

void ScriptedUi::reset()
{
    answers_.clear();
    texts.clear();
    questions.clear();
    choices.clear();
    fileRequests.clear();
    modalTitles.clear();
    browserPaths.clear();
    browserStarts = true;
}
