#pragma once

#include <QDialog>
#include <QHash>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QModelIndex;
class QPushButton;
class QTimer;
class QTreeView;

// The local folder chooser: a drive list above a folder tree. The folder that counts is
// the one the user opened (double-click or Enter), shown beneath the tree; a folder that is
// only highlighted is not chosen. The caller sets FolderPath, shows the dialog modally,
// reads CancelError and FolderPath once it has closed and then destroys it. OK accepts,
// Cancel and the close box reject.
class frmFolder : public QDialog {
    Q_OBJECT
public:
    explicit frmFolder(QWidget* parent = nullptr);

    // In: where the chooser opens (when that folder exists). Out after OK: the opened
    // folder, without a trailing separator except for a root.
    QString FolderPath;
    // False after OK, true after Cancel. The close box leaves it as the previous chooser
    // ended (not cancelled on a first use), so a chooser closed that way hands back the
    // folder it was given, or nothing after a Cancel.
    bool CancelError = previousCancelError_;

    // The opened folder, in the form FolderPath receives it.
    QString currentFolder() const;

    // The machine's drives: on Windows the drive roots; elsewhere "/" first, then the
    // other mounted volumes that are ready. Paths use "/".
    static QStringList availableDrives();

    void Form_Load();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void finish(bool cancelled);

    // How the last chooser was left by OK or Cancel; each new chooser starts from it.
    static inline bool previousCancelError_ = false;
    void Drive1_Change(int index);
    void Dir1_Open(const QModelIndex& index);
    void OKButton_Click();
    void CancelButton_Click();

    void fillDrives();
    int driveIndexFor(const QString& folder);
    void showDrive(int index, const QString& folder);
    bool openFolder(const QString& folder);
    void revealCurrentFolder();
    void scheduleReveal();

    QComboBox* Drive1;
    QTreeView* Dir1;
    QFileSystemModel* model_;
    QLabel* lblHint;
    QLabel* lblFolder;
    QPushButton* OKButton;
    QPushButton* CancelButton;

    int currentDrive_ = -1;
    QString currentFolder_;                  // "/" form, cleaned
    QHash<QString, QString> driveFolders_;   // last opened folder per drive root
    // While the tree fills in the background, the opened folder is kept in view until the
    // user takes over the tree.
    bool revealPending_ = false;
    QTimer* revealTimer_;
};
