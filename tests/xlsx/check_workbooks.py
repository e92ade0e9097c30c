#!/usr/bin/env python3
"""Scans the sample export into workbooks with qorscan, in both workbook modes, and opens
every saved .xlsx again to check what a user sees: sheets and their order, the merged and
formatted heading rows, the frozen rows and the filter, column widths that fit their texts,
and element rows whose cells show the texts of the CSV file of the same scan, plain decimals
as numbers and anything else as text. A generated export holds the awkward values; its
workbook also goes through LibreOffice, where installed, which must show the CSV file's texts.

usage: check_workbooks.py QORSCAN SAMPLE_QOR CABINETS_CSV
"""

import csv
import os
import pathlib
import re
import shutil
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

# Values of a generated export and the number format each shows with; None: it stays text.
VALUES = [
    ("160.0", "0.0"), ("5", "0"), ("-0.25", "0.00"), ("0", "0"), ("0.000", "0.000"),
    ("-98765.4321", "0.0000"), ("123456789012345", "0"), ("0.000000000000001", "0." + "0" * 15),
    ("007", None), ("1e5", None), ("+3", None), ("1.", None), (".5", None), ("-0", None),
    ("-0.0", None), ("00", None), ("1,5", None), ("1234567890123456", None),
    ("0.0000000000000001", None), ("12345678901234567890", None), ("0x1F", None),
]
LONG_DESCR = "Feed water control valve position feedback"  # cut to 30 characters
LONG_CABINET = "Boiler house two, north wall, feed water control cabinet, row 3"
PLAIN_DECIMAL = re.compile(r"-?(0|[1-9][0-9]*)(\.[0-9]+)?")
PADDING = 0.7109375  # what the file adds to a width given in characters

failures = []


def expect(condition, what):
    if not condition:
        failures.append(what)


def row_values(sheet, row, columns):
    return [sheet.cell(row=row, column=c).value for c in range(1, columns + 1)]


def fill_of(cell):
    fill = cell.fill
    return fill.fgColor.rgb if fill.fill_type == "solid" else None


def shown(cell):
    """The text a spreadsheet shows of a cell with a plain number format, or of a text."""
    if cell.value is None:
        return ""
    if cell.data_type == "n":
        decimals = len(cell.number_format) - 2 if "." in cell.number_format else 0
        return f"{cell.value:.{decimals}f}"
    return cell.value


def number_format_of(text):
    """The number format a cell holding `text` carries; None for a text."""
    if not PLAIN_DECIMAL.fullmatch(text):
        return None
    digits = text.lstrip("-").replace(".", "").lstrip("0")
    decimals = len(text.partition(".")[2])
    if len(digits) > 15 or decimals > 15 or (text.startswith("-") and not digits):
        return None
    return "0." + "0" * decimals if decimals else "0"


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
    expect(sheet.freeze_panes == "A4", f"{where}: frozen at {sheet.freeze_panes}")
    last = f"{sheet.cell(row=3, column=headings).column_letter}{3 + count}"
    expect(sheet.auto_filter.ref == "A3:" + last, f"{where}: filter {sheet.auto_filter.ref}")
    expect(sheet.max_row == 3 + count, f"{where}: last row {sheet.max_row}, {count} elements")
    check_widths(sheet, where)
    for row in sheet.iter_rows(min_row=4):
        for cell in row:
            carried = cell.number_format if cell.data_type == "n" else None
            expect(cell.value is None or number_format_of(shown(cell)) == carried,
                   f"{where}: {cell.coordinate} {cell.value!r} as {cell.data_type} {carried}")
            expect(not cell.font.b and fill_of(cell) is None,
                   f"{where}: {cell.coordinate} is formatted")
    return headings


def check_widths(sheet, where):
    """Each column is as wide as its longest text from row 3 on, within 15 and 60 characters,
    and every column has a width."""
    covered = []
    for dimension in sheet.column_dimensions.values():
        covered.extend(range(dimension.min, dimension.max + 1))
        width = dimension.width - PADDING
        for column in range(dimension.min, min(dimension.max, sheet.max_column) + 1):
            longest = max(len(shown(sheet.cell(row=row, column=column)))
                          for row in range(3, sheet.max_row + 1))
            expect(15 <= width <= 60 and width >= min(longest, 60),
                   f"{where}: column {column} is {width} wide for {longest} characters")
    expect(covered == list(range(1, 16385)), f"{where}: columns with a width {covered[:20]}")


def csv_rows(path):
    """The rows of a CSV file of a scan, without the blank line and the empty last fields."""
    with open(path, newline="", encoding="utf-8") as data:
        return [trimmed(row) for row in csv.reader(data) if row]


def trimmed(row):
    row = list(row)
    while row and row[-1] == "":
        row.pop()
    return row


def check_against_csv(sheet, where, path):
    """The element rows show what the CSV file's rows hold (the headings may differ)."""
    expected = csv_rows(path)[1:]
    shown_rows = [trimmed(shown(cell) for cell in row) for row in sheet.iter_rows(min_row=4)]
    expect(shown_rows == expected, f"{where}: shows {shown_rows}, the CSV file {expected}")


def scan(qorscan, sample, work, extra, output="xlsx", environment=None):
    settings = work / "settings.ini"
    settings.write_text("")
    out = pathlib.Path(tempfile.mkdtemp(prefix="out-", dir=work))
    result = subprocess.run(
        [qorscan, "--settings", str(settings), "--output", output, *extra,
         "--result-folder", str(out), "--now", "2026-12-04T10:11:12", "--quiet", sample],
        stdin=subprocess.DEVNULL, capture_output=True, text=True, check=False,
        env=environment)
    expect(result.returncode == 0, f"qorscan {extra} exited {result.returncode}")
    expect(result.stderr == "", f"qorscan {extra} said: {result.stderr}")
    return out / STAMP / ("Xls Files" if output == "xlsx" else "Csv Files")


def check_per_type(qorscan, sample, work):
    folder = scan(qorscan, sample, work, ["--all"])
    texts = scan(qorscan, sample, work, ["--all"], "csv")
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
        check_against_csv(sheet, path.name, texts / (prefix + STAMP + ".csv"))


def check_one_workbook(qorscan, sample, cabinets, work):
    extra = ["--all", "--cabinets", cabinets]
    # The user's locale writes "0,5": the file's numbers must not follow it.
    german = dict(os.environ, LC_ALL="de_DE.UTF-8")
    results = scan(qorscan, sample, work, extra + ["--one-workbook"], environment=german)
    # The German date stamp names the node folder and the file ("04Dez2026").
    books = list(results.parent.parent.glob("Node12_*/Xls Files/*"))
    texts = scan(qorscan, sample, work, extra, "csv")
    expect([p.name for p in books] == ["Node12_04Dez2026.xlsx"], f"one workbook: files {books}")
    book = openpyxl.load_workbook(books[0])
    # Reading order, and no sheet besides the types'.
    expect(book.sheetnames == [title for _, title, _, _ in TYPES],
           f"one workbook: sheets {book.sheetnames}")
    for prefix, title, count, channel in TYPES:
        if title not in book.sheetnames:
            continue
        sheet = book[title]
        check_layout(sheet, title, count)
        check_against_csv(sheet, title, texts / (prefix + STAMP + ".csv"))
        first = sheet["A3"].value
        expect(first == ("CABINET" if channel else "ITEM NUMBER"), f"{title}: A3 is {first!r}")
    ai = book["Analog Input"]
    expect(row_values(ai, 3, 11) == ["CABINET", "MODULE"] + AI_HEADINGS,
           f"labelled AI headings {row_values(ai, 3, 11)}")
    expect([shown(ai.cell(row=4, column=c)) for c in range(1, 13)]
           == ["CB801", "AI800_1"] + AI_FIRST + [""],
           f"labelled AI row 4 {row_values(ai, 4, 12)}")
    expect(row_values(ai, 10, 3) == [None, None, "AI810_3.1"],
           f"AI channel without a cabinet {row_values(ai, 10, 3)}")
    expect(row_values(book["Analog Output"], 4, 3) == ["CB802", "AO810_1", "AO810_1.1"],
           f"labelled AO row 4 {row_values(book['Analog Output'], 4, 3)}")
    expect(book["PIDCON"]["A4"].value == "PIDCON1", "PIDCON rows carry no labels")


def check_values(qorscan, work):
    """Plain decimals become numbers shown as written, anything else stays text; a long
    description widens its column, a longer cabinet name up to the limit. LibreOffice shows
    the CSV file's texts."""
    export = work / "values.qor"
    export.write_text("LAN1           CS513\r\n  :NODE          12\r\n\r\n" + "".join(
        f"AI80{i}.1        AIS\r\n  :NAME          TT{i}\r\n  :DESCR         {LONG_DESCR}\r\n"
        f"  :RANGEMAX      {value}\r\n\r\n" for i, (value, _) in enumerate(VALUES)),
        newline="")
    cabinets = work / "cabinets.csv"
    cabinets.write_text(f'"{LONG_CABINET}",AI800\r\n', newline="")
    extra = ["--enable", "AI:NAME,DESCR,RANGEMAX", "--cabinets", str(cabinets)]
    book_path = scan(qorscan, str(export), work, extra) / ("AI_" + STAMP + ".xlsx")
    csv_path = scan(qorscan, str(export), work, extra, "csv") / ("AI_" + STAMP + ".csv")
    sheet = openpyxl.load_workbook(book_path).worksheets[0]
    for row, (value, number_format) in enumerate(VALUES, start=4):
        cell = sheet.cell(row=row, column=6)
        kind = (cell.number_format if cell.data_type == "n" else None)
        expect(kind == number_format and shown(cell) == value,
               f"values: {value!r} came out {cell.value!r} as {cell.data_type} "
               f"{cell.number_format}")
    check_widths(sheet, "values")
    widths = [int(sheet.column_dimensions[c].width) for c in "AE"]
    expect(widths == [60, 32], f"values: CABINET and DESCR are {widths} wide")
    check_against_csv(sheet, "values", csv_path)
    spreadsheet = through_libreoffice(work, book_path)
    if spreadsheet is None:
        print("LibreOffice is not installed: its round trip is skipped")
        return
    expect(spreadsheet[3:] == csv_rows(csv_path)[1:],
           f"LibreOffice shows {spreadsheet[3:]}, the CSV file {csv_rows(csv_path)[1:]}")


def through_libreoffice(work, book):
    """The rows LibreOffice shows of the workbook's first sheet, as it saves them as CSV;
    None without LibreOffice."""
    soffice = shutil.which("soffice")
    if soffice is None:
        return None
    out = work / "libreoffice"
    subprocess.run([soffice, "-env:UserInstallation=file://" + str(work / "profile"),
                    "--headless", "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76",
                    "--outdir", str(out), str(book)],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    return csv_rows(out / (book.stem + ".csv"))


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    qorscan, sample, cabinets = sys.argv[1:]
    with tempfile.TemporaryDirectory() as work:
        work = pathlib.Path(work)
        for name in ("per type", "one", "values"):
            (work / name).mkdir()
        check_per_type(qorscan, sample, work / "per type")
        check_one_workbook(qorscan, sample, cabinets, work / "one")
        check_values(qorscan, work / "values")
    for failure in failures:
        print("FAIL:", failure)
    if failures:
        sys.exit(1)
    print("workbooks as expected")


if __name__ == "__main__":
    main()
