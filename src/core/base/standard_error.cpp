#include "core/base/standard_error.h"

#include <new>

#include "core/base/qor_error.h"
#include "core/base/translation.h"

namespace qor {

std::string standardErrorLocation(const StandardError& error) {
    return "in QORReader." + error.module + '.' + error.procedure + " at line " +
           std::to_string(error.line) + error.trailer;
}

std::string formatStandardError(const StandardError& error) {
    return error.description + "\r\n" + standardErrorLocation(error);
}

void reportStandardError(UserInterface& ui, std::string_view module, std::string_view procedure,
                         std::string description, SourceLocation where) {
    ui.reportError(StandardError{std::move(description), std::string(module),
                                 std::string(procedure), static_cast<long>(where.line())});
}

std::string describeCurrentException() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return translate("StandardError", "Out of memory");
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return translate("StandardError", "Unexpected error");
    }
}

}  // namespace qor
