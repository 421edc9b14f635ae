#include "ui/LongTextEditor.h"

#include "ui/PlainTextValue.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

LongTextEditor::LongTextEditor(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmText"));
    setWindowTitle(QStringLiteral("设置文本"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    textBox_ = new QPlainTextEdit(this);
    textBox_->setObjectName(QStringLiteral("Text1"));
    textBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textBox_->setTabChangesFocus(true);
    textBox_->setAccessibleName(QStringLiteral("文本内容"));

    cancelButton_ = new QPushButton(QStringLiteral("取消"), this);
    cancelButton_->setObjectName(QStringLiteral("CancelButton"));
    okButton_ = new QPushButton(QStringLiteral("确定"), this);
    okButton_->setObjectName(QStringLiteral("OKButton"));
    // Enter in the text starts a new line, so neither button is the default.
    for (QPushButton* button : {okButton_, cancelButton_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancelButton_);
    buttons->addWidget(okButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(textBox_);
    layout->addLayout(buttons);

    setTabOrder(okButton_, cancelButton_);
    setTabOrder(cancelButton_, textBox_);
    setFixedSize(520, 360);

    connect(okButton_, &QPushButton::clicked, this, &LongTextEditor::confirm);
    connect(cancelButton_, &QPushButton::clicked, this, &LongTextEditor::cancel);
}

void LongTextEditor::prepare()
{
    cancelled = true;
    ui::showPlainText(textBox_, text);
    setWindowTitle(title.isEmpty() ? QStringLiteral("设置文本") : title);
}

void LongTextEditor::showEvent(QShowEvent* event)
{
    prepare();
    QDialog::showEvent(event);
    okButton_->setFocus();
}

void LongTextEditor::keyPressEvent(QKeyEvent* event)
{
    // Esc is not bound to Cancel here; swallow QDialog's default reject.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void LongTextEditor::confirm()
{
    cancelled = false;
    text = ui::plainTextValue(textBox_);
    accept();
}

void LongTextEditor::cancel()
{
    reject();
}

#include "moc_LongTextEditor.cpp"
