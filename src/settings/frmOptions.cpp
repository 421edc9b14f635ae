#include "settings/frmOptions.h"

#include "settings/frmFolder.h"
#include "store/Module1.h"
#include "ui/UserInterface.h"
#include "unitinfo/frmCorpInfo.h"

#include <QCloseEvent>
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

const QString frmOptions::kQuitQuestion = QStringLiteral("您尚未设置参数,退出程序吗?");
const QString frmOptions::kUnitCodeRefused = QStringLiteral("单位编号错误，请联系省文物局核对单位编号");

frmOptions::frmOptions(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("选项"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    Label1 = new QLabel(QStringLiteral("单位代码"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("单位代码"));
    Label1->setBuddy(Text1);

    Label3 = new QLabel(QStringLiteral("本地文件保存地址"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Text3 = new QLineEdit(this);
    Text3->setObjectName(QStringLiteral("Text3"));
    Text3->setAccessibleName(QStringLiteral("本地文件保存地址"));
    Label3->setBuddy(Text3);

    Command1 = new QPushButton(QStringLiteral("..."), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAccessibleName(QStringLiteral("选择本地文件保存地址"));
    Command1->setFixedWidth(36);

    cmdOK = new QPushButton(QStringLiteral("确定"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new QPushButton(QStringLiteral("取消"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Enter accepts nothing here; Esc is Cancel (keyPressEvent).
    for (QPushButton* button : {Command1, cmdOK, cmdCancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    auto* fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(Text1, 0, 1, 1, 2);
    fields->addWidget(Label3, 1, 0);
    fields->addWidget(Text3, 1, 1);
    fields->addWidget(Command1, 1, 2);
    fields->setColumnStretch(1, 1);
    fields->setHorizontalSpacing(8);
    fields->setVerticalSpacing(10);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setContentsMargins(16, 16, 16, 12);
    setMinimumWidth(460);

    setTabOrder(Text1, Text3);
    setTabOrder(Text3, Command1);
    setTabOrder(Command1, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
    connect(Command1, &QPushButton::clicked, this, &frmOptions::Command1_Click);
#if QT_CONFIG(sessionmanager)
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { SessionEnding(); });
#endif
}

void frmOptions::Form_Load()
{
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Text1->setText(Module1::UnitCode);
    Text3->setText(Module1::LocalFolder);
}

void frmOptions::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        Form_Load();
    QDialog::showEvent(event);
    Text1->setFocus();
}

void frmOptions::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        cmdCancel_Click();
        return;
    }
    // No default button: Enter in a box does not accept the dialog.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmOptions::cmdOK_Click()
{
    const QString code = xml::TrimSpaces(Text1->text());
    // The notice comes first on every OK. The code also becomes part of file names, so one
    // that cannot stand in a file name is refused like a code of the wrong length.
    const bool valid = Module1::IsValidUnitCode(code);
    if (!valid || !xml::IsSafeFileNamePart(code)) {
        ui::current().message(this, kUnitCodeRefused);
        Text1->setFocus();
        Text1->selectAll();
        return;
    }

    finish(false);
    // The folder is taken first: the unit information demanded below is written there,
    // where the next start looks for it.
    const QString folder = xml::TrimSpaces(Text3->text());
    if (allowCancel && code != Module1::UnitCode) {
        // The unit information dialog works on the file of the new code.
        Module1::UnitCode = code;
        Module1::LocalFolder = folder;
        DemandUnitInfo();
    }
    Module1::UnitCode = code;
    Module1::LocalFolder = folder;
    allowCancel = true;
    accept();
}

void frmOptions::DemandUnitInfo()
{
    frmCorpInfo unitInfo(this);
    unitInfo.allowCancel = false;
    ui::current().runModal(&unitInfo);
}

void frmOptions::cmdCancel_Click()
{
    if (!allowCancel && !ui::current().question(this, kQuitQuestion))
        return;
    finish(true);
    allowCancel = true;
    reject();
}

bool frmOptions::Form_QueryUnload(UnloadMode mode)
{
    if (allowCancel || mode == UnloadMode::SessionEnd)
        return false;
    if (!ui::current().question(this, kQuitQuestion))
        return true;
    finish(true);
    return false;
}

void frmOptions::finish(bool cancelled)
{
    CancelError = previousCancelError_ = cancelled;
}

void frmOptions::closeEvent(QCloseEvent* event)
{
    bool savingSession = sessionEnding_;
#if QT_CONFIG(sessionmanager)
    savingSession = savingSession || qGuiApp->isSavingSession();
#endif
    const UnloadMode mode = savingSession          ? UnloadMode::SessionEnd
                            : event->spontaneous() ? UnloadMode::UserClose
                                                   : UnloadMode::ProgramClose;
    if (Form_QueryUnload(mode)) {
        event->ignore();
        return;
    }
    event->accept();
    reject();
}

void frmOptions::Command1_Click()
{
    // The chooser starts from the stored setting, not from what is typed in the box.
    frmFolder chooser(this);
    chooser.FolderPath = Module1::LocalFolder;
    ui::current().runModal(&chooser);
    if (!chooser.CancelError)
        Text3->setText(chooser.FolderPath);
}
