#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// The long-text editor: the caller sets Text and Title, shows it modally and reads
// CancelError and Text once it has closed. OK sets both and accepts; Cancel and the close
// box reject. One instance serves every long text.
class frmText : public QDialog {
    Q_OBJECT
public:
    explicit frmText(QWidget* parent = nullptr);

    QString Text;
    QString Title;
    bool CancelError = true;

    QPlainTextEdit* textBox() const { return Text1; }
    QPushButton* okButton() const { return OKButton; }
    QPushButton* cancelButton() const { return CancelButton; }

    // Prepares the editor for one use from its members, as every showing does.
    void Form_Load();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OKButton_Click();
    void CancelButton_Click();

    QPlainTextEdit* Text1;
    QPushButton* OKButton;
    QPushButton* CancelButton;
};
