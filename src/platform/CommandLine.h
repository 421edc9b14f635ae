#pragma once

#include <QString>
#include <QStringList>

// What the program was asked on its command line: a report to open once start-up is done
// (as the file manager passes it), or --version / --help, answered on standard output.
// Anything else is not understood; the program says so and starts normally.
class CommandLine {
public:
    enum class Request { Start, PrintVersion, PrintHelp };

    // The arguments without the program's own name. A relative report name is taken from
    // the current folder; "--" ends the options, so a file may start with "-".
    static CommandLine parse(const QStringList& arguments);

    Request request() const { return request_; }
    // Absolute path of the report to open, empty when none was given.
    const QString& reportFile() const { return reportFile_; }
    const QStringList& unrecognised() const { return unrecognised_; }

    static QString helpText();
    static QString versionText(const QString& version);
    // The message shown for arguments that are not understood; empty when there are none.
    QString unrecognisedMessage() const;

private:
    Request request_ = Request::Start;
    QString reportFile_;
    QStringList unrecognised_;
};
