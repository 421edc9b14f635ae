#pragma once

#include <QString>
#include <QStringList>
#include <span>
#include <vector>

// The report form as data: every bound field with its id, control, document path,
// default, caption and place, the eight budget frames with their cost lines, and the
// amount pairs the budget rules read. Layout, binding, reset and the budget checks all
// read these tables. A report's values are keyed by field id ("demandTotal",
// "centralDemand2006"); the control names of the form ("Text32", "Text12(0)") stay the
// controls' object names.
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
        const char* id;      // "relicRepairPreparation": + "Total" / "Central" names its two amounts
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

    // One cost item's two amounts, as the budget rules read them.
    struct BudgetPair {
        QString totalId;   // its total, "…Total"
        QString centralId; // its central share, "…Central"
        ControlRef total;
        ControlRef central;
        int frame;         // Frame4 index
        int line;          // index into that frame's lines
        bool hidden;       // never shown and never stored: always absent from a report's values
    };

    struct Field {
        QString id;             // the key of the field's value in a report's values
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
    // Every cost item of the eight frames, hidden one included, in the order the rules
    // read them (the first item whose central share exceeds its total is the one reported).
    static const std::vector<BudgetPair>& budgetPairs();
    // The demand total "合计" and the yearly central and local amounts, 2006 to 2010.
    static const QString& demandTotalId();
    static const QStringList& centralDemandIds();
    static const QStringList& localDemandIds();
    // The 83 bound fields in transfer order.
    static const std::vector<Field>& fields();
    // The field of this id, or null.
    static const Field* field(QStringView id);
    // Its position in fields(), or -1.
    static int indexOf(QStringView id);

    // Caption of the long-text button i (Command1 .. Command4) and the hidden box it edits.
    static QString longTextButtonCaption(int i);

    // Captions over a budget frame's two box columns.
    static QString totalHeader();
    static QString shareHeader();
    // "考古发掘 前期费用 总计": accessible name of a budget box.
    static QString budgetBoxName(int frame, int line, bool share);
    static QString budgetXPath(int frame, int line, bool share);
};
