#pragma once

#include <array>
#include <string>

#include "core/base/date_time.h"
#include "core/options/cabinet_table.h"
#include "core/options/search_options.h"
#include "core/options/search_status.h"
#include "core/platform/folder_handle.h"
#include "core/scan/column_data.h"
#include "core/scan/element_types.h"
#include "core/scan/node_info.h"

namespace qor::output {

// What each type left behind after the last scan that read it.
struct TypeResult {
    long long writtenCount = 0;  // shown by the statistics window
    std::string indexLinkLine;   // the type's line on the HTML index page
};

// Folders and stamp of the scan run.
struct ScanState {
    std::string resultFolder;    // <scan result folder>/Node<node>_<date>
    std::string outputFolder;    // the result folder's "Html Files", "Csv Files" or "Xls Files"
    std::string startDateStamp;  // "ddMMMyyyy", taken once when the application starts
    // The folders as the scan opened them: everything is written through these, so that a
    // folder renamed or replaced by a link meanwhile cannot redirect it. The statistics file
    // goes into the node folder, entered again from the scan result folder.
    platform::FolderHandle openScanResultFolder;
    std::string nodeFolderName;  // "Node<node>_<date>"
    platform::FolderHandle openOutputFolder;
};

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
    ScanState scan;
    std::array<TypeResult, scan::kElementTypeCount> results;
    MonthNames months;

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

    TypeResult& resultOf(scan::ElementType type) { return results[scan::indexOf(type)]; }
    const TypeResult& resultOf(scan::ElementType type) const {
        return results[scan::indexOf(type)];
    }
};

}  // namespace qor::output
