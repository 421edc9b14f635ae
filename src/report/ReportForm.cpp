#include "report/ReportForm.h"

#include "core/BudgetRules.h"
#include "core/ProjectTypes.h"
#include "core/ReportFieldTable.h"
#include "core/TextLengthLimit.h"
#include "report/BudgetStatus.h"
#include "report/CostLineMark.h"
#include "ui/CodedList.h"
#include "ui/PlainTextValue.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>

using Table = ReportFieldTable;

namespace {

// Amounts line up on the right, in boxes wide enough for nine digits and two decimals.
void setUpAmountBox(QLineEdit* box)
{
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("000000000.00")) + 12);
}

QLabel* makeLabel(const QString& text, QWidget* buddy, Qt::Alignment alignment)
{
    auto* label = new QLabel(text);
    label->setAlignment(alignment);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

std::span<const CodedItem> itemsOf(const Table::Field& field)
{
    return field.control.number == 1 ? ProjectTypes::projectTypeItems() : ProjectTypes::projectNatureItems();
}

// The tab a field's control stands on; -1 for a long text, which has none.
int tabOf(const Table::Field& field)
{
    if (field.place == Table::LabelPlace::Hidden)
        return -1;
    if (field.place == Table::LabelPlace::Budget)
        return Table::budgetFrames()[static_cast<size_t>(field.budgetFrame)].tab;
    return Table::fieldGroups()[static_cast<size_t>(field.group)].tab;
}

const std::vector<Table::Field>& fields()
{
    return Table::fields();
}

// Tab order within a tab: block on the page, row, column, total (0) before share (1).
using OrderKey = std::tuple<int, int, int, int>;

} // namespace

ReportForm::ReportForm(QWidget* parent)
    : QTabWidget(parent)
    , controls_(fields().size(), nullptr)
{
    setObjectName(QStringLiteral("SSTab1"));
    // What an empty form shows: empty boxes, each list at its first item.
    for (const Table::Field& f : fields())
        values_.setValue(f.id, f.control.kind == Table::ControlKind::List ? QString::number(itemsOf(f)[0].code)
                                                                          : QString());

    // Every page scrolls, so a small window still reaches every box.
    for (int tab = 0; tab < 4; ++tab) {
        auto* scroll = new QScrollArea;
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        pages_[static_cast<size_t>(tab)] = new QWidget;
        scroll->setWidget(pages_[static_cast<size_t>(tab)]);
        addTab(scroll, Table::tabCaptions().at(tab));
    }
    ensureBuilt(0);
    connect(this, &QTabWidget::currentChanged, this, &ReportForm::ensureBuilt);
}

ReportForm::~ReportForm() = default;

void ReportForm::buildAllTabs()
{
    for (int tab = 0; tab < count(); ++tab)
        ensureBuilt(tab);
}

void ReportForm::showFirstField()
{
    setCurrentIndex(0);
    if (QWidget* first = control(fields().front().id))
        first->setFocus();
}

void ReportForm::ensureBuilt(int tab)
{
    if (tab < 0 || tab >= 4 || built_[static_cast<size_t>(tab)])
        return;
    built_[static_cast<size_t>(tab)] = true;
    {
        const QScopedValueRollback<bool> programSets(programSets_, true);
        if (tab < 2)
            buildGeneralTab(tab);
        else
            buildBudgetTab(tab);
    }
    // A tab built late shows the sums of the values it was given.
    refreshStatuses();
}

// ---- Building ---------------------------------------------------------------------------

QLineEdit* ReportForm::makeLineEdit(int field)
{
    const Table::Field& f = fields()[static_cast<size_t>(field)];
    auto* box = new QLineEdit;
    // Qt cuts at 32,767 characters by default: a longer stored value would be shortened
    // without a word. The loader's text limit is the real one.
    box->setMaxLength(TextLengthLimit::kMaxBytes);
    if (f.isNumeric())
        setUpAmountBox(box);
    box->setText(values_.value(f.id));
    box->setCursorPosition(0);
    // textEdited comes only from the user, so the value seen before tells a real change
    // from a key that changed nothing (replacing "0" by "0").
    connect(box, &QLineEdit::textEdited, this, [this, field](const QString& text) { userChanged(field, text); });
    const bool numeric = f.isNumeric();
    connect(box, &QLineEdit::textChanged, this, [this, field, numeric](const QString& text) {
        if (programSets_)
            return;
        values_.setValue(fields()[static_cast<size_t>(field)].id, text);
        if (numeric)
            refreshStatuses();
    });
    return box;
}

QPlainTextEdit* ReportForm::makePlainText(int field)
{
    auto* box = new QPlainTextEdit;
    box->setTabChangesFocus(true);
    box->setFixedHeight(box->fontMetrics().lineSpacing() * 6 + 12);
    ui::showPlainText(box, values_.value(fields()[static_cast<size_t>(field)].id));
    connect(box, &QPlainTextEdit::textChanged, this, [this, box, field] {
        if (!programSets_)
            userChanged(field, ui::plainTextValue(box));
    });
    return box;
}

CodedList* ReportForm::makeList(int field)
{
    const Table::Field& f = fields()[static_cast<size_t>(field)];
    auto* list = new CodedList;
    list->setItems(itemsOf(f));
    list->setCurrentIndex(std::max(CodedItemIndexOf(itemsOf(f), values_.value(f.id)), 0));
    if (f.control.number == 1) {
        selectedType_ = list->currentIndex();
        connect(list, &CodedList::itemSelected, this, &ReportForm::projectTypeSelected);
    } else {
        connect(list, &CodedList::itemSelected, this, [this, list, field](int index) {
            values_.setValue(fields()[static_cast<size_t>(field)].id, QString::number(list->codeAt(index)));
            if (!programSets_)
                emit edited();
        });
    }
    return list;
}

void ReportForm::buildGeneralTab(int tab)
{
    auto* page = new QVBoxLayout(pages_[static_cast<size_t>(tab)]);
    std::vector<std::pair<OrderKey, QWidget*>> order;

    // The box groups of this tab, in table order.
    const auto groups = Table::fieldGroups();
    std::vector<QGridLayout*> grids(groups.size(), nullptr);
    for (size_t g = 0; g < groups.size(); ++g) {
        if (groups[g].tab != tab)
            continue;
        QWidget* box = nullptr;
        if (*groups[g].objectName) {
            auto* frame = new QGroupBox(QString::fromUtf8(groups[g].caption));
            frame->setObjectName(QString::fromUtf8(groups[g].objectName));
            box = frame;
        } else {
            box = new QWidget;
        }
        grids[g] = new QGridLayout(box);
        if (!*groups[g].objectName)
            grids[g]->setContentsMargins(0, 0, 0, 0);
        page->addWidget(box);
    }

    for (int i = 0; i < static_cast<int>(fields().size()); ++i) {
        const Table::Field& f = fields()[static_cast<size_t>(i)];
        if (tabOf(f) != tab)
            continue;
        QWidget* widget = nullptr;
        switch (f.control.kind) {
        case Table::ControlKind::LineEdit: widget = makeLineEdit(i); break;
        case Table::ControlKind::PlainText: widget = makePlainText(i); break;
        case Table::ControlKind::List: widget = makeList(i); break;
        }
        widget->setObjectName(f.control.objectName());
        widget->setAccessibleName(f.accessibleName);
        controls_[static_cast<size_t>(i)] = widget;

        QGridLayout* grid = grids[static_cast<size_t>(f.group)];
        const Qt::Alignment boxAlignment = f.isNumeric() ? Qt::AlignLeft : Qt::Alignment();
        switch (f.place) {
        case Table::LabelPlace::Left:
            grid->addWidget(makeLabel(f.label, widget, Qt::AlignRight | Qt::AlignVCenter), f.row, 2 * f.column);
            grid->addWidget(widget, f.row, 2 * f.column + 1, boxAlignment);
            break;
        case Table::LabelPlace::Above:
            grid->addWidget(makeLabel(f.label, widget, Qt::AlignLeft | Qt::AlignBottom), f.row, 2 * f.column, 1, 2);
            grid->addWidget(widget, f.row + 1, 2 * f.column, 1, 2);
            break;
        case Table::LabelPlace::Grid:
            if (!grid->itemAtPosition(f.row, 0))
                grid->addWidget(makeLabel(f.rowLabel, widget, Qt::AlignRight | Qt::AlignVCenter), f.row, 0);
            if (!grid->itemAtPosition(f.headerRow, f.column))
                grid->addWidget(makeLabel(f.label, nullptr, Qt::AlignCenter), f.headerRow, f.column);
            grid->addWidget(widget, f.row, f.column, boxAlignment);
            break;
        default:
            break;
        }
        order.push_back({{f.group, f.row, f.column, 0}, widget});
    }
    // Free-text groups share their width among the boxes; amount-only groups keep their
    // boxes together on the left.
    for (size_t g = 0; g < grids.size(); ++g) {
        if (!grids[g])
            continue;
        const bool hasText = std::any_of(fields().begin(), fields().end(), [g](const Table::Field& f) {
            return f.group == static_cast<int>(g) && !f.isNumeric() && f.place != Table::LabelPlace::Hidden;
        });
        if (hasText) {
            for (int column = 1; column < grids[g]->columnCount(); column += 2)
                grids[g]->setColumnStretch(column, 1);
        } else {
            grids[g]->setColumnStretch(grids[g]->columnCount(), 1);
        }
    }

    if (tab == 0) {
        // The long-text buttons under the frames. Whether a long text is filled shows on
        // its button without touching the caption, which titles the editor.
        auto* buttonRow = new QHBoxLayout;
        for (int i = 0; i < 4; ++i) {
            auto* button = new QPushButton(Table::longTextButtonCaption(i));
            button->setObjectName(QStringLiteral("Command%1").arg(i + 1));
            buttons_[static_cast<size_t>(i)] = button;
            buttonRow->addWidget(button);
            connect(button, &QPushButton::clicked, this, [this, i] { emit longTextRequested(i); });
            order.push_back({{99, 0, i, 0}, button});
        }
        page->addLayout(buttonRow);
        refreshLongTextButtons();
    }
    page->addStretch(1);
    if (tab == 1)
        addStatus(1, page, page->count() - 1);
    chainTabOrder(order);
}

void ReportForm::buildBudgetTab(int tab)
{
    // The running budget status over the grid of frames.
    auto* page = new QVBoxLayout(pages_[static_cast<size_t>(tab)]);
    auto* grid = new QGridLayout;
    page->addLayout(grid);
    std::vector<std::pair<OrderKey, QWidget*>> order;

    // Each frame: a caption over each cost line, its total and central share side by
    // side under it, and column captions saying which box is which.
    const auto frames = Table::budgetFrames();
    for (int i = 0; i < static_cast<int>(frames.size()); ++i) {
        const Table::BudgetFrame& frame = frames[static_cast<size_t>(i)];
        if (frame.tab != tab)
            continue;
        auto* box = new QGroupBox(QString::fromUtf8(frame.caption));
        box->setObjectName(QStringLiteral("Frame4(%1)").arg(i));
        box->setEnabled(frameEnabled_[static_cast<size_t>(i)]);
        frames_[static_cast<size_t>(i)] = box;
        auto* lines = new QGridLayout(box);
        lines->setVerticalSpacing(2);
        const int visibleLines = static_cast<int>(
            std::count_if(frame.lines.begin(), frame.lines.end(), [](const auto& l) { return !l.hidden; }));
        const int columns = std::min(frame.lineColumns, visibleLines);
        for (int column = 0; column < columns; ++column) {
            auto* total = makeLabel(Table::totalHeader(), nullptr, Qt::AlignCenter);
            auto* share = makeLabel(Table::shareHeader(), nullptr, Qt::AlignCenter);
            for (QLabel* header : {total, share})
                header->setForegroundRole(QPalette::PlaceholderText);
            lines->addWidget(total, 0, 3 * column);
            lines->addWidget(share, 0, 3 * column + 1);
            if (column + 1 < columns)
                lines->setColumnMinimumWidth(3 * column + 2, 16);
        }
        lines->setColumnStretch(3 * columns, 1);

        int shown = 0;
        for (int line = 0; line < static_cast<int>(frame.lines.size()); ++line) {
            const Table::BudgetLine& l = frame.lines[static_cast<size_t>(line)];
            // The hidden line is never shown and never stored: it has no boxes.
            if (l.hidden)
                continue;
            std::array<QLineEdit*, 2> pair{};
            for (bool isShare : {false, true}) {
                const QString id = QString::fromUtf8(l.id) + (isShare ? QStringLiteral("Central") : QStringLiteral("Total"));
                const int field = Table::indexOf(id);
                QLineEdit* amount = makeLineEdit(field);
                amount->setParent(box);
                amount->setObjectName(fields()[static_cast<size_t>(field)].control.objectName());
                amount->setAccessibleName(Table::budgetBoxName(i, line, isShare));
                controls_[static_cast<size_t>(field)] = amount;
                pair[isShare ? 1 : 0] = amount;
            }
            const int row = 1 + 2 * (shown / frame.lineColumns);
            const int column = 3 * (shown % frame.lineColumns);
            lines->addWidget(makeLabel(QString::fromUtf8(l.caption), pair[0], Qt::AlignLeft | Qt::AlignBottom), row,
                             column, 1, 2);
            lines->addWidget(pair[0], row + 1, column);
            lines->addWidget(pair[1], row + 1, column + 1);
            lines->addWidget(new CostLineMark(pair[0], pair[1], box), row + 1, column + 2);
            order.push_back({{100 + i, row, column, 0}, pair[0]});
            order.push_back({{100 + i, row, column, 1}, pair[1]});
            ++shown;
        }
        grid->addWidget(box, frame.gridRow, frame.gridColumn, Qt::AlignTop);
    }
    grid->setRowStretch(grid->rowCount(), 1);
    for (int column = 0; column < grid->columnCount(); ++column)
        grid->setColumnStretch(column, 1);
    addStatus(tab, page, 0);
    chainTabOrder(order);
}

void ReportForm::addStatus(int tab, QVBoxLayout* page, int at)
{
    auto* frame = new QGroupBox(QStringLiteral("预算核对（随输入更新）"));
    frame->setObjectName(QStringLiteral("BudgetStatusFrame%1").arg(tab));
    auto* inside = new QVBoxLayout(frame);
    auto* status = new BudgetStatus;
    inside->addWidget(status);
    statuses_[static_cast<size_t>(tab - 1)] = status;
    page->insertWidget(at, frame);
}

void ReportForm::chainTabOrder(std::vector<std::pair<OrderKey, QWidget*>>& order)
{
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [key, widget] : order) {
        if (lastInTabOrder_)
            setTabOrder(lastInTabOrder_, widget);
        lastInTabOrder_ = widget;
    }
}

// ---- Values -----------------------------------------------------------------------------

void ReportForm::setValues(const ReportValues& values)
{
    {
        const QScopedValueRollback<bool> programSets(programSets_, true);
        for (int i = 0; i < static_cast<int>(fields().size()); ++i) {
            const QString& id = fields()[static_cast<size_t>(i)].id;
            if (values.contains(id))
                showValue(i, values.value(id));
        }
    }
    refreshStatuses();
    refreshLongTextButtons();
}

void ReportForm::showValue(int field, const QString& text)
{
    const Table::Field& f = fields()[static_cast<size_t>(field)];
    QWidget* control = controls_[static_cast<size_t>(field)];
    switch (f.control.kind) {
    case Table::ControlKind::LineEdit:
        values_.setValue(f.id, text);
        if (auto* box = static_cast<QLineEdit*>(control)) {
            box->setText(text);
            // setText leaves the cursor at the end: a long value would show its end.
            box->setCursorPosition(0);
        }
        break;
    case Table::ControlKind::PlainText:
        values_.setValue(f.id, text);
        if (auto* box = static_cast<QPlainTextEdit*>(control))
            ui::showPlainText(box, text);
        break;
    case Table::ControlKind::List: {
        // The item whose code the text names, else the first.
        const auto items = itemsOf(f);
        const int index = std::max(CodedItemIndexOf(items, text), 0);
        values_.setValue(f.id, QString::number(items[static_cast<size_t>(index)].code));
        if (auto* list = static_cast<CodedList*>(control))
            list->selectItem(index);
        break;
    }
    }
}

void ReportForm::userChanged(int field, const QString& text)
{
    const QString& id = fields()[static_cast<size_t>(field)].id;
    if (values_.value(id) == text)
        return;
    values_.setValue(id, text);
    emit edited();
}

void ReportForm::refreshStatuses()
{
    if (programSets_)
        return;
    bool any = false;
    for (BudgetStatus* status : statuses_)
        any = any || status;
    if (!any)
        return;
    const BudgetReading reading(values_);
    for (BudgetStatus* status : statuses_) {
        if (status)
            status->showSums(reading.sums());
    }
}

void ReportForm::refreshLongTextButtons()
{
    for (int i = 0; i < 4; ++i) {
        QPushButton* button = buttons_[static_cast<size_t>(i)];
        if (!button)
            continue;
        // A view: trimming a copy of a long text would copy megabytes.
        const QString text = values_.value(longTextField(i));
        const qsizetype length = QStringView(text).trimmed().size();
        QFont font = button->font();
        font.setBold(length > 0);
        button->setFont(font);
        const QString state = length > 0 ? QStringLiteral("已填写 %1 字").arg(length) : QStringLiteral("尚未填写");
        button->setToolTip(state);
        button->setAccessibleDescription(state);
    }
}

// ---- The project type and its budget frame --------------------------------------------

void ReportForm::projectTypeSelected(int index)
{
    auto* list = static_cast<CodedList*>(controls_[static_cast<size_t>(Table::indexOf(u"projectType"))]);
    // Only the user's own pick asks: New, Open and loading select types by design.
    const bool wouldReset = index >= 0 && ProjectTypes::groupOfCode(list->codeAt(index)) != projectGroup_;
    if (list->selectionFromUser() && !programSets_ && wouldReset && holdsTypedAmounts() && askAmountReset_
        && !askAmountReset_()) {
        // Back to the previous type as if nothing was picked: no reset, no edit.
        list->setCurrentIndex(selectedType_);
        return;
    }
    selectedType_ = index;
    if (index >= 0)
        values_.setValue(QStringLiteral("projectType"), QString::number(list->codeAt(index)));
    if (!programSets_)
        emit edited();
    applyProjectType();
}

bool ReportForm::holdsTypedAmounts() const
{
    for (const Table::BudgetPair& pair : Table::budgetPairs()) {
        for (const QString& id : {pair.totalId, pair.centralId}) {
            const QString text = values_.value(id).trimmed();
            if (!text.isEmpty() && text != QLatin1String("0"))
                return true;
        }
    }
    return false;
}

void ReportForm::applyProjectType()
{
    const int group = ProjectTypes::groupOfCode(values_.value(QStringLiteral("projectType")).toInt());
    if (group != projectGroup_) {
        resetBudgetFrames();
        projectGroup_ = group;
    }
    // Enabling only: a frame is switched off by a reset alone.
    const int frame = ProjectTypes::budgetFrameOfGroup(group);
    if (frame >= 0) {
        frameEnabled_[static_cast<size_t>(frame)] = true;
        if (QGroupBox* box = frames_[static_cast<size_t>(frame)])
            box->setEnabled(true);
    }
}

void ReportForm::resetBudgetFrames()
{
    for (int i = 0; i < 8; ++i) {
        frameEnabled_[static_cast<size_t>(i)] = false;
        if (QGroupBox* box = frames_[static_cast<size_t>(i)])
            box->setEnabled(false);
    }
    {
        const QScopedValueRollback<bool> programSets(programSets_, true);
        for (const Table::BudgetPair& pair : Table::budgetPairs()) {
            if (pair.hidden)
                continue;
            showValue(Table::indexOf(pair.totalId), QStringLiteral("0"));
            showValue(Table::indexOf(pair.centralId), QStringLiteral("0"));
        }
    }
    refreshStatuses();
}

// ---- Controls by field ----------------------------------------------------------------

QWidget* ReportForm::control(const QString& field)
{
    const int at = Table::indexOf(field);
    if (at < 0)
        return nullptr;
    ensureBuilt(tabOf(fields()[static_cast<size_t>(at)]));
    return controls_[static_cast<size_t>(at)];
}

QLineEdit* ReportForm::lineEdit(const QString& field)
{
    return qobject_cast<QLineEdit*>(control(field));
}

CodedList* ReportForm::list(const QString& field)
{
    return qobject_cast<CodedList*>(control(field));
}

QPushButton* ReportForm::longTextButton(int i) const
{
    return (i >= 0 && i < 4) ? buttons_[static_cast<size_t>(i)] : nullptr;
}

QString ReportForm::longTextField(int i)
{
    // The fields without a box of their own, in table order: one per button.
    static const QStringList ids = [] {
        QStringList all;
        for (const Table::Field& f : fields())
            if (f.place == Table::LabelPlace::Hidden)
                all << f.id;
        return all;
    }();
    return ids.value(i);
}

QGroupBox* ReportForm::budgetFrame(int i)
{
    if (i < 0 || i >= 8)
        return nullptr;
    ensureBuilt(Table::budgetFrames()[static_cast<size_t>(i)].tab);
    return frames_[static_cast<size_t>(i)];
}

BudgetStatus* ReportForm::budgetStatus(int tab)
{
    if (tab < 1 || tab > 3)
        return nullptr;
    ensureBuilt(tab);
    return statuses_[static_cast<size_t>(tab - 1)];
}
