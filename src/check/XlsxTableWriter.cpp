#include "check/XlsxTableWriter.h"

#include "check/CheckTables.h"
#include "core/BudgetAmount.h"
#include "core/WriteFailureText.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <xlsxwriter.h>

namespace {

constexpr uint8_t kPaperA4 = 9;

// Excel's limit for one cell's text.
constexpr qsizetype kMaxCellText = 32767;

// Columns are measured in character widths; CJK characters take two.
int displayWidth(const QString& text)
{
    int width = 0;
    for (const QChar c : text)
        width += c.unicode() >= 0x1100 ? 2 : 1;
    return width;
}

// Control characters and the two noncharacters U+FFFE and U+FFFF are not allowed in XML:
// one in an entry's name would make the whole workbook unreadable.
bool allowedInCell(QChar c)
{
    return (c.unicode() >= 0x20 && c.unicode() < 0xFFFE) || c == QLatin1Char('\t') || c == QLatin1Char('\n')
        || c == QLatin1Char('\r');
}

QByteArray cellText(const QString& text)
{
    // Most cells hold none of them and fit: no copy to make.
    if (text.size() <= kMaxCellText && std::all_of(text.cbegin(), text.cend(), allowedInCell))
        return text.toUtf8();
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text) {
        if (allowedInCell(c))
            clean.append(c);
    }
    return clean.left(kMaxCellText).toUtf8();
}

// The length of the integer part, sign included, of a plain ASCII decimal ("-12.50", "7"),
// as every amount the tables make is written; -1 for any other text, which takes the
// careful way.
int plainDecimalDigits(const QString& text)
{
    qsizetype pos = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    const qsizetype start = pos;
    while (pos < text.size() && text.at(pos).unicode() >= '0' && text.at(pos).unicode() <= '9')
        ++pos;
    if (pos == start)
        return -1;
    const qsizetype integerPart = pos;
    if (pos < text.size() && text.at(pos) == QLatin1Char('.')) {
        const qsizetype point = pos++;
        while (pos < text.size() && text.at(pos).unicode() >= '0' && text.at(pos).unicode() <= '9')
            ++pos;
        if (pos == point + 1)
            return -1;
    }
    return pos == text.size() ? static_cast<int>(integerPart) : -1;
}

// Correctly rounded, as QString::toDouble is, without its conversions.
double plainDecimalValue(const QString& text)
{
    char ascii[64];
    const qsizetype size = std::min<qsizetype>(text.size(), sizeof ascii);
    for (qsizetype i = 0; i < size; ++i)
        ascii[i] = static_cast<char>(text.at(i).unicode());
    double value = 0;
    if (text.size() > qsizetype(sizeof ascii) || std::from_chars(ascii, ascii + size, value).ec != std::errc())
        return text.toDouble();
    return value;
}

} // namespace

XlsxTableWriter::~XlsxTableWriter()
{
    if (workbook_) {
        workbook_close(workbook_);
        QFile::remove(temporaryPath_);
    }
}

bool XlsxTableWriter::open(QString* error)
{
    const QFileInfo target(path_);
    temporaryPath_ = target.absolutePath() + QStringLiteral("/.") + target.fileName()
                   + QStringLiteral(".%1-%2.tmp").arg(QCoreApplication::applicationPid()).arg(QRandomGenerator::global()->generate());
    const QByteArray name = QFile::encodeName(temporaryPath_);
    // libxlsxwriter makes its file only when the workbook is closed, after the whole
    // check: a place it cannot write to is found out now, before any file is read. The
    // trial file goes again at once, so that a check cut short leaves nothing behind.
    if (target.isDir()) {
        *error = QStringLiteral("无法写入文件") + path_ + QStringLiteral("：该路径是一个文件夹");
        return false;
    }
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        *error = QStringLiteral("无法写入文件") + path_ + QStringLiteral("：") + WriteFailureText(errno);
        return false;
    }
    ::close(fd);
    ::unlink(name.constData());
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    workbook_ = workbook_new_opt(name.constData(), &options);
    if (!workbook_) {
        *error = QStringLiteral("无法写入文件") + path_;
        return false;
    }
    headerFormat_ = workbook_add_format(workbook_);
    format_set_bold(headerFormat_);
    amountFormat_ = workbook_add_format(workbook_);
    format_set_num_format(amountFormat_, "#,##0.00");
    countFormat_ = workbook_add_format(workbook_);
    format_set_num_format(countFormat_, "#,##0");
    for (int table = 0; table < CheckTables::TableCount; ++table) {
        const QByteArray sheet = CheckTables::sheetName(table).toUtf8();
        lxw_worksheet* worksheet = workbook_add_worksheet(workbook_, sheet.constData());
        // Printed, every sheet is as wide as a landscape page, however long, with its
        // header row on every page.
        worksheet_set_landscape(worksheet);
        worksheet_set_paper(worksheet, kPaperA4);
        worksheet_fit_to_pages(worksheet, 1, 0);
        // Narrow margins: the wide sheets shrink less to fit (inches).
        worksheet_set_margins(worksheet, 0.4, 0.4, 0.6, 0.6);
        worksheet_repeat_rows(worksheet, 0, 0);
        worksheet_set_footer(worksheet, "&C第 &P 页 共 &N 页");
        sheets_ << worksheet;
    }
    // The province's totals are what the bureau looks at first.
    worksheet_activate(sheets_[CheckTables::Summary]);
    return true;
}

void XlsxTableWriter::beginTable(int table)
{
    table_ = table;
    row_ = 0;
    const QStringList headers = CheckTables::headers(table);
    widths_.clear();
    numberColumns_.clear();
    countColumns_.clear();
    for (qsizetype column = 0; column < headers.size(); ++column) {
        numberColumns_ << CheckTables::isNumberColumn(table, static_cast<int>(column));
        countColumns_ << CheckTables::isCountColumn(table, static_cast<int>(column));
        worksheet_write_string(sheets_[table], 0, static_cast<lxw_col_t>(column), cellText(headers[column]).constData(),
                               headerFormat_);
        widths_ << displayWidth(headers[column]);
    }
    worksheet_freeze_panes(sheets_[table], 1, 0);
}

void XlsxTableWriter::writeCell(int column, const QString& text)
{
    lxw_worksheet* sheet = sheets_[table_];
    const auto col = static_cast<lxw_col_t>(column);
    if (numberColumns_[column]) {
        const bool count = countColumns_[column];
        // Every figure the tables make is a plain decimal already.
        if (const int digits = plainDecimalDigits(text); digits >= 0) {
            worksheet_write_number(sheet, row_, col, plainDecimalValue(text), count ? countFormat_ : amountFormat_);
            widths_[column] = std::max(widths_[column], digits + digits / 3 + (count ? 1 : 4));
            return;
        }
        if (const auto amount = BudgetAmount::parse(text)) {
            worksheet_write_number(sheet, row_, col, amount->plainText.toDouble(), count ? countFormat_ : amountFormat_);
            // Shown with digit groups and, for amounts, two decimals.
            const int digits = static_cast<int>(amount->plainText.section(QLatin1Char('.'), 0, 0).size());
            widths_[column] = std::max(widths_[column], digits + digits / 3 + (count ? 1 : 4));
            return;
        }
    }
    if (text.isEmpty())
        return;
    worksheet_write_string(sheet, row_, col, cellText(text).constData(), nullptr);
    widths_[column] = std::max(widths_[column], displayWidth(text));
}

void XlsxTableWriter::addRow(const QStringList& cells)
{
    ++row_;
    for (qsizetype column = 0; column < cells.size() && column < widths_.size(); ++column)
        writeCell(static_cast<int>(column), cells[column]);
}

void XlsxTableWriter::endTable()
{
    lxw_worksheet* sheet = sheets_[table_];
    const auto lastColumn = static_cast<lxw_col_t>(widths_.size() - 1);
    worksheet_autofilter(sheet, 0, 0, row_, lastColumn);
    for (qsizetype column = 0; column < widths_.size(); ++column) {
        const double width = std::min(widths_[column] + 2, 80);
        worksheet_set_column(sheet, static_cast<lxw_col_t>(column), static_cast<lxw_col_t>(column), width, nullptr);
    }
    table_ = -1;
}

bool XlsxTableWriter::restart(QString* error)
{
    if (workbook_) {
        workbook_close(workbook_);
        workbook_ = nullptr;
        QFile::remove(temporaryPath_);
    }
    sheets_.clear();
    table_ = -1;
    return open(error);
}

bool XlsxTableWriter::commit(QString* error)
{
    errno = 0;
    const lxw_error status = workbook_close(workbook_);
    const int systemError = errno; // the file's own failure, when there was one
    workbook_ = nullptr;
    if (status != LXW_NO_ERROR) {
        QFile::remove(temporaryPath_);
        // The folder may have gone during the check (a stick pulled out, a share lost).
        const QString why = status == LXW_ERROR_CREATING_XLSX_FILE || status == LXW_ERROR_CREATING_TMPFILE
                                ? WriteFailureText(systemError)
                                : QStringLiteral("写入工作簿时出错（%1）").arg(QString::fromUtf8(lxw_strerror(status)));
        *error = QStringLiteral("无法写入文件") + path_ + QStringLiteral("：") + why;
        return false;
    }
    // rename() replaces the target in one step; QFile::rename would refuse an existing one.
    if (std::rename(QFile::encodeName(temporaryPath_).constData(), QFile::encodeName(path_).constData()) != 0) {
        const int renameError = errno;
        QFile::remove(temporaryPath_);
        *error = QStringLiteral("无法写入文件") + path_ + QStringLiteral("：") + WriteFailureText(renameError);
        return false;
    }
    return true;
}
