#pragma once

#include "core/CodedItem.h"

#include <span>

// The two coded lists of a report's general data and how a project type picks its
// budget frame.
namespace ProjectTypes {

// Combo1 "项目类别": 24 types; the tens digit of a code is the type's group.
std::span<const CodedItem> projectTypeItems();
// Combo2 "项目性质": 3 natures.
std::span<const CodedItem> projectNatureItems();

// The group of a type code: its integer part after division by ten (11 -> 1, 90 -> 9).
int groupOfCode(int code);
// The budget frame (index into Frame4) a group edits, or -1 when the group has none.
// Restoration and site protection share a frame; storage buildings and large sites
// are not in group order.
int budgetFrameOfGroup(int group);

} // namespace ProjectTypes
