// The unit information dialog and its document: binding, loading, saving and the page.
#include "unitinfo/frmCorpInfo.h"

#include "core/AtomicFileWriter.h"
#include "core/ReportFileNames.h"
#include "core/TextLengthLimit.h"
#include "ui/CodedList.h"
#include "ui/FieldBinding.h"
#include "store/Module1.h"
#include "core/XsltTransformer.h"
#include "ui/UserInterface.h"
#include "unitinfo/UnitInfoFolder.h"

#include <QDate>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Module1;
using namespace xml;
using namespace binding;

QString frmCorpInfo::UnitInfoFileName(bool html)
{
    if (UnitCode.isEmpty())
        return ProgramFolder + QStringLiteral("corpinfo.tpl");
    return ReportFileNames::UnitInfoFileName(UnitCode, UnitInfoFolder(), html);
}

bool frmCorpInfo::BindUnitInfo(bool toDocument)
{
    const XmlNode root = documentElement(UnitInfoDocument);
    if (toDocument) {
        if (!CheckHoldings())
            return false;
        SetNodeText(root, QStringLiteral("//CorpInfo/ReportInfo/CorpID"), UnitCode);
        SetNodeText(root, QStringLiteral("//CorpInfo/Basic/CorpID"), UnitCode);
        SetNodeText(root, QStringLiteral("//CorpInfo/ReportInfo/CorpName"), Text2->text());
        SetNodeText(root, QStringLiteral("//CorpInfo/ReportInfo/ReportDate"),
                    QLocale::c().toString(QDate::currentDate(), QStringLiteral("yyyy-MM-dd")));
    } else {
        // The unit code always comes from the settings, never from the document.
        Text1->setText(UnitCode);
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

void frmCorpInfo::LoadUnitInfo()
{
    unitInfoFile_ = UnitInfoFileName(false);
    UnitInfoDocument = LoadXmlDocument(unitInfoFile_);
    const QString error = GetLastErrorText();
    if (!error.isEmpty()) {
        if (UnitCode.isEmpty()) {
            ui::current().message(this, QStringLiteral("打开模板文件错误！请重新安装程序") + error);
        } else {
            if (allowCancel)
                ui::current().message(this, error + QStringLiteral(",配置文件错误，使用模板重新创建"));
            if (templatePath_.isEmpty())
                templatePath_ = ProgramFolder + QStringLiteral("corpinfo.tpl");
            UnitInfoDocument = LoadXmlDocument(templatePath_);
            if (!GetLastErrorText().isEmpty()) {
                ui::current().message(this, QStringLiteral("打开模板文件错误！请重新安装程序") + GetLastErrorText());
            } else {
                // The file name stays the unit's own: the next save creates the unit's file.
                SetNodeText(documentElement(UnitInfoDocument), QStringLiteral("//CorpInfo/Basic/CorpID"), UnitCode);
            }
        }
    }
    BindUnitInfo(false);
}

bool frmCorpInfo::SaveUnitInfo()
{
    unitInfoFile_ = UnitInfoFileName(false);
    const QString blank = ProgramFolder + QStringLiteral("corpinfo.tpl");
    // Without a unit code the name above is the template itself, which must never be
    // overwritten with one unit's data.
    if (UnitCode.isEmpty()) {
        ui::current().message(this, QStringLiteral("请输入单位编号，单位名称，填报人"));
        return false;
    }
    // A description the loader would refuse must not replace a file that still opens.
    if (!TextLengthLimit::fits(Text25->toPlainText())) {
        ui::current().message(this, TextLengthLimit::refusal(Command1->text()));
        return false;
    }
    UnitInfoDocument = LoadXmlDocument(blank);
    if (!GetLastErrorText().isEmpty()) {
        ui::current().message(this, QStringLiteral("模板文件错误，请重新安装"));
        return false;
    }
    if (!BindUnitInfo(true))
        return false;
    if (!SaveXmlDocument(UnitInfoDocument, unitInfoFile_) || !GetLastErrorText().isEmpty()) {
        // The user must learn that nothing was stored; the old file is still intact.
        ui::current().message(this, GetLastErrorText());
        return false;
    }
    UnitName = TrimSpaces(Text2->text());
    writePage();
    return true;
}

bool frmCorpInfo::writePage()
{
    const QString page = UnitInfoFileName(true);
    const QByteArray html = RenderUnitInfoHtml();
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

QByteArray frmCorpInfo::RenderUnitInfoHtml()
{
    const XmlDocumentPtr stylesheet = LoadXmlDocument(ProgramFolder + QStringLiteral("corpinfo.tps"));
    if (!GetLastErrorText().isEmpty()) {
        ui::current().message(this, QStringLiteral("输出模板文件错误，请重新安装"));
        return {};
    }
    const XsltTransformer::Result result = XsltTransformer::transform(UnitInfoDocument, stylesheet);
    return result.ok ? result.page : QByteArray();
}
