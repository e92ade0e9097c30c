#pragma once

#include <array>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace qor {

struct DateTime {
    int year = 2000;
    int month = 1;  // 1..12
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The abbreviated month names of the user's locale; English unless the platform says otherwise.
struct MonthNames {
    std::array<std::string, 12> shortNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
};

// A clock that always shows the same moment (reproducible output, tests).
class FixedClock : public Clock {
public:
    explicit FixedClock(DateTime moment) : moment_(moment) {}
    DateTime now() const override { return moment_; }

private:
    DateTime moment_;
};

// The system's local time.
class SystemClock : public Clock {
public:
    DateTime now() const override;
};

// "ddMMMyyyy", as in folder and file names: 04Dec2026.
std::string formatDateStamp(const DateTime& when, const MonthNames& months);
// "dd-MMM-yyyy": 04-Dec-2026.
std::string formatDashedDate(const DateTime& when, const MonthNames& months);
// "hh:mm:ss", 24-hour.
std::string formatTime(const DateTime& when);

// The moment as seconds since the epoch, taking it as local time.
std::time_t toTimeT(const DateTime& when);

// Parses "YYYY-MM-DDTHH:MM:SS"; nothing when the text is not a valid moment.
std::optional<DateTime> parseIsoDateTime(std::string_view text);

}  // namespace qor
