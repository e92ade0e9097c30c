#include "scan/csv_result_file.h"

#include "core/qor_error.h"
#include "core/standard_error.h"
#include "core/strings.h"
#include "platform/file_system.h"

namespace qor::scan {
namespace {

Prompt overwritePrompt(const std::string& path, int questionId, std::string_view titleSuffix) {
    Prompt prompt;
    prompt.title = std::string(kApplicationTitle) + std::string(titleSuffix);
    prompt.text = std::string(loadString(str::kFile)) + "'" + path + "'" +
                  std::string(loadString(str::kAlreadyExists)) + "\r\n" +
                  std::string(loadString(questionId));
    prompt.icon = MessageIcon::Exclamation;
    prompt.placement = PromptPlacement::OverMainWindow;
    return prompt;
}

// A value holding a comma or a double quote is quoted. (A plain loop: find_first_of calls
// the library once per character.)
void appendCsvField(std::string& out, const std::string& value) {
    bool needsQuotes = false;
    for (const char c : value) {
        needsQuotes |= c == ',' || c == '"';
    }
    if (!needsQuotes) {
        out.append(value);
        return;
    }
    out += '"';
    for (const char c : value) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

}  // namespace

CsvPreparation prepareCsvFile(const std::string& path, std::string_view headerLine,
                              std::string_view titleSuffix, UserInterface& ui) {
    bool exists = false;
    runStep(ui, "modMain", "FileExist", [&] { exists = platform::pathExists(path); });
    if (exists && !ui.askYesNo(overwritePrompt(path, str::kReplaceIt, titleSuffix))) {
        return {false, false};
    }
    const bool created = runStep(ui, "modMain", "FileExist", [&] {
        std::string content(headerLine);
        content += "\r\n\r\r\n";
        platform::writeWholeFile(path, content);
    });
    return {true, created};
}

bool FileExist(const std::string& path, std::string_view headerLine, std::string_view titleSuffix,
               UserInterface& ui) {
    return prepareCsvFile(path, headerLine, titleSuffix, ui).proceed;
}

bool HTMLFileExist(const std::string& path, std::string_view titleSuffix, UserInterface& ui) {
    bool exists = false;
    runStep(ui, "modMain", "HTMLFileExist", [&] { exists = platform::pathExists(path); });
    return exists && !ui.askYesNo(overwritePrompt(path, str::kReplaceHtmlAndRelated, titleSuffix));
}

void AppendRowText(std::string& text, const ElementRow& row, bool labelled) {
    if (labelled) {
        appendCsvField(text, row[kCabinetSlot]);
        text += ',';
        appendCsvField(text, row[kModuleSlot]);
        text += ',';
    }
    for (std::size_t slot = 1; slot <= 11; ++slot) {
        if (slot > 1) {
            text += ',';
        }
        appendCsvField(text, row[slot]);
    }
}

std::string BuildRowText(const ElementRow& row, bool labelled) {
    std::string text;
    AppendRowText(text, row, labelled);
    return text;
}

bool CsvResultFile::begin(const SinkContext& context) {
    path_ = platform::joinPath(context.outputFolder, context.baseName + ".csv");
    labelled_ = context.labelled;
    const CsvPreparation preparation =
        prepareCsvFile(path_, context.headerLine, "  :  " + std::string(context.type.title), ui_);
    // Only a file this read has written may be removed if the read fails.
    ownsFile_ = preparation.created;
    return preparation.proceed;
}

void CsvResultFile::write(const ElementRow& row) {
    if (!file_.isOpen()) {
        file_.open(path_, "ab");
    }
    rowText_.clear();
    AppendRowText(rowText_, row, labelled_);
    rowText_ += "\r\n";
    file_.write(rowText_);
}

void CsvResultFile::finish(long long /*writtenCount*/) {
    file_.close();
}

std::string CsvResultFile::abandon() noexcept {
    file_.discard();
    if (!ownsFile_) {
        return {};
    }
    return !platform::removeFile(path_)
               ? "The incomplete file '" + path_ + "' could not be removed."
               : "The incomplete file '" + path_ + "' was removed.";
}

}  // namespace qor::scan
