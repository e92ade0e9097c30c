"""The CSV output read back by Python's csv module: every row keeps its 13 fields, whatever
commas, quotes or line breaks the cabinet names and values hold."""
import csv
import os
import subprocess
import sys
import tempfile

qorscan = sys.argv[1]
cabinets = ['CB "801", hall\r\nnorth', 'CB\n802', 'CB\r803']
with tempfile.TemporaryDirectory() as scratch:
    with open(os.path.join(scratch, "cabinets.csv"), "w", newline="") as table:
        for i, cabinet in enumerate(cabinets, start=1):
            table.write('"%s",AI80%d\r\n' % (cabinet.replace('"', "'"), i))
    export = os.path.join(scratch, "node.qor")
    with open(export, "w", newline="") as out:
        out.write("LAN1           CS513\r\n  :NODE          12\r\n\r\n")
        for i in range(1, 4):
            out.write("AI80%d.1        AIS\r\n  :NAME          TT,%d\r\n"
                      '  :DESCR         a "quoted" text\r\n\r\n' % (i, i))
    results = os.path.join(scratch, "results")
    os.mkdir(results)
    subprocess.run([qorscan, "--settings", os.path.join(scratch, "s.ini"), "--now",
                    "2026-12-04T10:11:12", "--enable", "AI:NAME,DESCR", "--output", "csv",
                    "--cabinets", os.path.join(scratch, "cabinets.csv"), "--result-folder",
                    results, "--quiet", export], check=True, stdout=subprocess.DEVNULL)
    path = os.path.join(results, "Node12_04Dec2026", "Csv Files", "AI_Node12_04Dec2026.csv")
    with open(path, newline="", encoding="latin-1") as data:
        rows = list(csv.reader(data))

assert rows[0] == ["CABINET", "MODULE", "CHANNEL", "NAME", "DESCR", ""], rows[0]
elements = [row for row in rows[1:] if row]  # the line holding one CR reads as blank rows
assert len(elements) == 3, rows
for i, row in enumerate(elements, start=1):
    assert len(row) == 13, row
    expected_cabinet = cabinets[i - 1].replace('"', "'").upper()
    assert row[0] == expected_cabinet, (row[0], expected_cabinet)
    assert row[1:5] == ["AI80%d" % i, "AI80%d.1" % i, "TT,%d" % i, 'a "quoted" text'], row
print("csv: %d rows parsed with 13 fields each" % len(elements))
