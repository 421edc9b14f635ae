#!/usr/bin/env python3
"""Reads back a workbook written by vantrel-check and the CSV files of the same run.

usage: verify_workbook.py BOOK.xlsx CSV_DIR PROJECTS UNITS FINDINGS [GRAND_TOTAL]

Checks the sheets and their layout (print setup included), that every sheet holds the same cells as its CSV
file, that each summary total is the exact decimal sum of the project rows, and that
the workbook's numbers are those exact sums (not sums of doubles). A row that repeats an
earlier one but for its verdict and file (the same report sent twice) is counted once.
"""
import csv
import sys
from decimal import Decimal

import openpyxl

SHEETS = ["项目", "单位", "汇总", "问题"]
CSV_NAMES = ["projects.csv", "units.csv", "summary.csv", "findings.csv"]


def fail(message):
    print(message)
    sys.exit(1)


def read_csv(path):
    with open(path, newline="", encoding="utf-8") as f:
        data = f.read()
    if "\n" in data.replace("\r\n", ""):
        fail(f"{path}: a line does not end in CRLF")
    return list(csv.reader(data.splitlines(keepends=True)))


def same(cell, text):
    if cell is None:
        return text == ""
    if isinstance(cell, (int, float)):
        return text != "" and float(Decimal(text)) == float(cell)
    return str(cell) == text


def main():
    book_path, csv_dir = sys.argv[1], sys.argv[2]
    want_rows = [int(n) for n in sys.argv[3:6]]
    grand_total = sys.argv[6] if len(sys.argv) > 6 and sys.argv[6] else None

    book = openpyxl.load_workbook(book_path)
    if book.sheetnames != SHEETS:
        fail(f"sheets {book.sheetnames}")
    if book.active.title != "汇总":
        fail(f"the workbook opens on {book.active.title}")
    tables = [read_csv(f"{csv_dir}/{name}") for name in CSV_NAMES]
    for sheet_name, table in zip(SHEETS, tables):
        ws = book[sheet_name]
        if ws.freeze_panes != "A2":
            fail(f"{sheet_name}: header row not frozen ({ws.freeze_panes})")
        if not ws.auto_filter.ref or not ws.auto_filter.ref.startswith("A1:"):
            fail(f"{sheet_name}: no autofilter")
        # Printed landscape, one page wide and as many long as it takes, header on each.
        setup = ws.page_setup
        if setup.orientation != "landscape" or setup.paperSize not in (9, "9"):
            fail(f"{sheet_name}: printed {setup.orientation} on paper {setup.paperSize}")
        # An absent fitToWidth is 1 (ECMA-376); fitToHeight 0 means as many pages as needed.
        if not ws.sheet_properties.pageSetUpPr.fitToPage or int(setup.fitToWidth or 1) != 1 \
                or setup.fitToHeight is None or int(setup.fitToHeight) != 0:
            fail(f"{sheet_name}: not fitted to one page wide ({setup.fitToWidth} x {setup.fitToHeight})")
        if ws.print_title_rows not in ("1:1", "$1:$1"):
            fail(f"{sheet_name}: repeats rows {ws.print_title_rows}")
        if ws.oddFooter.center.text != "第 &P 页 共 &N 页":
            fail(f"{sheet_name}: footer {ws.oddFooter.center.text!r}")
        rows = [list(r) for r in ws.iter_rows(values_only=True)]
        if len(rows) != len(table):
            fail(f"{sheet_name}: {len(rows)} rows in the workbook, {len(table)} in the CSV file")
        for r, (row, line) in enumerate(zip(rows, table)):
            for c, text in enumerate(line):
                cell = row[c] if c < len(row) else None
                if not same(cell, text):
                    fail(f"{sheet_name} row {r + 1} column {c + 1}: {cell!r} against {text!r}")
        for c in range(len(table[0])):
            width = ws.column_dimensions[openpyxl.utils.get_column_letter(c + 1)].width
            if not width or width < 4:
                fail(f"{sheet_name}: column {c + 1} has no width")

    projects, units, summary, findings = tables
    for name, table, want in zip(["项目", "单位", "问题"], [projects, units, findings], want_rows):
        if len(table) - 1 != want:
            fail(f"{name}: {len(table) - 1} rows, expected {want}")

    # The grand total row: every figure the exact sum of the project rows, each once.
    own = [c for c, title in enumerate(projects[0]) if title not in ("结论", "文件")]
    seen = set()
    counted = []
    for row in projects[1:]:
        key = tuple(row[c] for c in own)
        if key not in seen:
            seen.add(key)
            counted.append(row)
    header = summary[0]
    total_row = [r for r in summary[1:] if r[0] == "合计"]
    if len(total_row) != 1:
        fail("no single grand total row")
    total_row = total_row[0]
    book_total = [r for r in book["汇总"].iter_rows(values_only=True) if r[0] == "合计"][0]
    for column, title in enumerate(header):
        if title not in projects[0] or column < 4:
            continue
        source = projects[0].index(title)
        exact = sum((Decimal(r[source]) for r in counted), Decimal(0))
        if Decimal(total_row[column]) != exact:
            fail(f"汇总 {title}: {total_row[column]} is not the exact sum {exact}")
        if book_total[column] != float(exact):
            fail(f"汇总 {title}: the workbook holds {book_total[column]!r}, not {float(exact)!r}")
        fmt = book["汇总"].cell(row=len(summary), column=column + 1).number_format
        if fmt != "#,##0.00":
            fail(f"汇总 {title}: number format {fmt}")
    if int(total_row[header.index("项目数")]) != len(counted):
        fail("the grand total does not count every project once")
    if grand_total is not None and Decimal(total_row[header.index("十一五资金需求合计")]) != Decimal(grand_total):
        fail(f"grand total {total_row[header.index('十一五资金需求合计')]}, expected {grand_total}")


if __name__ == "__main__":
    main()
