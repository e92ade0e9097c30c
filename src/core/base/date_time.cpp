#include "core/base/date_time.h"

#include <QDateTime>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace qor {
namespace {

std::string twoDigits(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

std::string fourDigits(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d", value);
    return buffer;
}

const std::string& monthName(const DateTime& when, const MonthNames& months) {
    static const std::string kNone;
    return when.month >= 1 && when.month <= 12 ? months.shortNames[when.month - 1] : kNone;
}

}  // namespace

DateTime SystemClock::now() const {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return DateTime{date.year(), date.month(),  date.day(),
                    time.hour(), time.minute(), time.second()};
}

std::time_t toTimeT(const DateTime& when) {
    std::tm local{};
    local.tm_year = when.year - 1900;
    local.tm_mon = when.month - 1;
    local.tm_mday = when.day;
    local.tm_hour = when.hour;
    local.tm_min = when.minute;
    local.tm_sec = when.second;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

std::string formatDateStamp(const DateTime& when, const MonthNames& months) {
    return twoDigits(when.day) + monthName(when, months) + fourDigits(when.year);
}

std::string formatDashedDate(const DateTime& when, const MonthNames& months) {
    return twoDigits(when.day) + "-" + monthName(when, months) + "-" + fourDigits(when.year);
}

std::string formatTime(const DateTime& when) {
    return twoDigits(when.hour) + ":" + twoDigits(when.minute) + ":" + twoDigits(when.second);
}

std::optional<DateTime> parseIsoDateTime(std::string_view text) {
    // Exactly this shape: a digit wherever it has a 'd', every other character as it stands.
    constexpr std::string_view kShape = "dddd-dd-ddTdd:dd:dd";
    if (text.size() != kShape.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        const bool fits =
            kShape[i] == 'd' ? text[i] >= '0' && text[i] <= '9' : text[i] == kShape[i];
        if (!fits) {
            return std::nullopt;
        }
    }
    const auto number = [text](std::size_t at, std::size_t digits) {
        int value = 0;
        std::from_chars(text.data() + at, text.data() + at + digits, value);
        return value;
    };
    const DateTime when{number(0, 4),  number(5, 2),  number(8, 2),
                        number(11, 2), number(14, 2), number(17, 2)};
    const std::chrono::year_month_day date{std::chrono::year{when.year},
                                           std::chrono::month{static_cast<unsigned>(when.month)},
                                           std::chrono::day{static_cast<unsigned>(when.day)}};
    if (!date.ok() || when.hour > 23 || when.minute > 59 || when.second > 59) {
        return std::nullopt;
    }
    return when;
}

}  // namespace qor
