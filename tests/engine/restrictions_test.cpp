#include "engine/restrictions.h"
#include "model/junk_file_type.h"
#include "platform/clock.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

TDateTime Day(int y, int m, int d) {
    return DateTime::EncodeDate(y, m, d).value();
}

// FILETIME of a UTC day number.
int64_t FileTimeOf(TDateTime utc) {
    constexpr int64_t daysFrom1601 = 109205;
    return static_cast<int64_t>((utc + daysFrom1601) * 864000000000.0 + 0.5);
}

// A pinned "now", and local time a fixed number of hours from UTC.
class PinnedClock : public FixedClock {
public:
    PinnedClock(TDateTime now, double offsetHours) : FixedClock(now), offset_(offsetHours) {}
    std::optional<TDateTime> FileTimeToLocal(int64_t fileTimeUtc) const override {
        if (fileTimeUtc < 0)
            return std::nullopt;
        return fileTimeUtc / 864000000000.0 - 109205 + offset_ / 24.0;
    }

private:
    double offset_;
};

class RestrictionsTest : public ::testing::Test {
protected:
    void Pin(TDateTime now, double offsetHours = 0) {
        clock_ = std::make_unique<PinnedClock>(now, offsetHours);
        Clock::Install(clock_.get());
    }
    void TearDown() override { Clock::Install(nullptr); }

    std::unique_ptr<PinnedClock> clock_;
};

TEST(DateRule, BoundsOfEveryComparison) {
    const TDateTime mar10 = Day(2026, 3, 10);
    DateRule rule{0, mar10, 0};
    EXPECT_FALSE(rule.Fails(mar10));
    EXPECT_TRUE(rule.Fails(mar10 + 1));
    rule.compare = 1; // before
    EXPECT_FALSE(rule.Fails(mar10 - 1));
    EXPECT_TRUE(rule.Fails(mar10));
    rule.compare = 2; // after: the day itself counts
    EXPECT_FALSE(rule.Fails(mar10));
    EXPECT_TRUE(rule.Fails(mar10 - 1));
    rule = {3, Day(2026, 1, 1), Day(2026, 1, 31)}; // between
    EXPECT_FALSE(rule.Fails(Day(2026, 1, 1)));
    EXPECT_FALSE(rule.Fails(Day(2026, 1, 30)));
    EXPECT_TRUE(rule.Fails(Day(2026, 1, 31)));
    EXPECT_TRUE(rule.Fails(Day(2025, 12, 31)));
    rule.compare = 4; // not between: the exact complement
    for (TDateTime f = Day(2025, 12, 30); f <= Day(2026, 2, 2); f += 1) {
        DateRule between = rule;
        between.compare = 3;
        EXPECT_NE(rule.Fails(f), between.Fails(f)) << f;
    }
    rule.compare = 5;
    EXPECT_TRUE(rule.Fails(Day(2026, 1, 5)));
    rule.compare = -1;
    EXPECT_TRUE(rule.Fails(Day(2026, 1, 5)));
}

TEST(SizeRule, BoundsUnitsAndSixtyFourBits) {
    SizeRule rule{2, 10, 0, 1}; // greater than 10 KB: at least
    EXPECT_FALSE(rule.Fails(10240));
    EXPECT_TRUE(rule.Fails(10239));
    rule.compare = 1; // less than
    EXPECT_TRUE(rule.Fails(10240));
    EXPECT_FALSE(rule.Fails(10239));
    rule.compare = 0;
    EXPECT_FALSE(rule.Fails(10240));
    EXPECT_TRUE(rule.Fails(10241));
    rule = {3, 1, 2, 2}; // between 1 and 2 MB
    EXPECT_FALSE(rule.Fails(1048576));
    EXPECT_FALSE(rule.Fails(2097151));
    EXPECT_TRUE(rule.Fails(2097152));
    EXPECT_TRUE(rule.Fails(1048575));
    rule.compare = 4;
    EXPECT_TRUE(rule.Fails(1048576));
    EXPECT_FALSE(rule.Fails(2097152));
    EXPECT_FALSE(rule.Fails(1048575));
    // 4000 MB does not fit 32 bits; a 5 GB file is larger still.
    rule = {2, 4000, 0, 2};
    EXPECT_FALSE(rule.Fails(int64_t{5} << 30));
    EXPECT_TRUE(rule.Fails(int64_t{4000} * 1048576 - 1));
    rule = {1, 0, 0, 0};
    EXPECT_TRUE(rule.Fails(0));
    rule.compare = 7;
    EXPECT_TRUE(rule.Fails(0));
    rule = {2, 0, 0, 3}; // a unit outside the table holds the file back
    EXPECT_TRUE(rule.Fails(100));
}

TEST(AgeRule, CalendarArithmetic) {
    EXPECT_EQ(AgeRule::Reference(Day(2026, 5, 20), 0), Day(2026, 5, 19));
    EXPECT_EQ(AgeRule::Reference(Day(2026, 5, 20), 1), Day(2026, 5, 17));
    EXPECT_EQ(AgeRule::Reference(Day(2026, 3, 3), 2), Day(2026, 2, 24));
    EXPECT_EQ(AgeRule::Reference(Day(2026, 1, 15), 3), Day(2025, 12, 15));
    EXPECT_EQ(AgeRule::Reference(Day(2026, 5, 15), 4), Day(2026, 2, 15));
    EXPECT_EQ(AgeRule::Reference(Day(2026, 3, 15), 4), Day(2025, 12, 15));
    EXPECT_EQ(AgeRule::Reference(Day(2026, 6, 15), 5), Day(2025, 12, 15));
    EXPECT_EQ(AgeRule::Reference(Day(2026, 7, 15), 5), Day(2026, 1, 15));
    EXPECT_EQ(AgeRule::Reference(Day(2026, 7, 15), 6), Day(2025, 7, 15));
    EXPECT_EQ(AgeRule::Reference(Day(2026, 7, 15), 7), Day(2026, 7, 15));
    EXPECT_EQ(AgeRule::Reference(Day(2026, 7, 15), -1), Day(2026, 7, 15));
    // Days the target month lacks become its last day.
    EXPECT_EQ(AgeRule::Reference(Day(2026, 3, 31), 3), Day(2026, 2, 28));
    EXPECT_EQ(AgeRule::Reference(Day(2024, 3, 30), 3), Day(2024, 2, 29));
    EXPECT_EQ(AgeRule::Reference(Day(2026, 5, 31), 4), Day(2026, 2, 28));
    EXPECT_EQ(AgeRule::Reference(Day(2026, 12, 31), 5), Day(2026, 6, 30));
    EXPECT_EQ(AgeRule::Reference(Day(2024, 2, 29), 6), Day(2023, 2, 28));
}

TEST(AgeRule, BoundsOfEveryComparison) {
    const TDateTime today = Day(2026, 5, 20);
    AgeRule rule{1, 1, 0}; // older than 3 days
    EXPECT_FALSE(rule.Fails(Day(2026, 5, 16), today));
    EXPECT_TRUE(rule.Fails(Day(2026, 5, 17), today));
    rule.compare = 2; // newer than: exactly that old counts as newer
    EXPECT_FALSE(rule.Fails(Day(2026, 5, 17), today));
    EXPECT_TRUE(rule.Fails(Day(2026, 5, 16), today));
    rule.compare = 0;
    EXPECT_FALSE(rule.Fails(Day(2026, 5, 17), today));
    EXPECT_TRUE(rule.Fails(Day(2026, 5, 18), today));
    rule = {3, 2, 3}; // between 1 week and 1 month: older than a week, not older than a month
    EXPECT_FALSE(rule.Fails(Day(2026, 4, 20), today));
    EXPECT_FALSE(rule.Fails(Day(2026, 5, 12), today));
    EXPECT_TRUE(rule.Fails(Day(2026, 5, 13), today));
    EXPECT_TRUE(rule.Fails(Day(2026, 4, 19), today));
    rule.compare = 4;
    EXPECT_TRUE(rule.Fails(Day(2026, 4, 20), today));
    EXPECT_FALSE(rule.Fails(Day(2026, 5, 13), today));
    EXPECT_FALSE(rule.Fails(Day(2026, 4, 19), today));
    rule.compare = 9;
    EXPECT_TRUE(rule.Fails(Day(2026, 4, 19), today));
}

TEST_F(RestrictionsTest, FileDateIsTheLocalDay) {
    Pin(Day(2026, 3, 20), -2); // two hours behind UTC
    FindEntry entry;
    entry.lastWriteUtc = FileTimeOf(Day(2026, 3, 10) + 1.5 / 24); // 01:30 UTC, 23:30 local
    EXPECT_EQ(Restrictions::FileDate(entry), Day(2026, 3, 9));
    entry.lastWriteUtc = -1;
    EXPECT_FALSE(Restrictions::FileDate(entry));
}

TEST_F(RestrictionsTest, OrderAndFilesWithoutADate) {
    Pin(Day(2026, 5, 20) + 0.75);
    TJunkFileObj type;
    FindEntry entry;
    entry.size = 100;
    entry.lastWriteUtc = FileTimeOf(Day(2026, 5, 16) + 0.5);
    EXPECT_TRUE(Restrictions::PassesRestrictions(type, entry)); // nothing switched on

    type.AgeRestrict = true;
    type.AgeCompare = 1; // older than 3 days: 16 May qualifies on 20 May
    type.Age1 = 1;
    EXPECT_TRUE(Restrictions::PassesRestrictions(type, entry));
    EXPECT_FALSE(Restrictions::FailsAge(type, Day(2026, 5, 16)));
    clock_->Set(Day(2026, 5, 19) + 0.1); // the reference moves with the clock
    EXPECT_FALSE(Restrictions::PassesRestrictions(type, entry));

    type.SizeRestrict = true;
    type.SizeCompare = 1;
    type.Size1 = 50; // fails too: still just false
    EXPECT_FALSE(Restrictions::PassesRestrictions(type, entry));

    entry.lastWriteUtc = -1; // no date: age cannot hold it back, size still does
    EXPECT_FALSE(Restrictions::PassesRestrictions(type, entry));
    type.Size1 = 200;
    EXPECT_TRUE(Restrictions::PassesRestrictions(type, entry));

    type.DateRestrict = true;
    type.DateCompare = 1;
    type.Date1 = Day(2000, 1, 1);
    EXPECT_TRUE(Restrictions::PassesRestrictions(type, entry));
    entry.lastWriteUtc = FileTimeOf(Day(2026, 5, 1));
    EXPECT_FALSE(Restrictions::PassesRestrictions(type, entry));
    EXPECT_TRUE(Restrictions::FailsDate(type, Day(2026, 5, 1)));
    EXPECT_FALSE(Restrictions::FailsSize(type, 199));
}

} // namespace
} // namespace brumo
