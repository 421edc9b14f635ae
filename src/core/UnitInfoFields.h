#pragma once

#include "core/CodedItem.h"

#include <cstddef>
#include <span>

// The one table of the unit information: every control of the dialog, where it sits,
// which element of the unit document it edits and what an empty value stands for.
// The dialog builds its tabs, its tab order, its accessible names and its binding from it.

// A group of controls on one tab: a titled frame, or a plain block when frameName is null.
struct UnitInfoBlock {
    int tab;
    const char* frameName; // objectName of the frame, e.g. "Frame1(2)"
    const char* caption;   // the frame's caption (UTF-8)
};

enum class UnitInfoKind {
    UnitCode, // Text1: shows the unit code, never read from or written to the document by itself
    Text,     // free text, default ""
    Number,   // count, area or amount held as typed text
    LongText, // edited through the long-text editor, not placed on a tab
    Coded,    // drop-down list of codes
    Button,   // Command1, opens the long-text editor
};

enum class UnitInfoList { None, Type, Class, Risk, State };

struct UnitInfoField {
    const char* objectName;  // e.g. "Text9(2)"
    UnitInfoKind kind;
    const char* path;        // under "//CorpInfo/"; null for controls without an element
    const char* defaultText; // what an empty box stands for ("" or "0")
    const char* label;       // caption beside the control (UTF-8)
    int block;               // index into blocks(); -1: not placed on a tab
    int line;                // line inside the block
    int column;              // position on that line
    UnitInfoList list;
};

namespace UnitInfoFields {

constexpr int kTabCount = 4;
constexpr std::size_t kFieldCount = 52;
const char* tabCaption(int tab);

std::span<const UnitInfoBlock> blocks();
// In the order in which they move between the dialog and the document.
std::span<const UnitInfoField> fields();
std::span<const CodedItem> items(UnitInfoList list);

// "//CorpInfo/" followed by the field's path.
QString xpath(const UnitInfoField& field);

// The four holding classes: element under Reserve/ItemDetail and frame caption.
constexpr int kClassCount = 4;
const char* classElement(int i);
const char* className(int i);

// The boxes the holdings rules read for class i: Text9(i) .. Text12(i).
struct HoldingsClassControls {
    QString total, intact, slight, severe;
};
HoldingsClassControls holdingsClass(int i);
// "文物总数", the unit's total number of relics (Text29).
QString relicTotalControl();

} // namespace UnitInfoFields
