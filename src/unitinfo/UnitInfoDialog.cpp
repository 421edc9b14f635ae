// The unit information dialog: its tabs, built from the field table, and its events.
#include "unitinfo/UnitInfoDialog.h"

#include "ui/LongTextEditor.h"
#include "ui/CodedList.h"
#include "ui/PlainTextValue.h"
#include "core/TextLengthLimit.h"
#include "core/XmlDocumentAccess.h"
#include "store/Settings.h"
#include "ui/UserInterface.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <map>
#include <numeric>
#include <tuple>
#include <vector>

namespace {

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

// A close that the desktop session forces while logging out or shutting down.
bool sessionEnding()
{
#if QT_CONFIG(sessionmanager)
    if (qGuiApp && qGuiApp->isSavingSession())
        return true;
#endif
    return false;
}

// The label, with the frame (or, outside frames, the tab) in front where the same label
// stands beside more than one control.
QString accessibleNameOf(const UnitInfoField& field)
{
    if (field.kind == UnitInfoKind::Button)
        return QStringLiteral("输入") + utf8(field.label);
    const auto all = UnitInfoFields::fields();
    const auto repeats = std::count_if(all.begin(), all.end(), [&](const UnitInfoField& other) {
        return other.kind != UnitInfoKind::Button && QByteArrayView(other.label) == QByteArrayView(field.label);
    });
    if (repeats < 2 || field.block < 0)
        return utf8(field.label);
    const UnitInfoBlock& block = UnitInfoFields::blocks()[field.block];
    const QString place = block.caption ? utf8(block.caption) : utf8(UnitInfoFields::tabCaption(block.tab));
    return place + QLatin1Char(' ') + utf8(field.label);
}

QWidget* makeControl(const UnitInfoField& field, QWidget* parent)
{
    const QString name = utf8(field.objectName);
    QWidget* control = nullptr;
    switch (field.kind) {
    case UnitInfoKind::UnitCode:
    case UnitInfoKind::Text:
    case UnitInfoKind::Number: {
        auto* box = new QLineEdit(parent);
        // Not Qt's 32,767 characters: a longer stored value would be cut without a word.
        box->setMaxLength(TextLengthLimit::kMaxBytes);
        if (field.kind == UnitInfoKind::Number)
            box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (field.kind == UnitInfoKind::UnitCode) {
            // Shown, not edited: it comes from the settings. Greyed so nobody tries to type.
            box->setReadOnly(true);
            QPalette palette = box->palette();
            palette.setColor(QPalette::Base, palette.color(QPalette::Window));
            box->setPalette(palette);
        }
        box->setMinimumWidth(field.kind == UnitInfoKind::Number ? 90 : 150);
        control = box;
        break;
    }
    case UnitInfoKind::LongText: {
        auto* box = new QPlainTextEdit(parent);
        box->hide();
        control = box;
        break;
    }
    case UnitInfoKind::Coded: {
        auto* list = new CodedList(parent);
        list->setItems(UnitInfoFields::items(field.list));
        list->setMinimumWidth(110);
        control = list;
        break;
    }
    case UnitInfoKind::Button: {
        auto* button = new QPushButton(utf8(field.label), parent);
        button->setAutoDefault(false);
        control = button;
        break;
    }
    }
    control->setObjectName(name);
    control->setAccessibleName(accessibleNameOf(field));
    return control;
}

} // namespace

UnitInfoDialog::UnitInfoDialog(Settings& settings, QWidget* parent)
    : QDialog(parent)
    , settings_(settings)
{
    setObjectName(QStringLiteral("frmCorpInfo"));
    setWindowTitle(QStringLiteral("单位信息"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    // All four tab captions stay readable: the dialog grows to fit them.
    tabs_->setUsesScrollButtons(false);
    buildTabs();

    okButton_ = new QPushButton(QStringLiteral("保存"), this);
    okButton_->setObjectName(QStringLiteral("cmdOK"));
    cancelButton_ = new QPushButton(QStringLiteral("取消"), this);
    cancelButton_->setObjectName(QStringLiteral("cmdCancel"));
    // Enter in a box must not save half-typed data.
    for (QPushButton* button : {okButton_, cancelButton_})
        button->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);

    // Keyboard order: tab by tab, block by block, line by line, then Save and Cancel.
    std::vector<std::size_t> order(widgets_.size());
    std::iota(order.begin(), order.end(), 0);
    const auto all = UnitInfoFields::fields();
    std::erase_if(order, [&](std::size_t i) { return all[i].block < 0; });
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return std::tie(all[a].block, all[a].line, all[a].column) < std::tie(all[b].block, all[b].line, all[b].column);
    });
    QWidget* previous = nullptr;
    for (std::size_t i : order) {
        if (previous)
            setTabOrder(previous, widgets_[i]);
        previous = widgets_[i];
    }
    setTabOrder(previous, okButton_);
    setTabOrder(okButton_, cancelButton_);

    connect(okButton_, &QPushButton::clicked, this, &UnitInfoDialog::confirm);
    connect(cancelButton_, &QPushButton::clicked, this, &UnitInfoDialog::cancel);
    connect(descriptionButton_, &QPushButton::clicked, this, &UnitInfoDialog::editDescription);
}

UnitInfoDialog::~UnitInfoDialog() = default;

void UnitInfoDialog::buildTabs()
{
    const auto all = UnitInfoFields::fields();
    const auto blocks = UnitInfoFields::blocks();

    std::array<QVBoxLayout*, UnitInfoFields::kTabCount> pages{};
    for (int tab = 0; tab < UnitInfoFields::kTabCount; ++tab) {
        auto* page = new QWidget;
        pages[tab] = new QVBoxLayout(page);
        pages[tab]->setSpacing(10);
        tabs_->addTab(page, utf8(UnitInfoFields::tabCaption(tab)));
    }

    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const UnitInfoBlock& block = blocks[b];
        QWidget* container = nullptr;
        if (block.frameName) {
            auto* frame = new QGroupBox(utf8(block.caption));
            frame->setObjectName(utf8(block.frameName));
            container = frame;
        } else {
            container = new QWidget;
        }
        auto* grid = new QGridLayout(container);
        grid->setHorizontalSpacing(8);
        grid->setVerticalSpacing(8);
        if (!block.frameName)
            grid->setContentsMargins(0, 0, 0, 0);
        pages[block.tab]->addWidget(container);

        // How many controls stand on each line of this block, and on its widest line.
        std::map<int, int> perLine;
        int columns = 1;
        for (const UnitInfoField& f : all) {
            if (f.block == static_cast<int>(b)) {
                ++perLine[f.line];
                columns = std::max(columns, f.column + 1);
            }
        }
        for (int c = 0; c < columns; ++c)
            grid->setColumnStretch(2 * c + 1, 1);

        for (std::size_t i = 0; i < all.size(); ++i) {
            const UnitInfoField& f = all[i];
            if (f.block != static_cast<int>(b))
                continue;
            QWidget* control = widgets_[i] = makeControl(f, container);
            if (f.kind == UnitInfoKind::Button) {
                grid->addWidget(control, f.line, 2 * f.column, Qt::AlignLeft);
                continue;
            }
            auto* label = new QLabel(utf8(f.label), container);
            label->setBuddy(control);
            grid->addWidget(label, f.line, 2 * f.column, Qt::AlignRight | Qt::AlignVCenter);
            // A text alone on its line takes the whole line (names, addresses).
            const bool wide = f.kind == UnitInfoKind::Text && perLine[f.line] == 1;
            grid->addWidget(control, f.line, 2 * f.column + 1, 1, wide ? 2 * columns - 1 : 1);
        }
    }
    for (QVBoxLayout* page : pages)
        page->addStretch();

    // Controls outside the tabs (the long text) belong to the dialog itself.
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].block < 0)
            widgets_[i] = makeControl(all[i], this);
    }

    unitCodeBox_ = textBox(QStringLiteral("Text1"));
    unitNameBox_ = textBox(QStringLiteral("Text2"));
    reportUserBox_ = textBox(QStringLiteral("Text27"));
    descriptionBox_ = findChild<QPlainTextEdit*>(QStringLiteral("Text25"));
    descriptionButton_ = findChild<QPushButton*>(QStringLiteral("Command1"));

    // The description is edited elsewhere; beside its button the clerk sees whether one exists.
    auto* summary = new QLabel(descriptionButton_->parentWidget());
    summary->setObjectName(QStringLiteral("DescriptionSummary"));
    summary->setForegroundRole(QPalette::PlaceholderText);
    if (auto* grid = qobject_cast<QGridLayout*>(descriptionButton_->parentWidget()->layout()))
        grid->addWidget(summary, 0, 1, Qt::AlignLeft | Qt::AlignVCenter);
    connect(descriptionBox_, &QPlainTextEdit::textChanged, summary, [this, summary] {
        const qsizetype length = descriptionBox_->toPlainText().trimmed().size();
        summary->setText(length == 0 ? QStringLiteral("（尚未填写）") : QStringLiteral("（已填写 %1 字）").arg(length));
    });
    summary->setText(QStringLiteral("（尚未填写）"));
}

QLineEdit* UnitInfoDialog::textBox(const QString& name) const
{
    const auto all = UnitInfoFields::fields();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (utf8(all[i].objectName) == name)
            return qobject_cast<QLineEdit*>(widgets_[i]);
    }
    return nullptr;
}

CodedList* UnitInfoDialog::codedList(const QString& name) const
{
    const auto all = UnitInfoFields::fields();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (utf8(all[i].objectName) == name)
            return qobject_cast<CodedList*>(widgets_[i]);
    }
    return nullptr;
}

HoldingsBoxes UnitInfoDialog::holdingsBoxes() const
{
    HoldingsBoxes boxes;
    for (int i = 0; i < UnitInfoFields::kClassCount; ++i) {
        const QString index = QStringLiteral("(%1)").arg(i);
        boxes.classes[i] = {textBox(QStringLiteral("Text9") + index), textBox(QStringLiteral("Text10") + index),
                            textBox(QStringLiteral("Text11") + index), textBox(QStringLiteral("Text12") + index)};
    }
    boxes.relicTotal = textBox(QStringLiteral("Text29"));
    return boxes;
}

bool UnitInfoDialog::checkHoldings()
{
    return ::checkHoldings(this, holdingsBoxes());
}

void UnitInfoDialog::showEvent(QShowEvent* event)
{
    // A window the system shows again (after minimising) is not a new opening.
    if (!event->spontaneous())
        prepare();
    QDialog::showEvent(event);
}

void UnitInfoDialog::prepare()
{
    if (QScreen* s = screen())
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    templatePath_ = settings_.programFile(QStringLiteral("corpinfo.tpl"));
    tabs_->setCurrentIndex(0);
    loadUnitInfo();
    cancelButton_->setEnabled(allowCancel);
}

void UnitInfoDialog::editDescription()
{
    LongTextEditor editor(this);
    editor.text = ui::plainTextValue(descriptionBox_);
    editor.title = QStringLiteral("输入藏品存放条件、损毁情况描述");
    ui::current().runModal(&editor);
    if (!editor.cancelled)
        ui::showPlainText(descriptionBox_, editor.text);
}

void UnitInfoDialog::confirm()
{
    const QString code = xml::TrimSpaces(unitCodeBox_->text());
    const QString name = xml::TrimSpaces(unitNameBox_->text());
    const QString user = xml::TrimSpaces(reportUserBox_->text());
    if (code.isEmpty() || name.isEmpty() || user.isEmpty()) {
        ui::current().message(this, QStringLiteral("请输入单位编号，单位名称，填报人"));
        return;
    }
    // The save names its file after the unit code; the three values stand only once the file
    // is written, so a failed save cannot stamp the next report with an unsaved name.
    const Settings saved = settings_;
    settings_.unitCode = code;
    settings_.unitName = name;
    settings_.reportUser = user;
    if (!saveUnitInfo()) {
        settings_ = saved;
        return;
    }
    allowCancel = true;
    accept();
}

void UnitInfoDialog::cancel()
{
    reject();
}

bool UnitInfoDialog::refusesClose()
{
    if (sessionEnding() || allowCancel)
        return false;
    ui::current().message(this, QStringLiteral("您必须配置单位信息"));
    return true;
}

void UnitInfoDialog::closeEvent(QCloseEvent* event)
{
    if (refusesClose()) {
        event->ignore();
        return;
    }
    event->accept();
    // Asked already; the override would ask again.
    QDialog::reject();
}

void UnitInfoDialog::keyPressEvent(QKeyEvent* event)
{
    // Esc is no way out: it would drop everything typed without a word.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void UnitInfoDialog::reject()
{
    if (!refusesClose())
        QDialog::reject();
}

#include "moc_UnitInfoDialog.cpp"
