#pragma once

#include "core/ReportValues.h"

#include <QTabWidget>
#include <array>
#include <functional>
#include <vector>

class BudgetStatus;
class CodedList;
class QGroupBox;
class QGridLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;

// The four tabs of a budget report (objectName "SSTab1"), built from the report field
// table: it shows a report's values and announces the user's edits, nothing more. It
// holds every field's value, so a tab that is not built yet still has its values: the
// first tab is built at once, the others when first shown or asked for.
class ReportForm : public QTabWidget {
    Q_OBJECT
public:
    explicit ReportForm(QWidget* parent = nullptr);
    ~ReportForm() override;

    // Shows these fields' values (the others stay), in the table's order, so a project
    // type is in place before its amounts. Not an edit.
    void setValues(const ReportValues& values);
    // Every field as the form shows it, the long texts behind the buttons included.
    const ReportValues& values() const { return values_; }
    QString value(const QString& field) const { return values_.value(field); }

    // Asked before a user's pick of a project type in another group would wipe typed
    // amounts; false keeps the previous type as if nothing was picked.
    void setAmountResetQuestion(std::function<bool()> ask) { askAmountReset_ = std::move(ask); }

    // The group of the project type whose budget frame is enabled.
    int projectGroup() const { return projectGroup_; }
    void setProjectGroup(int group) { projectGroup_ = group; }

    // Builds every tab not built yet.
    void buildAllTabs();
    // A report just shown starts on its first page, the cursor in its first box, so that the
    // clerk can type at once.
    void showFirstField();
    // Every amount to "0" and every budget frame switched off, as a change of the
    // project type's group does.
    void resetBudgetFrames();

    // The control of a field by its id ("projectCode", "centralDemand2006"), building its
    // tab first; null for a long text (it has none) or an unknown id.
    QWidget* control(const QString& field);
    QLineEdit* lineEdit(const QString& field);
    CodedList* list(const QString& field);
    QPushButton* longTextButton(int i) const; // Command1 .. Command4, i = 0..3
    // The field of long text i (the text edited through button i).
    static QString longTextField(int i);
    QGroupBox* budgetFrame(int i);            // Frame4(i), i = 0..7
    BudgetStatus* budgetStatus(int tab);      // the running sums on tab 1, 2 or 3

signals:
    // The user changed a value (typing, pasting, cutting, deleting, choosing a list item).
    void edited();
    // The button of long text i was clicked.
    void longTextRequested(int i);

private:
    void ensureBuilt(int tab);
    void buildGeneralTab(int tab);
    void buildBudgetTab(int tab);
    void addStatus(int tab, QVBoxLayout* page, int at);
    QLineEdit* makeLineEdit(int field);
    QPlainTextEdit* makePlainText(int field);
    CodedList* makeList(int field);
    void showValue(int field, const QString& text);
    void userChanged(int field, const QString& text);
    void chainTabOrder(std::vector<std::pair<std::tuple<int, int, int, int>, QWidget*>>& order);
    void refreshStatuses();
    void refreshLongTextButtons();

    void projectTypeSelected(int index);
    bool holdsTypedAmounts() const;
    void applyProjectType();

    ReportValues values_;
    std::vector<QWidget*> controls_;              // by position in the field table; null until built
    std::array<QWidget*, 4> pages_{};             // the content of each tab's scroll area
    std::array<bool, 4> built_{};
    std::array<QPushButton*, 4> buttons_{};
    std::array<QGroupBox*, 8> frames_{};
    std::array<BudgetStatus*, 3> statuses_{};
    QWidget* lastInTabOrder_ = nullptr;
    std::function<bool()> askAmountReset_;
    bool programSets_ = false; // set while the form itself fills boxes
    std::array<bool, 8> frameEnabled_{true, true, true, true, true, true, true, true};
    int projectGroup_ = 0;
    int selectedType_ = 0;     // list index of the type last applied
};
