#include "report/frmMain.h"

#include "about/frmAbout.h"
#include "report/ReportController.h"
#include "report/ReportForm.h"
#include "report/ToolbarIcons.h"
#include "ui/HiddenTextBox.h"
#include "ui/frmText.h"
#include "settings/frmOptions.h"
#include "store/Module1.h"
#include "ui/UserInterface.h"
#include "unitinfo/UnitInfoPrinter.h"
#include "unitinfo/frmCorpInfo.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSessionManager>
#include <QStyle>
#include <QThread>
#include <QToolBar>

using namespace Module1;
using namespace xml;

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Vantrel"));
    // A fixed window without minimise and maximise buttons.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);

    SSTab1 = new ReportForm(this);
    setCentralWidget(SSTab1);
    createMenus();
    createToolbar();
    // Looked up once: the modified state switches them on every edit.
    saveMenuItem_ = action(QStringLiteral("M_FileSave"));
    saveButton_ = action(QStringLiteral("Toolbar1(3)"));

    controller_ = std::make_unique<ReportController>(SSTab1, this);
    connect(controller_.get(), &ReportController::captionChanged, this, &QWidget::setWindowTitle);
    connect(controller_.get(), &ReportController::modifiedChanged, this, [this](bool modified) {
        saveMenuItem_->setEnabled(modified);
        saveButton_->setEnabled(modified);
    });

    // One editor serves the four long texts.
    textEditor_ = new frmText(this);

    const std::array<void (frmMain::*)(), 4> longTextCommands{&frmMain::Command1_Click, &frmMain::Command2_Click,
                                                              &frmMain::Command3_Click, &frmMain::Command4_Click};
    for (int i = 0; i < 4; ++i)
        connect(SSTab1->longTextButton(i), &QPushButton::clicked, this, longTextCommands[i]);

    if (qApp)
        connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { SessionEnding(); });
}

frmMain::~frmMain() = default;

// ---- Menus and toolbar ----------------------------------------------------------------------

QAction* frmMain::addMenuItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                              void (frmMain::*handler)())
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcut(shortcut);
    connect(item, &QAction::triggered, this, handler);
    return item;
}

void frmMain::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->setObjectName(QStringLiteral("M_File"));
    file->menuAction()->setObjectName(QStringLiteral("M_File"));
    addMenuItem(file, "M_FileNew", QStringLiteral("新建(&N)"), QKeySequence(QStringLiteral("Ctrl+N")),
                &frmMain::M_FileNew_Click);
    addMenuItem(file, "M_FileOpen", QStringLiteral("打开(&O)"), QKeySequence(QStringLiteral("Ctrl+O")),
                &frmMain::M_FileOpen_Click);
    addMenuItem(file, "M_FileSave", QStringLiteral("保存(&S)"), QKeySequence(QStringLiteral("Ctrl+S")),
                &frmMain::M_FileSave_Click);
    addMenuItem(file, "M_FileSaveAs", QStringLiteral("另存为..."), QKeySequence(), &frmMain::M_FileSaveAs_Click);
    file->addSeparator()->setObjectName(QStringLiteral("M_MenuSeprator1"));
    // The HTML export is kept but not offered: hidden and switched off, shortcut included.
    QAction* exportItem = addMenuItem(file, "M_FileExport", QStringLiteral("导出HTML(&E)..."),
                                      QKeySequence(QStringLiteral("Ctrl+E")), &frmMain::M_FileExport_Click);
    exportItem->setEnabled(false);
    exportItem->setVisible(false);
    addMenuItem(file, "M_FilePrint", QStringLiteral("打印(&P)..."), QKeySequence(), &frmMain::M_FilePrint_Click);
    file->addSeparator()->setObjectName(QStringLiteral("M_MenuSeprator2"));
    addMenuItem(file, "M_FileAbout", QStringLiteral("关于(&A)..."), QKeySequence(), &frmMain::M_FileAbout_Click);
    addMenuItem(file, "M_FileExit", QStringLiteral("退出(&X)"), QKeySequence(QStringLiteral("Ctrl+X")),
                &frmMain::M_FileExit_Click);

    // Only one report type exists; the menu is kept switched off and out of sight.
    QMenu* report = menuBar()->addMenu(QStringLiteral("报表类型(&R)"));
    report->setObjectName(QStringLiteral("M_Report"));
    report->menuAction()->setObjectName(QStringLiteral("M_Report"));
    QAction* type1 = addMenuItem(report, "M_ReportType1", QStringLiteral("资金需求项目预算情况表"), QKeySequence(),
                                 &frmMain::M_ReportType1_Click);
    type1->setCheckable(true);
    type1->setChecked(true);
    QAction* type2 = addMenuItem(report, "M_ReportType2", QStringLiteral("报表2"), QKeySequence(),
                                 &frmMain::M_ReportType2_Click);
    type2->setCheckable(true);
    type2->setEnabled(false);
    type2->setVisible(false);
    report->menuAction()->setEnabled(false);
    report->menuAction()->setVisible(false);

    QMenu* tool = menuBar()->addMenu(QStringLiteral("档案信息(&T)"));
    tool->setObjectName(QStringLiteral("M_Tool"));
    tool->menuAction()->setObjectName(QStringLiteral("M_Tool"));
    addMenuItem(tool, "M_ToolCorpInfo", QStringLiteral("单位信息(&I)"), QKeySequence(),
                &frmMain::M_ToolCorpInfo_Click);
    addMenuItem(tool, "M_ToolCorpInfoPrint", QStringLiteral("打印单位信息(&P)"), QKeySequence(),
                &frmMain::M_ToolCorpInfoPrint_Click);
    tool->addSeparator()->setObjectName(QStringLiteral("M_ToolSeprator"));
    addMenuItem(tool, "M_ToolOption", QStringLiteral("选项(&O)..."), QKeySequence(), &frmMain::M_ToolOption_Click);
}

void frmMain::createToolbar()
{
    Toolbar1 = addToolBar(QStringLiteral("工具栏"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setIconSize(QSize(16, 16));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar1->setContextMenuPolicy(Qt::PreventContextMenu);

    struct Button {
        int index;
        const char* caption;
        int image;
    };
    // Index 5 is the separator between the report commands and the settings.
    static const Button buttons[] = {{1, "新建", 1}, {2, "打开", 2}, {3, "保存", 3}, {4, "打印", 4},
                                     {5, nullptr, 0}, {6, "选项", 5}, {7, "单位信息", 6}};
    for (const Button& b : buttons) {
        QAction* button = b.caption ? Toolbar1->addAction(ToolbarIcons::image(b.image), QString::fromUtf8(b.caption))
                                    : Toolbar1->addSeparator();
        button->setObjectName(QStringLiteral("Toolbar1(%1)").arg(b.index));
        button->setData(b.index);
        if (b.caption)
            button->setToolTip(QString::fromUtf8(b.caption));
    }
    connect(Toolbar1, &QToolBar::actionTriggered, this,
            [this](QAction* button) { Toolbar1_ButtonClick(button->data().toInt()); });
}

QAction* frmMain::action(const QString& name) const
{
    return findChild<QAction*>(name);
}

void frmMain::Toolbar1_ButtonClick(int index)
{
    switch (index) {
    case 1: M_FileNew_Click(); break;
    case 2: M_FileOpen_Click(); break;
    case 3: M_FileSave_Click(); break;
    case 4: M_FilePrint_Click(); break;
    case 6: M_ToolOption_Click(); break;
    case 7: M_ToolCorpInfo_Click(); break;
    default: break;
    }
}

// ---- Start-up -------------------------------------------------------------------------------

void frmMain::Form_Load(const QString& programFolder)
{
    ProgramFolder = QDir::toNativeSeparators(programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                                     : programFolder);
    if (!ProgramFolder.isEmpty() && !ProgramFolder.endsWith(folderSeparator()))
        ProgramFolder += folderSeparator();

    FitToScreen();

    controller_->SetModified(false);
    switch (LoadSettings()) {
    case UnitInfoMissing:
        ui::current().message(this, QStringLiteral("请配置单位信息"));
        ShowUnitInfoDialog(false);
        break;
    case SettingsMissing:
        ui::current().message(this, QStringLiteral("请配置参数信息"));
        ShowOptionsDialog(false);
        break;
    default:
        M_FileNew_Click();
        break;
    }
    SSTab1->setProjectGroup(1);
}

void frmMain::FitToScreen()
{
    // The report's pages scroll; the window still opens big enough to show the largest
    // page whole, as far as the screen allows, and keeps that size.
    QSize content;
    QList<QScrollArea*> pages;
    for (int i = 0; i < SSTab1->count(); ++i) {
        if (auto* page = qobject_cast<QScrollArea*>(SSTab1->widget(i)); page && page->widget()) {
            pages << page;
            content = content.expandedTo(page->widget()->sizeHint());
        }
    }
    // A page that scrolls up and down needs room for its scroll bar beside the content,
    // or a second bar appears for a few pixels of width.
    content.rwidth() += style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // Room for the title bar and borders that the window system adds.
    const QSize room = area.size() - QSize(16, 48);
    for (QScrollArea* page : pages)
        page->setMinimumSize(content);
    const QSize excess = (sizeHint() - room).expandedTo(QSize(0, 0));
    if (!excess.isNull()) {
        for (QScrollArea* page : pages)
            page->setMinimumSize(content - excess);
    }
    const QSize size = sizeHint().boundedTo(room);
    setFixedSize(size);
    move(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2);
}

// ---- Report commands ------------------------------------------------------------------------

void frmMain::M_FileNew_Click() { controller_->NewReport(); }
void frmMain::M_FileOpen_Click() { controller_->OpenReport(); }
void frmMain::OpenReportFile(const QString& fileName) { controller_->OpenReportFile(fileName); }
void frmMain::M_FileSave_Click() { controller_->SaveReport(); }
void frmMain::M_FileSaveAs_Click() { controller_->SaveReportAs(); }
void frmMain::M_FileExport_Click() { controller_->ExportPage(); }
void frmMain::M_FilePrint_Click() { controller_->PrintPage(); }

void frmMain::M_ReportType1_Click()
{
    action(QStringLiteral("M_ReportType1"))->setChecked(true);
    action(QStringLiteral("M_ReportType2"))->setChecked(false);
}

void frmMain::M_ReportType2_Click()
{
    // The second report type was never made; keep the marks as they are.
    action(QStringLiteral("M_ReportType2"))->setChecked(false);
}

// ---- Long texts -----------------------------------------------------------------------------

void frmMain::Command1_Click() { EditLongText(0); }
void frmMain::Command2_Click() { EditLongText(1); }
void frmMain::Command3_Click() { EditLongText(2); }
void frmMain::Command4_Click() { EditLongText(3); }

void frmMain::EditLongText(int index)
{
    HiddenTextBox* field = SSTab1->longTextBox(index);
    textEditor_->Text = field->toPlainText();
    textEditor_->Title = QStringLiteral("输入") + SSTab1->longTextButton(index)->text();
    ui::current().runModal(textEditor_);
    // A changed long text is an edit like any other: it must be offered for saving.
    if (!textEditor_->CancelError && textEditor_->Text != field->toPlainText()) {
        field->setPlainText(textEditor_->Text);
        controller_->SetModified(true);
    }
}

// ---- Closing --------------------------------------------------------------------------------

void frmMain::M_FileExit_Click()
{
    close();
}

void frmMain::SessionEnding()
{
    sessionEnding_ = true;
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (unloaded_) {
        event->accept();
        return;
    }
    bool cancel = false;
    bool sessionEnding = sessionEnding_;
#if QT_CONFIG(sessionmanager)
    sessionEnding = sessionEnding || qGuiApp->isSavingSession();
#endif
    const UnloadMode mode = sessionEnding         ? UnloadMode::SessionEnd
                            : event->spontaneous() ? UnloadMode::UserClose
                                                   : UnloadMode::ProgramClose;
    Form_QueryUnload(cancel, mode);
    if (cancel) {
        event->ignore();
        return;
    }
    event->accept();
    Form_Unload();
}

void frmMain::Form_QueryUnload(bool& cancel, UnloadMode mode)
{
    if (mode == UnloadMode::SessionEnd)
        return;
    cancel = !controller_->ConfirmClose();
}

void frmMain::Form_Unload()
{
    unloaded_ = true;
    // Every other window goes with the main window.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget != this && widget->isVisible())
            widget->close();
    }
    // Inside the event loop this ends the program; before it (a start-up dialog refused),
    // main() sees isUnloaded() and never enters the loop.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0);
}

// ---- Dialogs of the settings and the unit information ----------------------------------------

void frmMain::ShowOptionsDialog(bool allowCancel)
{
    bool cancelled = false;
    {
        frmOptions dialog(this);
        dialog.allowCancel = allowCancel;
        ui::current().runModal(&dialog);
        cancelled = dialog.CancelError;
    }
    if (!cancelled) {
        SaveSettings();
    } else if (!allowCancel) {
        // The forced dialog was left and quitting confirmed there: end without a question.
        Form_Unload();
        close();
        return;
    }
    // A unit code without its unit information asks for it at once.
    if (LoadSettings() == UnitInfoMissing) {
        ui::current().message(this, QStringLiteral("请配置单位信息"));
        ShowUnitInfoDialog(allowCancel);
        return;
    }
    if (!allowCancel)
        M_FileNew_Click();
}

void frmMain::ShowUnitInfoDialog(bool allowCancel)
{
    {
        frmCorpInfo dialog(this);
        dialog.allowCancel = allowCancel;
        ui::current().runModal(&dialog);
    }
    // The forced dialog at start-up is followed by the first report.
    if (!allowCancel)
        M_FileNew_Click();
}

void frmMain::M_ToolOption_Click() { ShowOptionsDialog(true); }
void frmMain::M_ToolCorpInfo_Click() { ShowUnitInfoDialog(true); }
void frmMain::M_ToolCorpInfoPrint_Click() { PrintUnitInfoPage(this); }
void frmMain::M_FileAbout_Click()
{
    // The about box has no owner window.
    frmAbout about;
    ui::current().runModal(&about);
}
