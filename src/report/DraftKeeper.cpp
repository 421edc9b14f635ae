#include "report/DraftKeeper.h"

#include "core/AtomicFileWriter.h"
#include "core/XmlDocumentAccess.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

// A draft that fails is tried again after this long, typing or not.
constexpr int kRetryMs = 5000;

} // namespace

DraftKeeper::DraftKeeper(const QString& folder, Source source, Timing timing, QObject* parent)
    : QObject(parent)
    , folder_(folder)
    , source_(std::move(source))
    , timing_(timing)
    , draftFile_(folder + QStringLiteral("draft-%1-%2").arg(::getpid()).arg(QDateTime::currentMSecsSinceEpoch())
                 + RecoveryDraft::fileSuffix())
{
    pool_.setMaxThreadCount(1);
    for (QTimer* timer : {&afterTyping_, &whileTyping_, &gap_}) {
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, &DraftKeeper::due);
    }
}

DraftKeeper::DraftKeeper(const QString& folder, Source source, QObject* parent)
    : DraftKeeper(folder, std::move(source), Timing(), parent)
{
}

DraftKeeper::~DraftKeeper()
{
    pool_.waitForDone();
    // A draft written after its edits were given up must not outlive them.
    if (writing_ && generation_ <= discardedUpTo_)
        QFile::remove(draftFile_);
}

QString DraftKeeper::lockFileOf(const QString& draft)
{
    return draft.left(draft.size() - RecoveryDraft::fileSuffix().size()) + QStringLiteral(".lock");
}

void DraftKeeper::edited()
{
    pending_ = true;
    afterTyping_.start(timing_.afterTypingMs);
    if (!whileTyping_.isActive())
        whileTyping_.start(timing_.whileTypingMs);
}

void DraftKeeper::due()
{
    if (!pending_ || writing_)
        return; // a draft being written is followed by the next when it is done
    if (sinceLastStart_.isValid() && sinceLastStart_.elapsed() < timing_.shortestGapMs) {
        gap_.start(int(timing_.shortestGapMs - sinceLastStart_.elapsed()));
        return;
    }
    startWrite();
}

bool DraftKeeper::lockOwnDraft()
{
    if (ownLock_ && ownLock_->isLocked())
        return true;
    if (!QDir().mkpath(folder_))
        return false;
    ownLock_ = std::make_unique<QLockFile>(lockFileOf(draftFile_));
    ownLock_->setStaleLockTime(0);
    return ownLock_->tryLock(0);
}

void DraftKeeper::startWrite()
{
    afterTyping_.stop();
    whileTyping_.stop();
    gap_.stop();
    pending_ = false;
    writing_ = true;
    const quint64 generation = ++generation_;
    sinceLastStart_.start();
    if (!lockOwnDraft()) {
        QMetaObject::invokeMethod(this, [this, generation] { finished(generation, false, 0); }, Qt::QueuedConnection);
        return;
    }
    // Taken here, made into bytes there: the values are shared, not copied.
    Snapshot snapshot = source_();
    emit draftStarted();
    const QString file = draftFile_;
    pool_.start([this, generation, file, snapshot = std::move(snapshot)] {
        QElapsedTimer clock;
        clock.start();
        BudgetReport report;
        report.setValues(snapshot.values);
        bool ok = report.writeRefusal().isEmpty(); // a report too large to open again is never kept
        if (ok) {
            QString error;
            RecoveryDraft draft;
            draft.reportFile = snapshot.reportFile;
            draft.projectCode = report.value(QStringLiteral("projectCode"));
            draft.projectName = report.value(QStringLiteral("projectName"));
            draft.written = QDateTime::currentDateTimeUtc();
            draft.programVersion = QCoreApplication::applicationVersion();
            draft.report = report.serialize(snapshot.templatePath, snapshot.header, &error);
            QString reason;
            ok = !draft.report.isEmpty() && AtomicFileWriter::write(file, draft.encode(), &reason);
        }
        const qint64 nanoseconds = clock.nsecsElapsed();
        QMetaObject::invokeMethod(
            this, [this, generation, ok, nanoseconds] { finished(generation, ok, nanoseconds); }, Qt::QueuedConnection);
    });
}

void DraftKeeper::finished(quint64 generation, bool ok, qint64 nanoseconds)
{
    writing_ = false;
    if (generation <= discardedUpTo_) {
        // Given up while it was written.
        QFile::remove(draftFile_);
    } else if (ok) {
        failingSince_.invalidate();
        if (noticeGiven_) {
            noticeGiven_ = false;
            emit failingChanged(false);
        }
        emit draftWritten(nanoseconds);
    } else {
        // The previous draft stays; try again a little later.
        if (!failingSince_.isValid())
            failingSince_.start();
        else if (!noticeGiven_ && failingSince_.elapsed() >= timing_.failureNoticeMs) {
            noticeGiven_ = true;
            emit failingChanged(true);
        }
        emit draftFailed();
        pending_ = true;
        whileTyping_.start(kRetryMs);
        return;
    }
    if (pending_)
        due();
}

void DraftKeeper::discard()
{
    pending_ = false;
    afterTyping_.stop();
    whileTyping_.stop();
    gap_.stop();
    discardedUpTo_ = generation_;
    QFile::remove(draftFile_);
    failingSince_.invalidate();
    if (noticeGiven_) {
        noticeGiven_ = false;
        emit failingChanged(false);
    }
}

void DraftKeeper::flush()
{
    if (pending_ && !writing_)
        startWrite();
    pool_.waitForDone();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

QList<DraftKeeper::LeftBehind> DraftKeeper::takeLeftBehind()
{
    QList<LeftBehind> found;
    const QDir folder(folder_);
    // Locks of programs that died after their draft had gone (saved, then killed) would
    // pile up: one free and without its draft is let go. A live program keeps its own.
    for (const QString& name : folder.entryList({QStringLiteral("*.lock")}, QDir::Files)) {
        const QString lockFile = folder.filePath(name);
        const QString draft = lockFile.left(lockFile.size() - 5) + RecoveryDraft::fileSuffix();
        if (draft == draftFile_ || QFileInfo::exists(draft))
            continue;
        QLockFile orphan(lockFile);
        orphan.setStaleLockTime(0);
        if (orphan.tryLock(0))
            orphan.unlock(); // and its file goes with it
    }
    const QStringList names =
        folder.entryList({QStringLiteral("*") + RecoveryDraft::fileSuffix()}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        const QString file = folder.filePath(name);
        if (file == draftFile_ || heldLocks_.count(file))
            continue;
        auto lock = std::make_unique<QLockFile>(lockFileOf(file));
        // A lock whose program is gone counts as free; a running program keeps its own.
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            continue;
        LeftBehind left;
        left.file = file;
        QFile draftFile(file);
        if (draftFile.open(QIODevice::ReadOnly) && draftFile.size() <= xml::kMaxDocumentBytes + 64 * 1024)
            left.draft = RecoveryDraft::decode(draftFile.readAll());
        // Damaged inside: a report the loader refuses is no draft to offer.
        if (left.draft && !left.draft->holdsReport())
            left.draft.reset();
        left.written = left.draft ? left.draft->written : QFileInfo(file).lastModified();
        heldLocks_[file] = std::move(lock);
        found << left;
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const LeftBehind& a, const LeftBehind& b) { return a.written > b.written; });
    return found;
}

void DraftKeeper::deleteLeftBehind(const QString& file)
{
    QFile::remove(file);
    heldLocks_.erase(file);
}

void DraftKeeper::releaseLeftBehind(const QString& file)
{
    heldLocks_.erase(file);
}

bool DraftKeeper::adoptLeftBehind(const QString& file)
{
    flush();
    if (!lockOwnDraft())
        return false;
    // rename() replaces an older draft of this program's in one step.
    const bool moved = std::rename(QFile::encodeName(file).constData(), QFile::encodeName(draftFile_).constData()) == 0;
    if (moved)
        heldLocks_.erase(file);
    return moved;
}
