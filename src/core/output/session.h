#pragma once

#include <string>

#include "core/base/date_time.h"
#include "core/options/cabinet_table.h"
#include "core/options/search_options.h"
#include "core/options/search_status.h"
#include "core/output/scan_report.h"
#include "core/scan/column_data.h"
#include "core/scan/element_types.h"
#include "core/scan/node_info.h"

namespace qor::output {

// The state that the commands, the scan run and the outputs share. One per application
// (or per qorscan run); passed in, never global.
struct Session {
    std::string databasePath;
    scan::NodeInfo nodeInfo;
    // What the opened export's first bytes tell about its encoding (scan::readEncodingEvidence).
    EncodingEvidence exportEvidence;
    options::SearchOptions options;
    scan::ColumnDataSet columns;
    scan::CabinetLabels cabinetLabels;
    options::SearchStatusTable searchStatus;
    std::string startDateStamp;  // "ddMMMyyyy", taken once when the application starts
    MonthNames months;
    // The last scan's report; a type it did not write keeps the count of the last scan that
    // did (the statistics show them).
    ScanReport lastScan;

    // The record as just loaded, saved or imported: the column data and the label lists follow
    // it (between those moments they stay as they were, whatever is edited).
    void takeOptions() {
        columns = options::buildAllColumnData(options);
        cabinetLabels = options.cabinetTable.rows;
    }

    // The one decision on the opened export's encoding: every output and view follows it.
    ExportEncoding textEncoding() const {
        return decideEncoding(options.textEncoding, exportEvidence);
    }

    // The report of a scan that just ended.
    void keep(ScanReport report) {
        for (std::size_t i = 0; i < report.written.size(); ++i) {
            if (!report.written[i]) {
                report.written[i] = lastScan.written[i];
            }
        }
        lastScan = std::move(report);
    }
};

}  // namespace qor::output
