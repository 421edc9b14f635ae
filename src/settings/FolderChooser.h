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
// only highlighted is not chosen. The caller sets folderPath, shows the dialog modally,
// reads cancelled and folderPath once it has closed and then destroys it. OK accepts,
// Cancel and the close box reject.
class FolderChooser : public QDialog {
    Q_OBJECT
public:
    explicit FolderChooser(QWidget* parent = nullptr);

    // In: where the chooser opens (when that folder exists). Out after OK: the opened
    // folder, without a trailing separator except for a root.
    QString folderPath;
    // False after OK, true after Cancel. The close box leaves it as the previous chooser
    // ended (not cancelled on a first use), so a chooser closed that way hands back the
    // folder it was given, or nothing after a Cancel.
    bool cancelled = previousCancelled_;

    // The opened folder, in the form folderPath receives it.
    QString currentFolder() const;

    // The machine's drives: on Windows the drive roots; elsewhere "/" first, then the
    // other mounted volumes that are ready. Paths use "/".
    static QStringList availableDrives();

    void prepare();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void finish(bool leftByCancel);

    // How the last chooser was left by OK or Cancel; each new chooser starts from it.
    static inline bool previousCancelled_ = false;
    void driveChosen(int index);
    void folderOpened(const QModelIndex& index);
    void confirm();
    void cancel();

    void fillDrives();
    int driveIndexFor(const QString& folder);
    void showDrive(int index, const QString& folder);
    bool openFolder(const QString& folder);
    void revealCurrentFolder();
    void scheduleReveal();

    QComboBox* driveList_;
    QTreeView* folderTree_;
    QFileSystemModel* model_;
    QLabel* hintLabel_;
    QLabel* folderLabel_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;

    int currentDrive_ = -1;
    QString currentFolder_;                  // "/" form, cleaned
    QHash<QString, QString> driveFolders_;   // last opened folder per drive root
    // While the tree fills in the background, the opened folder is kept in view until the
    // user takes over the tree.
    bool revealPending_ = false;
    QTimer* revealTimer_;
};
