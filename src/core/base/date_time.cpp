#include "core/base/date_time.h"

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

bool readNumber(std::string_view text, std::size_t pos, std::size_t digits, int& out) {
    if (pos + digits > text.size()) {
        return false;
    }
    int value = 0;
    for (std::size_t i = pos; i < pos + digits; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    out = value;
    return true;
}

}  // namespace

DateTime SystemClock::now() const {
    const std::time_t seconds =
        std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    return DateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                    local.tm_hour,        local.tm_min,     local.tm_sec};
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
    DateTime when;
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':') {
        return std::nullopt;
    }
    if (!readNumber(text, 0, 4, when.year) || !readNumber(text, 5, 2, when.month) ||
        !readNumber(text, 8, 2, when.day) || !readNumber(text, 11, 2, when.hour) ||
        !readNumber(text, 14, 2, when.minute) || !readNumber(text, 17, 2, when.second)) {
        return std::nullopt;
    }
    static constexpr int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (when.year % 4 == 0 && when.year % 100 != 0) || when.year % 400 == 0;
    if (when.month < 1 || when.month > 12 || when.day < 1 ||
        when.day > kDaysInMonth[when.month - 1] || (when.month == 2 && !leap && when.day > 28) ||
        when.hour > 23 || when.minute > 59 || when.second > 59) {
        return std::nullopt;
    }
    return when;
}

}  // namespace qor
