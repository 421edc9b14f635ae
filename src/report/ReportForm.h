#pragma once

#include "core/XmlDocument.h"

#include <QTabWidget>
#include <array>

class BudgetAmount;
class BudgetStatus;
class CodedList;
class QGroupBox;
class QLineEdit;
class HiddenTextBox;
class QPlainTextEdit;
class QPushButton;

// The four tabs of a budget report (objectName "SSTab1"): every field of the report,
// the project type's budget frame, the budget checks and the moves between the form
// and a report document. The report controller owns the document and the file names.
class ReportForm : public QTabWidget {
    Q_OBJECT
public:
    explicit ReportForm(QWidget* parent = nullptr);
    ~ReportForm() override;

    // Document <-> form, every field in the field table's order. Form -> document runs
    // CheckBudgetTotals first (false: nothing written) and stamps the ReportInfo block.
    bool TransferReportFields(const xml::XmlNode& reportRoot, bool toDocument);
    // The four budget rules; shows the first broken rule's message and returns false.
    bool CheckBudgetTotals();
    // Every free text short enough to be loaded again; otherwise shows which one is too
    // long and returns false.
    bool CheckTextLengths();
    // One amount box read exactly as a plain decimal. Text that is no amount counts as 0
    // and the box then shows "0"; full-width or digit-grouped input is rewritten as the
    // plain decimal it stands for.
    static BudgetAmount ReadAmount(QLineEdit* box);
    // Enables the budget frame of the selected project type, resetting every amount
    // first when the type's group differs from projectGroup.
    void ApplyProjectType();
    void ResetBudgetFrames();

    int projectGroup() const { return projectGroup_; }
    void setProjectGroup(int group) { projectGroup_ = group; }

    QLineEdit* projectCodeBox() const;           // Text1
    QLineEdit* projectNameBox() const;           // Text2
    CodedList* projectTypeList() const;          // Combo1
    CodedList* projectNatureList() const;        // Combo2
    HiddenTextBox* longTextBox(int i) const;     // Text3 .. Text6 (hidden), i = 0..3
    QPushButton* longTextButton(int i) const;    // Command1 .. Command4, i = 0..3
    QGroupBox* budgetFrame(int i) const;         // Frame4(i), i = 0..7
    BudgetStatus* budgetStatus(int tab) const;   // the running sums on tab 1, 2 or 3

signals:
    // The user changed a value (typing, pasting, cutting, deleting, choosing a list item),
    // or a list selection was made; the window marks the report modified.
    void userEdited();

private:
    // A project type picked by the user or selected by the program; asks before a pick
    // of the user's would wipe typed amounts.
    void projectTypeSelected(int index);
    bool holdsTypedAmounts() const;

    struct Controls;
    Controls* c_;
    int projectGroup_ = 0;
    int selectedType_ = 0; // list index of the type last applied
};
