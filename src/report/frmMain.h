#pragma once

#include "core/XmlDocument.h"

#include <QMainWindow>
#include <array>
#include <memory>

class QAction;
class QMenu;
class QToolBar;
class ReportExporter;
class ReportForm;
class ReportLifecycle;
class frmText;

// The program's only top-level window: menus, toolbar and the report form, and the one
// budget report it edits (its document, file names and modified state).
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // Why the window is being closed.
    enum class UnloadMode { UserClose, ProgramClose, SessionEnd };

    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // ---- The report being edited -----------------------------------------------------------
    bool dirtyData = false;
    QString ReportFileName;
    QString HtmlFileName;
    Module1::XmlDocumentPtr ReportDocument;
    Module1::XmlNode ReportRoot;

    // Start-up: settings, then a new report (or the message that asks for settings).
    // The folder is the program's own; tests pass their temporary one.
    void Form_Load(const QString& programFolder = QString());

    void SetModified(bool flag);
    void UpdateCaption();
    QString BuildReportFileName(bool isHtml) const;
    bool ChooseSaveFile(bool isHtml);
    bool TransferReportFields(bool toDocument);
    bool CheckBudgetTotals();

    void LoadReport();
    bool WriteReportFiles();
    QByteArray RenderReportHtml();

    // ---- Commands ---------------------------------------------------------------------------
    void M_FileNew_Click();
    void M_FileOpen_Click();
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
    std::unique_ptr<ReportLifecycle> lifecycle_;
    std::unique_ptr<ReportExporter> exporter_;
    bool sessionEnding_ = false;
    bool unloaded_ = false;
    QAction* saveMenuItem_ = nullptr;
    QAction* saveButton_ = nullptr;
};
