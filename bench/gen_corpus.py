#!/usr/bin/env python3
"""Writes a corpus for vantrel-check: N filled reports and M unit files in a folder.

usage: gen_corpus.py [--small] FOLDER REPORTS UNITS [SEED]

With --small the four long texts of a report hold a few words (a report of 3-4 KB, as
most real projects write); without it, up to 900 characters each.

Reports and unit files are made from the installed templates. Every tenth report is
broken in one known way (index modulo 100 picks it):
  0-1 budget rule 1 (a share above its total)      2-3 rule 2 (total below the years)
  4   rule 3 (total below the budget items)          5   rule 4 (central years below shares)
  6   an amount that is not a number                 7   a file name that is not standard
  8   a project type code not in the list             9   a unit with no unit file
and every hundredth unit file has a class whose counts do not add up. The counts of each
kind are printed as JSON at the end.
"""
import copy
import json
import os
import random
import sys
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
TEMPLATES = os.path.join(HERE, "..", "templates")

TYPES = [(11, "古建维修规划"), (12, "古建维修"), (13, "其他保护维修项目"), (21, "田野考古调查"), (22, "田野考古勘探"),
         (23, "田野考古发掘"), (24, "水下考古调查"), (25, "水下考古勘探"), (26, "水下考古发掘"), (27, "航空考古调查"),
         (28, "航空考古勘探"), (29, "航空考古发掘"), (31, "博物馆维修规划"), (32, "博物馆维修"), (40, "文物征集"),
         (50, "安全消防"), (60, "藏品及重要出土文物保护"), (71, "遗址保护规划"), (72, "遗址保护"), (81, "新建库房"),
         (82, "改建库房"), (83, "扩建库房"), (84, "购置保护设施"), (90, "大遗址保护设施建设")]
NATURES = [(1, "抢救性"), (2, "维护性"), (3, "保护利用性")]
# The budget section each type group fills.
SECTION_OF_GROUP = {1: "RelicRepairment", 2: "UnEarth", 3: "DepotRepairment", 4: "RelicPurchase", 5: "FireSecurity",
                    6: "RelicProtection", 7: "RelicRepairment", 8: "DepotConstruction", 9: "GreatSiteProtection"}
WORDS = "文物保护维修工程项目遗址考古发掘博物馆库房安全消防设施建设规划藏品修复环境整治道路征集设备购置"
KINDS = ["rule1", "rule1", "rule2", "rule2", "rule3", "rule4", "not_a_number", "misnamed", "bad_type", "no_unit_file"]


def text(rng, low, high):
    return "".join(rng.choice(WORDS) for _ in range(rng.randint(low, high)))


def money(cents):
    return f"{cents // 100}.{cents % 100:02d}"


def write(path, root):
    data = '<?xml version="1.0" encoding="UTF-8"?>\n' + ET.tostring(root, encoding="unicode")
    with open(path, "w", encoding="utf-8") as f:
        f.write(data)


def unit_code(j):
    return f"{410000 + j:06d}"


def make_report(template, rng, i, units, long_text):
    root = copy.deepcopy(template)
    kind = KINDS[i % 100] if i % 100 < 10 else "good"
    unit = i % units
    code = "999999" if kind == "no_unit_file" else unit_code(unit)
    project = f"P{i:06d}"
    type_code, type_text = rng.choice(TYPES)
    if kind == "bad_type":
        type_code, type_text = 99, "未知类别"
    nature_code, nature_text = rng.choice(NATURES)
    f = root.find
    f("ReportInfo/CorpID").text = code
    f("ReportInfo/CorpName").text = f"第{unit}号文物保护单位"
    f("ReportInfo/ReportUser").text = "张三"
    f("ReportInfo/ReportDate").text = "2006-03-15"
    f("BasicInfo/ProjectID").text = project
    f("BasicInfo/ProjectName").text = text(rng, 6, 20)
    f("BasicInfo/ProjectType").text = str(type_code)
    f("BasicInfo/ProjectType").set("dict", type_text)
    f("BasicInfo/ProjectAttribute").text = str(nature_code)
    f("BasicInfo/ProjectAttribute").set("dict", nature_text)
    for name in ("PreserveContent", "CurrentProblem", "ProjectContent", "Remark"):
        f("BasicInfo/" + name).text = text(rng, *long_text)

    section = f("BudgetDetail/" + SECTION_OF_GROUP[min(9, max(1, type_code // 10))])
    items = [section] if section.find("Total") is not None else list(section)
    totals, shares = [], []
    for item in items:
        t = rng.randint(1000, 5_000_000)
        s = rng.randint(0, t)
        totals.append(t)
        shares.append(s)
    if kind == "rule1":
        shares[0] = totals[0] + 1
    for item, t, s in zip(items, totals, shares):
        item.find("Total").text = money(t)
        item.find("State").text = money(s)
    bt, bs = sum(totals), sum(shares)
    central = [0] * 5
    local = [rng.randint(0, 2_000_000) for _ in range(5)]
    need = bs + rng.randint(0, 1_000_000)
    for y in range(5):
        central[y] = need // 5 + (need % 5 if y == 0 else 0)
    if kind == "rule4":
        central[0] -= need - bs + 1
    if kind == "rule3":
        central, local = [0] * 5, [0] * 5
    years = sum(central) + sum(local)
    total = max(years, bt) + rng.randint(0, 500_000)
    if kind == "rule2":
        total = years - 1
    if kind == "rule3":
        total = bt - 1
    f("FundDemand/Demand/Total").text = money(total)
    for y in range(5):
        f(f"FundDemand/Demand/State/Year{2006 + y}").text = money(central[y])
        f(f"FundDemand/Demand/Local/Year{2006 + y}").text = money(local[y])
    if kind == "not_a_number":
        f("FundDemand/Demand/Local/Year2010").text = "十二万"
    for name in ("State", "Local", "Other"):
        f("FundDemand/Investment/" + name).text = money(rng.randint(0, 100000))
    name = f"report_{i}.xm" if kind == "misnamed" else f"qzrt_{code}_{project}.xm"
    return name, root, kind


def make_unit(template, rng, j):
    root = copy.deepcopy(template)
    code = unit_code(j)
    f = root.find
    for path in ("ReportInfo/CorpID", "Basic/CorpID"):
        f(path).text = code
    f("ReportInfo/CorpName").text = f("Basic/Name").text = f"第{j}号文物保护单位"
    f("ReportInfo/ReportUser").text = "张三"
    f("Basic/Address").text = text(rng, 8, 20)
    total = 0
    broken = j % 100 == 1
    for k, cls in enumerate(("FirstClassItem", "SecondClassItem", "ThirdClassItem", "ValuableRelic")):
        good, slight, severe = rng.randint(0, 500), rng.randint(0, 50), rng.randint(0, 20)
        count = good + slight + severe + (1 if broken and k == 1 else 0)
        total += count
        f(f"Reserve/ItemDetail/{cls}/TotalNum").text = str(count)
        f(f"Reserve/ItemDetail/{cls}/DetailNum/GoodNum").text = str(good)
        f(f"Reserve/ItemDetail/{cls}/DetailNum/SlightDamagedNum").text = str(slight)
        f(f"Reserve/ItemDetail/{cls}/DetailNum/SevereDamagedNum").text = str(severe)
        f(f"Reserve/ItemDetail/{cls}/FundDemand").text = money(rng.randint(0, 1_000_000))
    f("Reserve/TotalItemNum").text = str(total + rng.randint(0, 1000))
    return f"{code}.dw", root, "holdings" if broken else "good"


def main():
    args = sys.argv[1:]
    small = "--small" in args
    args = [a for a in args if a != "--small"]
    folder, reports, units = args[0], int(args[1]), int(args[2])
    rng = random.Random(int(args[3]) if len(args) > 3 else 2006)
    long_text = (4, 40) if small else (50, 900)
    os.makedirs(folder, exist_ok=True)
    report_tpl = ET.parse(os.path.join(TEMPLATES, "report1.tpl")).getroot()
    unit_tpl = ET.parse(os.path.join(TEMPLATES, "corpinfo.tpl")).getroot()
    counts = {}
    for i in range(reports):
        name, root, kind = make_report(report_tpl, rng, i, units, long_text)
        sub = os.path.join(folder, f"batch{i // 1000:03d}")
        os.makedirs(sub, exist_ok=True)
        write(os.path.join(sub, name), root)
        counts["report_" + kind] = counts.get("report_" + kind, 0) + 1
    for j in range(units):
        name, root, kind = make_unit(unit_tpl, rng, j)
        write(os.path.join(folder, name), root)
        counts["unit_" + kind] = counts.get("unit_" + kind, 0) + 1
    print(json.dumps(counts, sort_keys=True))


if __name__ == "__main__":
    main()
