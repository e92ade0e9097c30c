#include "core/checks/cabinet_source.h"

#include <QtGlobal>

#include "core/base/translation.h"

namespace qor::checks {

std::string CabinetSource::placeOf(std::size_t row, bool english) const {
    const char* pattern =
        stored ? QT_TRANSLATE_NOOP("Checks", "row %1") : QT_TRANSLATE_NOOP("Checks", "line %1");
    return fillIn(english ? std::string(pattern) : translate("Checks", pattern),
                  {std::to_string(stored ? row + 1 : lines[row])});
}

CabinetSource cabinetSourceOf(const options::CabinetFile& file, std::string path) {
    CabinetSource source;
    source.path = std::move(path);
    // The lines a scan takes: rows, and rows that give a module another cabinet.
    for (const options::ImportLine& line : file.import.lines) {
        if (line.verdict == options::ImportVerdict::Row ||
            line.verdict == options::ImportVerdict::Conflict) {
            source.rows.push_back(line.row);
            source.lines.push_back(line.line);
        }
    }
    return source;
}

CabinetSource cabinetSourceOf(std::vector<scan::CabinetRow> rows, std::string settingsPath) {
    CabinetSource source;
    source.path = std::move(settingsPath);
    source.stored = true;
    source.lines.assign(rows.size(), 0);
    source.rows = std::move(rows);
    return source;
}

}  // namespace qor::checks
