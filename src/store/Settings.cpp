#include "store/Settings.h"

#include "core/AtomicFileWriter.h"
#include "core/ReportFileNames.h"
#include "core/SettingsFile.h"
#include "core/XmlDocumentAccess.h"
#include "platform/AppFolders.h"

#include <QDir>
#include <QFileInfo>

Settings::Settings(const QString& folder)
    : programFolder(QDir::toNativeSeparators(folder))
{
    if (!programFolder.isEmpty() && !programFolder.endsWith(xml::folderSeparator()))
        programFolder += xml::folderSeparator();
}

bool Settings::save(QString* error) const
{
    const QString folder = AppFolders::settingsFolder(programFolder);
    // The user's configuration folder may not exist yet; the program's always does.
    QDir().mkpath(folder);
    QString reason;
    const bool written = SettingsFile::Write(folder, unitCode, localFolder, reason);
    if (error)
        *error = reason;
    return written;
}

Settings::State Settings::load()
{
    const SettingsFile::Values settings = SettingsFile::Read(AppFolders::settingsFolder(programFolder));
    if (!settings.ok)
        return State::SettingsMissing;
    unitCode = settings.unitCode;
    localFolder = settings.localFolder;
    // The unit code becomes part of file names: one that could point elsewhere counts
    // as no code at all.
    if (unitCode.isEmpty() || !xml::IsSafeFileNamePart(unitCode))
        return State::SettingsMissing;
    // Only now: the default folder is made when first asked for.
    QString error;
    const xml::XmlDocumentPtr unitInfo =
        xml::ReadXmlDocument(localFolderOrDefault() + unitCode + QStringLiteral(".dw"), error);
    if (!error.isEmpty())
        return State::UnitInfoMissing;
    const xml::XmlNode unitRoot = xml::documentElement(unitInfo);
    unitName = xml::GetNodeText(unitRoot, QStringLiteral("//CorpInfo/Basic/Name"));
    reportUser = xml::GetNodeText(unitRoot, QStringLiteral("//CorpInfo/ReportInfo/ReportUser"));
    if (unitName.isEmpty() || reportUser.isEmpty())
        return State::UnitInfoMissing;
    return State::Complete;
}

QString Settings::localFolderOrDefault() const
{
    return localFolder.isEmpty() ? AppFolders::defaultLocalFolder(programFolder)
                                 : ReportFileNames::DataFolder(localFolder, programFolder);
}

short QueryFileAttributes(const QString& fileName)
{
    if (fileName.isEmpty())
        return -1;
    const QFileInfo info(fileName);
    if (!info.exists())
        return -1;
    short bits = 0;
    if (AtomicFileWriter::isReadOnly(info))
        bits |= 1;
    if (info.isHidden())
        bits |= 2;
    if (info.isDir())
        bits |= 16;
    else
        bits |= 32;
    return bits;
}

QString UnitCodeNotice()
{
    return QStringLiteral("单位编号由省文物局统一编制，请按省文物局下发的编号认真填写");
}

bool IsValidUnitCode(const QString& code)
{
    return code.toUcs4().size() == 6;
}
