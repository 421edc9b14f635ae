// The settings file, the values it yields and two small checks.
#include "platform/AppFolders.h"
#include "store/AtomicFileWriter.h"
#include "store/Module1.h"
#include "ui/UserInterface.h"

#include <QDir>
#include <QFileInfo>

namespace Module1 {

QString ProgramFolder;
QString UnitCode;
QString LocalFolder;
QString UnitName;
QString UnitReportUser;

namespace {

const char kSettingsTemplate[] =
    "<?xml version=\"1.0\" encoding=\"GB2312\" standalone=\"yes\"?>"
    "<Config><CorpID/><ServerPass/><ServerUrl/><LocalPath/><ReportUser/></Config>";

QString settingsFileName()
{
    return AppFolders::settingsFolder(ProgramFolder) + QStringLiteral("config.pz");
}

} // namespace

void SaveSettings()
{
    XmlDocumentPtr document = ParseXmlText(QByteArray(kSettingsTemplate), settingsFileName());
    const XmlNode root = documentElement(document);
    SetNodeText(root, QStringLiteral("//Config/CorpID"), UnitCode);
    SetNodeText(root, QStringLiteral("//Config/LocalPath"), LocalFolder);
    // The user's configuration folder may not exist yet; the program's always does.
    QDir().mkpath(AppFolders::settingsFolder(ProgramFolder));
    if (!SaveXmlDocument(document, settingsFileName()))
        ui::current().message(nullptr, QStringLiteral("保存参数失败") + GetLastErrorText());
}

int LoadSettings()
{
    XmlDocumentPtr settings = LoadXmlDocument(settingsFileName());
    if (!GetLastErrorText().isEmpty())
        return SettingsMissing;
    const XmlNode root = documentElement(settings);
    UnitCode = GetNodeText(root, QStringLiteral("//Config/CorpID"));
    LocalFolder = GetNodeText(root, QStringLiteral("//Config/LocalPath"));
    if (!LocalFolder.isEmpty() && !LocalFolder.endsWith(folderSeparator()))
        LocalFolder += folderSeparator();
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
    return LocalFolder.isEmpty() ? AppFolders::defaultLocalFolder(ProgramFolder) : LocalFolder;
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

bool IsSafeFileNamePart(const QString& text)
{
    if (text == QLatin1String(".") || text == QLatin1String(".."))
        return false;
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || forbidden.contains(c))
            return false;
    }
    return true;
}

} // namespace Module1
