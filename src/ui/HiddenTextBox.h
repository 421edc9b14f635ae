#pragma once

#include <QString>
#include <QWidget>

// A text box that is never shown: it holds one of the report's long texts, which the
// clerk edits through its button in the long-text editor. It keeps the text as a plain
// string, so filling or saving a long text of megabytes lays nothing out and keeps no
// second copy of it.
class HiddenTextBox : public QWidget {
    Q_OBJECT
public:
    explicit HiddenTextBox(QWidget* parent = nullptr);

    QString toPlainText() const { return text_; }
    void setPlainText(const QString& text);

signals:
    // After every setPlainText, as an editor's textChanged.
    void textChanged();

private:
    QString text_;
};
