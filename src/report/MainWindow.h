#pragma once

#include <QMainWindow>
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
    // or the unit information and its forced dialog.
    void start();
    // True once the program has ended (a forced start-up dialog refused, or closed).
    bool hasEnded() const { return ended_; }

    // Runners of the settings and unit information dialogs, forced at start-up when
    // allowCancel is false.
    void showSettingsDialog(bool allowCancel);
    void showUnitInfoDialog(bool allowCancel);
    // The long text behind button i, in the long-text editor.
    void editLongText(int i);
    // The desktop session is ending: closing asks nothing from now on.
    void sessionEnding();

    ReportForm* form() const { return form_; }
    ReportController* controller() const { return controller_.get(); }
    QToolBar* toolbar() const { return toolbar_; }
    // A menu item by its name ("M_FileSave") or a toolbar button by "Toolbar1(index)".
    QAction* action(const QString& name) const;
    LongTextEditor* textEditor();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    void createToolbar();
    QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut);
    void connectCommands();
    void showAboutBox();
    // Ends the program: every other window closes with this one.
    void end();
    // Fixed size for the largest report page (within the screen), centred.
    void fitToScreen();

    Settings& settings_;
    ReportForm* form_;
    QToolBar* toolbar_ = nullptr;
    LongTextEditor* textEditor_ = nullptr;
    std::unique_ptr<ReportController> controller_;
    bool sessionEnding_ = false;
    bool ended_ = false;
    QAction* saveMenuItem_ = nullptr;
    QAction* saveButton_ = nullptr;
};
