#include "about/AboutBox.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

const QString AboutBox::kProgramTitle = QStringLiteral("Vantrel");

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

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    iconLabel_ = new QLabel(this);
    iconLabel_->setObjectName(QStringLiteral("picIcon"));
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_MessageBoxInformation);
    iconLabel_->setPixmap(icon.pixmap(48, 48));
    iconLabel_->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    iconLabel_->setAccessibleDescription(QStringLiteral("程序图标"));

    titleLabel_ = new QLabel(this);
    titleLabel_->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = titleLabel_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
    titleFont.setBold(true);
    titleLabel_->setFont(titleFont);
    titleLabel_->setAccessibleDescription(QStringLiteral("程序名称"));

    versionLabel_ = new QLabel(this);
    versionLabel_->setObjectName(QStringLiteral("lblVersion"));
    // A name would replace the text: screen readers would say "版本" without the number.
    versionLabel_->setAccessibleDescription(QStringLiteral("版本"));

    descriptionLabel_ = new QLabel(
        QStringLiteral("本软件供文物保护单位编制文物保护项目经费预算申请，并报送省文物局使用。"
                       "软件的著作权归开发者所有；使用单位仅可在本单位的预算申报工作中安装和使用本软件，"
                       "不得将其用于其他用途。"),
        this);
    descriptionLabel_->setObjectName(QStringLiteral("lblDescription"));
    descriptionLabel_->setWordWrap(true);
    descriptionLabel_->setAccessibleDescription(QStringLiteral("使用说明"));

    disclaimerLabel_ = new QLabel(
        QStringLiteral("警告：未经著作权人书面许可，任何单位和个人不得复制、修改、出售或以其他方式传播本软件"
                       "及其任何部分。违者将依法承担相应的法律责任。"),
        this);
    disclaimerLabel_->setObjectName(QStringLiteral("lblDisclaimer"));
    disclaimerLabel_->setWordWrap(true);
    disclaimerLabel_->setAccessibleDescription(QStringLiteral("警告"));

    // A grey line over a white one reads as an etched groove.
    lowerLine_ = makeLine(this, "Line1(1)", QPalette::Dark);
    upperLine_ = makeLine(this, "Line1(0)", QPalette::Light);

    okButton_ = new QPushButton(QStringLiteral("确定"), this);
    okButton_->setObjectName(QStringLiteral("cmdOK"));
    okButton_->setDefault(true);   // Enter; Esc reaches it through reject()
    systemInfoButton_ = new QPushButton(QStringLiteral("系统信息(&S)..."), this);
    systemInfoButton_->setObjectName(QStringLiteral("cmdSysInfo"));
    okButton_->setMinimumWidth(110);
    systemInfoButton_->setMinimumWidth(110);

    auto* texts = new QVBoxLayout;
    texts->addWidget(titleLabel_);
    texts->addWidget(versionLabel_);
    texts->addSpacing(8);
    texts->addWidget(descriptionLabel_);
    texts->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(iconLabel_, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(okButton_);
    buttons->addWidget(systemInfoButton_);
    buttons->addStretch();

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(disclaimerLabel_, 1, Qt::AlignTop);
    bottom->addSpacing(12);
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(6);
    auto* etched = new QVBoxLayout;
    etched->setSpacing(0);
    etched->addWidget(lowerLine_);
    etched->addWidget(upperLine_);
    layout->addLayout(etched);
    layout->addSpacing(10);
    layout->addLayout(bottom);
    layout->setContentsMargins(16, 16, 16, 16);

    setFixedWidth(520);

    connect(okButton_, &QPushButton::clicked, this, &AboutBox::confirm);
    connect(systemInfoButton_, &QPushButton::clicked, this, &AboutBox::startSystemInfoFromButton);
    prepare();
}

void AboutBox::prepare()
{
    setWindowTitle(QStringLiteral("关于 ") + kProgramTitle);
    versionLabel_->setText(QStringLiteral("版本 %1.%2.%3").arg(kMajorVersion).arg(kMinorVersion).arg(kRevision));
    titleLabel_->setText(kProgramTitle);
}

void AboutBox::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        prepare();
    QDialog::showEvent(event);
    okButton_->setFocus();
}

void AboutBox::startSystemInfo()
{
    sysInfo_.startSystemInfo(this);
}

void AboutBox::confirm()
{
    accept();
}

void AboutBox::startSystemInfoFromButton()
{
    startSystemInfo();
}
