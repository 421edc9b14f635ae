#include "report/MainWindow.h"

#include "about/AboutBox.h"
#include "report/ReportController.h"
#include "report/PageSizeMemory.h"
#include "report/ReportForm.h"
#include "report/ToolbarIcons.h"
#include "settings/SettingsDialog.h"
#include "submission/SubmissionDialog.h"
#include "store/Settings.h"
#include "ui/LongTextEditor.h"
#include "ui/PlainTextValue.h"
#include "ui/UserInterface.h"
#include "unitinfo/UnitInfoDialog.h"
#include "unitinfo/UnitInfoPrinter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QPlainTextEdit>
#include <QSessionManager>
#include <QStatusBar>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QToolBar>

#include <utility>

MainWindow::MainWindow(Settings& settings, QWidget* parent)
    : QMainWindow(parent)
    , settings_(settings)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Vantrel"));
    // A fixed window without minimise and maximise buttons.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    if (qApp)
        connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { sessionEnding(); });
}

MainWindow::~MainWindow() = default;

void MainWindow::build()
{
    if (form_)
        return;
    form_ = new ReportForm(this);
    setCentralWidget(form_);
    createMenus();
    createToolbar();
    // Looked up once: the modified state switches them on every edit. Nothing to save yet.
    saveMenuItem_ = findChild<QAction*>(QStringLiteral("M_FileSave"));
    saveButton_ = findChild<QAction*>(QStringLiteral("Toolbar1(3)"));
    saveMenuItem_->setEnabled(false);
    saveButton_->setEnabled(false);

    controller_ = std::make_unique<ReportController>(settings_, form_, this);
    connect(controller_.get(), &ReportController::captionChanged, this, &QWidget::setWindowTitle);
    connect(controller_.get(), &ReportController::modifiedChanged, this, [this](bool modified) {
        saveMenuItem_->setEnabled(modified);
        saveButton_->setEnabled(modified);
    });
    connectCommands();
    connect(form_, &ReportForm::longTextRequested, this, &MainWindow::editLongText);
    // Drafts say nothing while they work; only when they have kept failing for a while,
    // one quiet line.
    connect(&controller_->drafts(), &DraftKeeper::failingChanged, this, [this](bool failing) {
        if (failing)
            statusBar()->showMessage(QStringLiteral("未能保存恢复草稿，请尽快保存报表"));
        else if (QStatusBar* bar = findChild<QStatusBar*>())
            bar->clearMessage();
    });
}

ReportForm* MainWindow::form()
{
    build();
    return form_;
}

ReportController* MainWindow::controller()
{
    build();
    return controller_.get();
}

QToolBar* MainWindow::toolbar()
{
    build();
    return toolbar_;
}

// ---- Menus and toolbar ----------------------------------------------------------------------

QAction* MainWindow::addMenuItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut)
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcut(shortcut);
    return item;
}

void MainWindow::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->setObjectName(QStringLiteral("M_File"));
    file->menuAction()->setObjectName(QStringLiteral("M_File"));
    addMenuItem(file, "M_FileNew", QStringLiteral("新建(&N)"), QKeySequence(QStringLiteral("Ctrl+N")));
    addMenuItem(file, "M_FileOpen", QStringLiteral("打开(&O)"), QKeySequence(QStringLiteral("Ctrl+O")));
    addMenuItem(file, "M_FileSave", QStringLiteral("保存(&S)"), QKeySequence(QStringLiteral("Ctrl+S")));
    addMenuItem(file, "M_FileSaveAs", QStringLiteral("另存为..."), QKeySequence());
    file->addSeparator()->setObjectName(QStringLiteral("M_MenuSeprator1"));
    // The HTML export is kept but not offered: hidden and switched off, shortcut included.
    QAction* exportItem = addMenuItem(file, "M_FileExport", QStringLiteral("导出HTML(&E)..."),
                                      QKeySequence(QStringLiteral("Ctrl+E")));
    exportItem->setEnabled(false);
    exportItem->setVisible(false);
    addMenuItem(file, "M_FilePrint", QStringLiteral("打印(&P)..."), QKeySequence());
    addMenuItem(file, "M_FilePackage", QStringLiteral("打包报送…"), QKeySequence());
    file->addSeparator()->setObjectName(QStringLiteral("M_MenuSeprator2"));
    addMenuItem(file, "M_FileAbout", QStringLiteral("关于(&A)..."), QKeySequence());
    addMenuItem(file, "M_FileExit", QStringLiteral("退出(&X)"), QKeySequence(QStringLiteral("Ctrl+X")));

    // Only one report type exists; the menu is kept switched off and out of sight.
    QMenu* report = menuBar()->addMenu(QStringLiteral("报表类型(&R)"));
    report->setObjectName(QStringLiteral("M_Report"));
    report->menuAction()->setObjectName(QStringLiteral("M_Report"));
    QAction* type1 = addMenuItem(report, "M_ReportType1", QStringLiteral("资金需求项目预算情况表"), QKeySequence());
    type1->setCheckable(true);
    type1->setChecked(true);
    QAction* type2 = addMenuItem(report, "M_ReportType2", QStringLiteral("报表2"), QKeySequence());
    type2->setCheckable(true);
    type2->setEnabled(false);
    type2->setVisible(false);
    // The second report type was never made: the first stays the checked one.
    connect(type1, &QAction::triggered, this, [type1, type2] {
        type1->setChecked(true);
        type2->setChecked(false);
    });
    connect(type2, &QAction::triggered, this, [type2] { type2->setChecked(false); });
    report->menuAction()->setEnabled(false);
    report->menuAction()->setVisible(false);

    QMenu* tool = menuBar()->addMenu(QStringLiteral("档案信息(&T)"));
    tool->setObjectName(QStringLiteral("M_Tool"));
    tool->menuAction()->setObjectName(QStringLiteral("M_Tool"));
    addMenuItem(tool, "M_ToolCorpInfo", QStringLiteral("单位信息(&I)"), QKeySequence());
    addMenuItem(tool, "M_ToolCorpInfoPrint", QStringLiteral("打印单位信息(&P)"), QKeySequence());
    tool->addSeparator()->setObjectName(QStringLiteral("M_ToolSeprator"));
    addMenuItem(tool, "M_ToolOption", QStringLiteral("选项(&O)..."), QKeySequence());
}

void MainWindow::createToolbar()
{
    toolbar_ = addToolBar(QStringLiteral("工具栏"));
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setIconSize(QSize(16, 16));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);

    struct Button {
        int index;
        const char* caption;
        int image;
    };
    // Index 5 is the separator between the report commands and the settings.
    static const Button buttons[] = {{1, "新建", 1}, {2, "打开", 2}, {3, "保存", 3}, {4, "打印", 4},
                                     {5, nullptr, 0}, {6, "选项", 5}, {7, "单位信息", 6}};
    for (const Button& b : buttons) {
        QAction* button = b.caption ? toolbar_->addAction(ToolbarIcons::image(b.image), QString::fromUtf8(b.caption))
                                    : toolbar_->addSeparator();
        button->setObjectName(QStringLiteral("Toolbar1(%1)").arg(b.index));
        button->setData(b.index);
        if (b.caption)
            button->setToolTip(QString::fromUtf8(b.caption));
    }
}

void MainWindow::connectCommands()
{
    // Each command with its menu item and, where it has one, its toolbar button.
    struct Command {
        const char* menuItem;
        const char* button;
        std::function<void()> run;
    };
    ReportController* report = controller_.get();
    const Command commands[] = {
        {"M_FileNew", "Toolbar1(1)", [report] { report->newReport(); }},
        {"M_FileOpen", "Toolbar1(2)", [report] { report->openReport(); }},
        {"M_FileSave", "Toolbar1(3)", [report] { report->saveReport(); }},
        {"M_FileSaveAs", nullptr, [report] { report->saveReportAs(); }},
        {"M_FileExport", nullptr, [report] { report->exportPage(); }},
        {"M_FilePrint", "Toolbar1(4)", [report] { report->printPage(); }},
        {"M_FilePackage", nullptr, [this] { showSubmissionDialog(); }},
        {"M_FileAbout", nullptr, [this] { showAboutBox(); }},
        {"M_FileExit", nullptr, [this] { close(); }},
        {"M_ToolCorpInfo", "Toolbar1(7)", [this] { showUnitInfoDialog(true); }},
        {"M_ToolCorpInfoPrint", nullptr, [this] { PrintUnitInfoPage(settings_, this); }},
        {"M_ToolOption", "Toolbar1(6)", [this] { showSettingsDialog(true); }},
    };
    for (const Command& command : commands) {
        for (const char* name : {command.menuItem, command.button}) {
            if (name)
                connect(findChild<QAction*>(QString::fromLatin1(name)), &QAction::triggered, this, command.run);
        }
    }
}

QAction* MainWindow::action(const QString& name)
{
    build();
    return findChild<QAction*>(name);
}

// ---- Start-up -------------------------------------------------------------------------------

void MainWindow::start()
{
    // A first message needs no more than the application: the window's contents come after it.
    switch (settings_.load()) {
    case Settings::State::UnitInfoMissing:
        ui::current().message(this, QStringLiteral("请配置单位信息"));
        build();
        showUnitInfoDialog(false);
        break;
    case Settings::State::SettingsMissing:
        ui::current().message(this, QStringLiteral("请配置参数信息"));
        build();
        showSettingsDialog(false);
        break;
    case Settings::State::Complete:
        build();
        controller_->newReport();
        break;
    }
    form_->setProjectGroup(1);
    if (ended_)
        return;
    // Measuring every page means building them all; a size measured before on this screen
    // lets the window appear first.
    const QSize remembered = PageSizeMemory::recall();
    fitToScreen(remembered.isValid() ? remembered : largestPage());
}

void MainWindow::finishStartup()
{
    const QSize measured = largestPage();
    if (measured != PageSizeMemory::recall()) {
        fitToScreen(measured);
        PageSizeMemory::remember(measured);
    }
    controller_->offerRecoveryDrafts();
}

void MainWindow::finishStartupAfterFirstPaint(std::function<void()> then)
{
    afterFirstPaint_ = [this, then = std::move(then)] {
        finishStartup();
        if (then)
            then();
    };
    // A window that is never painted (started minimised, on a screen turned off) still
    // finishes starting: its drafts and the report named on the command line must not wait.
    QTimer::singleShot(2000, this, [this] {
        if (afterFirstPaint_)
            std::exchange(afterFirstPaint_, {})();
    });
}

void MainWindow::paintEvent(QPaintEvent* event)
{
    QMainWindow::paintEvent(event);
    // The clerk sees the window first; what is not on screen is built right after.
    if (afterFirstPaint_)
        QTimer::singleShot(0, this, std::exchange(afterFirstPaint_, {}));
}

QSize MainWindow::largestPage()
{
    form_->buildAllTabs();
    QSize content;
    for (int i = 0; i < form_->count(); ++i) {
        if (auto* page = qobject_cast<QScrollArea*>(form_->widget(i)); page && page->widget())
            content = content.expandedTo(page->widget()->sizeHint());
    }
    return content;
}

void MainWindow::fitToScreen(const QSize& largestPage)
{
    // The report's pages scroll; the window still opens big enough to show the largest
    // page whole, as far as the screen allows, and keeps that size.
    QList<QScrollArea*> pages;
    for (int i = 0; i < form_->count(); ++i) {
        if (auto* page = qobject_cast<QScrollArea*>(form_->widget(i)))
            pages << page;
    }
    // A page that scrolls up and down needs room for its scroll bar beside the content,
    // or a second bar appears for a few pixels of width.
    QSize content = largestPage;
    content.rwidth() += style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // Room for the title bar and borders that the window system adds.
    const QSize room = area.size() - QSize(16, 48);
    // The window's hints follow the pages' new sizes at once: the pages not shown do not
    // tell their layouts themselves.
    const auto fitPages = [&](const QSize& size) {
        for (QScrollArea* page : pages) {
            page->setMinimumSize(size);
            if (QLayout* stack = page->parentWidget()->layout())
                stack->invalidate();
        }
        form_->updateGeometry();
        layout()->invalidate();
    };
    fitPages(content);
    const QSize excess = (sizeHint() - room).expandedTo(QSize(0, 0));
    if (!excess.isNull())
        fitPages(content - excess);
    const QSize size = sizeHint().boundedTo(room);
    setFixedSize(size);
    move(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2);
}

// ---- Long texts -----------------------------------------------------------------------------

LongTextEditor* MainWindow::textEditor()
{
    // One editor serves the four long texts; made when first needed.
    if (!textEditor_)
        textEditor_ = new LongTextEditor(this);
    return textEditor_;
}

void MainWindow::editLongText(int i)
{
    const QString field = ReportForm::longTextField(i);
    LongTextEditor* editor = textEditor();
    editor->text = form_->value(field);
    editor->title = QStringLiteral("输入") + form_->longTextButton(i)->text();
    // What is typed into the editor is kept in drafts before it is confirmed.
    const QMetaObject::Connection typing = connect(editor->textBox(), &QPlainTextEdit::textChanged, this, [this, editor, field] {
        controller_->setUnconfirmedText(field, ui::plainTextValue(editor->textBox()));
    });
    ui::current().runModal(editor);
    disconnect(typing);
    // A changed long text is an edit like any other: it must be offered for saving.
    if (!editor->cancelled && editor->text != form_->value(field)) {
        ReportValues changed;
        changed.setValue(field, editor->text);
        form_->setValues(changed);
        controller_->markModified();
    }
    controller_->clearUnconfirmedText();
}

// ---- Closing --------------------------------------------------------------------------------

void MainWindow::sessionEnding()
{
    sessionEnding_ = true;
    // The program may be ended any moment now: the last edits go into the draft at once.
    if (controller_)
        controller_->drafts().flush();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (ended_) {
        event->accept();
        return;
    }
    bool sessionEnding = sessionEnding_;
#if QT_CONFIG(sessionmanager)
    sessionEnding = sessionEnding || qGuiApp->isSavingSession();
#endif
    // The user's close box and the program's own close ask before a modified report is
    // lost; a desktop session that ends asks nothing.
    if (!sessionEnding && !controller()->confirmClose()) {
        event->ignore();
        return;
    }
    // A normal quit gives up the edits the clerk chose not to save; a session that ends
    // leaves them in the draft for the next start.
    if (!sessionEnding)
        controller()->reportClosed();
    event->accept();
    end();
}

void MainWindow::end()
{
    ended_ = true;
    // Every other window goes with the main window.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget != this && widget->isVisible())
            widget->close();
    }
    // Inside the event loop this ends the program; before it (a start-up dialog refused),
    // main() sees hasEnded() and never enters the loop.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0);
}

// ---- Dialogs of the settings, the unit information and the about box -----------------------

void MainWindow::showSettingsDialog(bool allowCancel)
{
    bool cancelled = false;
    {
        SettingsDialog dialog(settings_, this);
        dialog.allowCancel = allowCancel;
        ui::current().runModal(&dialog);
        cancelled = dialog.cancelled;
    }
    if (!cancelled) {
        QString error;
        if (!settings_.save(&error))
            ui::current().message(nullptr, QStringLiteral("保存参数失败") + error);
    } else if (!allowCancel) {
        // The forced dialog was left and quitting confirmed there: end without a question.
        end();
        close();
        return;
    }
    // A unit code without its unit information asks for it at once.
    if (settings_.load() == Settings::State::UnitInfoMissing) {
        ui::current().message(this, QStringLiteral("请配置单位信息"));
        showUnitInfoDialog(allowCancel);
        return;
    }
    if (!allowCancel)
        controller_->newReport();
}

void MainWindow::showUnitInfoDialog(bool allowCancel)
{
    {
        UnitInfoDialog dialog(settings_, this);
        dialog.allowCancel = allowCancel;
        ui::current().runModal(&dialog);
    }
    // The forced dialog at start-up is followed by the first report.
    if (!allowCancel)
        controller_->newReport();
}

void MainWindow::showSubmissionDialog()
{
    if (!settings_.isComplete()) {
        ui::current().message(this, QStringLiteral("请先设置正确选项参数与本单位信息"));
        return;
    }
    // The package takes the files as saved: edits not saved yet are not in it.
    if (controller()->isModified() && !ui::current().question(this, QStringLiteral("当前报表还未保存，确定打包报送吗？")))
        return;
    SubmissionDialog dialog(settings_, this);
    ui::current().runModal(&dialog);
}

void MainWindow::showAboutBox()
{
    // The about box has no owner window.
    AboutBox about;
    ui::current().runModal(&about);
}
