#include "core/platform/folder_lock.h"

#include "core/base/translation.h"
#include "core/platform/folder_lock_holder.h"
#include "core/platform/path_names.h"

// What the folder lock does the same way on every system: the lock file's words and the
// messages. Taking and releasing the lock is in folder_lock_posix.cpp and
// folder_lock_windows.cpp.
namespace qor::platform {
namespace {

using std::chrono::seconds;

constexpr std::string_view kProgram = "qorreader";

// `one` for a count of 1, else `many` with the count as %1.
std::string counted(long long count, const std::string& one, const std::string& many) {
    return count == 1 ? one : fillIn(many, {std::to_string(count)});
}

}  // namespace

LockHolder parseLockHolder(std::string_view text) {
    LockHolder holder;
    std::string_view lines[3];
    std::size_t at = 0;
    for (std::string_view& line : lines) {
        const std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) {
            return holder;
        }
        line = text.substr(at, end - at);
        at = end + 1;
    }
    const std::string_view number = lines[0];
    if (number.empty() || number.size() > 10 ||
        number.find_first_not_of("0123456789") != std::string_view::npos || lines[2].empty()) {
        return holder;
    }
    holder.process = std::stol(std::string(number));
    holder.host = std::string(lines[2]);
    holder.readable = holder.process > 0;
    return holder;
}

std::string lockHolderText(long process, std::string_view host) {
    return std::to_string(process) + "\n" + std::string(kProgram) + "\n" + std::string(host) + "\n";
}

void stopWaitingFor(const FolderHandle& folder,
                    const std::optional<FolderLockedElsewhere>& foreign) {
    if (foreign) {
        throw *foreign;
    }
    throw QorError(fillIn(translate("ResultFolder", "'%1' is being written by another scan"),
                          {shownPath(folder.path())}));
}

FolderLockedElsewhere::FolderLockedElsewhere(const std::string& folder, const std::string& host,
                                             seconds age)
    : QorError(fillIn(translate("ResultFolder",
                                "'%1' is being written by a scan on the computer '%2' (its lock "
                                "is %3 old)"),
                      {shownPath(folder), host, lockAgeText(age)})),
      host_(host),
      age_(age) {}

std::string lockAgeText(seconds age) {
    const long long s = age.count();
    if (s < 120) {
        return counted(s, translate("ResultFolder", "1 second"),
                       translate("ResultFolder", "%1 seconds"));
    }
    if (s < 2 * 3600) {
        return counted(s / 60, translate("ResultFolder", "1 minute"),
                       translate("ResultFolder", "%1 minutes"));
    }
    if (s < 2 * 86400) {
        return counted(s / 3600, translate("ResultFolder", "1 hour"),
                       translate("ResultFolder", "%1 hours"));
    }
    return counted(s / 86400, translate("ResultFolder", "1 day"),
                   translate("ResultFolder", "%1 days"));
}

}  // namespace qor::platform
