#include "core/options/cabinet_import.h"

#include <algorithm>
#include <unordered_map>

#include "core/base/message_text.h"
#include "core/base/translation.h"
#include "core/scan/text_rules.h"

namespace qor::options {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}
// A byte no text file holds: C0 control characters other than tab and the line ends.
bool isNotText(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 && c != '\t' && !isLineEnd(c);
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// One line as read: its fields, and whether a quote stayed open to the end of the text.
struct Record {
    std::size_t line = 0;
    std::string_view text;
    std::vector<std::string> fields;
    bool openQuote = false;
};

// Splits an import file into lines of fields. A quoted field may carry line ends; every other
// line end ends the line and its last field.
class RecordReader {
public:
    explicit RecordReader(std::string_view text) : text_(text) {}

    bool next(Record& record) {
        skipBlankLines();
        if (pos_ >= text_.size()) {
            return false;
        }
        record = Record{};
        record.line = line_;
        const std::size_t start = pos_;
        for (;;) {
            record.fields.push_back(readField(record.openQuote));
            if (pos_ < text_.size() && text_[pos_] == ',') {
                ++pos_;
                continue;  // a comma promises one more field, even at the end of the text
            }
            record.text = text_.substr(start, pos_ - start);
            skipLineEnd();
            return true;
        }
    }

private:
    std::string readField(bool& openQuote) {
        while (pos_ < text_.size() && isBlank(text_[pos_])) {
            ++pos_;
        }
        if (pos_ < text_.size() && text_[pos_] == '"') {
            const std::size_t start = pos_ + 1;
            const std::size_t close = text_.find('"', start);
            const std::size_t end = close == std::string_view::npos ? text_.size() : close;
            const std::string_view field = text_.substr(start, end - start);
            countLines(field);
            openQuote = close == std::string_view::npos;
            pos_ = openQuote ? text_.size() : close + 1;
            skipToDelimiter();  // whatever follows the closing quote is dropped
            return std::string(field);
        }
        const std::size_t start = pos_;
        skipToDelimiter();
        std::string_view field = text_.substr(start, pos_ - start);
        while (!field.empty() && field.back() == ' ') {
            field.remove_suffix(1);
        }
        return std::string(field);
    }

    void skipToDelimiter() {
        while (pos_ < text_.size() && text_[pos_] != ',' && !isLineEnd(text_[pos_])) {
            ++pos_;
        }
    }

    void skipLineEnd() {
        if (pos_ >= text_.size()) {
            return;
        }
        if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') {
            ++pos_;
        }
        ++pos_;
        ++line_;
    }

    void countLines(std::string_view field) {
        for (std::size_t i = 0; i < field.size(); ++i) {
            if (field[i] == '\n' ||
                (field[i] == '\r' && (i + 1 == field.size() || field[i + 1] != '\n'))) {
                ++line_;
            }
        }
    }

    void skipBlankLines() {
        for (;;) {
            std::size_t p = pos_;
            while (p < text_.size() && isBlank(text_[p])) {
                ++p;
            }
            if (p >= text_.size() || !isLineEnd(text_[p])) {
                if (p >= text_.size()) {
                    pos_ = p;
                }
                return;
            }
            pos_ = p;
            skipLineEnd();
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
};

bool namesColumns(std::string_view text) {
    const std::string upper = scan::upperCaseAscii(text);
    return upper.find("CABINET") != std::string::npos && upper.find("MODULE") != std::string::npos;
}

// The verdict of a line on its own, and the pair it offers.
ImportLine judge(const Record& record, bool first) {
    ImportLine line;
    line.line = record.line;
    line.text = std::string(record.text);
    const auto pair = [&](std::string_view cabinet, std::string_view module) {
        line.row = {scan::upperCaseAscii(cabinet), scan::upperCaseAscii(module)};
    };
    std::vector<std::string_view> halves;
    if (record.fields.size() == 1) {
        const std::string_view field = record.fields[0];
        const std::size_t semicolon = field.find(';');
        if (semicolon != std::string_view::npos &&
            field.find(';', semicolon + 1) == std::string_view::npos) {
            halves = {trimmed(field.substr(0, semicolon)), trimmed(field.substr(semicolon + 1))};
        }
    }
    if (record.fields.size() == 2) {
        pair(record.fields[0], record.fields[1]);
    } else if (halves.size() == 2 && !halves[0].empty() && !halves[1].empty()) {
        pair(halves[0], halves[1]);
    }

    if (std::any_of(record.text.begin(), record.text.end(), isNotText)) {
        line.verdict = ImportVerdict::NotText;
    } else if (record.openQuote) {
        line.verdict = ImportVerdict::OpenQuote;
    } else if (first && namesColumns(record.text) && !line.row.module.empty()) {
        line.verdict = ImportVerdict::Heading;
    } else if (record.fields.size() > 2) {
        line.verdict = ImportVerdict::TooManyFields;
    } else if (record.fields.size() == 2) {
        line.verdict = record.fields[0].empty() || record.fields[1].empty()
                           ? ImportVerdict::EmptyField
                           : ImportVerdict::Row;
    } else {
        line.verdict =
            line.row.module.empty() ? ImportVerdict::OneField : ImportVerdict::Semicolons;
    }
    return line;
}

}  // namespace

CabinetImport parseCabinetImport(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    CabinetImport result;
    // The cabinet each module was last given, and on which line: a later line repeats it or
    // gives the module another one.
    std::unordered_map<std::string, std::pair<std::string, std::size_t>> lastCabinet;
    RecordReader reader(text);
    Record record;
    while (reader.next(record)) {
        ImportLine line = judge(record, result.lines.empty());
        if (line.verdict == ImportVerdict::Row) {
            auto [entry, isNew] =
                lastCabinet.try_emplace(line.row.module, line.row.cabinet, line.line);
            if (!isNew) {
                line.earlierLine = entry->second.second;
                if (entry->second.first == line.row.cabinet) {
                    line.verdict = ImportVerdict::Duplicate;
                } else {
                    line.verdict = ImportVerdict::Conflict;
                    line.earlierCabinet = entry->second.first;
                    entry->second = {line.row.cabinet, line.line};
                }
            }
        }
        result.lines.push_back(std::move(line));
    }
    return result;
}

bool takes(const ImportLine& line, const ImportChoices& choices) {
    return line.verdict == ImportVerdict::Row || line.verdict == ImportVerdict::Conflict ||
           (line.verdict == ImportVerdict::Heading && !choices.skipHeading) ||
           (line.verdict == ImportVerdict::Semicolons && choices.takeSemicolonPairs);
}

std::vector<scan::CabinetRow> CabinetImport::rows(const ImportChoices& choices) const {
    std::vector<scan::CabinetRow> taken;
    for (const ImportLine& line : lines) {
        if (takes(line, choices)) {
            taken.push_back(line.row);
        }
    }
    return taken;
}

const ImportLine* CabinetImport::firstMalformed() const {
    for (const ImportLine& line : lines) {
        switch (line.verdict) {
            case ImportVerdict::Row:
            case ImportVerdict::Conflict:
            case ImportVerdict::Heading:
            case ImportVerdict::Duplicate:
                break;
            default:
                return &line;
        }
    }
    return nullptr;
}

std::string verdictText(const ImportLine& line) {
    switch (line.verdict) {
        case ImportVerdict::Row:
            return {};
        case ImportVerdict::Conflict:
            return fillIn(translate("CabinetImport",
                                    "gives the module %1 the cabinet %2, which line %3 gave the "
                                    "cabinet %4: the later line labels its channels"),
                          {line.row.module, line.row.cabinet, std::to_string(line.earlierLine),
                           line.earlierCabinet});
        case ImportVerdict::Heading:
            return translate("CabinetImport",
                             "names the columns (CABINET, MODULE): taken for a heading");
        case ImportVerdict::Semicolons:
            return translate("CabinetImport",
                             "separates the cabinet and the module with ';' instead of ','");
        case ImportVerdict::Duplicate:
            return fillIn(translate("CabinetImport", "repeats line %1"),
                          {std::to_string(line.earlierLine)});
        case ImportVerdict::OneField:
            return translate("CabinetImport", "holds one field, not a cabinet and a module");
        case ImportVerdict::TooManyFields:
            return translate("CabinetImport", "holds more fields than a cabinet and a module");
        case ImportVerdict::EmptyField:
            return translate("CabinetImport", "has an empty cabinet or module");
        case ImportVerdict::OpenQuote:
            return translate("CabinetImport", "opens a quote that nothing closes");
        case ImportVerdict::NotText:
            return translate("CabinetImport",
                             "holds bytes that are no text (NUL or control bytes)");
    }
    return {};
}

}  // namespace qor::options
