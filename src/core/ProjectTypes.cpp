#include "core/ProjectTypes.h"

#include <array>

namespace ProjectTypes {

namespace {

constexpr std::array<CodedItem, 24> kProjectTypes{{
    {11, "古建维修规划"},
    {12, "古建维修"},
    {13, "其他保护维修项目"},
    {21, "田野考古调查"},
    {22, "田野考古勘探"},
    {23, "田野考古发掘"},
    {24, "水下考古调查"},
    {25, "水下考古勘探"},
    {26, "水下考古发掘"},
    {27, "航空考古调查"},
    {28, "航空考古勘探"},
    {29, "航空考古发掘"},
    {31, "博物馆维修规划"},
    {32, "博物馆维修"},
    {40, "文物征集"},
    {50, "安全消防"},
    {60, "藏品及重要出土文物保护"},
    {71, "遗址保护规划"},
    {72, "遗址保护"},
    {81, "新建库房"},
    {82, "改建库房"},
    {83, "扩建库房"},
    {84, "购置保护设施"},
    {90, "大遗址保护设施建设"},
}};

constexpr std::array<CodedItem, 3> kProjectNatures{{
    {1, "抢救性"},
    {2, "维护性"},
    {3, "保护利用性"},
}};

// Index = group, value = Frame4 index.
constexpr std::array<int, 10> kFrameOfGroup{-1, 0, 1, 2, 3, 4, 5, 0, 7, 6};

} // namespace

std::span<const CodedItem> projectTypeItems()
{
    return kProjectTypes;
}

std::span<const CodedItem> projectNatureItems()
{
    return kProjectNatures;
}

int groupOfCode(int code)
{
    return code / 10;
}

int budgetFrameOfGroup(int group)
{
    if (group < 0 || group >= static_cast<int>(kFrameOfGroup.size()))
        return -1;
    return kFrameOfGroup[static_cast<size_t>(group)];
}

} // namespace ProjectTypes
