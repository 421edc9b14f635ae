#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
struct Settings;

// The settings dialog: the unit code and the local folder. The caller sets allowCancel,
// shows it modally, reads cancelled once it has closed and then destroys it; on OK the
// dialog has already stored the unit code and the local folder in the settings. OK
// accepts; Cancel, Esc and the close box reject, after cancelled is set.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SettingsDialog(Settings& settings, QWidget* parent = nullptr);

    // False: the settings are missing, so leaving without them means quitting the program.
    bool allowCancel = false;
    // True when the dialog was left by Cancel (or the quit question). A dialog closed
    // without either keeps the outcome of the previous one (false on a first use): the
    // caller then at most saves the unchanged settings again.
    bool cancelled = previousCancelled_;

    static const QString kQuitQuestion;
    static const QString kUnitCodeRefused;

    QLineEdit* unitCodeBox() const { return unitCodeBox_; }
    QLineEdit* folderBox() const { return folderBox_; }

    // Why the window is being closed: the user's close box, program code, or the desktop
    // session ending (logging out, shutting down).
    enum class UnloadMode { UserClose, ProgramClose, SessionEnd };

    void prepare();
    // True when the close must be refused: in the forced mode the user is asked whether to
    // quit, and answered Cancel. A session that is ending is never held up.
    bool refusesClose(UnloadMode mode);
    // Called when the desktop session asks the program to save its state before ending.
    void sessionEnding() { sessionEnding_ = true; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void finish(bool leftByCancel);

    // How the last settings dialog was left; each new one starts from it.
    static inline bool previousCancelled_ = false;
    void confirm();
    void cancel();
    void chooseFolder();
    // Runs the unit information dialog for a new unit code; it cannot be cancelled.
    void demandUnitInfo();

    QLabel* unitCodeLabel_;
    QLabel* folderLabel_;
    QLineEdit* unitCodeBox_;
    QLineEdit* folderBox_;
    QPushButton* chooseFolderButton_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
    Settings& settings_;
    bool sessionEnding_ = false;
};
