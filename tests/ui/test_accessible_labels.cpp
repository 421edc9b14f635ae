// Screen readers read a label's accessible name instead of its text: in every window a
// label's name is unset or its own text, so what is shown is what is read.
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "about/frmAbout.h"
#include "report/frmMain.h"
#include "report/frmText.h"
#include "settings/frmFolder.h"
#include "settings/frmOptions.h"
#include "store/Module1.h"
#include "unitinfo/frmCorpInfo.h"

#include <QLabel>
#include <QTest>
#include <memory>

class TestAccessibleLabels : public QObject {
    Q_OBJECT

    // Returns how many labels were looked at.
    static qsizetype verifyLabels(QWidget* window)
    {
        window->show();
        const auto labels = window->findChildren<QLabel*>();
        for (const QLabel* label : labels) {
            const QString name = label->accessibleName();
            QVERIFY2(name.isEmpty() || name == label->text(),
                     qPrintable(QStringLiteral("%1 / %2: name \"%3\" hides the text \"%4\"")
                                    .arg(window->objectName(), label->objectName(), name, label->text())));
        }
        window->hide();
        return labels.size();
    }

private slots:
    void everyWindowShowsWhatItReads()
    {
        ScriptedUi ui;
        TempProgramFolder folder;
        folder.writeCompleteSettings();
        Module1::UnitCode = QStringLiteral("410101");

        auto main = std::make_unique<frmMain>();
        main->Form_Load(folder.path());
        qsizetype seen = verifyLabels(main.get());

        const std::unique_ptr<QWidget> dialogs[] = {std::make_unique<frmCorpInfo>(), std::make_unique<frmOptions>(),
                                                    std::make_unique<frmFolder>(), std::make_unique<frmAbout>(),
                                                    std::make_unique<frmText>()};
        for (const auto& dialog : dialogs)
            seen += verifyLabels(dialog.get());
        QVERIFY(seen > 100);
        ui.finish();
    }
};

QTEST_MAIN(TestAccessibleLabels)
#include "test_accessible_labels.moc"
