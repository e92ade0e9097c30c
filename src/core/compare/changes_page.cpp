#include "core/compare/changes_page.h"

#include <optional>
#include <string_view>

#include "core/compare/html_text.h"

namespace qor::compare {
namespace {

constexpr std::string_view kHead = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="iso-8859-2">
<meta name="generator" content="QOR Reader">
<meta name="viewport" content="width=device-width">
<style>
body { font-family: Arial, Helvetica, sans-serif; font-size: 10pt; color: #000; background: #fff; margin: 1.5em; }
h1 { font-size: 15pt; margin: 0 0 .6em; }
h2 { font-size: 12pt; margin: 1.6em 0 .4em; border-bottom: 1px solid #888; }
table { border-collapse: collapse; margin: .3em 0; }
th, td { border: 1px solid #999; padding: 2px 6px; text-align: left; vertical-align: top; }
th { background: #e4e4e4; }
td.n { text-align: right; }
td.v { font-family: "Courier New", Courier, monospace; white-space: pre-wrap; word-break: break-all; }
td.old { background: #fdecec; }
td.new { background: #e9f7e9; }
del { background: #f4b4b4; text-decoration: line-through; }
ins { background: #a8dfa8; text-decoration: none; }
tr.added td.kind { color: #060; font-weight: bold; }
tr.removed td.kind { color: #a00; font-weight: bold; }
tr.none td { color: #777; }
.esc { color: #a00; font-style: italic; }
@media print {
  body { margin: 0; font-size: 8pt; }
  h2 { page-break-after: avoid; }
  thead { display: table-header-group; }
  tr { page-break-inside: avoid; }
  th, td.old, td.new, del, ins { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
  del { text-decoration: line-through; }
  ins { text-decoration: underline; }
  a { color: #000; text-decoration: none; }
}
</style>
)";

std::string anchorOf(const scan::ElementTypeInfo& info) {
    return "type-" + std::string(info.filePrefix.substr(0, info.filePrefix.size() - 1));
}

void appendCount(std::string& out, long long count) {
    out += "<td class=\"n\">" + std::to_string(count) + "</td>";
}

// A row of the table of the two exports: the values side by side, highlighted when they differ.
void appendNodeRow(std::string& out, std::string_view caption, std::string_view oldValue,
                   std::string_view newValue, const Comparison& comparison) {
    const ExportEncoding& oldEncoding = comparison.oldEncoding;
    const ExportEncoding& newEncoding = comparison.newEncoding;
    out += "<tr><th>";
    out += caption;
    if (oldValue == newValue) {
        out += "</th><td class=\"v\">";
        appendExportText(out, oldValue, oldEncoding);
        out += "</td><td class=\"v\">";
        appendExportText(out, newValue, newEncoding);
    } else {
        std::string oldText;
        std::string newText;
        appendHighlighted(oldText, newText, oldValue, newValue, oldEncoding, newEncoding);
        out += "</th><td class=\"v old\">" + oldText + "</td><td class=\"v new\">" + newText;
    }
    out += "</td></tr>\n";
}

void appendExports(std::string& out, const Comparison& comparison,
                   const ChangesPageHeading& heading) {
    out += "<table class=\"exports\">\n<tr><th></th><th>Old export</th><th>New export</th></tr>\n";
    out += "<tr><th>File</th><td class=\"v\">";
    appendUtf8Text(out, heading.oldPath);
    out += "</td><td class=\"v\">";
    appendUtf8Text(out, heading.newPath);
    out += "</td></tr>\n";
    const scan::NodeInfo& from = comparison.oldNode;
    const scan::NodeInfo& to = comparison.newNode;
    appendNodeRow(out, "Node number", from.nodeNumber, to.nodeNumber, comparison);
    appendNodeRow(out, "Node description", from.nodeDescription, to.nodeDescription, comparison);
    appendNodeRow(out, "Generation date", from.generationDate, to.generationDate, comparison);
    out += "</table>\n";
}

void appendSummary(std::string& out, const Comparison& comparison) {
    out +=
        "<h2>Summary</h2>\n<table class=\"summary\">\n<thead><tr><th>Element type</th>"
        "<th>Added</th><th>Removed</th><th>Changed</th><th>Unchanged</th></tr></thead>\n"
        "<tbody>\n";
    for (const scan::ElementType type : scan::statusOrder()) {
        const scan::ElementTypeInfo& info = scan::elementType(type);
        const TypeCounts& counts = comparison.countsOf(type);
        const bool compared = comparison.compared[scan::indexOf(type)];
        const bool changed = counts.added + counts.removed + counts.changed > 0;
        out += "<tr data-type=\"";
        appendExportText(out, info.name, {});
        out += compared ? "\"><td>" : "\" class=\"none\"><td>";
        if (changed) {
            out +=
                "<a href=\"#" + anchorOf(info) + "\">" + std::string(info.statisticsName) + "</a>";
        } else {
            out += info.statisticsName;
        }
        out += "</td>";
        if (!compared) {
            out += "<td colspan=\"4\">not compared</td></tr>\n";
            continue;
        }
        appendCount(out, counts.added);
        appendCount(out, counts.removed);
        appendCount(out, counts.changed);
        appendCount(out, counts.unchanged);
        out += "</tr>\n";
    }
    out += "</tbody>\n</table>\n";
}

void appendTableRow(std::string& out, const ChangeView& change, const Comparison& comparison) {
    const ExportEncoding& oldEncoding = comparison.oldEncoding;
    const ExportEncoding& newEncoding = comparison.newEncoding;
    // A removed element is known from the old export only.
    const ExportEncoding& ownEncoding =
        change.kind == ChangeKind::Removed ? oldEncoding : newEncoding;
    const std::string_view kind = changeKindName(change.kind);
    out += "<tr class=\"" + std::string(kind) + "\"><td class=\"v\">";
    appendExportText(out, change.designation, ownEncoding);
    out += "</td><td class=\"kind\">" + std::string(kind) + "</td><td>";
    appendExportText(out, change.parameter, ownEncoding);
    if (change.kind == ChangeKind::Changed) {
        std::string oldText;
        std::string newText;
        appendHighlighted(oldText, newText, change.oldValue, change.newValue, oldEncoding,
                          newEncoding);
        out += "</td><td class=\"v old\">" + oldText + "</td><td class=\"v new\">" + newText;
    } else {
        out += "</td><td class=\"v\">";
        appendExportText(out, change.oldValue, oldEncoding);
        out += "</td><td class=\"v\">";
        appendExportText(out, change.newValue, newEncoding);
    }
    out += "</td></tr>\n";
}

// The changes of each type under its heading, in the list's order (node information first,
// which the table of the exports shows already).
void appendChanges(const Comparison& comparison, platform::ResultFile& file) {
    const ChangeList& changes = comparison.changes;
    std::string out;
    std::optional<scan::ElementType> current;
    changes.read([&](std::size_t, const ChangeView& change) {
        if (!change.type) {
            return;
        }
        if (change.type != current) {
            if (current) {
                out += "</tbody>\n</table>\n";
            }
            current = change.type;
            const scan::ElementTypeInfo& info = scan::elementType(*current);
            out += "<h2 id=\"" + anchorOf(info) + "\">" + std::string(info.statisticsName);
            if (info.statisticsName != info.name) {
                out += " (" + std::string(info.name) + ")";
            }
            out += "</h2>\n<table class=\"changes\" data-type=\"";
            appendExportText(out, info.name, {});
            out +=
                "\">\n<thead><tr><th>Designation</th><th>Change</th><th>Parameter</th>"
                "<th>Old</th><th>New</th></tr></thead>\n<tbody>\n";
        }
        appendTableRow(out, change, comparison);
        if (out.size() >= platform::ResultFile::kBufferBytes) {
            file.write(out);
            out.clear();
        }
    });
    if (current) {
        out += "</tbody>\n</table>\n";
    }
    file.write(out);
}

}  // namespace

void writeChangesPage(const Comparison& comparison, const ChangesPageHeading& heading,
                      platform::ResultFile& file) {
    std::string out(kHead);
    std::string title = "Changes of node ";
    appendExportText(title, comparison.newNode.nodeNumber, comparison.newEncoding);
    out += "<title>" + title + "</title>\n</head>\n<body>\n<h1>" + title + "</h1>\n";
    appendExports(out, comparison, heading);
    out += "<p>Compared on ";
    appendUtf8Text(out, heading.comparedAt);
    out += ".</p>\n";
    appendSummary(out, comparison);
    bool elementChanges = false;
    for (const TypeCounts& counts : comparison.counts) {
        elementChanges |= counts.added + counts.removed + counts.changed > 0;
    }
    if (!elementChanges) {
        out += "<p class=\"nochanges\">No element differs.</p>\n";
    }
    file.write(out);
    appendChanges(comparison, file);
    file.write("</body>\n</html>\n");
}

}  // namespace qor::compare
