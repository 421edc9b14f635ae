#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QToolBar;
class LongTextEditor;
class ReportController;
class ReportForm;
struct Settings;

// The program's only top-level window (objectName "frmMain"): menus, toolbar and the
// report form. The report itself is the controller's; the window shows its caption, offers
// Save while it is modified and runs the dialogs of the settings and the unit information.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Settings& settings, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up: the settings, then a new report, or the message that asks for the settings
    // or the unit information and its forced dialog. The window's size is that of its
    // largest page as last measured on this screen.
    void start();
    // Once the window is on screen: the pages not shown yet are built, and the window
    // takes the size they need if it differs from the remembered one.
    void finishStartup();
    // finishStartup() once the window has been painted for the first time, then `then`.
    void finishStartupAfterFirstPaint(std::function<void()> then);
    // True once the program has ended (a forced start-up dialog refused, or closed).
    bool hasEnded() const { return ended_; }

    // Runners of the settings and unit information dialogs, forced at start-up when
    // allowCancel is false.
    void showSettingsDialog(bool allowCancel);
    void showUnitInfoDialog(bool allowCancel);
    // 打包报送: the local folder's files checked as the bureau checks them, then packed.
    void showSubmissionDialog();
    // The long text behind button i, in the long-text editor.
    void editLongText(int i);
    // The desktop session is ending: closing asks nothing from now on.
    void sessionEnding();

    // The window's contents are made when first needed: a first message at start-up
    // comes before them.
    ReportForm* form();
    ReportController* controller();
    QToolBar* toolbar();
    // A menu item by its name ("M_FileSave") or a toolbar button by "Toolbar1(index)".
    QAction* action(const QString& name);
    LongTextEditor* textEditor();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void build();
    void createMenus();
    void createToolbar();
    QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut);
    void connectCommands();
    void showAboutBox();
    // Ends the program: every other window closes with this one.
    void end();
    // Fixed size for the largest report page (within the screen), centred.
    void fitToScreen(const QSize& largestPage);
    QSize largestPage();

    Settings& settings_;
    ReportForm* form_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    LongTextEditor* textEditor_ = nullptr;
    std::unique_ptr<ReportController> controller_;
    std::function<void()> afterFirstPaint_;
    bool sessionEnding_ = false;
    bool ended_ = false;
    QAction* saveMenuItem_ = nullptr;
    QAction* saveButton_ = nullptr;
};
