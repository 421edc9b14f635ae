// The folder chooser: where it opens, which folder counts, drives, and what it hands back.
#include "ScriptedUi.h"
#include "settings/FolderChooser.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

class TestFolderChooser : public QObject {
    Q_OBJECT

    QString folder(const QString& relative) const
    {
        return QDir::toNativeSeparators(QDir::cleanPath(base_->path() + QLatin1Char('/') + relative));
    }
    static QComboBox* drives(FolderChooser& d) { return d.findChild<QComboBox*>(QStringLiteral("Drive1")); }
    static QTreeView* tree(FolderChooser& d) { return d.findChild<QTreeView*>(QStringLiteral("Dir1")); }
    static QPushButton* button(FolderChooser& d, const char* name) { return d.findChild<QPushButton*>(QLatin1String(name)); }
    static QModelIndex indexOf(FolderChooser& d, const QString& path)
    {
        auto* model = qobject_cast<QFileSystemModel*>(tree(d)->model());
        return model->index(QDir::fromNativeSeparators(path));
    }
    static void pressOk(FolderChooser& d) { button(d, "OKButton")->click(); }

private slots:
    void init()
    {
        base_.emplace();
        QVERIFY(base_->isValid());
        for (const char* sub : {"a/b", "c", "报告"})
            QVERIFY(QDir(base_->path()).mkpath(QString::fromUtf8(sub)));
        savedCwd_ = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder(QStringLiteral("c"))));
    }
    void cleanup()
    {
        QDir::setCurrent(savedCwd_);
        base_.reset();
        ui_.finish();
    }

    void opensWhereItShould_data()
    {
        QTest::addColumn<QString>("handedIn");   // relative to the test folder; "<none>" empty, "<gone>" missing
        QTest::addColumn<QString>("opened");
        QTest::newRow("handed-in folder") << QStringLiteral("a/b") << QStringLiteral("a/b");
        QTest::newRow("trailing separator") << QStringLiteral("a/b/") << QStringLiteral("a/b");
        QTest::newRow("Chinese name") << QStringLiteral("报告") << QStringLiteral("报告");
        QTest::newRow("empty: working folder") << QStringLiteral("<none>") << QStringLiteral("c");
        QTest::newRow("missing: working folder") << QStringLiteral("<gone>") << QStringLiteral("c");
    }
    void opensWhereItShould()
    {
        QFETCH(QString, handedIn);
        QFETCH(QString, opened);
        FolderChooser chooser;
        if (handedIn == QLatin1String("<gone>"))
            chooser.folderPath = folder(QStringLiteral("no-such-folder"));
        else if (handedIn != QLatin1String("<none>"))
            chooser.folderPath = QDir::toNativeSeparators(base_->path() + QLatin1Char('/') + handedIn);
        QSignalSpy accepted(&chooser, &QDialog::accepted);
        ui_.answerModal([](QDialog* d) { pressOk(*static_cast<FolderChooser*>(d)); });
        ui::current().runModal(&chooser);
        QCOMPARE(accepted.count(), 1);

        QCOMPARE(ui_.modalTitles, QStringList{QStringLiteral("选择本地路径")});
        QCOMPARE(chooser.cancelled, false);
        QCOMPARE(chooser.folderPath, folder(opened));
        QVERIFY(chooser.findChild<QLabel*>(QStringLiteral("lblFolder"))->text().endsWith(folder(opened)));
    }

    void highlightedIsNotOpened()
    {
        FolderChooser chooser;
        chooser.folderPath = folder(QString());
        chooser.show();
        tree(chooser)->setCurrentIndex(indexOf(chooser, folder(QStringLiteral("a"))));
        pressOk(chooser);
        QCOMPARE(chooser.folderPath, folder(QString()));
    }

    void enterOpensTheHighlightedFolder()
    {
        FolderChooser chooser;
        chooser.folderPath = folder(QString());
        chooser.show();
        tree(chooser)->setCurrentIndex(indexOf(chooser, folder(QStringLiteral("a"))));
        QTest::keyClick(tree(chooser), Qt::Key_Return);
        QCOMPARE(chooser.currentFolder(), folder(QStringLiteral("a")));
        QVERIFY(chooser.isVisible());   // Enter opened the folder, it did not press OK
        // Highlighting a sub-folder afterwards does not change the choice.
        tree(chooser)->setCurrentIndex(indexOf(chooser, folder(QStringLiteral("a/b"))));
        pressOk(chooser);
        QCOMPARE(chooser.folderPath, folder(QStringLiteral("a")));
    }

    void doubleClickOpensTheFolder()
    {
        FolderChooser chooser;
        chooser.folderPath = folder(QString());
        chooser.show();
        QTreeView* view = tree(chooser);
        const QModelIndex target = indexOf(chooser, folder(QStringLiteral("c")));
        QTRY_VERIFY(view->visualRect(target).isValid());
        const QPoint at = view->visualRect(target).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(chooser.currentFolder(), folder(QStringLiteral("c")));
        pressOk(chooser);
        QCOMPARE(chooser.folderPath, folder(QStringLiteral("c")));
    }

    void rootKeepsItsSeparator()
    {
        const QString root = QDir::toNativeSeparators(QDir::rootPath());
        FolderChooser chooser;
        chooser.folderPath = root;
        chooser.show();
        pressOk(chooser);
        QCOMPARE(chooser.folderPath, root);
    }

    void drivesListRealVolumes()
    {
        const QStringList list = FolderChooser::availableDrives();
        QVERIFY(!list.isEmpty());
#ifndef Q_OS_WIN
        QCOMPARE(list.first(), QStringLiteral("/"));
        QCOMPARE(list.count(QStringLiteral("/")), 1);
        for (const QString& root : list)
            QVERIFY2(!root.startsWith(QLatin1String("/proc")) && !root.startsWith(QLatin1String("/sys")), qPrintable(root));
#endif
        for (const QString& root : list)
            QVERIFY2(QDir(root).exists() || list.size() > 1, qPrintable(root));
    }

    // Another drive: a second entry standing for a volume mounted at the test's "c" folder.
    void anotherDriveOpensAtItsRoot()
    {
        FolderChooser chooser;
        chooser.folderPath = folder(QStringLiteral("a/b"));
        chooser.show();
        QComboBox* list = drives(chooser);
        const int first = list->currentIndex();
        QVERIFY(first >= 0);
        list->addItem(folder(QStringLiteral("c")), QDir::fromNativeSeparators(folder(QStringLiteral("c"))));
        list->setCurrentIndex(list->count() - 1);
        QCOMPARE(chooser.currentFolder(), folder(QStringLiteral("c")));
        // Back on the first drive, the folder opened there before comes back.
        list->setCurrentIndex(first);
        QCOMPARE(chooser.currentFolder(), folder(QStringLiteral("a/b")));
        list->setCurrentIndex(list->count() - 1);
        pressOk(chooser);
        QCOMPARE(chooser.folderPath, folder(QStringLiteral("c")));
        QVERIFY(ui_.texts.isEmpty());
    }

    void unreadableDriveKeepsThePreviousOne()
    {
        FolderChooser chooser;
        chooser.folderPath = folder(QStringLiteral("a"));
        chooser.show();
        QComboBox* list = drives(chooser);
        const int before = list->currentIndex();
        const QString missing = folder(QStringLiteral("no-medium"));
        list->addItem(missing, QDir::fromNativeSeparators(missing));
        list->setCurrentIndex(list->count() - 1);

        QCOMPARE(ui_.texts.size(), 1);
        QVERIFY(ui_.texts.first().startsWith(QStringLiteral("无法读取驱动器")));
        QVERIFY(ui_.texts.first().endsWith(missing));
        QCOMPARE(list->currentIndex(), before);
        QCOMPARE(chooser.currentFolder(), folder(QStringLiteral("a")));
        QVERIFY(chooser.isVisible());
        pressOk(chooser);
        QCOMPARE(chooser.folderPath, folder(QStringLiteral("a")));
    }

    void cancelKeepsTheCallersFolder()
    {
        FolderChooser chooser;
        chooser.folderPath = QStringLiteral("/stored/elsewhere/");
        chooser.show();
        tree(chooser)->setCurrentIndex(indexOf(chooser, folder(QStringLiteral("c"))));
        QTest::keyClick(tree(chooser), Qt::Key_Return);
        QSignalSpy rejected(&chooser, &QDialog::rejected);
        button(chooser, "CancelButton")->click();
        QVERIFY(!chooser.isVisible());
        QCOMPARE(rejected.count(), 1);
        QCOMPARE(chooser.cancelled, true);
        QCOMPARE(chooser.folderPath, QStringLiteral("/stored/elsewhere/"));
    }

    // The close box changes nothing: the members keep what they held.
    void closeBoxTouchesNothing_data()
    {
        QTest::addColumn<bool>("previousCancel");
        QTest::newRow("first use") << false;
        QTest::newRow("after a cancel") << true;
    }
    void closeBoxTouchesNothing()
    {
        QFETCH(bool, previousCancel);
        FolderChooser chooser;
        chooser.cancelled = previousCancel;
        chooser.folderPath = folder(QStringLiteral("a"));
        chooser.show();
        tree(chooser)->setCurrentIndex(indexOf(chooser, folder(QStringLiteral("c"))));
        QTest::keyClick(tree(chooser), Qt::Key_Return);
        QVERIFY(chooser.close());
        QCOMPARE(chooser.cancelled, previousCancel);
        QCOMPARE(chooser.folderPath, folder(QStringLiteral("a")));
    }

    void enterAndEscAreNotBoundToTheButtons_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
    }
    void enterAndEscAreNotBoundToTheButtons()
    {
        QFETCH(int, key);
        FolderChooser chooser;
        chooser.folderPath = folder(QStringLiteral("a"));
        chooser.cancelled = true;
        chooser.show();
        for (const char* name : {"OKButton", "CancelButton"}) {
            QPushButton* b = button(chooser, name);
            QVERIFY(!b->isDefault() && !b->autoDefault());
            b->setFocus();
            QTest::keyClick(b, Qt::Key(key));
            QVERIFY2(chooser.isVisible(), name);
        }
        QCOMPARE(chooser.cancelled, true);
        QCOMPARE(chooser.folderPath, folder(QStringLiteral("a")));
    }

    // A chooser closed by its close box hands back what the previous one ended with: the
    // folder it was given after an OK, a cancel after a Cancel. The caller reads the
    // outcome from the chooser it showed.
    void closeBoxKeepsThePreviousOutcome()
    {
        FolderChooser cancelled;
        cancelled.folderPath = folder(QStringLiteral("a"));
        cancelled.show();
        button(cancelled, "CancelButton")->click();
        QCOMPARE(cancelled.cancelled, true);
        FolderChooser closedAfterCancel;
        closedAfterCancel.folderPath = folder(QStringLiteral("c"));
        closedAfterCancel.show();
        QVERIFY(closedAfterCancel.close());
        QCOMPARE(closedAfterCancel.cancelled, true);

        FolderChooser picked;
        picked.folderPath = folder(QStringLiteral("a/b"));
        picked.show();
        pressOk(picked);
        QCOMPARE(picked.cancelled, false);
        QCOMPARE(picked.folderPath, folder(QStringLiteral("a/b")));
        FolderChooser closedAfterOk;
        closedAfterOk.folderPath = folder(QStringLiteral("c"));
        closedAfterOk.show();
        QVERIFY(closedAfterOk.close());
        QCOMPARE(closedAfterOk.cancelled, false);
        QCOMPARE(closedAfterOk.folderPath, folder(QStringLiteral("c")));
    }

private:
    ScriptedUi ui_;
    std::optional<QTemporaryDir> base_;
    QString savedCwd_;
};

QTEST_MAIN(TestFolderChooser)
#include "test_folder_chooser.moc"
