#pragma once

#include "check/FileLocation.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// Opens a checked report in Vantrel: the vantrel program beside this one, started on its
// own with the file as its argument. A report inside an archive is first written to a
// temporary folder of its own, which goes when the opener does.
class ReportOpener {
public:
    // Starts the program without waiting for it; false when it could not be started.
    using Starter = std::function<bool(const QString& program, const QStringList& arguments)>;

    ReportOpener();

    // False with the reason in Chinese.
    bool open(const FileLocation& location, const QString& path, QString* error);

    QString program() const { return program_; }
    void setProgram(const QString& program) { program_ = program; }
    void setStarter(Starter starter) { starter_ = std::move(starter); }

private:
    QString fileFor(const FileLocation& location, const QString& path, QString* error);

    QString program_;
    Starter starter_;
    std::unique_ptr<QTemporaryDir> copies_;
    int copied_ = 0;
};
