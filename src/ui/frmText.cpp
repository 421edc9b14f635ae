#include "ui/frmText.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmText::frmText(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmText"));
    setWindowTitle(QStringLiteral("设置文本"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setTabChangesFocus(true);
    Text1->setAccessibleName(QStringLiteral("文本内容"));

    CancelButton = new QPushButton(QStringLiteral("取消"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    OKButton = new QPushButton(QStringLiteral("确定"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    // Enter in the text starts a new line, so neither button is the default.
    for (QPushButton* button : {OKButton, CancelButton}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CancelButton);
    buttons->addWidget(OKButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text1);
    layout->addLayout(buttons);

    setTabOrder(OKButton, CancelButton);
    setTabOrder(CancelButton, Text1);
    setFixedSize(520, 360);

    connect(OKButton, &QPushButton::clicked, this, &frmText::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmText::CancelButton_Click);
}

void frmText::Form_Load()
{
    CancelError = true;
    Text1->setPlainText(Text);
    setWindowTitle(Title.isEmpty() ? QStringLiteral("设置文本") : Title);
}

void frmText::showEvent(QShowEvent* event)
{
    Form_Load();
    QDialog::showEvent(event);
    OKButton->setFocus();
}

void frmText::keyPressEvent(QKeyEvent* event)
{
    // Esc is not bound to Cancel here; swallow QDialog's default reject.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmText::OKButton_Click()
{
    CancelError = false;
    Text = Text1->toPlainText();
    accept();
}

void frmText::CancelButton_Click()
{
    reject();
}

#include "moc_frmText.cpp"
