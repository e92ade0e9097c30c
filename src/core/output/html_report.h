#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/user_interface.h"
#include "core/platform/result_file.h"
#include "core/scan/element_row.h"
#include "core/scan/element_types.h"
#include "core/scan/node_info.h"

namespace qor::output {

// `text` with & < > " written as entities, so that no value can break or inject markup.
std::string escapeHtml(std::string_view text);

// A file name fit for an unquoted href: every byte outside A-Z a-z 0-9 - _ . ~ ( ) becomes
// %XX, so a blank or a ">" in a node number cannot end the attribute.
std::string encodeHrefFileName(std::string_view fileName);

// The index page's line of one element page: link to `pageFileName`, label and count.
std::string buildIndexLinkLine(std::string_view pageFileName, std::string_view label,
                               long long writtenCount);

// The framed HTML report ("HTMLReport" in error messages): one element page open at a time,
// then the index, frameset and empty pages. Every page is written beside its name and moved
// into place when complete; a page that cannot be written throws QorError and leaves nothing
// behind under its name.
class HtmlReport {
public:
    // `node` is read at each use: the status line takes its generation date, the index its
    // number and description.
    HtmlReport(UserInterface& ui, const scan::NodeInfo& node) : ui_(ui), node_(node) {}
    ~HtmlReport();
    HtmlReport(const HtmlReport&) = delete;
    HtmlReport& operator=(const HtmlReport&) = delete;

    // Prepares the page title, table and header lines of the next element page. Entries
    // missing from `columns` up to `highestColumn` give empty headers.
    void preparePage(int highestColumn, const std::vector<std::string>& columns,
                     std::string_view pageTitle);
    // Starts the element page: its head and the table's header row.
    void openPage(int highestColumn, const std::string& path);
    // One table row from slots 1.. of `row`; `cabinetColumnsLead` puts slots 12 and 13
    // (cabinet and module) first, as for a labelled channel type.
    void writeRow(const scan::ElementRow& row, int highestColumn, bool cabinetColumnsLead);
    // Ends the element page and gives it its name.
    void closePage(platform::Placement placement);

    // `linkLines` in index order (AI .. DOC, DAT(B) .. DAT(R), PIDCON, MOTCON); an empty one
    // leaves an empty line.
    void writeIndexPage(const std::string& path,
                        const std::array<std::string, scan::kElementTypeCount>& linkLines);
    void writeFramesetPage(const std::string& path);
    void writeEmptyPage(const std::string& path);

    // True while an element page is being written.
    bool pageOpen() const { return page_.isOpen(); }
    // Throws the open element page away (the read was abandoned).
    void discardPage() noexcept;

private:
    UserInterface& ui_;
    const scan::NodeInfo& node_;

    std::string pageTitleLine_;
    std::string tableHeadLine_;
    std::vector<std::string> headerCellLines_;
    std::string statusLine_;
    long long tableWidth_ = 0;

    platform::ResultFile page_;
    std::string rowText_;  // reused: one row is built, then written in one piece
};

}  // namespace qor::output
