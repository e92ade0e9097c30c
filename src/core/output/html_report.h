#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/result_file.h"
#include "core/scan/element_row.h"
#include "core/scan/element_types.h"
#include "core/scan/node_info.h"

namespace qor::output {

// A file name fit for an unquoted href: every byte outside A-Z a-z 0-9 - _ . ~ ( ) becomes
// %XX, so a blank or a ">" in a node number cannot end the attribute.
std::string encodeHrefFileName(std::string_view fileName);

// The index page's line of one element page: link to `pageFileName`, label and count.
std::string buildIndexLinkLine(std::string_view pageFileName, std::string_view label,
                               long long writtenCount);

// One element page of the framed HTML report: its head and the table's header row, then a
// table row per element. Written beside its name and moved into place when complete; a page
// that cannot be written throws QorError and leaves nothing behind under its name.
class HtmlElementPage {
public:
    // The page title, table and header lines. Entries missing from `columns` up to
    // `highestColumn` give empty headers; the status line takes `node`'s generation date. The
    // page holds the export's bytes and declares them `charset` (ExportEncoding::declaredCharset).
    HtmlElementPage(const scan::NodeInfo& node, int highestColumn,
                    const std::vector<std::string>& columns, std::string_view pageTitle,
                    std::string_view charset = "iso-8859-2");

    // Starts the page `name` in `folder`: its head and the table's header row.
    void open(const platform::FolderHandle& folder, std::string_view name);
    // One table row from slots 1.. of `row`, appended to `out`; `cabinetColumnsLead` puts slots
    // 12 and 13 (cabinet and module) first, as for a labelled channel type. Touches nothing but
    // `out`: any thread may call it.
    void appendRow(const scan::ElementRowView& row, bool cabinetColumnsLead,
                   std::string& out) const;
    void write(std::string_view rows) { page_.write(rows); }
    // Ends the page and makes it durable; any thread may call it.
    void end();
    // Ends the page, unless end() did, and gives it its name.
    void close(platform::Placement placement);
    // Throws the page away (the type could not be completed).
    void discard() noexcept { page_.discard(); }

private:
    int highestColumn_;
    std::string charsetLine_;
    std::string pageTitleLine_;
    std::string tableHeadLine_;
    std::vector<std::string> headerCellLines_;
    std::string statusLine_;
    platform::ResultFile page_;
    bool ended_ = false;
};

// The report's other pages in `folder`: index.html, preview.html and dummy.html. `linkLines` in
// index order (AI .. DOC, DAT(B) .. DAT(R), PIDCON, MOTCON); an empty one leaves an empty line.
// The index declares `charset` unless it is empty. Each throws QorError and leaves what stood
// there.
void writeIndexPage(const platform::FolderHandle& folder, const scan::NodeInfo& node,
                    const std::array<std::string, scan::kElementTypeCount>& linkLines,
                    std::string_view charset = {});
void writeFramesetPage(const platform::FolderHandle& folder);
void writeEmptyPage(const platform::FolderHandle& folder);

}  // namespace qor::output
