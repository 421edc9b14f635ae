// Screen readers read a label's accessible name instead of its text: in every window a
// label's name is unset or its own text, so what is shown is what is read.
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "about/AboutBox.h"
#include "report/MainWindow.h"
#include "report/ReportForm.h"
#include "ui/LongTextEditor.h"
#include "settings/FolderChooser.h"
#include "settings/SettingsDialog.h"
#include "unitinfo/UnitInfoDialog.h"

#include <QLabel>
#include <QTest>
#include <memory>

class TestAccessibleLabels : public QObject {
    Q_OBJECT
private slots:
    void everyWindowReadsWhatItShows()
    {
        ScriptedUi ui;
        TempProgramFolder folder;
        folder.writeCompleteSettings();
        auto main = std::make_unique<MainWindow>(folder.settings);
        main->start();
        main->form()->buildAllTabs();
        const std::unique_ptr<QWidget> windows[] = {std::move(main), std::make_unique<UnitInfoDialog>(folder.settings),
                                                    std::make_unique<SettingsDialog>(folder.settings),
                                                    std::make_unique<FolderChooser>(),
                                                    std::make_unique<AboutBox>(), std::make_unique<LongTextEditor>()};
        qsizetype seen = 0;
        for (const auto& window : windows) {
            window->show(); // the windows fill their labels when shown
            for (const QLabel* label : window->findChildren<QLabel*>()) {
                const QString name = label->accessibleName();
                QVERIFY2(name.isEmpty() || name == label->text(),
                         qPrintable(window->objectName() + QLatin1Char('/') + label->objectName() + QLatin1Char(' ') + name));
                ++seen;
            }
            window->hide();
        }
        QVERIFY(seen > 100);
        ui.finish();
    }
};

QTEST_MAIN(TestAccessibleLabels)
#include "test_accessible_labels.moc"
