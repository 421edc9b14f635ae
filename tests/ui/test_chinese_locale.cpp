// The program's default locale is Chinese (China), so Qt's dialogs show Chinese dates,
// while amounts keep the decimal point whatever the locale.
#include "ScriptedUi.h"
#include "report/AmountText.h"
#include "report/BudgetAmount.h"
#include "report/BudgetStatus.h"
#include "report/ReportForm.h"
#include "ui/ChineseTranslation.h"

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

class TestChineseLocale : public QObject {
    Q_OBJECT
private slots:
    void startUpMakesChineseTheDefault()
    {
        QLocale::setDefault(QLocale::c());
        ui::installChineseTranslation(*qApp);
        QCOMPARE(QLocale().name(), QStringLiteral("zh_CN"));
        QCOMPARE(QLocale().toString(QDate(2026, 12, 7), QLocale::ShortFormat), QStringLiteral("2026/12/7"));
    }

    void amountsReadTheSameUnderTheChineseDefault()
    {
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
        for (const char* text : {"1234.5", "1,234.5", "0.1", "-3", "-0.05"}) {
            const auto parsed = BudgetAmount::parse(QString::fromLatin1(text));
            QVERIFY2(parsed, text);
            QCOMPARE(AmountText::decimal(parsed->value), QString::fromLatin1(text).remove(QLatin1Char(',')));
        }
        ScriptedUi ui;
        ReportForm form;
        form.findChild<QLineEdit*>(QStringLiteral("Text32"))->setText(QStringLiteral("1234.5"));
        form.findChild<QLineEdit*>(QStringLiteral("Text12(0)"))->setText(QStringLiteral("1234.5"));
        QVERIFY(!form.budgetStatus(1)->isBroken(0));
        QVERIFY(form.budgetStatus(1)->rowLabel(0)->text().endsWith(QStringLiteral("资金需求合计 1234.5")));
        QVERIFY(form.CheckBudgetTotals());
        QCOMPARE(form.findChild<QLineEdit*>(QStringLiteral("Text32"))->text(), QStringLiteral("1234.5"));
        ui.finish();
    }
};

QTEST_MAIN(TestChineseLocale)
#include "test_chinese_locale.moc"
