#include "CheckCorpus.h"

#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "report/ReportForm.h"
#include "report/MainWindow.h"
#include "report/ReportController.h"
#include "ui/CodedList.h"
#include "core/XmlDocumentAccess.h"
#include "TestDocuments.h"
#include "store/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <archive.h>
#include <archive_entry.h>

QList<QByteArray> CheckCorpus::saveReports(const QList<Report>& reports)
{
    ScriptedUi ui;
    TempProgramFolder dir;
    dir.writeCompleteSettings(QStringLiteral("410101"), QStringLiteral("测试博物馆"));
    MainWindow window(dir.settings);
    window.start();
    QList<QByteArray> saved;
    for (const Report& report : reports) {
        window.controller()->newReport();
        ReportForm* form = window.form();
        form->list(QStringLiteral("projectType"))->selectItem(report.typeIndex);
        form->lineEdit(QStringLiteral("projectCode"))->setText(report.projectCode);
        form->lineEdit(QStringLiteral("projectName"))->setText(report.projectName);
        form->buildAllTabs();
        for (const auto& [control, text] : report.amounts) {
            auto* box = form->findChild<QLineEdit*>(control);
            if (!box)
                qFatal("no box %s", qPrintable(control));
            box->setText(text);
        }
        window.controller()->saveReport();
        const QString file = dir.file(QStringLiteral("qzrt_410101_") + report.projectCode + QStringLiteral(".xm"));
        saved << dir.readFile(QFileInfo(file).fileName());
    }
    if (!ui.texts.isEmpty())
        qWarning("saving showed: %s", qPrintable(ui.texts.join(QLatin1Char('|'))));
    return saved;
}

QByteArray CheckCorpus::edited(const QByteArray& document, const Edits& edits)
{
    const xml::XmlDocumentPtr doc = testdoc::ParseXmlText(document);
    const xml::XmlNode root = xml::documentElement(doc);
    for (const auto& [xpath, text] : edits)
        xml::SetNodeText(root, xpath, text);
    return xml::SerializeXmlDocument(doc);
}

QByteArray CheckCorpus::unitFile(const QString& code, const QString& name, const QList<int>& totals,
                                 const QList<int>& intact, const QString& relicTotal)
{
    QFile tpl(TempProgramFolder::templatesDir() + QStringLiteral("/corpinfo.tpl"));
    if (!tpl.open(QIODevice::ReadOnly))
        qFatal("no corpinfo.tpl");
    Edits edits{{QStringLiteral("//CorpInfo/ReportInfo/CorpID"), code},
                {QStringLiteral("//CorpInfo/Basic/CorpID"), code},
                {QStringLiteral("//CorpInfo/ReportInfo/CorpName"), name},
                {QStringLiteral("//CorpInfo/Basic/Name"), name},
                {QStringLiteral("//CorpInfo/Reserve/TotalItemNum"), relicTotal}};
    const char* classes[] = {"FirstClassItem", "SecondClassItem", "ThirdClassItem", "ValuableRelic"};
    for (int i = 0; i < 4; ++i) {
        const QString base = QStringLiteral("//CorpInfo/Reserve/ItemDetail/") + QLatin1String(classes[i]);
        edits << qMakePair(base + QStringLiteral("/TotalNum"), QString::number(totals.value(i)))
              << qMakePair(base + QStringLiteral("/DetailNum/GoodNum"), QString::number(intact.value(i)))
              << qMakePair(base + QStringLiteral("/FundDemand"), QStringLiteral("%1.5").arg(i));
    }
    return edited(tpl.readAll(), edits);
}

bool CheckCorpus::writeZip(const QString& path, const QList<QPair<QString, QByteArray>>& entries)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    archive* a = archive_write_new();
    archive_write_set_format_zip(a);
    const QByteArray name = QFile::encodeName(path);
    bool ok = archive_write_open_filename(a, name.constData()) == ARCHIVE_OK;
    for (const auto& [entryName, bytes] : entries) {
        if (!ok)
            break;
        archive_entry* entry = archive_entry_new();
        const QByteArray entryPath = entryName.toUtf8();
        archive_entry_set_pathname(entry, entryPath.constData());
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_size(entry, bytes.size());
        ok = archive_write_header(a, entry) == ARCHIVE_OK
          && archive_write_data(a, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
        archive_entry_free(entry);
    }
    ok = archive_write_close(a) == ARCHIVE_OK && ok;
    archive_write_free(a);
    return ok;
}

QByteArray CheckCorpus::archiveBytes(Format format, const QList<Entry>& entries, const QByteArray& nameCharset)
{
    archive* a = archive_write_new();
    if (format == Format::Zip) {
        archive_write_set_format_zip(a);
    } else if (format == Format::Gzip) {
        archive_write_set_format_raw(a);
        archive_write_add_filter_gzip(a);
    } else {
        archive_write_set_format_pax_restricted(a);
        archive_write_add_filter_gzip(a);
    }
    if (!nameCharset.isEmpty() && archive_write_set_options(a, "hdrcharset=" + nameCharset) != ARCHIVE_OK)
        qFatal("no charset %s", nameCharset.constData());
    // libarchive encrypts the whole zip or nothing.
    if (std::any_of(entries.cbegin(), entries.cend(), [](const Entry& e) { return e.type == Entry::EncryptedFile; })
        && (archive_write_set_options(a, "zip:encryption=zipcrypt") != ARCHIVE_OK
            || archive_write_set_passphrase(a, "secret") != ARCHIVE_OK))
        qFatal("cannot encrypt: %s", archive_error_string(a));
    QByteArray bytes(16 * 1024 * 1024, '\0');
    size_t used = 0;
    archive_write_set_bytes_in_last_block(a, 1);
    if (archive_write_open_memory(a, bytes.data(), static_cast<size_t>(bytes.size()), &used) != ARCHIVE_OK)
        qFatal("cannot open the archive");
    for (const Entry& e : entries) {
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, e.name.toUtf8().constData());
        archive_entry_set_perm(entry, 0644);
        if (e.type == Entry::SymbolicLink) {
            archive_entry_set_filetype(entry, AE_IFLNK);
            archive_entry_set_symlink(entry, "/etc/passwd");
        } else {
            archive_entry_set_filetype(entry, e.type == Entry::Fifo ? AE_IFIFO : AE_IFREG);
            archive_entry_set_size(entry, e.type == Entry::Fifo ? 0 : e.bytes.size());
        }
        const bool hasData = e.type == Entry::File || e.type == Entry::EncryptedFile;
        if (archive_write_header(a, entry) != ARCHIVE_OK
            || (hasData && archive_write_data(a, e.bytes.constData(), static_cast<size_t>(e.bytes.size())) != e.bytes.size()))
            qFatal("cannot write %s: %s", qPrintable(e.name), archive_error_string(a));
        archive_entry_free(entry);
    }
    if (archive_write_close(a) != ARCHIVE_OK)
        qFatal("cannot close the archive: %s", archive_error_string(a));
    archive_write_free(a);
    bytes.truncate(static_cast<qsizetype>(used));
    return bytes;
}

void CheckCorpus::writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}
