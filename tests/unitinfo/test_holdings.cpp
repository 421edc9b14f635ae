// The holdings rules as the unit dialog applies them: the message shown and the boxes
// rewritten. The rules' counting and rounding are tested at core level (core_test_holdings_rules).
#include "../core/HoldingsTesting.h"
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "unitinfo/FieldValue.h"
#include "unitinfo/HoldingsCheck.h"
#include "unitinfo/UnitInfoDialog.h"

#include <QLineEdit>
#include <QTest>

class TestHoldings : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { ui.finish(); }

    void fieldValue_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("boxAfter");
        auto row = [](const char* name, const QString& typed, double value, const QString& after = QString()) {
            QTest::newRow(name) << typed << value << (after.isNull() ? typed : after);
        };
        row("empty", QString(), 0);
        row("letters after", QStringLiteral("12abc"), 12);
        row("blank inside", QStringLiteral("1 000"), 1000);
        row("overflow", QStringLiteral("1E999"), 0, QStringLiteral("0"));
    }
    void fieldValue()
    {
        QFETCH(QString, typed);
        QFETCH(double, value);
        QFETCH(QString, boxAfter);
        QLineEdit box;
        box.setText(typed);
        QCOMPARE(GetFieldValue(&box), value);
        QCOMPARE(box.text(), boxAfter);
    }

    void checkHoldings_data()
    {
        QTest::addColumn<Counts>("values");
        QTest::addColumn<QString>("message"); // empty: the rule holds
        const QString big = QStringLiteral("9000000000");
        QTest::newRow("all empty") << counts({}) << QString();
        QTest::newRow("class 1 broken") << counts({{1, {"10", "5", "3", "1"}}}, "100") << classMessage(1);
        const auto tens = std::initializer_list<std::pair<int, QStringList>>{
            {0, {"10", "10"}}, {1, {"20", "20"}}, {2, {"30", "30"}}, {3, {"40", "40"}}};
        QTest::newRow("relics 100") << counts(tens, "100") << QString();
        QTest::newRow("relics 99.5") << counts(tens, "99.5") << kRelicMessage;
        QTest::newRow("first broken class only") << counts({{0, {"1"}}, {2, {"1"}}}, "100") << classMessage(0);
        QTest::newRow("beyond 32 bits") << counts({{2, {big, big}}}, "1E12") << classMessage(2);
    }
    void checkHoldings()
    {
        QFETCH(Counts, values);
        QFETCH(QString, message);
        UnitInfoDialog dialog(folder->settings);
        for (int i = 0; i < 4; ++i) {
            const QString idx = QStringLiteral("(%1)").arg(i);
            const QStringList names{"Text9" + idx, "Text10" + idx, "Text11" + idx, "Text12" + idx};
            for (int k = 0; k < 4; ++k)
                dialog.textBox(names[k])->setText(values[i * 4 + k]);
        }
        dialog.textBox(QStringLiteral("Text29"))->setText(values[16]);

        QCOMPARE(dialog.checkHoldings(), message.isEmpty());
        QCOMPARE(ui.texts, message.isEmpty() ? QStringList() : QStringList{message});
    }

    void overflowResetsOnlyThatBox()
    {
        UnitInfoDialog dialog(folder->settings);
        dialog.textBox(QStringLiteral("Text9(1)"))->setText(QStringLiteral("1E999"));
        dialog.textBox(QStringLiteral("Text10(1)"))->setText(QStringLiteral("12abc"));
        QVERIFY(!dialog.checkHoldings());
        QCOMPARE(ui.texts, QStringList{classMessage(1)});
        QCOMPARE(dialog.textBox(QStringLiteral("Text9(1)"))->text(), QStringLiteral("0"));
        QCOMPARE(dialog.textBox(QStringLiteral("Text10(1)"))->text(), QStringLiteral("12abc"));
        // A class after the broken one is not read at all.
        dialog.textBox(QStringLiteral("Text9(1)"))->setText(QStringLiteral("12"));
        dialog.textBox(QStringLiteral("Text9(0)"))->setText(QStringLiteral("1"));
        dialog.textBox(QStringLiteral("Text9(3)"))->setText(QStringLiteral("1E999"));
        ui.texts.clear();
        QVERIFY(!dialog.checkHoldings());
        QCOMPARE(ui.texts, QStringList{classMessage(0)});
        QCOMPARE(dialog.textBox(QStringLiteral("Text9(3)"))->text(), QStringLiteral("1E999"));
    }

private:
    ScriptedUi ui;
    TempProgramFolder folderHolder;
    TempProgramFolder* folder = &folderHolder;
};

QTEST_MAIN(TestHoldings)
#include "test_holdings.moc"
