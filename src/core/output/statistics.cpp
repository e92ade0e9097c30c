#include "core/output/statistics.h"

#include "core/base/standard_error.h"
#include "core/base/translation.h"
#include "core/output/result_folder.h"
#include "core/platform/path_names.h"
#include "core/platform/result_file.h"

namespace qor::output {
namespace {

const std::string kRule(53, '=');

std::string statisticsFileName(const Session& session) {
    return "Node" + platform::safeFileNamePart(session.nodeInfo.nodeNumber) + ".txt";
}

// TABs that bring a caption to column 33 with tab stops every 8 columns.
std::string tabsAfter(std::string_view caption) {
    return std::string(4 - caption.size() / 8, '\t');
}

}  // namespace

std::array<StatisticsRow, scan::kElementTypeCount> statisticsRows(const Session& session) {
    std::array<StatisticsRow, scan::kElementTypeCount> rows{};
    std::size_t i = 0;
    for (const scan::ElementType type : scan::statusOrder()) {
        StatisticsRow& row = rows[i++];
        row.type = type;
        row.name = scan::elementType(type).statisticsName;
        row.disabled = !session.options.scans(type);
        row.kept = !row.disabled && session.lastScan.keptOf(type);
        row.count = row.disabled ? std::string(kSearchDisabled)
                                 : std::to_string(session.lastScan.writtenOf(type).value_or(0));
    }
    return rows;
}

std::string statisticsFileText(const Session& session, const DateTime& now) {
    std::string text;
    const auto line = [&text](std::string_view content) {
        text += content;
        text += "\r\n";
    };
    line("# DataBase element statistics for node " + session.nodeInfo.nodeNumber);
    line("# This file generated: " + formatDashedDate(now, session.months) + ", " +
         formatTime(now));
    line("");
    line("");
    line("# System status : " + session.nodeInfo.generationDate +
         "  (date of generating *.ba file)");
    line(kRule);
    line("DataBase element\t\tQuantity");
    line(kRule);
    for (const StatisticsRow& row : statisticsRows(session)) {
        line(std::string(row.name) + tabsAfter(row.name) + row.count);
    }
    line(kRule);
    return text;
}

StatisticsSave saveStatisticsFile(const Session& session, const Clock& clock, UserInterface& ui) {
    const std::string name = statisticsFileName(session);
    try {
        // Entered from the scan result folder the scan opened, never through a link.
        const LockedNodeFolder folder(session.lastScan.scanResultFolder,
                                      session.lastScan.nodeFolderName, {});
        platform::Placement placement = platform::Placement::New;
        if (folder.folder().contains(name)) {
            placement = platform::Placement::Replace;
            Prompt prompt;
            prompt.title = std::string(kApplicationTitle);
            prompt.text = fillIn(translate("Statistics",
                                           "Statistic file for node '%1' already "
                                           "exists. Do you want to replace it ?"),
                                 {session.nodeInfo.nodeNumber});
            prompt.icon = MessageIcon::Exclamation;
            if (!ui.askYesNo(prompt)) {
                return StatisticsSave::KeptExisting;
            }
        }
        platform::writeResultFile(folder.folder(), name, statisticsFileText(session, clock.now()),
                                  placement);
    } catch (...) {
        reportStandardError(ui, "frmStatistic", "cmdSaveStatistic_Click",
                            describeCurrentException());
        return StatisticsSave::Failed;
    }
    ui.inform(Message{
        std::string(kApplicationTitle),
        fillIn(translate("Statistics", "Statistic file %1 saved in %2 folder"),
               {statisticsFileName(session), platform::shownPath(session.lastScan.resultFolder)}),
        MessageIcon::Information});
    return StatisticsSave::Saved;
}

}  // namespace qor::output
