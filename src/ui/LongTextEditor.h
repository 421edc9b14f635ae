#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// The long-text editor: the caller sets text and title, shows it modally and reads
// cancelled and text once it has closed. OK sets both and accepts; Cancel and the close
// box reject. One instance serves every long text.
class LongTextEditor : public QDialog {
    Q_OBJECT
public:
    explicit LongTextEditor(QWidget* parent = nullptr);

    QString text;
    QString title;
    bool cancelled = true;

    QPlainTextEdit* textBox() const { return textBox_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

    // Prepares the editor for one use from its members, as every showing does.
    void prepare();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void confirm();
    void cancel();

    QPlainTextEdit* textBox_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};
