#include "core/base/date_time.h"

#include <gtest/gtest.h>

#include <tuple>

namespace qor {
namespace {

TEST(DateTimeText, ParseIsoDateTimeTakesOnlyRealMomentsInTheOneShape) {
    const struct {
        const char* text;
        std::optional<DateTime> moment;
    } cases[] = {
        {"2026-12-04T10:11:12", DateTime{2026, 12, 4, 10, 11, 12}},
        {"0000-02-29T00:00:00", DateTime{0, 2, 29, 0, 0, 0}},  // year 0 is a leap year
        {"2024-02-29T23:59:59", DateTime{2024, 2, 29, 23, 59, 59}},
        {"2026-02-29T00:00:00", std::nullopt},
        {"1900-02-29T00:00:00", std::nullopt},
        {"2026-04-31T00:00:00", std::nullopt},
        {"2026-13-01T00:00:00", std::nullopt},
        {"2026-00-10T00:00:00", std::nullopt},
        {"2026-12-00T00:00:00", std::nullopt},
        {"2026-12-04T24:00:00", std::nullopt},
        {"2026-12-04T10:60:00", std::nullopt},
        {"2026-12-04T10:11:60", std::nullopt},
        {"2026-12-04 10:11:12", std::nullopt},
        {"2026-12-4T10:11:12", std::nullopt},
        {"2026-12-04T10:11:12Z", std::nullopt},
        {"+026-12-04T10:11:12", std::nullopt},
        {"2026-12-04T10:11:1x", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<DateTime> parsed = parseIsoDateTime(c.text);
        ASSERT_EQ(parsed.has_value(), c.moment.has_value()) << c.text;
        if (parsed) {
            const auto fields = [](const DateTime& t) {
                return std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second);
            };
            EXPECT_EQ(fields(*parsed), fields(*c.moment)) << c.text;
        }
    }
}

}  // namespace
}  // namespace qor
