#include "about/frmAbout.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

const QString frmAbout::kProgramTitle = QStringLiteral("Vantrel");

namespace {

// One half of the etched separator: a one-pixel line in a palette colour.
QFrame* makeLine(QWidget* parent, const char* name, QPalette::ColorRole role)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setFixedHeight(1);
    line->setFrameShape(QFrame::NoFrame);
    line->setAutoFillBackground(true);
    line->setBackgroundRole(role);
    return line;
}

} // namespace

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_MessageBoxInformation);
    picIcon->setPixmap(icon.pixmap(48, 48));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    picIcon->setAccessibleDescription(QStringLiteral("程序图标"));

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblTitle->setAccessibleDescription(QStringLiteral("程序名称"));

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    // A name would replace the text: screen readers would say "版本" without the number.
    lblVersion->setAccessibleDescription(QStringLiteral("版本"));

    lblDescription = new QLabel(
        QStringLiteral("本软件供文物保护单位编制文物保护项目经费预算申请，并报送省文物局使用。"
                       "软件的著作权归开发者所有；使用单位仅可在本单位的预算申报工作中安装和使用本软件，"
                       "不得将其用于其他用途。"),
        this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);
    lblDescription->setAccessibleDescription(QStringLiteral("使用说明"));

    lblDisclaimer = new QLabel(
        QStringLiteral("警告：未经著作权人书面许可，任何单位和个人不得复制、修改、出售或以其他方式传播本软件"
                       "及其任何部分。违者将依法承担相应的法律责任。"),
        this);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setAccessibleDescription(QStringLiteral("警告"));

    // A grey line over a white one reads as an etched groove.
    Line1_1 = makeLine(this, "Line1(1)", QPalette::Dark);
    Line1_0 = makeLine(this, "Line1(0)", QPalette::Light);

    cmdOK = new QPushButton(QStringLiteral("确定"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);   // Enter; Esc reaches it through reject()
    cmdSysInfo = new QPushButton(QStringLiteral("系统信息(&S)..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdOK->setMinimumWidth(110);
    cmdSysInfo->setMinimumWidth(110);

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addSpacing(8);
    texts->addWidget(lblDescription);
    texts->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblDisclaimer, 1, Qt::AlignTop);
    bottom->addSpacing(12);
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(6);
    auto* etched = new QVBoxLayout;
    etched->setSpacing(0);
    etched->addWidget(Line1_1);
    etched->addWidget(Line1_0);
    layout->addLayout(etched);
    layout->addSpacing(10);
    layout->addLayout(bottom);
    layout->setContentsMargins(16, 16, 16, 16);

    setFixedWidth(520);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    Form_Load();
}

void frmAbout::Form_Load()
{
    setWindowTitle(QStringLiteral("关于 ") + kProgramTitle);
    lblVersion->setText(QStringLiteral("版本 %1.%2.%3").arg(kMajorVersion).arg(kMinorVersion).arg(kRevision));
    lblTitle->setText(kProgramTitle);
}

void frmAbout::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        Form_Load();
    QDialog::showEvent(event);
    cmdOK->setFocus();
}

void frmAbout::StartSysInfo()
{
    sysInfo_.StartSysInfo(this);
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}
