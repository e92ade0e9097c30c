"""Exports in UTF-8, Windows-1250 and Windows-1252, each with a character beyond ASCII at the
30-character cut of a value, scanned by qorscan into CSV files, HTML pages and workbooks: the
CSV keeps whole characters of the export's bytes, a page declares the encoding of the bytes it
holds, a workbook cell holds the text read in that encoding. With --keep DIR the HTML results
stay in DIR with cases.json, what the browser test expects a reader to see in them.

usage: check_encodings.py QORSCAN [--keep DIR]
"""
import json
import os
import subprocess
import sys
import tempfile

import openpyxl

GERMAN = "Speisewasser Temperatur °C – Ölbrenner"
CZECH = "Teplota napájecí vody °C – Čerpadlo"
ASCII = "Feed water temperature of boiler 2"
# Name, the DESCR text, its encoding in the file, --encoding, the page's charset.
CASES = [
    ("utf8", GERMAN, "utf-8", None, "utf-8"),
    ("cp1250", CZECH, "cp1250", None, "windows-1250"),
    ("cp1252", GERMAN, "cp1252", "windows-1252", "windows-1252"),
    ("ascii", ASCII, "ascii", None, "iso-8859-2"),
]
STAMP = "Node12_04Dec2026"
failures = []


def expect(condition, what):
    if not condition:
        failures.append(what)


def export_bytes(text, codec):
    value = text.encode(codec)
    return (b"ONB 3.2  2026-11-28/09:41:07\r\n\r\nLAN1           CS513\r\n  :NODE          12\r\n"
            b"\r\nAC450_1        AC450\r\n  :DESCR         " + value + b"\r\n\r\n"
            b"AI800_1.1      AIS810\r\n  :NAME          TT1201\r\n  :DESCR         " + value +
            b"\r\n\r\n")


def check_late_text(root):
    """Text beyond the first 16 MiB that the decision made from them does not fit is told."""
    folder = os.path.join(root, "late")
    os.makedirs(folder)
    open(os.path.join(folder, "s.ini"), "w").close()
    export = os.path.join(folder, "node.qor")
    with open(export, "wb") as file:
        file.write(b"* padding\r\n" * ((17 << 20) // 11) + export_bytes(CZECH, "cp1250"))
    told = scan(folder, export, "csv", None)[1]
    expect(b"holds text in Windows-1250" in told, f"late text: qorscan said {told!r}")


def scan(folder, export, output, encoding):
    """The node folder of the results, and what qorscan said on stderr."""
    results = os.path.join(folder, output)
    os.makedirs(results)
    command = [sys.argv[1], "--settings", os.path.join(folder, "s.ini"), "--enable",
               "AI:NAME,DESCR", "--output", output, "--result-folder", results, "--now",
               "2026-12-04T10:11:12", "--quiet", "--overwrite", "yes", export]
    if encoding:
        command[1:1] = ["--encoding", encoding]
    run = subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    return os.path.join(results, STAMP), run.stderr


def check(root, name, text, codec, encoding, charset, browser_cases):
    folder = os.path.join(root, name)
    os.makedirs(folder)
    open(os.path.join(folder, "s.ini"), "w").close()
    export = os.path.join(folder, "node.qor")
    with open(export, "wb") as file:
        file.write(export_bytes(text, codec))
    cut = text[:30]

    with open(os.path.join(scan(folder, export, "csv", encoding)[0], "Csv Files",
                           "AI_" + STAMP + ".csv"), "rb") as file:
        rows = file.read().split(b"\r\n")
    expect(rows[2].split(b",")[2] == cut.encode(codec), f"{name}: CSV value {rows[2]!r}")

    pages = os.path.join(scan(folder, export, "html", encoding)[0], "Html Files")
    with open(os.path.join(pages, "AI_" + STAMP + ".html"), "rb") as file:
        page = file.read()
    declared = f'charset={charset}">'.encode()
    expect(declared in page, f"{name}: the element page does not declare {charset}")
    expect(f">{cut}<".encode(codec) in page, f"{name}: the page's bytes of the value")
    with open(os.path.join(pages, "index.html"), "rb") as file:
        index = file.read()
    expect((declared in index) == (codec != "ascii"), f"{name}: the index page's charset")
    browser_cases.append({"pages": pages, "page": "AI_" + STAMP + ".html", "value": cut,
                          "node": text})

    book = openpyxl.load_workbook(os.path.join(scan(folder, export, "xlsx", encoding)[0],
                                               "Xls Files", "AI_" + STAMP + ".xlsx"))
    cell = book.worksheets[0].cell(row=4, column=3).value
    expect(cell == cut, f"{name}: the workbook cell holds {cell!r}")


def main():
    keep = sys.argv[3] if len(sys.argv) > 3 and sys.argv[2] == "--keep" else None
    with tempfile.TemporaryDirectory() as scratch:
        root = keep or scratch
        browser_cases = []
        for case in CASES:
            check(root, *case, browser_cases)
        check_late_text(root)
        if keep:
            with open(os.path.join(keep, "cases.json"), "w", encoding="utf-8") as file:
                json.dump(browser_cases, file, ensure_ascii=False)
    for failure in failures:
        print("FAIL:", failure)
    print(f"encodings: {len(CASES)} exports, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
