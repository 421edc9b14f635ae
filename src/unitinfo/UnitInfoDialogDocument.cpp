// The unit information dialog and its document: binding, loading, saving and the page.
#include "unitinfo/UnitInfoDialog.h"

#include "core/AtomicFileWriter.h"
#include "core/ReportFileNames.h"
#include "core/TextLengthLimit.h"
#include "ui/CodedList.h"
#include "ui/FieldBinding.h"
#include "ui/PlainTextValue.h"
#include "store/Settings.h"
#include "core/XsltTransformer.h"
#include "ui/UserInterface.h"

#include <QDate>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace xml;
using namespace binding;

QString UnitInfoDialog::unitInfoFileName(bool html) const
{
    if (settings_.unitCode.isEmpty())
        return settings_.programFile(QStringLiteral("corpinfo.tpl"));
    return ReportFileNames::UnitInfoFileName(settings_.unitCode, settings_.localFolderOrDefault(), html);
}

bool UnitInfoDialog::transferFields(bool toDocument)
{
    const XmlNode root = documentElement(document);
    if (toDocument) {
        if (!checkHoldings())
            return false;
        SetNodeText(root, QStringLiteral("//CorpInfo/ReportInfo/CorpID"), settings_.unitCode);
        SetNodeText(root, QStringLiteral("//CorpInfo/Basic/CorpID"), settings_.unitCode);
        SetNodeText(root, QStringLiteral("//CorpInfo/ReportInfo/CorpName"), unitNameBox_->text());
        SetNodeText(root, QStringLiteral("//CorpInfo/ReportInfo/ReportDate"),
                    QLocale::c().toString(QDate::currentDate(), QStringLiteral("yyyy-MM-dd")));
    } else {
        // The unit code always comes from the settings, never from the document.
        unitCodeBox_->setText(settings_.unitCode);
    }

    const auto all = UnitInfoFields::fields();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const UnitInfoField& field = all[i];
        const QString defaultText = QString::fromUtf8(field.defaultText);
        switch (field.kind) {
        case UnitInfoKind::Text:
        case UnitInfoKind::Number:
            TransferTextField(root, qobject_cast<QLineEdit*>(widgets_[i]), UnitInfoFields::xpath(field), toDocument,
                              defaultText);
            break;
        case UnitInfoKind::LongText:
            TransferTextField(root, qobject_cast<QPlainTextEdit*>(widgets_[i]), UnitInfoFields::xpath(field),
                              toDocument, defaultText);
            break;
        case UnitInfoKind::Coded:
            TransferComboField(root, qobject_cast<CodedList*>(widgets_[i]), UnitInfoFields::xpath(field), toDocument);
            break;
        case UnitInfoKind::UnitCode:
        case UnitInfoKind::Button:
            break;
        }
    }
    // Every box shows the start of its value, not the end that setText leaves it at.
    if (!toDocument) {
        for (QLineEdit* box : findChildren<QLineEdit*>())
            box->setCursorPosition(0);
    }
    return true;
}

void UnitInfoDialog::loadUnitInfo()
{
    unitInfoFile_ = unitInfoFileName(false);
    QString error;
    document = ReadXmlDocument(unitInfoFile_, error);
    if (!error.isEmpty()) {
        if (settings_.unitCode.isEmpty()) {
            ui::current().message(this, QStringLiteral("打开模板文件错误！请重新安装程序") + error);
        } else {
            if (allowCancel)
                ui::current().message(this, error + QStringLiteral(",配置文件错误，使用模板重新创建"));
            if (templatePath_.isEmpty())
                templatePath_ = settings_.programFile(QStringLiteral("corpinfo.tpl"));
            QString templateError;
            document = ReadXmlDocument(templatePath_, templateError);
            if (!templateError.isEmpty()) {
                ui::current().message(this, QStringLiteral("打开模板文件错误！请重新安装程序") + templateError);
            } else {
                // The file name stays the unit's own: the next save creates the unit's file.
                SetNodeText(documentElement(document), QStringLiteral("//CorpInfo/Basic/CorpID"), settings_.unitCode);
            }
        }
    }
    transferFields(false);
}

bool UnitInfoDialog::saveUnitInfo()
{
    unitInfoFile_ = unitInfoFileName(false);
    const QString blank = settings_.programFile(QStringLiteral("corpinfo.tpl"));
    // Without a unit code the name above is the template itself, which must never be
    // overwritten with one unit's data.
    if (settings_.unitCode.isEmpty()) {
        ui::current().message(this, QStringLiteral("请输入单位编号，单位名称，填报人"));
        return false;
    }
    // A description the loader would refuse must not replace a file that still opens.
    if (!TextLengthLimit::fits(ui::plainTextValue(descriptionBox_))) {
        ui::current().message(this, TextLengthLimit::refusal(descriptionButton_->text()));
        return false;
    }
    QString error;
    document = ReadXmlDocument(blank, error);
    if (!error.isEmpty()) {
        ui::current().message(this, QStringLiteral("模板文件错误，请重新安装"));
        return false;
    }
    if (!transferFields(true))
        return false;
    if (!WriteXmlDocument(document, unitInfoFile_, error)) {
        // The user must learn that nothing was stored; the old file is still intact.
        ui::current().message(this, error);
        return false;
    }
    settings_.unitName = TrimSpaces(unitNameBox_->text());
    writePage();
    return true;
}

bool UnitInfoDialog::writePage()
{
    const QString page = unitInfoFileName(true);
    const QByteArray html = renderPage();
    if (html.isEmpty()) {
        ui::current().message(this, QStringLiteral("未能进行成功的数据转换"));
        return false;
    }
    // Replaced as a whole: nothing of an older, longer page remains, and a failed write
    // leaves the older page as it was.
    QString reason;
    if (!AtomicFileWriter::write(page, html, &reason)) {
        ui::current().message(this, QStringLiteral("无法保存指定文件") + page + QStringLiteral("\\n") + reason);
        return false;
    }
    return true;
}

QByteArray UnitInfoDialog::renderPage()
{
    QString error;
    const XmlDocumentPtr stylesheet = ReadXmlDocument(settings_.programFile(QStringLiteral("corpinfo.tps")), error);
    if (!error.isEmpty()) {
        ui::current().message(this, QStringLiteral("输出模板文件错误，请重新安装"));
        return {};
    }
    const XsltTransformer::Result result = XsltTransformer::transform(document, stylesheet);
    return result.ok ? result.page : QByteArray();
}
