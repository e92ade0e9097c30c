"""The CSV output read back by Python's csv module and, where LibreOffice is installed, by a
spreadsheet: every row keeps its 13 fields, whatever commas, quotes or line breaks the cabinet
names and values hold, and no value of a scan's or a comparison's CSV file opens as a formula
unless --csv-raw asks for the bytes as read."""
import csv
import os
import shutil
import subprocess
import sys
import tempfile

qorscan = sys.argv[1]
# Cabinet, NAME and DESCR of AI801.1, AI802.1, ...; then the cells expected without --csv-raw.
# A value is cut to its 30 characters before the apostrophe goes in front.
elements = [
    ("CB '801', hall\r\nnorth", "TT,1", 'a "quoted" text',
     "CB '801', HALL\r\nNORTH", "TT,1", 'a "quoted" text'),
    ("CB\n802", "-300.0", "=" + "x" * 40, "CB\n802", "-300.0", "'=" + "x" * 29),
    ("=1+1", '=HYPERLINK("http://e/")', "@x,+SUM(A1)",
     "'=1+1", '\'=HYPERLINK("http://e/")', "'@x,+SUM(A1)"),
    # A spreadsheet drops NUL bytes: what follows them decides.
    ("\0=2+2", '\0=HYPERLINK("http://n/")', "\0-300.0",
     "'\0=2+2", '\'\0=HYPERLINK("http://n/")', "\0-300.0"),
]


def rows(path):
    with open(path, newline="", encoding="latin-1") as data:
        return [row for row in csv.reader(data) if row]  # the line of one CR reads as blank


def stored_text(value):
    """A value as the settings file quotes and escapes it."""
    for plain, escaped in (("\\", "\\\\"), ('"', '\\"'), ("\r", "\\r"), ("\n", "\\n"),
                           ("\0", "\\0")):
        value = value.replace(plain, escaped)
    return '"' + value + '"'


def run(scratch, results, args):
    subprocess.run([qorscan, "--settings", os.path.join(scratch, "s.ini"), "--now",
                    "2026-12-04T10:11:12", "--result-folder", results, "--quiet"] + args,
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return os.path.join(results, "Node12_04Dec2026")


def spreadsheet_formulas(scratch, paths):
    """The cells LibreOffice opens as formulas in each CSV file, or None without it."""
    soffice = shutil.which("soffice")
    try:
        import openpyxl
    except ImportError:
        soffice = None
    if soffice is None:
        return None
    out = os.path.join(scratch, "xlsx")
    subprocess.run([soffice, "-env:UserInstallation=file://" + os.path.join(scratch, "lo"),
                    "--headless", "--convert-to", "xlsx", "--outdir", out] + paths,
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=180)
    books = [openpyxl.load_workbook(os.path.join(out, "%d.xlsx" % i)) for i in range(len(paths))]
    return [[cell.value for row in book.active.iter_rows() for cell in row
             if cell.data_type == "f"] for book in books]


with tempfile.TemporaryDirectory() as scratch:
    old, new = os.path.join(scratch, "node.qor"), os.path.join(scratch, "new.qor")
    # The cabinet names go through the stored table, which holds any bytes (an import file with
    # a NUL is refused); stored names are taken as stored, here as an import gives them.
    with open(os.path.join(scratch, "s.ini"), "w", newline="") as store:
        store.write("[Settings]\nApplyCabinetModule=1\n[CabinetsModules]\n"
                    "ListViewItemsCount=%d\n" % len(elements))
        for i, element in enumerate(elements, start=1):
            store.write("CabinetValue_%d=%s\nModuleValue_%d=AI80%d\n"
                        % (i, stored_text(element[0].upper()), i, i))
    text = "LAN1           CS513\r\n  :NODE          12\r\n\r\n" + "".join(
        "AI80%d.1        AIS\r\n  :NAME          %s\r\n  :DESCR         %s\r\n\r\n"
        % (i, element[1], element[2]) for i, element in enumerate(elements, start=1))
    for path, content in ((old, text), (new, text.replace(elements[2][1], "\0@ALARM"))):
        with open(path, "w", newline="") as out:
            out.write(content)
    copies = []
    for kind, extra in (("guarded", []), ("raw", ["--csv-raw"])):
        results = os.path.join(scratch, kind)
        os.mkdir(results)
        node = run(scratch, results, ["--enable", "AI:NAME,DESCR", "--output", "csv", old] + extra)
        run(scratch, results, ["--compare", old, new] + extra)
        scanned = os.path.join(node, "Csv Files", "AI_Node12_04Dec2026.csv")
        changes = os.path.join(node, "Changes", "Changes_Node12_04Dec2026.csv")
        found = rows(scanned)
        assert found[0] == ["CABINET", "MODULE", "CHANNEL", "NAME", "DESCR", ""], found[0]
        assert len(found) == len(elements) + 1, found
        for i, (row, element) in enumerate(zip(found[1:], elements), start=1):
            assert len(row) == 13 and row[1:3] == ["AI80%d" % i, "AI80%d.1" % i], row
            expected = element[3:] if kind == "guarded" else (
                element[0].upper(), element[1][:30], element[2][:30])
            assert (row[0], row[3], row[4]) == expected, (row, expected)
        quote = "'" if kind == "guarded" else ""
        assert rows(changes)[1] == ["AI", "AI803.1", "changed", "NAME",
                                    quote + elements[2][1], quote + "\0@ALARM"], rows(changes)
        for path in (scanned, changes):
            copies.append(os.path.join(scratch, "%d.csv" % len(copies)))
            shutil.copy(path, copies[-1])
    formulas = spreadsheet_formulas(scratch, copies)

print("csv: %d rows of 13 fields and a change row, guarded and raw" % len(elements))
if formulas is None:
    print("csv: spreadsheet check skipped: soffice (LibreOffice) or openpyxl is not installed")
else:
    # The raw files show that the check sees a formula where there is one.
    assert formulas[0] == [] and formulas[1] == [], formulas
    for formula in ("=1+1", '=HYPERLINK("http://e/")', "=2+2", '=HYPERLINK("http://n/")'):
        assert formula in formulas[2], formulas[2]
    assert formulas[3] == ['=HYPERLINK("http://e/")'], formulas[3]
    print("csv: LibreOffice opens no guarded value as a formula, raw ones as %d formulas"
          % (len(formulas[2]) + len(formulas[3])))
