#include "TempProgramFolder.h"

#include "core/XmlDocumentAccess.h"

#include <QDir>
#include <QFile>

TempProgramFolder::TempProgramFolder(bool withTemplates)
    : settings(QString())
{
    settings.programFolder = path();
    // Drafts of unsaved reports stay inside the test's own folder.
    qputenv("XDG_STATE_HOME", QFile::encodeName(file(QStringLiteral("state"))));
    if (withTemplates) {
        const QDir source(templatesDir());
        for (const QString& name : source.entryList(QDir::Files))
            QFile::copy(source.filePath(name), file(name));
    }
}

QString TempProgramFolder::templatesDir()
{
    return QStringLiteral(VANTREL_TEMPLATES_DIR);
}

QString TempProgramFolder::path() const
{
    return QDir::toNativeSeparators(dir_.path()) + xml::folderSeparator();
}

QString TempProgramFolder::file(const QString& name) const
{
    return path() + name;
}

void TempProgramFolder::writeFile(const QString& name, const QByteArray& bytes) const
{
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray TempProgramFolder::readFile(const QString& name) const
{
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TempProgramFolder::writeCompleteSettings(const QString& unitCode, const QString& unitName,
                                              const QString& reportUser) const
{
    writeFile(QStringLiteral("config.pz"),
              QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><Config><CorpID>%1</CorpID>"
                             "<ServerPass/><ServerUrl/><LocalPath/><ReportUser/></Config>")
                  .arg(unitCode)
                  .toUtf8());
    writeFile(unitCode + QStringLiteral(".dw"),
              QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><CorpInfo><ReportInfo><CorpID>%1</CorpID>"
                             "<CorpName>%2</CorpName><ReportDate/><ReportUser>%3</ReportUser></ReportInfo>"
                             "<Basic><CorpID>%1</CorpID><Name>%2</Name></Basic></CorpInfo>")
                  .arg(unitCode, unitName, reportUser)
                  .toUtf8());
}
