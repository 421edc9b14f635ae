#include "settings/FolderChooser.h"

#include "ui/UserInterface.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

Qt::CaseSensitivity pathCase()
{
#ifdef Q_OS_WIN
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

// True when folder is root itself or lies beneath it.
bool isWithin(const QString& root, const QString& folder)
{
    if (folder.compare(root, pathCase()) == 0)
        return true;
    const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    return folder.startsWith(prefix, pathCase());
}

QString cleanFolder(const QString& path)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

} // namespace

FolderChooser::FolderChooser(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFolder"));
    setWindowTitle(QStringLiteral("选择本地路径"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    driveList_ = new QComboBox(this);
    driveList_->setObjectName(QStringLiteral("Drive1"));
    driveList_->setAccessibleName(QStringLiteral("驱动器"));

    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    model_->setReadOnly(true);

    folderTree_ = new QTreeView(this);
    folderTree_->setObjectName(QStringLiteral("Dir1"));
    folderTree_->setAccessibleName(QStringLiteral("文件夹"));
    folderTree_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        folderTree_->hideColumn(column);
    folderTree_->setHeaderHidden(true);
    folderTree_->setUniformRowHeights(true);
    folderTree_->setExpandsOnDoubleClick(false);   // a double-click opens the folder, which expands it
    folderTree_->installEventFilter(this);

    hintLabel_ = new QLabel(QStringLiteral("双击文件夹将其打开；按“确定”选用下面显示的当前文件夹。"), this);
    hintLabel_->setObjectName(QStringLiteral("lblHint"));
    hintLabel_->setWordWrap(true);

    folderLabel_ = new QLabel(this);
    folderLabel_->setObjectName(QStringLiteral("lblFolder"));
    folderLabel_->setAccessibleDescription(QStringLiteral("当前文件夹"));
    folderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    folderLabel_->setWordWrap(true);

    okButton_ = new QPushButton(QStringLiteral("确定"), this);
    okButton_->setObjectName(QStringLiteral("OKButton"));
    cancelButton_ = new QPushButton(QStringLiteral("取消"), this);
    cancelButton_->setObjectName(QStringLiteral("CancelButton"));
    // Enter opens the highlighted folder; neither button takes Enter or Esc.
    for (QPushButton* button : {okButton_, cancelButton_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(driveList_);
    layout->addWidget(folderTree_, 1);
    layout->addWidget(hintLabel_);
    layout->addWidget(folderLabel_);
    layout->addLayout(buttons);
    resize(420, 460);

    connect(driveList_, &QComboBox::currentIndexChanged, this, &FolderChooser::driveChosen);
    connect(folderTree_, &QTreeView::doubleClicked, this, &FolderChooser::folderOpened);
    revealTimer_ = new QTimer(this);
    revealTimer_->setSingleShot(true);
    revealTimer_->setInterval(0);
    connect(revealTimer_, &QTimer::timeout, this, &FolderChooser::revealCurrentFolder);
    connect(model_, &QFileSystemModel::directoryLoaded, this, &FolderChooser::scheduleReveal);
    connect(model_, &QFileSystemModel::rowsInserted, this, &FolderChooser::scheduleReveal);
    connect(model_, &QFileSystemModel::layoutChanged, this, &FolderChooser::scheduleReveal);
    folderTree_->viewport()->installEventFilter(this);
    folderTree_->verticalScrollBar()->installEventFilter(this);
    connect(okButton_, &QPushButton::clicked, this, &FolderChooser::confirm);
    connect(cancelButton_, &QPushButton::clicked, this, &FolderChooser::cancel);
}

QString FolderChooser::currentFolder() const
{
    return QDir::toNativeSeparators(currentFolder_);
}

QStringList FolderChooser::availableDrives()
{
    QStringList drives;
#ifdef Q_OS_WIN
    for (const QFileInfo& drive : QDir::drives())
        drives << drive.absoluteFilePath();
#else
    drives << QStringLiteral("/");
    static const QStringList systemAreas = {QStringLiteral("/run"), QStringLiteral("/snap"),
                                            QStringLiteral("/boot"), QStringLiteral("/proc"),
                                            QStringLiteral("/sys"), QStringLiteral("/dev")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (!volume.isValid() || !volume.isReady() || volume.isRoot() || drives.contains(root))
            continue;
        if (std::any_of(systemAreas.begin(), systemAreas.end(),
                        [&](const QString& area) { return isWithin(area, root); }))
            continue;
        drives << root;
    }
#endif
    return drives;
}

void FolderChooser::fillDrives()
{
    const QSignalBlocker blocker(driveList_);
    driveList_->clear();
    for (const QString& root : availableDrives())
        driveList_->addItem(QDir::toNativeSeparators(root), root);
}

int FolderChooser::driveIndexFor(const QString& folder)
{
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < driveList_->count(); ++i) {
        const QString root = driveList_->itemData(i).toString();
        if (isWithin(cleanFolder(root), folder) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    if (best < 0) {
        // A folder on a volume the list does not know (a network share): offer its root.
        const QString root = QStorageInfo(folder).rootPath();
        const QString entry = root.isEmpty() ? folder : root;
        const QSignalBlocker blocker(driveList_);
        driveList_->addItem(QDir::toNativeSeparators(entry), entry);
        best = driveList_->count() - 1;
    }
    return best;
}

void FolderChooser::prepare()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    fillDrives();
    driveFolders_.clear();
    currentDrive_ = -1;
    currentFolder_.clear();

    QString start = cleanFolder(folderPath);
    if (start.isEmpty() || !QFileInfo(start).isDir())
        start = QDir::currentPath();
    start = cleanFolder(QFileInfo(start).absoluteFilePath());
    showDrive(driveIndexFor(start), start);
}

void FolderChooser::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        prepare();
    QDialog::showEvent(event);
    folderTree_->setFocus();
}

void FolderChooser::showDrive(int index, const QString& folder)
{
    const QString root = driveList_->itemData(index).toString();
    {
        const QSignalBlocker blocker(driveList_);
        driveList_->setCurrentIndex(index);
    }
    currentDrive_ = index;
    model_->setRootPath(root);
    folderTree_->setRootIndex(model_->index(root));
    folderTree_->setCurrentIndex(QModelIndex());
    if (!openFolder(folder))
        openFolder(root);
}

bool FolderChooser::openFolder(const QString& folder)
{
    // A folder the tree does not show (a hidden one) opens at its nearest shown parent.
    QString path = cleanFolder(folder);
    QModelIndex index = model_->index(path);
    while (!index.isValid()) {
        const QString parent = cleanFolder(QFileInfo(path).path());
        if (parent == path)
            return false;
        path = parent;
        index = model_->index(path);
    }
    const QString root = cleanFolder(driveList_->itemData(currentDrive_).toString());
    if (!isWithin(root, path))
        return false;

    currentFolder_ = path;
    driveFolders_.insert(root, path);
    folderLabel_->setText(QStringLiteral("当前文件夹：") + currentFolder());
    revealPending_ = true;
    revealCurrentFolder();
    return true;
}

void FolderChooser::revealCurrentFolder()
{
    const QModelIndex index = model_->index(currentFolder_);
    if (!index.isValid() || index == folderTree_->rootIndex())
        return;
    for (QModelIndex up = index.parent(); up.isValid() && up != folderTree_->rootIndex(); up = up.parent())
        folderTree_->expand(up);
    folderTree_->expand(index);
    folderTree_->setCurrentIndex(index);
    folderTree_->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void FolderChooser::scheduleReveal()
{
    if (revealPending_)
        revealTimer_->start();
}

void FolderChooser::driveChosen(int index)
{
    if (index < 0 || index == currentDrive_)
        return;
    const QString root = driveList_->itemData(index).toString();
    const QFileInfo info(root);
    if (!info.isDir() || !info.isReadable() || !QDir(root).isReadable()) {
        {
            const QSignalBlocker blocker(driveList_);
            driveList_->setCurrentIndex(currentDrive_);
        }
        ui::current().message(this, QStringLiteral("无法读取驱动器，请检查驱动器中是否有磁盘，或选择其他驱动器：")
                                        + QDir::toNativeSeparators(root));
        return;
    }
    QString folder = driveFolders_.value(cleanFolder(root), root);
    if (!QFileInfo(folder).isDir())
        folder = root;
    showDrive(index, folder);
}

void FolderChooser::folderOpened(const QModelIndex& index)
{
    if (index.isValid() && model_->isDir(index))
        openFolder(model_->filePath(index));
}

bool FolderChooser::eventFilter(QObject* watched, QEvent* event)
{
    // The user's hand on the tree ends the automatic scrolling to the opened folder.
    const QEvent::Type type = event->type();
    if ((watched == folderTree_ || watched == folderTree_->viewport() || watched == folderTree_->verticalScrollBar())
        && (type == QEvent::KeyPress || type == QEvent::MouseButtonPress || type == QEvent::Wheel))
        revealPending_ = false;
    if (watched == folderTree_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            folderOpened(folderTree_->currentIndex());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FolderChooser::keyPressEvent(QKeyEvent* event)
{
    // Esc does not cancel here, and Enter belongs to the folder tree.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FolderChooser::confirm()
{
    folderPath = currentFolder();
    finish(false);
    accept();
}

void FolderChooser::cancel()
{
    finish(true);
    reject();
}

void FolderChooser::finish(bool leftByCancel)
{
    cancelled = previousCancelled_ = leftByCancel;
}
