#pragma once

#include <QMainWindow>
#include <array>
#include <memory>

class QAction;
class QMenu;
class QToolBar;
class ReportController;
class ReportForm;
class frmText;

// The program's only top-level window: menus, toolbar and the report form. The report
// itself (document, file names, modified state) is the controller's; the window shows its
// caption and offers Save while it is modified.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // Why the window is being closed.
    enum class UnloadMode { UserClose, ProgramClose, SessionEnd };

    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Start-up: settings, then a new report (or the message that asks for settings).
    // The folder is the program's own; tests pass their temporary one.
    void Form_Load(const QString& programFolder = QString());

    // ---- Commands ---------------------------------------------------------------------------
    void M_FileNew_Click();
    void M_FileOpen_Click();
    // Opens a report named on the command line, as Open does after its dialog.
    void OpenReportFile(const QString& fileName);
    void M_FileSave_Click();
    void M_FileSaveAs_Click();
    void M_FileExport_Click();
    void M_FilePrint_Click();
    void M_FileAbout_Click();
    void M_FileExit_Click();
    void M_ReportType1_Click();
    void M_ReportType2_Click();
    void M_ToolCorpInfo_Click();
    void M_ToolCorpInfoPrint_Click();
    void M_ToolOption_Click();
    void Toolbar1_ButtonClick(int index);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

    // Runners of the settings and unit information dialogs, forced at start-up when
    // allowCancel is false.
    void ShowOptionsDialog(bool allowCancel);
    void ShowUnitInfoDialog(bool allowCancel);

    // Asks before a modified report is closed; cancel true keeps the window open.
    void Form_QueryUnload(bool& cancel, UnloadMode mode);
    void Form_Unload();
    // The desktop session is ending: closing asks nothing from now on.
    void SessionEnding();
    bool isUnloaded() const { return unloaded_; }

    // ---- Parts for the commands and for tests ----------------------------------------------
    ReportForm* form() const { return SSTab1; }
    ReportController* controller() const { return controller_.get(); }
    QToolBar* toolbar() const { return Toolbar1; }
    // A menu item by its name ("M_FileSave") or a toolbar button by "Toolbar1(index)".
    QAction* action(const QString& name) const;
    frmText* textEditor() const { return textEditor_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    void createToolbar();
    QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption,
                         const QKeySequence& shortcut, void (frmMain::*handler)());
    void EditLongText(int index);
    // Fixed size for the largest report page (within the screen), centred.
    void FitToScreen();

    ReportForm* SSTab1;
    QToolBar* Toolbar1;
    frmText* textEditor_;
    std::unique_ptr<ReportController> controller_;
    bool sessionEnding_ = false;
    bool unloaded_ = false;
    QAction* saveMenuItem_ = nullptr;
    QAction* saveButton_ = nullptr;
};
