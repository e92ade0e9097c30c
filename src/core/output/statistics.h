#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/base/date_time.h"
#include "core/base/user_interface.h"
#include "core/output/session.h"

namespace qor::output {

// One row of the statistics: the type's caption and its count, or "Search Disabled".
struct StatisticsRow {
    scan::ElementType type;
    std::string_view name;
    std::string count;
    bool disabled = false;
    // The user kept the type's existing results, so the scan did not read it: the count is an
    // earlier scan's (0 when none was counted). The window says "Kept"; the statistics file and
    // qorscan's table keep the count, as scripts read them.
    bool kept = false;
};

inline constexpr std::string_view kSearchDisabled = "Search Disabled";

// The fourteen rows in the order of the statistics window. A count shows only for the types
// the scan reads (SearchOptions::scans).
std::array<StatisticsRow, scan::kElementTypeCount> statisticsRows(const Session& session);

// The statistics file's bytes: CR LF lines, the counts starting in column 33 behind TABs.
std::string statisticsFileText(const Session& session, const DateTime& now);

enum class StatisticsSave { Saved, KeptExisting, Failed };

// "Save To File": <result folder>/Node<node>.txt, in the result folder the scan opened. Asks
// before replacing an existing file, writes it and says where.
// A file that cannot be written is reported as an error, never as saved.
StatisticsSave saveStatisticsFile(const Session& session, const Clock& clock, UserInterface& ui);

}  // namespace qor::output
