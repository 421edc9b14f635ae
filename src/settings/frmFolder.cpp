#include "settings/frmFolder.h"

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

frmFolder::frmFolder(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFolder"));
    setWindowTitle(QStringLiteral("选择本地路径"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setAccessibleName(QStringLiteral("驱动器"));

    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    model_->setReadOnly(true);

    Dir1 = new QTreeView(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setAccessibleName(QStringLiteral("文件夹"));
    Dir1->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        Dir1->hideColumn(column);
    Dir1->setHeaderHidden(true);
    Dir1->setUniformRowHeights(true);
    Dir1->setExpandsOnDoubleClick(false);   // a double-click opens the folder, which expands it
    Dir1->installEventFilter(this);

    lblHint = new QLabel(QStringLiteral("双击文件夹将其打开；按“确定”选用下面显示的当前文件夹。"), this);
    lblHint->setObjectName(QStringLiteral("lblHint"));
    lblHint->setWordWrap(true);

    lblFolder = new QLabel(this);
    lblFolder->setObjectName(QStringLiteral("lblFolder"));
    lblFolder->setAccessibleDescription(QStringLiteral("当前文件夹"));
    lblFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblFolder->setWordWrap(true);

    OKButton = new QPushButton(QStringLiteral("确定"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    CancelButton = new QPushButton(QStringLiteral("取消"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    // Enter opens the highlighted folder; neither button takes Enter or Esc.
    for (QPushButton* button : {OKButton, CancelButton}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Drive1);
    layout->addWidget(Dir1, 1);
    layout->addWidget(lblHint);
    layout->addWidget(lblFolder);
    layout->addLayout(buttons);
    resize(420, 460);

    connect(Drive1, &QComboBox::currentIndexChanged, this, &frmFolder::Drive1_Change);
    connect(Dir1, &QTreeView::doubleClicked, this, &frmFolder::Dir1_Open);
    revealTimer_ = new QTimer(this);
    revealTimer_->setSingleShot(true);
    revealTimer_->setInterval(0);
    connect(revealTimer_, &QTimer::timeout, this, &frmFolder::revealCurrentFolder);
    connect(model_, &QFileSystemModel::directoryLoaded, this, &frmFolder::scheduleReveal);
    connect(model_, &QFileSystemModel::rowsInserted, this, &frmFolder::scheduleReveal);
    connect(model_, &QFileSystemModel::layoutChanged, this, &frmFolder::scheduleReveal);
    Dir1->viewport()->installEventFilter(this);
    Dir1->verticalScrollBar()->installEventFilter(this);
    connect(OKButton, &QPushButton::clicked, this, &frmFolder::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmFolder::CancelButton_Click);
}

QString frmFolder::currentFolder() const
{
    return QDir::toNativeSeparators(currentFolder_);
}

QStringList frmFolder::availableDrives()
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

void frmFolder::fillDrives()
{
    const QSignalBlocker blocker(Drive1);
    Drive1->clear();
    for (const QString& root : availableDrives())
        Drive1->addItem(QDir::toNativeSeparators(root), root);
}

int frmFolder::driveIndexFor(const QString& folder)
{
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < Drive1->count(); ++i) {
        const QString root = Drive1->itemData(i).toString();
        if (isWithin(cleanFolder(root), folder) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    if (best < 0) {
        // A folder on a volume the list does not know (a network share): offer its root.
        const QString root = QStorageInfo(folder).rootPath();
        const QString entry = root.isEmpty() ? folder : root;
        const QSignalBlocker blocker(Drive1);
        Drive1->addItem(QDir::toNativeSeparators(entry), entry);
        best = Drive1->count() - 1;
    }
    return best;
}

void frmFolder::Form_Load()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    fillDrives();
    driveFolders_.clear();
    currentDrive_ = -1;
    currentFolder_.clear();

    QString start = cleanFolder(FolderPath);
    if (start.isEmpty() || !QFileInfo(start).isDir())
        start = QDir::currentPath();
    start = cleanFolder(QFileInfo(start).absoluteFilePath());
    showDrive(driveIndexFor(start), start);
}

void frmFolder::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        Form_Load();
    QDialog::showEvent(event);
    Dir1->setFocus();
}

void frmFolder::showDrive(int index, const QString& folder)
{
    const QString root = Drive1->itemData(index).toString();
    {
        const QSignalBlocker blocker(Drive1);
        Drive1->setCurrentIndex(index);
    }
    currentDrive_ = index;
    model_->setRootPath(root);
    Dir1->setRootIndex(model_->index(root));
    Dir1->setCurrentIndex(QModelIndex());
    if (!openFolder(folder))
        openFolder(root);
}

bool frmFolder::openFolder(const QString& folder)
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
    const QString root = cleanFolder(Drive1->itemData(currentDrive_).toString());
    if (!isWithin(root, path))
        return false;

    currentFolder_ = path;
    driveFolders_.insert(root, path);
    lblFolder->setText(QStringLiteral("当前文件夹：") + currentFolder());
    revealPending_ = true;
    revealCurrentFolder();
    return true;
}

void frmFolder::revealCurrentFolder()
{
    const QModelIndex index = model_->index(currentFolder_);
    if (!index.isValid() || index == Dir1->rootIndex())
        return;
    for (QModelIndex up = index.parent(); up.isValid() && up != Dir1->rootIndex(); up = up.parent())
        Dir1->expand(up);
    Dir1->expand(index);
    Dir1->setCurrentIndex(index);
    Dir1->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void frmFolder::scheduleReveal()
{
    if (revealPending_)
        revealTimer_->start();
}

void frmFolder::Drive1_Change(int index)
{
    if (index < 0 || index == currentDrive_)
        return;
    const QString root = Drive1->itemData(index).toString();
    const QFileInfo info(root);
    if (!info.isDir() || !info.isReadable() || !QDir(root).isReadable()) {
        {
            const QSignalBlocker blocker(Drive1);
            Drive1->setCurrentIndex(currentDrive_);
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

void frmFolder::Dir1_Open(const QModelIndex& index)
{
    if (index.isValid() && model_->isDir(index))
        openFolder(model_->filePath(index));
}

bool frmFolder::eventFilter(QObject* watched, QEvent* event)
{
    // The user's hand on the tree ends the automatic scrolling to the opened folder.
    const QEvent::Type type = event->type();
    if ((watched == Dir1 || watched == Dir1->viewport() || watched == Dir1->verticalScrollBar())
        && (type == QEvent::KeyPress || type == QEvent::MouseButtonPress || type == QEvent::Wheel))
        revealPending_ = false;
    if (watched == Dir1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Dir1_Open(Dir1->currentIndex());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmFolder::keyPressEvent(QKeyEvent* event)
{
    // Esc does not cancel here, and Enter belongs to the folder tree.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmFolder::OKButton_Click()
{
    FolderPath = currentFolder();
    finish(false);
    accept();
}

void frmFolder::CancelButton_Click()
{
    finish(true);
    reject();
}

void frmFolder::finish(bool cancelled)
{
    CancelError = previousCancelError_ = cancelled;
}
