#pragma once

#include <QString>
#include <span>
#include <vector>

// The report form as data: every bound field with its control, document path, default,
// caption and place, the eight budget frames with their cost lines, and the amount
// arrays. Layout, binding, reset and the budget checks all read these tables.
class ReportFieldTable {
public:
    enum class ControlKind { LineEdit, PlainText, List };

    // A control by its form name: Text<number>, Text<number>(<index>) or Combo<number>.
    struct ControlRef {
        ControlKind kind;
        int number;
        int index = -1; // element of a control array; -1 for a single control
        QString objectName() const;
        bool operator==(const ControlRef&) const = default;
    };

    // How a general field is laid out inside its box group.
    enum class LabelPlace {
        Left,   // caption at grid column 2*column, box at 2*column+1
        Above,  // caption at (row, 2*column) spanning two columns, box under it
        Grid,   // box at (row, column); row caption in column 0, column caption in headerRow
        Hidden, // never shown (the long texts edited through their buttons)
        Budget, // placed by its budget frame
    };

    // A box group of the first two tabs; objectName empty for the untitled top block.
    struct FieldGroup {
        const char* objectName;
        const char* caption;
        int tab;
    };

    // One cost line of a budget frame: its caption, its element under the frame's
    // section (empty when Total and State sit directly in the section) and the pair of
    // arrays it uses: Text<totalArray>(index) for the total, the next array for the share.
    struct BudgetLine {
        const char* caption;
        const char* element;
        int totalArray;
        int index;
        bool hidden; // shown nowhere and never stored, but reset and counted like the rest
    };

    struct BudgetFrame {
        const char* caption;
        const char* section; // element under //Report/BudgetDetail
        int tab;
        int gridRow;         // place of the frame on its tab
        int gridColumn;
        int lineColumns;     // cost lines side by side inside the frame
        std::span<const BudgetLine> lines;
    };

    // One pair group of the amount arrays, checked and reset index by index.
    struct AmountPairGroup {
        int totalArray;
        int shareArray;
        int count;
    };

    struct Field {
        ControlRef control;
        QString xpath;
        QString defaultText;    // "0" for amounts and areas, empty for free text
        QString label;          // the caption the user sees beside, above or over the box
        QString rowLabel;       // the row's caption (a year, a cost line), if any
        QString accessibleName; // unique: the label, with its frame or row where it repeats
        LabelPlace place;
        int group = -1;         // index into fieldGroups(), general fields only
        int row = 0;
        int column = 0;
        int headerRow = 0;
        int budgetFrame = -1;   // Frame4 index of a budget box
        int budgetLine = -1;    // index into that frame's lines
        bool isNumeric() const { return defaultText == QLatin1String("0"); }
    };

    static const QStringList& tabCaptions();
    static std::span<const FieldGroup> fieldGroups();
    static std::span<const BudgetFrame> budgetFrames();
    static std::span<const AmountPairGroup> amountPairGroups();
    // The demand total "合计" (Text32) and the yearly central / local arrays (Text12, Text13).
    struct DemandYears {
        int centralArray;
        int localArray;
        int count;
    };
    static ControlRef demandTotal();
    static DemandYears demandYears();
    // Number of elements of the control array Text<number> (12, 13, 17 .. 28).
    static int arrayLength(int number);
    // The 83 bound fields in transfer order.
    static const std::vector<Field>& fields();

    // Caption of the long-text button i (Command1 .. Command4) and the hidden box it edits.
    static QString longTextButtonCaption(int i);

    // Captions over a budget frame's two box columns.
    static QString totalHeader();
    static QString shareHeader();
    // "考古发掘 前期费用 总计": accessible name of a budget box.
    static QString budgetBoxName(int frame, int line, bool share);
    static QString budgetXPath(int frame, int line, bool share);
};
