#include "core/output/csv_output.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "core/base/standard_error.h"
#include "core/base/translation.h"
#include "core/platform/file_system.h"
#include "core/platform/path_names.h"
#include "core/scan/byte_search.h"

namespace qor::output {
namespace {

constexpr std::array<bool, 256> kQuotedIfHeld = [] {
    std::array<bool, 256> held{};
    held[','] = held['"'] = held['\r'] = held['\n'] = true;
    return held;
}();

// The first bytes of a value that may make a spreadsheet read a formula. A spreadsheet drops
// NUL bytes as it reads, so a value's first byte it sees may come after them.
constexpr std::array<bool, 256> kFormulaStart = [] {
    std::array<bool, 256> start{};
    start['='] = start['@'] = start['+'] = start['-'] = start['\t'] = start['\r'] = true;
    return start;
}();

// The value as a spreadsheet sees its start: without the NUL bytes in front.
std::string_view withoutLeadingNuls(std::string_view value) {
    const std::size_t first = value.find_first_not_of('\0');
    return first == std::string_view::npos ? std::string_view{} : value.substr(first);
}

bool needsQuotes(std::string_view value) {
    bool quote = false;
    for (const char c : value) {
        quote |= kQuotedIfHeld[static_cast<unsigned char>(c)];
    }
    return quote;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Skips the digits at `at`; tells how many there were.
std::size_t skipDigits(std::string_view text, std::size_t& at) {
    const std::size_t start = at;
    while (at < text.size() && isDigit(text[at])) {
        ++at;
    }
    return at - start;
}

// A sign, digits with at most one decimal point, an optional exponent: nothing else.
bool isSignedNumber(std::string_view value) {
    std::size_t at = 1;
    std::size_t digits = skipDigits(value, at);
    if (at < value.size() && value[at] == '.') {
        ++at;
        digits += skipDigits(value, at);
    }
    if (digits == 0) {
        return false;
    }
    if (at < value.size() && (value[at] == 'e' || value[at] == 'E')) {
        ++at;
        if (at < value.size() && (value[at] == '+' || value[at] == '-')) {
            ++at;
        }
        if (skipDigits(value, at) == 0) {
            return false;
        }
    }
    return at == value.size();
}

bool guardsFormula(std::string_view value, CsvValues values) {
    return values == CsvValues::Guarded && startsFormula(value);
}

}  // namespace

bool startsFormula(std::string_view value) {
    value = withoutLeadingNuls(value);
    if (value.empty() || !kFormulaStart[static_cast<unsigned char>(value.front())]) {
        return false;
    }
    return (value.front() != '+' && value.front() != '-') || !isSignedNumber(value);
}

void appendCsvField(std::string& out, std::string_view value, CsvValues values) {
    const bool apostrophe = guardsFormula(value, values);
    if (!needsQuotes(value)) {
        if (apostrophe) {
            out += '\'';
        }
        out.append(value);
        return;
    }
    out += '"';
    if (apostrophe) {
        out += '\'';
    }
    for (const char c : value) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

Prompt overwritePrompt(const std::string& path, ReplaceQuestion question,
                       std::string_view titleSuffix) {
    Prompt prompt;
    prompt.title = std::string(kApplicationTitle) + std::string(titleSuffix);
    prompt.text =
        fillIn(question == ReplaceQuestion::File
                   ? translate("OverwriteQuestion",
                               "File '%1' already exists. \r\nDo you want to replace it ?")
                   : translate("OverwriteQuestion",
                               "File '%1' already exists. \r\nDo you want to replace this "
                               "file and related 'preview.html' and 'index.html' files ?"),
               {platform::shownPath(path)});
    prompt.icon = MessageIcon::Exclamation;
    prompt.subject = PromptSubject::ExistingFile;
    return prompt;
}

bool ReplaceAnswers::ask(const Prompt& prompt) {
    if (forAll_) {
        return *forAll_;
    }
    switch (ui_.askYesNoForAll(prompt)) {
        case Answer::YesToAll:
            forAll_ = true;
            return true;
        case Answer::NoToAll:
            forAll_ = false;
            return false;
        case Answer::Yes:
            return true;
        case Answer::No:
            break;
    }
    return false;
}

std::optional<platform::Placement> askBeforeReplacing(const platform::FolderHandle& folder,
                                                      std::string_view name,
                                                      ReplaceQuestion question,
                                                      std::string_view titleSuffix,
                                                      UserInterface& ui, ReplaceAnswers* answers) {
    if (!folder.contains(name)) {
        return platform::Placement::New;
    }
    const Prompt prompt = overwritePrompt(folder.pathOf(name), question, titleSuffix);
    if (!(answers != nullptr ? answers->ask(prompt) : ui.askYesNo(prompt))) {
        return std::nullopt;
    }
    return platform::Placement::Replace;
}

NamedFile askBeforeReplacingFile(const std::string& path, std::string_view titleSuffix,
                                 UserInterface& ui) {
    const std::filesystem::path place = platform::toFsPath(path);
    NamedFile file{platform::FolderHandle::open(platform::fromFsPath(place.parent_path())),
                   platform::fromFsPath(place.filename()),
                   {}};
    file.placement =
        askBeforeReplacing(file.folder, file.name, ReplaceQuestion::File, titleSuffix, ui);
    return file;
}

void appendCsvRow(std::string& text, const scan::ElementRowView& row, bool labelled,
                  CsvValues values) {
    std::array<std::string_view, 13> fields;
    std::size_t count = 0;
    if (labelled) {
        fields[count++] = row[scan::kCabinetSlot];
        fields[count++] = row[scan::kModuleSlot];
    }
    for (std::size_t slot = 1; slot <= 11; ++slot) {
        fields[count++] = row[slot];
    }
    // Most rows hold no value that needs quotes or an apostrophe: they are joined as they are,
    // and the joined row is looked at once. Only the separators may then be commas.
    const std::size_t at = text.size();
    std::size_t length = count - 1;
    bool formulaStart = false;
    for (std::size_t i = 0; i < count; ++i) {
        length += fields[i].size();
        formulaStart |=
            !fields[i].empty() && (kFormulaStart[static_cast<unsigned char>(fields[i].front())] ||
                                   fields[i].front() == '\0');
    }
    text.resize(at + length);
    char* out = text.data() + at;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            *out++ = ',';
        }
        out = std::copy(fields[i].begin(), fields[i].end(), out);
    }
    const scan::CsvSpecials specials = scan::csvSpecialsOf(text.data() + at, length);
    if (specials.commas == count - 1 && !specials.quoteOrLineBreak &&
        !(formulaStart && values == CsvValues::Guarded)) {
        return;
    }
    text.resize(at);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            text += ',';
        }
        appendCsvField(text, fields[i], values);
    }
}

std::string csvRowText(const scan::ElementRowView& row, bool labelled, CsvValues values) {
    std::string text;
    appendCsvRow(text, row, labelled, values);
    return text;
}

bool CsvOutputFile::begin(const scan::SinkContext& context) {
    const std::string name = context.baseName + ".csv";
    path_ = context.outputFolder.pathOf(name);
    labelled_ = context.labelled;
    const auto placement =
        askBeforeReplacing(context.outputFolder, name, ReplaceQuestion::File,
                           "  :  " + scan::shownTitle(context.type), ui_, answers_);
    if (!placement) {
        return false;
    }
    placement_ = *placement;
    file_.open(context.outputFolder, name);
    file_.writeInBackground();
    file_.write(context.headerLine);
    file_.write("\r\n\r\r\n");
    return true;
}

void CsvOutputFile::format(const scan::ElementRowView& row, std::string& out) const {
    appendCsvRow(out, row, labelled_, values_);
    out += "\r\n";
}

void CsvOutputFile::write(std::string_view formatted) {
    file_.write(formatted);
}

void CsvOutputFile::complete() {
    file_.makeDurable();
}

void CsvOutputFile::finish(long long /*writtenCount*/) {
    file_.commit(placement_);
}

std::string CsvOutputFile::abandon() noexcept {
    file_.discard();
    return {};
}

}  // namespace qor::output
