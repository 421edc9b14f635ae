// The settings file, the values it yields and two small checks.
#include "core/AtomicFileWriter.h"
#include "core/ReportFileNames.h"
#include "core/SettingsFile.h"
#include "platform/AppFolders.h"
#include "store/Module1.h"
#include "ui/UserInterface.h"

#include <QDir>
#include <QDir>
#include <QFileInfo>

namespace Module1 {
using namespace xml;

QString ProgramFolder;
QString UnitCode;
QString LocalFolder;
QString UnitName;
QString UnitReportUser;

void SaveSettings()
{
    const QString folder = AppFolders::settingsFolder(ProgramFolder);
    // The user's configuration folder may not exist yet; the program's always does.
    QDir().mkpath(folder);
    if (!SettingsFile::Write(folder, UnitCode, LocalFolder, LastErrorText))
        ui::current().message(nullptr, QStringLiteral("保存参数失败") + GetLastErrorText());
}

int LoadSettings()
{
    const SettingsFile::Values settings = SettingsFile::Read(AppFolders::settingsFolder(ProgramFolder));
    LastErrorText = settings.error;
    if (!settings.ok)
        return SettingsMissing;
    UnitCode = settings.unitCode;
    LocalFolder = settings.localFolder;
    // The unit code becomes part of file names: one that could point elsewhere counts
    // as no code at all.
    if (UnitCode.isEmpty() || !IsSafeFileNamePart(UnitCode))
        return SettingsMissing;
    // Only now: the default folder is made when first asked for.
    const QString unitFile = LocalFolderOrDefault() + UnitCode + QStringLiteral(".dw");

    XmlDocumentPtr unitInfo = LoadXmlDocument(unitFile);
    if (!GetLastErrorText().isEmpty())
        return UnitInfoMissing;
    const XmlNode unitRoot = documentElement(unitInfo);
    UnitName = GetNodeText(unitRoot, QStringLiteral("//CorpInfo/Basic/Name"));
    UnitReportUser = GetNodeText(unitRoot, QStringLiteral("//CorpInfo/ReportInfo/ReportUser"));
    if (UnitName.isEmpty() || UnitReportUser.isEmpty())
        return UnitInfoMissing;
    return SettingsComplete;
}


QString LocalFolderOrDefault()
{
    return LocalFolder.isEmpty() ? AppFolders::defaultLocalFolder(ProgramFolder)
                                 : ReportFileNames::DataFolder(LocalFolder, ProgramFolder);
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

bool IsValidUnitCode(const QString& code)
{
    ui::current().message(nullptr, QStringLiteral("单位编号由省文物局统一编制，请按省文物局下发的编号认真填写"));
    return code.toUcs4().size() == 6;
}

} // namespace Module1
