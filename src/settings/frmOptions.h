#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The settings dialog: the unit code and the local folder. The caller sets allowCancel,
// shows it modally, reads CancelError once it has closed and then destroys it; on OK the
// dialog has already stored UnitCode and LocalFolder in Module1. OK accepts; Cancel, Esc and
// the close box reject, after CancelError is set.
class frmOptions : public QDialog {
    Q_OBJECT
public:
    explicit frmOptions(QWidget* parent = nullptr);

    // False: the settings are missing, so leaving without them means quitting the program.
    bool allowCancel = false;
    // True when the dialog was left by Cancel (or the quit question). A dialog closed
    // without either keeps the outcome of the previous one (false on a first use): the
    // caller then at most saves the unchanged settings again.
    bool CancelError = previousCancelError_;

    static const QString kQuitQuestion;
    static const QString kUnitCodeRefused;

    QLineEdit* unitCodeBox() const { return Text1; }
    QLineEdit* folderBox() const { return Text3; }

    // Why the window is being closed: the user's close box, program code, or the desktop
    // session ending (logging out, shutting down).
    enum class UnloadMode { UserClose, ProgramClose, SessionEnd };

    void Form_Load();
    // True when the close must be refused: in the forced mode the user is asked whether to
    // quit, and answered Cancel. A session that is ending is never held up.
    bool Form_QueryUnload(UnloadMode mode);
    // Called when the desktop session asks the program to save its state before ending.
    void SessionEnding() { sessionEnding_ = true; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void finish(bool cancelled);

    // How the last settings dialog was left; each new one starts from it.
    static inline bool previousCancelError_ = false;
    void cmdOK_Click();
    void cmdCancel_Click();
    void Command1_Click();
    // Runs the unit information dialog for a new unit code; it cannot be cancelled.
    void DemandUnitInfo();

    QLabel* Label1;
    QLabel* Label3;
    QLineEdit* Text1;
    QLineEdit* Text3;
    QPushButton* Command1;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    bool sessionEnding_ = false;
};
