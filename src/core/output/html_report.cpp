#include "core/output/html_report.h"

#include <system_error>

#include "core/base/ascii.h"
#include "core/base/html_escape.h"
#include "core/base/qor_error.h"
#include "core/base/standard_error.h"
#include "core/platform/result_file.h"
#include "core/scan/column_data.h"

namespace qor::output {
namespace {

constexpr std::string_view kEol = "\r\n";
constexpr std::string_view kNbsp = "&nbsp;";
constexpr std::string_view kAuthor = "QOR Reader";

constexpr std::string_view kBodyLine =
    R"x(<body bgcolor="white" text="black" link="blue" vlink="purple" alink="red">)x";
constexpr std::string_view kGeneratorMeta =
    R"x(<meta name="generator" content="Internally in .QOR Reader">)x";

// Empty text shows as a blank cell instead of a collapsed one.
void appendCellText(std::string& out, std::string_view text) {
    if (text.empty()) {
        out += kNbsp;
    } else {
        appendHtmlEscaped(out, text);
    }
}

// Joins `lines`, each ended by CR LF.
class PageText {
public:
    PageText& line(std::string_view text) {
        text_ += text;
        text_ += kEol;
        return *this;
    }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

}  // namespace

std::string encodeHrefFileName(std::string_view fileName) {
    std::string out;
    out.reserve(fileName.size());
    for (const char c : fileName) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == '~' ||
                           c == '(' || c == ')';
        if (plain) {
            out += c;
        } else {
            out += '%';
            appendHexByte(out, static_cast<unsigned char>(c));
        }
    }
    return out;
}

std::string buildIndexLinkLine(std::string_view pageFileName, std::string_view label,
                               long long writtenCount) {
    std::string line = "<a href=";
    line += encodeHrefFileName(pageFileName);
    line += '>';
    line += label;
    line += "  ( ";
    line += std::to_string(writtenCount);
    line += " )</a><br>";
    return line;
}

HtmlElementPage::HtmlElementPage(const scan::NodeInfo& node, int highestColumn,
                                 const std::vector<std::string>& columns,
                                 std::string_view pageTitle, std::string_view charset)
    : highestColumn_(highestColumn) {
    charsetLine_ = R"x(<meta http-equiv="Content-Type" content="text/html; charset=)x";
    charsetLine_ += charset;
    charsetLine_ += "\">";
    pageTitleLine_ = R"x(<p align="center"><font size="5" face="Arial"><b>)x";
    pageTitleLine_ += pageTitle;
    pageTitleLine_ += "</b></font></p>";

    // 140 per column after the first one, as the report's tables have always been sized.
    tableHeadLine_ = R"x(<table border="1" cellspacing="0" width=)x";
    tableHeadLine_ += std::to_string(140LL * highestColumn);
    tableHeadLine_ += R"x( bordercolordark="white" bordercolorlight="black">)x";

    const std::vector<std::string> headers = scan::withoutCommas(columns);
    for (int i = 0; i <= highestColumn; ++i) {
        std::string cell = R"x(<p align="center"><font size="3" face="Arial">)x";
        appendCellText(cell, static_cast<std::size_t>(i) < headers.size()
                                 ? std::string_view(headers[static_cast<std::size_t>(i)])
                                 : std::string_view());
        cell += "</font></p>";
        headerCellLines_.push_back(std::move(cell));
    }

    std::string statusText = "System status on: ";
    appendHtmlEscaped(statusText, node.generationDate);
    statusText += " (date of generating *.ba file)";
    statusLine_ = R"x(<p><font size="2" color="black" face="Arial"><b>)x";
    statusLine_ += statusText;
    statusLine_ += "</b></font></p>";
}

void HtmlElementPage::open(const platform::FolderHandle& folder, std::string_view name) {
    const int highestColumn = highestColumn_;
    page_.open(folder, name);
    page_.writeInBackground();
    ended_ = false;
    {
        PageText head;
        head.line("<html>")
            .line("<head>")
            .line("<title>")
            .line("</title>")
            .line(charsetLine_)
            .line(R"x(<meta name="Author"  content=")x" + std::string(kAuthor) + "\">")
            .line(R"x(<meta name="Description"  content="Report generated with '.QOR Reader'">)x")
            .line("</head>")
            .line(kBodyLine)
            .line(
                R"x(<table align="center" style="border-width:1px; border-color:rgb(115,113,115); border-style:dotted;" border="1" cellspacing="0" width="100%" cellpadding="0">)x")
            .line("<tr>")
            .line(
                R"x(<td height="30" bgcolor="#C6CBDE" bordercolor="white" style="border-width:1px; border-color:black; border-style:none;">)x")
            .line(pageTitleLine_)
            .line("</td>")
            .line("</tr>")
            .line("</table>")
            .line(
                R"x(<table style="border-width:1px; border-color:rgb(239,239,239); border-style:none;" cellpadding="0" cellspacing="0" width="100%" bgcolor="#EFEFEF" bordercolordark="white" bordercolorlight="black">)x")
            .line("<tr>")
            .line(R"x(<td width="40%" height="19">)x")
            .line(statusLine_)
            .line("</td>")
            .line("")
            .line("</td>")
            .line("</tr>")
            .line("</table>")
            .line("<br>")
            .line(tableHeadLine_)
            .line("<tr>");
        for (int i = 0; i <= highestColumn; ++i) {
            head.line(R"x(<th width="320" bgcolor="#BBBBDB">)x");
            const auto index = static_cast<std::size_t>(i);
            if (index < headerCellLines_.size()) {
                head.line(headerCellLines_[index]);
            } else {
                head.line(R"x(<p align="center"><font size="3" face="Arial">&nbsp;</font></p>)x");
            }
            head.line("</th>");
        }
        head.line("</tr>");
        page_.write(head.text());
    }
}

void HtmlElementPage::appendRow(const scan::ElementRowView& row, bool cabinetColumnsLead,
                                std::string& out) const {
    out += "<tr>\r\n";
    const int cells = highestColumn_ + 1;
    for (int i = 1; i <= cells; ++i) {
        int slot = i;
        if (cabinetColumnsLead) {
            slot = i == 1   ? static_cast<int>(scan::kCabinetSlot)
                   : i == 2 ? static_cast<int>(scan::kModuleSlot)
                            : i - 2;
        }
        out += "<td width=\"320\">\r\n<p align=\"left\"><font size=\"2\" face=\"Arial\">";
        appendCellText(out, slot < static_cast<int>(scan::kElementRowSlots)
                                ? row[static_cast<std::size_t>(slot)]
                                : std::string_view());
        out += "</font></p>\r\n</td>\r\n";
    }
    out += "</tr>\r\n";
}

void HtmlElementPage::end() {
    page_.write("</table>\r\n</body>\r\n</html>\r\n");
    page_.makeDurable();
    ended_ = true;
}

void HtmlElementPage::close(platform::Placement placement) {
    if (!ended_) {
        page_.write("</table>\r\n</body>\r\n</html>\r\n");
    }
    page_.commit(placement);
}

void writeIndexPage(const platform::FolderHandle& folder, const scan::NodeInfo& node,
                    const std::array<std::string, scan::kElementTypeCount>& linkLines,
                    std::string_view charset) {
    {
        std::string nodeNumber;
        appendHtmlEscaped(nodeNumber, node.nodeNumber);
        std::string nodeDescription;
        appendHtmlEscaped(nodeDescription, node.nodeDescription);

        PageText page;
        page.line("<html>").line("<head>").line("<title>No title</title>");
        if (!charset.empty()) {
            page.line(R"x(<meta http-equiv="Content-Type" content="text/html; charset=)x" +
                      std::string(charset) + "\">");
        }
        page.line(R"x(<base target="detail">)x")
            .line(kGeneratorMeta)
            .line("</head>")
            .line(std::string(kBodyLine) + std::string(304, ' '))
            .line(
                R"x(<table border="0" style="border-width:1px; border-color:rgb(0,102,153); border-style:dotted;" width="100%" bgcolor="#CCCCCC" cellpadding="1" cellspacing="1">)x")
            .line("<tr>")
            .line(R"x(<td width="100%">)x")
            .line(R"x(<p align="center"><font size="4" face="Arial"><b>Node Items</b></font></p>)x")
            .line("</td>")
            .line("</tr>")
            .line("</table>")
            .line(
                R"x(<table style="border-width:1px; border-color:rgb(0,51,153); border-top-style:none; border-right-style:dotted; border-bottom-style:dotted; border-left-style:dotted;" border="0" width="100%" height="20">)x")
            .line("<tr>")
            .line(R"x(<td width="100%" height="20">)x")
            .line(
                R"x(<p><font face="Arial" size="2"><b>Node Number: </b></font><font face="Arial" size="2" color="blue">)x" +
                nodeNumber + "</font></p>")
            .line("</td>")
            .line("</tr>")
            .line("</table>")
            .line(
                R"x(<table border="0" style="border-width:1px; border-color:rgb(0,51,153); border-top-style:none; border-right-style:dotted; border-bottom-style:dotted; border-left-style:dotted;" width="100%" cellpadding="1" cellspacing="1" height="20">)x")
            .line("<tr>")
            .line(R"x(<td width="100%">)x")
            .line(
                R"x(<p><font size="2" face="Arial"><b>Node Descr: </b></font><font size="2" face="Arial" color="blue">)x" +
                nodeDescription + "</font></p>")
            .line("</td>")
            .line("</tr>")
            .line("</table>")
            .line(R"x(<p><font face="Arial" size="2">)x");
        for (const std::string& linkLine : linkLines) {
            page.line(linkLine);
        }
        page.line("<br></font></p>")
            .line(R"x(<table border="0" width="100%">)x")
            .line("<tr>")
            .line(R"x(<td width="100%">)x")
            .line(
                R"x(<p align="center"><font face="Arial" size="1">Report created with </font><font face="Arial" size="1" color="#0000CC">.QOR Reader</font><font face="Arial" size="1"><br>)x")
            // Reopens the whole report; the product has no web page of its own to point at.
            .line(R"x(<a href="preview.html" target="_top">QOR Reader report</a></font></p>)x")
            .line("</td>")
            .line("</tr>")
            .line("</table>")
            .line(R"x(<p><font face="Arial" size="2">&nbsp;</font></p>)x")
            .line("</body>")
            .line("</html>");
        platform::writeResultFile(folder, "index.html", page.text(), platform::Placement::Replace);
    }
}

void writeFramesetPage(const platform::FolderHandle& folder) {
    {
        PageText page;
        page.line("<html>")
            .line("<head>")
            .line("<title>To view this page you need a browser that supports frames.</title>")
            .line(R"x(<meta name="author" content=")x" + std::string(kAuthor) + "\">")
            .line(kGeneratorMeta)
            .line("</head>")
            .line(R"x(<frameset rows="1*" cols="24%, 76%">)x")
            .line(
                R"x(<frame name="contents" scrolling="auto" marginwidth="10" marginheight="14" namo_target_frame="detail" src="index.html">)x")
            .line(
                R"x(<frame name="detail" scrolling="yes" marginwidth="10" marginheight="14" src="dummy.html">)x")
            .line("<noframes>")
            .line(
                R"x(<body bgcolor="#FFFFFF" text="#000000" link="#0000FF" vlink="#800080" alink="#FF0000">)x")
            .line("<p>You need a browser that supports frame to veiw this page.</p>")
            .line("</body>")
            .line("</noframes>")
            .line("</frameset>")
            .line("</html>");
        platform::writeResultFile(folder, "preview.html", page.text(),
                                  platform::Placement::Replace);
    }
}

void writeEmptyPage(const platform::FolderHandle& folder) {
    {
        PageText page;
        page.line("<html>")
            .line("<head>")
            .line("<title>No title</title>")
            .line(kGeneratorMeta)
            .line("</head>")
            .line(kBodyLine)
            .line("<p>&nbsp;</p>")
            .line("</body>")
            .line("</html>");
        platform::writeResultFile(folder, "dummy.html", page.text(), platform::Placement::Replace);
    }
}

}  // namespace qor::output
