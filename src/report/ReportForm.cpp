#include "report/ReportForm.h"

#include "core/BudgetAmount.h"
#include "core/BudgetRules.h"
#include "core/ProjectTypes.h"
#include "core/ReportFieldTable.h"
#include "report/BudgetStatus.h"
#include "report/CostLineMark.h"
#include "core/TextLengthLimit.h"
#include "core/XmlPathSet.h"
#include "ui/CodedList.h"
#include "ui/FieldBinding.h"
#include "ui/HiddenTextBox.h"
#include "store/Module1.h"
#include "ui/UserInterface.h"

#include <QDate>
#include <QHash>
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
#include <memory>
#include <tuple>

using Table = ReportFieldTable;

struct ReportForm::Controls {
    std::array<QLineEdit*, 33> lines{};                  // single text boxes, by number
    std::array<QPlainTextEdit*, 33> plains{};            // Text30, Text31
    std::array<HiddenTextBox*, 33> hiddenTexts{};        // Text3 .. Text6, never shown, by number
    std::array<std::array<QLineEdit*, 8>, 29> arrays{};  // Text12, Text13, Text17 .. Text28
    std::array<CodedList*, 3> lists{};                   // Combo1, Combo2
    std::array<QPushButton*, 4> buttons{};               // Command1 .. Command4
    std::array<QGroupBox*, 8> frames{};                  // Frame4(0) .. Frame4(7)
    std::array<BudgetStatus*, 3> statuses{};             // on tabs 1, 2 and 3
    // Set while the program itself fills boxes, so that only the user's changes count.
    bool programSets = false;

    QLineEdit* line(const Table::ControlRef& r) const
    {
        return r.index < 0 ? lines[static_cast<size_t>(r.number)]
                           : arrays[static_cast<size_t>(r.number)][static_cast<size_t>(r.index)];
    }
    QString plainText(const Table::ControlRef& r) const
    {
        const auto n = static_cast<size_t>(r.number);
        return hiddenTexts[n] ? hiddenTexts[n]->toPlainText() : plains[n]->toPlainText();
    }
    QLineEdit* amount(int array, int index) const
    {
        return arrays[static_cast<size_t>(array)][static_cast<size_t>(index)];
    }
};

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

// Tab order key: page, block on the page, row, column, total (0) before share (1).
using OrderKey = std::tuple<int, int, int, int, int>;

} // namespace

ReportForm::ReportForm(QWidget* parent)
    : QTabWidget(parent)
    , c_(new Controls)
{
    setObjectName(QStringLiteral("SSTab1"));

    // Every page scrolls, so a small window still reaches every box.
    std::array<QWidget*, 4> pages{};
    for (int tab = 0; tab < 4; ++tab) {
        auto* scroll = new QScrollArea;
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        pages[static_cast<size_t>(tab)] = new QWidget;
        scroll->setWidget(pages[static_cast<size_t>(tab)]);
        addTab(scroll, Table::tabCaptions().at(tab));
    }
    auto* tab0 = new QVBoxLayout(pages[0]);
    auto* tab1 = new QVBoxLayout(pages[1]);
    // The budget tabs: the running budget status over the grid of frames.
    auto* budgetPage2 = new QVBoxLayout(pages[2]);
    auto* budgetPage3 = new QVBoxLayout(pages[3]);
    auto* tab2 = new QGridLayout;
    auto* tab3 = new QGridLayout;
    budgetPage2->addLayout(tab2);
    budgetPage3->addLayout(tab3);

    // Box groups of the first two tabs.
    const auto groups = Table::fieldGroups();
    std::vector<QGridLayout*> groupGrids;
    for (const Table::FieldGroup& g : groups) {
        QWidget* box = nullptr;
        if (*g.objectName) {
            auto* frame = new QGroupBox(QString::fromUtf8(g.caption));
            frame->setObjectName(QString::fromUtf8(g.objectName));
            box = frame;
        } else {
            box = new QWidget;
        }
        auto* grid = new QGridLayout(box);
        if (!*g.objectName)
            grid->setContentsMargins(0, 0, 0, 0);
        groupGrids.push_back(grid);
        (g.tab == 0 ? tab0 : tab1)->addWidget(box);
    }

    std::vector<std::pair<OrderKey, QWidget*>> tabOrder;
    auto watchLine = [this](QLineEdit* box) {
        // textEdited comes only from the user and before textChanged, so the last text
        // seen tells a real change from a key that changed nothing (replacing "0" by "0").
        auto last = std::make_shared<QString>(box->text());
        connect(box, &QLineEdit::textEdited, this, [this, last](const QString& text) {
            if (text != *last)
                emit userEdited();
        });
        connect(box, &QLineEdit::textChanged, this, [last](const QString& text) { *last = text; });
    };

    // General fields, placed by the table.
    for (const Table::Field& f : Table::fields()) {
        if (f.place == Table::LabelPlace::Budget)
            continue;
        QWidget* widget = nullptr;
        const auto& ref = f.control;
        switch (ref.kind) {
        case Table::ControlKind::LineEdit: {
            auto* box = new QLineEdit;
            if (f.isNumeric())
                setUpAmountBox(box);
            watchLine(box);
            if (ref.index < 0)
                c_->lines[static_cast<size_t>(ref.number)] = box;
            else
                c_->arrays[static_cast<size_t>(ref.number)][static_cast<size_t>(ref.index)] = box;
            widget = box;
            break;
        }
        case Table::ControlKind::PlainText: {
            if (f.place == Table::LabelPlace::Hidden) {
                auto* box = new HiddenTextBox;
                c_->hiddenTexts[static_cast<size_t>(ref.number)] = box;
                widget = box;
                break;
            }
            auto* box = new QPlainTextEdit;
            box->setTabChangesFocus(true);
            c_->plains[static_cast<size_t>(ref.number)] = box;
            widget = box;
            box->setFixedHeight(box->fontMetrics().lineSpacing() * 6 + 12);
            auto last = std::make_shared<QString>();
            connect(box, &QPlainTextEdit::textChanged, this, [this, box, last] {
                const QString now = box->toPlainText();
                if (now == *last)
                    return;
                *last = now;
                if (!c_->programSets)
                    emit userEdited();
            });
            break;
        }
        case Table::ControlKind::List: {
            auto* list = new CodedList;
            list->setItems(ref.number == 1 ? ProjectTypes::projectTypeItems() : ProjectTypes::projectNatureItems());
            c_->lists[static_cast<size_t>(ref.number)] = list;
            widget = list;
            break;
        }
        }
        widget->setObjectName(ref.objectName());
        widget->setAccessibleName(f.accessibleName);

        if (f.place == Table::LabelPlace::Hidden) {
            widget->setParent(pages[0]);
            widget->hide();
            continue;
        }
        QGridLayout* grid = groupGrids[static_cast<size_t>(f.group)];
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
        tabOrder.push_back({{groups[static_cast<size_t>(f.group)].tab, f.group, f.row, f.column, 0}, widget});
    }
    // Free-text groups share their width among the boxes; amount-only groups keep
    // their boxes together on the left.
    for (size_t g = 0; g < groupGrids.size(); ++g) {
        QGridLayout* grid = groupGrids[g];
        bool hasText = false;
        for (const Table::Field& f : Table::fields())
            if (f.group == static_cast<int>(g) && !f.isNumeric())
                hasText = true;
        if (hasText) {
            for (int column = 1; column < grid->columnCount(); column += 2)
                grid->setColumnStretch(column, 1);
        } else {
            grid->setColumnStretch(grid->columnCount(), 1);
        }
    }

    // The long-text buttons under the frames of the first tab.
    auto* buttonRow = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        auto* button = new QPushButton(Table::longTextButtonCaption(i));
        button->setObjectName(QStringLiteral("Command%1").arg(i + 1));
        c_->buttons[static_cast<size_t>(i)] = button;
        buttonRow->addWidget(button);
        tabOrder.push_back({{0, 99, 0, i, 0}, button});
    }
    // Whether a long text is filled shows on its button without touching the caption,
    // which titles the editor: bold, with the count in the tooltip and the description.
    for (int i = 0; i < 4; ++i) {
        QPushButton* button = c_->buttons[static_cast<size_t>(i)];
        HiddenTextBox* text = c_->hiddenTexts[static_cast<size_t>(3 + i)];
        const auto mark = [button, text] {
            // A view: trimming a copy of a long text would copy megabytes on every change.
            const QString plain = text->toPlainText();
            const qsizetype length = QStringView(plain).trimmed().size();
            QFont font = button->font();
            font.setBold(length > 0);
            button->setFont(font);
            const QString state = length > 0 ? QStringLiteral("已填写 %1 字").arg(length) : QStringLiteral("尚未填写");
            button->setToolTip(state);
            button->setAccessibleDescription(state);
        };
        connect(text, &HiddenTextBox::textChanged, button, mark);
        mark();
    }
    tab0->addLayout(buttonRow);
    tab0->addStretch(1);
    tab1->addStretch(1);

    // The eight budget frames: a caption over each cost line, its total and central
    // share side by side under it, and column captions saying which box is which.
    const auto frames = Table::budgetFrames();
    for (int i = 0; i < static_cast<int>(frames.size()); ++i) {
        const Table::BudgetFrame& frame = frames[static_cast<size_t>(i)];
        auto* box = new QGroupBox(QString::fromUtf8(frame.caption));
        box->setObjectName(QStringLiteral("Frame4(%1)").arg(i));
        c_->frames[static_cast<size_t>(i)] = box;
        auto* grid = new QGridLayout(box);
        grid->setVerticalSpacing(2);
        const int visibleLines = static_cast<int>(
            std::count_if(frame.lines.begin(), frame.lines.end(), [](const auto& l) { return !l.hidden; }));
        const int columns = std::min(frame.lineColumns, visibleLines);
        for (int column = 0; column < columns; ++column) {
            auto* total = makeLabel(Table::totalHeader(), nullptr, Qt::AlignCenter);
            auto* share = makeLabel(Table::shareHeader(), nullptr, Qt::AlignCenter);
            for (QLabel* header : {total, share})
                header->setForegroundRole(QPalette::PlaceholderText);
            grid->addWidget(total, 0, 3 * column);
            grid->addWidget(share, 0, 3 * column + 1);
            if (column + 1 < columns)
                grid->setColumnMinimumWidth(3 * column + 2, 16);
        }
        grid->setColumnStretch(3 * columns, 1);

        int shown = 0;
        for (int line = 0; line < static_cast<int>(frame.lines.size()); ++line) {
            const Table::BudgetLine& l = frame.lines[static_cast<size_t>(line)];
            auto* total = new QLineEdit(box);
            auto* share = new QLineEdit(box);
            for (bool isShare : {false, true}) {
                QLineEdit* amount = isShare ? share : total;
                const int array = l.totalArray + (isShare ? 1 : 0);
                amount->setObjectName(Table::ControlRef{Table::ControlKind::LineEdit, array, l.index}.objectName());
                amount->setAccessibleName(Table::budgetBoxName(i, line, isShare));
                setUpAmountBox(amount);
                watchLine(amount);
                c_->arrays[static_cast<size_t>(array)][static_cast<size_t>(l.index)] = amount;
            }
            auto* caption = makeLabel(QString::fromUtf8(l.caption), total, Qt::AlignLeft | Qt::AlignBottom);
            if (l.hidden) {
                // Kept for the checks and the reset, never shown.
                caption->setParent(box);
                for (QWidget* w : {static_cast<QWidget*>(caption), static_cast<QWidget*>(total),
                                   static_cast<QWidget*>(share)})
                    w->hide();
                continue;
            }
            const int row = 1 + 2 * (shown / frame.lineColumns);
            const int column = 3 * (shown % frame.lineColumns);
            grid->addWidget(caption, row, column, 1, 2);
            grid->addWidget(total, row + 1, column);
            grid->addWidget(share, row + 1, column + 1);
            grid->addWidget(new CostLineMark(total, share, box), row + 1, column + 2);
            tabOrder.push_back({{frame.tab, 100 + i, row, column, 0}, total});
            tabOrder.push_back({{frame.tab, 100 + i, row, column, 1}, share});
            ++shown;
        }
        (frame.tab == 2 ? tab2 : tab3)->addWidget(box, frame.gridRow, frame.gridColumn, Qt::AlignTop);
    }
    for (QGridLayout* tab : {tab2, tab3}) {
        tab->setRowStretch(tab->rowCount(), 1);
        for (int column = 0; column < tab->columnCount(); ++column)
            tab->setColumnStretch(column, 1);
    }

    // The running sums of the budget rules: under the fund demand and over each budget tab.
    BudgetStatus::Boxes sums;
    sums.demandTotal = c_->lines[32];
    for (int year = 0; year < Table::arrayLength(12); ++year) {
        sums.yearsCentral.push_back(c_->amount(12, year));
        sums.yearsLocal.push_back(c_->amount(13, year));
    }
    for (const Table::AmountPairGroup& g : Table::amountPairGroups()) {
        for (int i = 0; i < g.count; ++i) {
            sums.budgetTotals.push_back(c_->amount(g.totalArray, i));
            sums.budgetShares.push_back(c_->amount(g.shareArray, i));
        }
    }
    for (int tab = 1; tab < 4; ++tab) {
        auto* frame = new QGroupBox(QStringLiteral("预算核对（随输入更新）"));
        frame->setObjectName(QStringLiteral("BudgetStatusFrame%1").arg(tab));
        auto* inside = new QVBoxLayout(frame);
        auto* status = new BudgetStatus(sums);
        inside->addWidget(status);
        c_->statuses[static_cast<size_t>(tab - 1)] = status;
        if (tab == 1)
            tab1->insertWidget(tab1->count() - 1, frame);
        else
            (tab == 2 ? budgetPage2 : budgetPage3)->insertWidget(0, frame);
    }

    std::stable_sort(tabOrder.begin(), tabOrder.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);

    connect(c_->lists[1], &CodedList::itemSelected, this, &ReportForm::projectTypeSelected);
    selectedType_ = c_->lists[1]->currentIndex();
    connect(c_->lists[2], &CodedList::itemSelected, this, [this] { emit userEdited(); });
}

ReportForm::~ReportForm()
{
    delete c_;
}

bool ReportForm::TransferReportFields(const xml::XmlNode& reportRoot, bool toDocument)
{
    if (toDocument) {
        if (!CheckBudgetTotals())
            return false;
        xml::SetNodeText(reportRoot, QStringLiteral("//Report/ReportInfo/CorpID"), Module1::UnitCode);
        xml::SetNodeText(reportRoot, QStringLiteral("//Report/ReportInfo/CorpName"), Module1::UnitName);
        xml::SetNodeText(reportRoot, QStringLiteral("//Report/ReportInfo/ReportUser"), Module1::UnitReportUser);
        xml::SetNodeText(reportRoot, QStringLiteral("//Report/ReportInfo/ReportDate"),
                             QDate::currentDate().toString(Qt::ISODate));
    }
    const QScopedValueRollback<bool> programSets(c_->programSets, true);
    // Every field's node is found in one walk of the document, not one walk per field.
    const auto& fields = Table::fields();
    static const XmlPathSet paths = [&fields] {
        QStringList xpaths;
        for (const Table::Field& f : fields) {
            xpaths << f.xpath;
            if (f.control.kind == Table::ControlKind::List)
                xpaths << f.xpath + QStringLiteral("/@dict");
        }
        return XmlPathSet(xpaths);
    }();
    if (toDocument) {
        QStringList values;
        values.reserve(paths.paths().size());
        for (const Table::Field& f : fields) {
            const size_t n = static_cast<size_t>(f.control.number);
            switch (f.control.kind) {
            case Table::ControlKind::LineEdit:
                values << binding::StoredText(c_->line(f.control), f.defaultText);
                break;
            case Table::ControlKind::PlainText:
                values << (c_->hiddenTexts[n] ? binding::StoredText(c_->hiddenTexts[n], f.defaultText)
                                              : binding::StoredText(c_->plains[n], f.defaultText));
                break;
            case Table::ControlKind::List: {
                CodedList* list = c_->lists[n];
                const int index = std::max(list->currentIndex(), 0);
                values << QString::number(list->codeAt(index)) << list->itemText(index);
                break;
            }
            }
        }
        xml::SetNodeTexts(reportRoot, paths, values);
        return true;
    }
    const QStringList texts = paths.texts(reportRoot);
    qsizetype at = 0;
    for (const Table::Field& f : fields) {
        const size_t n = static_cast<size_t>(f.control.number);
        switch (f.control.kind) {
        case Table::ControlKind::LineEdit:
            binding::ShowStoredText(c_->line(f.control), texts[at++], f.defaultText);
            break;
        case Table::ControlKind::PlainText:
            if (c_->hiddenTexts[n])
                binding::ShowStoredText(c_->hiddenTexts[n], texts[at++], f.defaultText);
            else
                binding::ShowStoredText(c_->plains[n], texts[at++], f.defaultText);
            break;
        case Table::ControlKind::List:
            binding::ShowStoredCode(c_->lists[n], texts[at]);
            at += 2;
            break;
        }
    }
    // setText leaves the cursor at the end: a long value would show its end, not its start.
    for (QLineEdit* box : findChildren<QLineEdit*>())
        box->setCursorPosition(0);
    return true;
}

BudgetAmount ReportForm::ReadAmount(QLineEdit* box)
{
    if (!box)
        return BudgetAmount();
    std::optional<QString> rewritten;
    BudgetAmount amount = ReadAmountText(box->text(), &rewritten);
    if (rewritten)
        box->setText(*rewritten);
    return amount;
}

bool ReportForm::CheckBudgetTotals()
{
    // Every box the rules read, by its control name; the rules decide the order.
    ReportValues values;
    QHash<QString, QLineEdit*> boxes;
    auto gather = [&](QLineEdit* box) {
        values.setValue(box->objectName(), box->text());
        boxes.insert(box->objectName(), box);
    };
    gather(c_->line(Table::demandTotal()));
    for (const Table::AmountPairGroup& g : Table::amountPairGroups()) {
        for (int i = 0; i < g.count; ++i) {
            gather(c_->amount(g.totalArray, i));
            gather(c_->amount(g.shareArray, i));
        }
    }
    const Table::DemandYears years = Table::demandYears();
    for (int i = 0; i < years.count; ++i) {
        gather(c_->amount(years.centralArray, i));
        gather(c_->amount(years.localArray, i));
    }

    const BudgetRuleResult result = CheckBudgetRules(values);
    for (const auto& [control, text] : result.normalised)
        boxes.value(control)->setText(text);
    if (!result.ok()) {
        ui::current().message(this, result.message);
        return false;
    }
    return true;
}

bool ReportForm::CheckTextLengths()
{
    for (const Table::Field& f : Table::fields()) {
        if (f.control.kind != Table::ControlKind::PlainText)
            continue;
        if (!TextLengthLimit::fits(c_->plainText(f.control))) {
            ui::current().message(this, TextLengthLimit::refusal(f.label));
            return false;
        }
    }
    return true;
}

void ReportForm::projectTypeSelected(int index)
{
    CodedList* list = c_->lists[1];
    // Only the user's own pick asks: New, Open and loading select types by design.
    const bool wouldReset = index >= 0 && ProjectTypes::groupOfCode(list->codeAt(index)) != projectGroup_;
    if (list->selectionFromUser() && !c_->programSets && wouldReset && holdsTypedAmounts()
        && !ui::current().question(this, QStringLiteral("更改项目类别将把已填写的预算金额全部清零，是否继续？"))) {
        // Back to the previous type as if nothing was picked: no reset, no edit.
        list->setCurrentIndex(selectedType_);
        return;
    }
    selectedType_ = index;
    emit userEdited();
    ApplyProjectType();
}

bool ReportForm::holdsTypedAmounts() const
{
    for (const Table::AmountPairGroup& g : Table::amountPairGroups()) {
        for (int i = 0; i < g.count; ++i) {
            for (const QLineEdit* box : {c_->amount(g.totalArray, i), c_->amount(g.shareArray, i)}) {
                const QString text = box->text().trimmed();
                if (!text.isEmpty() && text != QLatin1String("0"))
                    return true;
            }
        }
    }
    return false;
}

void ReportForm::ApplyProjectType()
{
    CodedList* list = c_->lists[1];
    const int index = list->currentIndex();
    if (index < 0)
        return;
    const int group = ProjectTypes::groupOfCode(list->codeAt(index));
    if (group != projectGroup_) {
        ResetBudgetFrames();
        projectGroup_ = group;
    }
    const int frame = ProjectTypes::budgetFrameOfGroup(group);
    if (frame >= 0)
        c_->frames[static_cast<size_t>(frame)]->setEnabled(true);
}

void ReportForm::ResetBudgetFrames()
{
    for (QGroupBox* frame : c_->frames)
        frame->setEnabled(false);
    const QScopedValueRollback<bool> programSets(c_->programSets, true);
    for (const Table::AmountPairGroup& g : Table::amountPairGroups()) {
        for (int i = 0; i < g.count; ++i) {
            c_->amount(g.totalArray, i)->setText(QStringLiteral("0"));
            c_->amount(g.shareArray, i)->setText(QStringLiteral("0"));
        }
    }
}

QLineEdit* ReportForm::projectCodeBox() const
{
    return c_->lines[1];
}

QLineEdit* ReportForm::projectNameBox() const
{
    return c_->lines[2];
}

CodedList* ReportForm::projectTypeList() const
{
    return c_->lists[1];
}

CodedList* ReportForm::projectNatureList() const
{
    return c_->lists[2];
}

HiddenTextBox* ReportForm::longTextBox(int i) const
{
    return (i >= 0 && i < 4) ? c_->hiddenTexts[static_cast<size_t>(3 + i)] : nullptr;
}

QPushButton* ReportForm::longTextButton(int i) const
{
    return (i >= 0 && i < 4) ? c_->buttons[static_cast<size_t>(i)] : nullptr;
}

QGroupBox* ReportForm::budgetFrame(int i) const
{
    return (i >= 0 && i < 8) ? c_->frames[static_cast<size_t>(i)] : nullptr;
}

BudgetStatus* ReportForm::budgetStatus(int tab) const
{
    return (tab >= 1 && tab <= 3) ? c_->statuses[static_cast<size_t>(tab - 1)] : nullptr;
}
