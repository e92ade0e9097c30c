#!/usr/bin/env python3
"""Scans the sample export into workbooks with qorscan, in both workbook modes, and opens
every saved .xlsx again to check what a user sees: sheets and their order, the merged and
formatted heading rows, the column width and the element rows as text.

usage: check_workbooks.py QORSCAN SAMPLE_QOR CABINETS_CSV
"""

import pathlib
import subprocess
import sys
import tempfile

import openpyxl

STATUS = ("System status at:  2026-11-28, 09:41:07 "
          "( date of generating *.ba file, Node12 )")
CREATED = "Created with .QOR Reader"
STAMP = "Node12_04Dec2026"

# Reading order: file prefix, sheet title, elements in the sample, channel type.
TYPES = [
    ("AI_", "Analog Input", 8, True),
    ("AIC_", "Analog Input Calc.", 3, False),
    ("AO_", "Analog Output", 5, True),
    ("AOC_", "Analog Output Calc.", 2, False),
    ("DI_", "Digital Input", 9, True),
    ("DIC_", "Digital Input Calc.", 3, False),
    ("DO_", "Digital Output", 6, True),
    ("DOC_", "Digital Output Calc.", 2, False),
    ("PIDCON_", "PIDCON", 4, False),
    ("MOTCON_", "MOTCON", 3, False),
    ("DATB_", "DAT(B)", 3, False),
    ("DATI_", "DAT(I)", 2, False),
    ("DATIL_", "DAT(IL)", 2, False),
    ("DATR_", "DAT(R)", 3, False),
]
AI_HEADINGS = ["CHANNEL", "NAME", "DESCR", "UNIT", "RANGEMAX", "RANGEMIN", "CONV_PAR",
               "FILTER_P", "SCANT"]
AI_FIRST = ["AI800_1.1", "TT1201", "Feed water temperature", "degC", "250.0", "0.0", "2",
            "1.0", "500"]

failures = []


def expect(condition, what):
    if not condition:
        failures.append(what)


def row_values(sheet, row, columns):
    return [sheet.cell(row=row, column=c).value for c in range(1, columns + 1)]


def fill_of(cell):
    fill = cell.fill
    return fill.fgColor.rgb if fill.fill_type == "solid" else None


def check_layout(sheet, where, count):
    expect(sheet["A1"].value == STATUS, f"{where}: A1 is {sheet['A1'].value!r}")
    expect(sheet["A2"].value == CREATED, f"{where}: A2 is {sheet['A2'].value!r}")
    merged = sorted(str(r) for r in sheet.merged_cells.ranges)
    expect(merged == ["A1:E1", "A2:E2"], f"{where}: merged ranges {merged}")
    for name, colour in (("A1", "FF99CCFF"), ("A2", "FFC0C0C0")):
        cell = sheet[name]
        expect(cell.font.b, f"{where}: {name} not bold")
        expect(fill_of(cell) == colour, f"{where}: {name} fill {fill_of(cell)}")
        expect(cell.alignment.horizontal == "left", f"{where}: {name} not left aligned")
        expect(cell.border.left.style == "medium" and cell.border.right.style == "medium",
               f"{where}: {name} borders")
    headings = 0
    while sheet.cell(row=3, column=headings + 1).value is not None:
        headings += 1
    expect(headings >= 2, f"{where}: {headings} headings")
    for column in range(1, headings + 1):
        cell = sheet.cell(row=3, column=column)
        expect(cell.font.b and fill_of(cell) == "FFFFFF00"
               and cell.alignment.horizontal == "center"
               and cell.border.left.style == "medium",
               f"{where}: heading {cell.coordinate} format")
    after = sheet.cell(row=3, column=headings + 1)
    expect(fill_of(after) is None, f"{where}: {after.coordinate} filled past the headings")
    width = sheet.column_dimensions["A"]
    expect(int(width.width) == 15 and width.min == 1 and width.max == 16384,
           f"{where}: column width {width.width} over {width.min}..{width.max}")
    expect(sheet.max_row == 3 + count, f"{where}: last row {sheet.max_row}, {count} elements")
    for row in sheet.iter_rows(min_row=4):
        for cell in row:
            expect(cell.value is None or cell.data_type == "s",
                   f"{where}: {cell.coordinate} is not text")
            expect(not cell.font.b and fill_of(cell) is None,
                   f"{where}: {cell.coordinate} is formatted")
    return headings


def scan(qorscan, sample, work, extra):
    settings = work / "settings.ini"
    settings.write_text("")
    out = work / "out"
    out.mkdir()
    result = subprocess.run(
        [qorscan, "--settings", str(settings), "--all", "--output", "xlsx", *extra,
         "--result-folder", str(out), "--now", "2026-12-04T10:11:12", "--quiet", sample],
        stdin=subprocess.DEVNULL, capture_output=True, text=True, check=False)
    expect(result.returncode == 0, f"qorscan {extra} exited {result.returncode}")
    expect(result.stderr == "", f"qorscan {extra} said: {result.stderr}")
    return out / STAMP / "Xls Files"


def check_per_type(qorscan, sample, work):
    folder = scan(qorscan, sample, work, [])
    names = sorted(p.name for p in folder.iterdir())
    expect(names == sorted(prefix + STAMP + ".xlsx" for prefix, *_ in TYPES),
           f"per type: files {names}")
    for prefix, title, count, _ in TYPES:
        path = folder / (prefix + STAMP + ".xlsx")
        if not path.exists():
            continue
        book = openpyxl.load_workbook(path)
        expect(book.sheetnames == ["Sheet1"], f"{path.name}: sheets {book.sheetnames}")
        sheet = book.worksheets[0]
        check_layout(sheet, path.name, count)


def check_one_workbook(qorscan, sample, cabinets, work):
    folder = scan(qorscan, sample, work, ["--one-workbook", "--cabinets", cabinets])
    names = [p.name for p in folder.iterdir()]
    expect(names == [STAMP + ".xlsx"], f"one workbook: files {names}")
    book = openpyxl.load_workbook(folder / (STAMP + ".xlsx"))
    # Each type's sheet went before the one added before it; the first sheet stays last.
    order = [title for _, title, _, _ in reversed(TYPES)] + ["Sheet1"]
    expect(book.sheetnames == order, f"one workbook: sheets {book.sheetnames}")
    expect(book["Sheet1"].max_row == 1 and book["Sheet1"]["A1"].value is None,
           "one workbook: Sheet1 is not empty")
    for _, title, count, channel in TYPES:
        if title not in book.sheetnames:
            continue
        sheet = book[title]
        check_layout(sheet, title, count)
        first = sheet["A3"].value
        expect(first == ("CABINET" if channel else "ITEM NUMBER"), f"{title}: A3 is {first!r}")
    ai = book["Analog Input"]
    expect(row_values(ai, 3, 11) == ["CABINET", "MODULE"] + AI_HEADINGS,
           f"labelled AI headings {row_values(ai, 3, 11)}")
    expect(row_values(ai, 4, 12) == ["CB801", "AI800_1"] + AI_FIRST + [None],
           f"labelled AI row 4 {row_values(ai, 4, 12)}")
    expect(row_values(ai, 10, 3) == [None, None, "AI810_3.1"],
           f"AI channel without a cabinet {row_values(ai, 10, 3)}")
    expect(row_values(book["Analog Output"], 4, 3) == ["CB802", "AO810_1", "AO810_1.1"],
           f"labelled AO row 4 {row_values(book['Analog Output'], 4, 3)}")
    expect(book["PIDCON"]["A4"].value == "PIDCON1", "PIDCON rows carry no labels")


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    qorscan, sample, cabinets = sys.argv[1:]
    with tempfile.TemporaryDirectory() as per_type, tempfile.TemporaryDirectory() as one:
        check_per_type(qorscan, sample, pathlib.Path(per_type))
        check_one_workbook(qorscan, sample, cabinets, pathlib.Path(one))
    for failure in failures:
        print("FAIL:", failure)
    if failures:
        sys.exit(1)
    print("workbooks as expected")


if __name__ == "__main__":
    main()
