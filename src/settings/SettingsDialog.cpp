#include "settings/SettingsDialog.h"

#include "settings/FolderChooser.h"
#include "core/XmlDocumentAccess.h"
#include "store/Settings.h"
#include "ui/UserInterface.h"
#include "unitinfo/UnitInfoDialog.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSessionManager>
#include <QVBoxLayout>

const QString SettingsDialog::kQuitQuestion = QStringLiteral("您尚未设置参数,退出程序吗?");
const QString SettingsDialog::kUnitCodeRefused = QStringLiteral("单位编号错误，请联系省文物局核对单位编号");

SettingsDialog::SettingsDialog(Settings& settings, QWidget* parent)
    : QDialog(parent)
    , settings_(settings)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("选项"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    unitCodeLabel_ = new QLabel(QStringLiteral("单位代码"), this);
    unitCodeLabel_->setObjectName(QStringLiteral("Label1"));
    unitCodeBox_ = new QLineEdit(this);
    unitCodeBox_->setObjectName(QStringLiteral("Text1"));
    unitCodeBox_->setAccessibleName(QStringLiteral("单位代码"));
    unitCodeLabel_->setBuddy(unitCodeBox_);

    folderLabel_ = new QLabel(QStringLiteral("本地文件保存地址"), this);
    folderLabel_->setObjectName(QStringLiteral("Label3"));
    folderBox_ = new QLineEdit(this);
    folderBox_->setObjectName(QStringLiteral("Text3"));
    folderBox_->setAccessibleName(QStringLiteral("本地文件保存地址"));
    folderLabel_->setBuddy(folderBox_);

    chooseFolderButton_ = new QPushButton(QStringLiteral("..."), this);
    chooseFolderButton_->setObjectName(QStringLiteral("Command1"));
    chooseFolderButton_->setAccessibleName(QStringLiteral("选择本地文件保存地址"));
    chooseFolderButton_->setFixedWidth(36);

    okButton_ = new QPushButton(QStringLiteral("确定"), this);
    okButton_->setObjectName(QStringLiteral("cmdOK"));
    cancelButton_ = new QPushButton(QStringLiteral("取消"), this);
    cancelButton_->setObjectName(QStringLiteral("cmdCancel"));
    // Enter accepts nothing here; Esc is Cancel (keyPressEvent).
    for (QPushButton* button : {chooseFolderButton_, okButton_, cancelButton_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    auto* fields = new QGridLayout;
    fields->addWidget(unitCodeLabel_, 0, 0);
    fields->addWidget(unitCodeBox_, 0, 1, 1, 2);
    fields->addWidget(folderLabel_, 1, 0);
    fields->addWidget(folderBox_, 1, 1);
    fields->addWidget(chooseFolderButton_, 1, 2);
    fields->setColumnStretch(1, 1);
    fields->setHorizontalSpacing(8);
    fields->setVerticalSpacing(10);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setContentsMargins(16, 16, 16, 12);
    setMinimumWidth(460);

    setTabOrder(unitCodeBox_, folderBox_);
    setTabOrder(folderBox_, chooseFolderButton_);
    setTabOrder(chooseFolderButton_, okButton_);
    setTabOrder(okButton_, cancelButton_);

    connect(okButton_, &QPushButton::clicked, this, &SettingsDialog::confirm);
    connect(cancelButton_, &QPushButton::clicked, this, &SettingsDialog::cancel);
    connect(chooseFolderButton_, &QPushButton::clicked, this, &SettingsDialog::chooseFolder);
#if QT_CONFIG(sessionmanager)
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { sessionEnding(); });
#endif
}

void SettingsDialog::prepare()
{
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    unitCodeBox_->setText(settings_.unitCode);
    folderBox_->setText(settings_.localFolder);
}

void SettingsDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        prepare();
    QDialog::showEvent(event);
    unitCodeBox_->setFocus();
}

void SettingsDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        cancel();
        return;
    }
    // No default button: Enter in a box does not accept the dialog.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SettingsDialog::confirm()
{
    const QString code = xml::TrimSpaces(unitCodeBox_->text());
    // The notice comes first on every OK. The code also becomes part of file names, so one
    // that cannot stand in a file name is refused like a code of the wrong length.
    ui::current().message(this, UnitCodeNotice());
    const bool valid = IsValidUnitCode(code);
    if (!valid || !xml::IsSafeFileNamePart(code)) {
        ui::current().message(this, kUnitCodeRefused);
        unitCodeBox_->setFocus();
        unitCodeBox_->selectAll();
        return;
    }

    finish(false);
    // The folder is taken first: the unit information demanded below is written there,
    // where the next start looks for it.
    const QString folder = xml::TrimSpaces(folderBox_->text());
    // The folder is taken as typed, but one that does not exist yet is made: every save
    // goes there, and the unit information demanded below could not be written at all.
    if (!folder.isEmpty() && !QFileInfo::exists(folder))
        QDir().mkpath(QDir::fromNativeSeparators(folder));
    if (allowCancel && code != settings_.unitCode) {
        // The unit information dialog works on the file of the new code.
        settings_.unitCode = code;
        settings_.localFolder = folder;
        demandUnitInfo();
    }
    settings_.unitCode = code;
    settings_.localFolder = folder;
    allowCancel = true;
    accept();
}

void SettingsDialog::demandUnitInfo()
{
    UnitInfoDialog unitInfo(settings_, this);
    unitInfo.allowCancel = false;
    ui::current().runModal(&unitInfo);
}

void SettingsDialog::cancel()
{
    if (!allowCancel && !ui::current().question(this, kQuitQuestion))
        return;
    finish(true);
    allowCancel = true;
    reject();
}

bool SettingsDialog::refusesClose(UnloadMode mode)
{
    if (allowCancel || mode == UnloadMode::SessionEnd)
        return false;
    if (!ui::current().question(this, kQuitQuestion))
        return true;
    finish(true);
    return false;
}

void SettingsDialog::finish(bool leftByCancel)
{
    cancelled = previousCancelled_ = leftByCancel;
}

void SettingsDialog::closeEvent(QCloseEvent* event)
{
    bool savingSession = sessionEnding_;
#if QT_CONFIG(sessionmanager)
    savingSession = savingSession || qGuiApp->isSavingSession();
#endif
    const UnloadMode mode = savingSession          ? UnloadMode::SessionEnd
                            : event->spontaneous() ? UnloadMode::UserClose
                                                   : UnloadMode::ProgramClose;
    if (refusesClose(mode)) {
        event->ignore();
        return;
    }
    event->accept();
    reject();
}

void SettingsDialog::chooseFolder()
{
    // The chooser starts from the stored setting, not from what is typed in the box.
    FolderChooser chooser(this);
    chooser.folderPath = settings_.localFolder;
    ui::current().runModal(&chooser);
    if (!chooser.cancelled)
        folderBox_->setText(chooser.folderPath);
}
