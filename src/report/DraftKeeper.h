#pragma once

#include "core/BudgetReport.h"
#include "core/RecoveryDraft.h"

#include <QElapsedTimer>
#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class QLockFile;

// Keeps a draft of the report's unsaved edits in the recovery folder: shortly after the
// clerk stops typing, and every few seconds while typing goes on, but never more than once
// a second. The draft is made into bytes and written on another thread, so a long text
// never holds up typing; it replaces the previous draft atomically, and a failed write keeps
// the previous one and says nothing (failing() tells after a minute). Each program holds a
// lock on its own draft; drafts whose program is gone are handed out at the next start.
class DraftKeeper : public QObject {
    Q_OBJECT
public:
    struct Timing {
        int afterTypingMs = 1000;   // quiet this long: a draft
        int whileTypingMs = 1500;   // edits waiting this long: a draft, typing or not
        int shortestGapMs = 1000;   // between the starts of two drafts
        int failureNoticeMs = 60000; // drafts failing this long: failingChanged(true)
    };
    // What a draft holds, taken on the program's own thread when a draft is due.
    struct Snapshot {
        ReportValues values;
        ReportHeader header;
        QString templatePath;
        QString reportFile;
    };
    using Source = std::function<Snapshot()>;

    DraftKeeper(const QString& folder, Source source, Timing timing, QObject* parent = nullptr);
    DraftKeeper(const QString& folder, Source source, QObject* parent = nullptr);
    // Waits for a draft being written; a draft not discarded stays for the next start.
    ~DraftKeeper() override;

    // The report has changes that no draft holds yet.
    void edited();
    // The report needs no draft any more (saved, or its edits given up): the draft goes.
    void discard();
    // Writes a draft now if one is due, and waits for it.
    void flush();

    QString draftFile() const { return draftFile_; }
    bool failing() const { return noticeGiven_; }

    // A draft another program left: it is no longer running. Until it is deleted, adopted
    // or released, this program holds its lock, so no other program offers it too.
    struct LeftBehind {
        QString file;
        std::optional<RecoveryDraft> draft; // nothing when the draft is damaged
        QDateTime written;                  // the draft's own time, or its file's
    };
    // Newest first.
    QList<LeftBehind> takeLeftBehind();
    void deleteLeftBehind(const QString& file);
    void releaseLeftBehind(const QString& file);
    // The draft becomes this program's own, as the report it holds is now being edited.
    bool adoptLeftBehind(const QString& file);

signals:
    // A draft is being taken.
    void draftStarted();
    // A draft was written (how long making and writing it took), or could not be.
    void draftWritten(qint64 nanoseconds);
    void draftFailed();
    // Drafts have kept failing for failureNoticeMs, or write again.
    void failingChanged(bool failing);

private:
    void due();
    void startWrite();
    void finished(quint64 generation, bool ok, qint64 nanoseconds);
    bool lockOwnDraft();
    static QString lockFileOf(const QString& draft);

    QString folder_;
    Source source_;
    Timing timing_;
    QString draftFile_;
    std::unique_ptr<QLockFile> ownLock_;
    std::map<QString, std::unique_ptr<QLockFile>> heldLocks_; // drafts left behind, by file

    QTimer afterTyping_;
    QTimer whileTyping_;
    QTimer gap_;
    QElapsedTimer sinceLastStart_;
    QElapsedTimer failingSince_;
    bool pending_ = false;      // edits no draft holds yet
    bool writing_ = false;
    bool noticeGiven_ = false;
    quint64 generation_ = 0;    // drafts started
    quint64 discardedUpTo_ = 0; // drafts started before the last discard are not kept
    QThreadPool pool_;
};
