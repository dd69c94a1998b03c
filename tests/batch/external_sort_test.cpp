#include "batch/external_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "batch/envelope_book.h"
#include "batch/id_grouping.h"

using namespace tessarin;

namespace {

// Pseudo-random ids of varying length, some of them long enough to live outside the string.
std::vector<std::string> someIds(std::size_t count) {
    std::vector<std::string> ids;
    unsigned state = 7u;
    for (std::size_t i = 0; i < count; ++i) {
        state = state * 1103515245u + 12345u;
        std::string id = "KZ" + std::to_string((state >> 8) % 100000);
        if (i % 7 == 0) id += std::string(20, 'x');
        ids.push_back(id);
    }
    return ids;
}

struct SortCase {
    const char* name;
    std::size_t budget;
    std::size_t records;
    bool spills;  // whether runs must have been put aside
};

class ExternalSorting : public testing::TestWithParam<SortCase> {};

// Within memory, with a few runs, and with so many runs that they are merged on the way.
TEST_P(ExternalSorting, GivesEveryRecordInOrder) {
    const SortCase& c = GetParam();
    const std::vector<std::string> ids = someIds(c.records);
    ExternalSorter<IdGrouping::Run> sorter(c.budget);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        ASSERT_TRUE(sorter.add({i % 5, ids[i]}));
    }
    ASSERT_TRUE(sorter.finish());
    EXPECT_EQ(sorter.runCount() > 0, c.spills);
    std::vector<IdGrouping::Run> expected;
    for (std::size_t i = 0; i < ids.size(); ++i) expected.push_back({i % 5, ids[i]});
    std::sort(expected.begin(), expected.end());
    IdGrouping::Run run;
    std::size_t n = 0;
    while (sorter.next(run)) {
        ASSERT_LT(n, expected.size());
        EXPECT_EQ(run.hash, expected[n].hash) << n;
        EXPECT_EQ(run.id, expected[n].id) << n;
        ++n;
    }
    EXPECT_FALSE(sorter.failed()) << sorter.error();
    EXPECT_EQ(n, expected.size());
}

INSTANTIATE_TEST_SUITE_P(Budgets, ExternalSorting,
                         testing::Values(SortCase{"InMemory", 1 << 20, 3000, false},
                                         SortCase{"SomeRuns", 16384, 3000, true},
                                         SortCase{"RunsMergedOnTheWay", 1024, 3000, true},
                                         SortCase{"Empty", 1024, 0, false}),
                         [](const testing::TestParamInfo<SortCase>& p) {
                             return std::string(p.param.name);
                         });

struct GroupingCase {
    const char* name;
    std::vector<std::string> ids;
    bool grouped;
};

class Grouping : public testing::TestWithParam<GroupingCase> {};

TEST_P(Grouping, IsDecidedAlikeWithinAndBeyondMemory) {
    for (const std::size_t budget : {std::size_t{1} << 20, std::size_t{64}}) {
        IdGrouping grouping(budget);
        for (const std::string& id : GetParam().ids) ASSERT_TRUE(grouping.add(id));
        const auto grouped = grouping.grouped();
        ASSERT_TRUE(grouped.has_value()) << grouping.error();
        EXPECT_EQ(*grouped, GetParam().grouped) << "budget " << budget;
    }
}

std::vector<std::string> distinct(std::size_t count, std::size_t repeat) {
    std::vector<std::string> ids;
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t r = 0; r < repeat; ++r) ids.push_back("C" + std::to_string(i));
    }
    return ids;
}

std::vector<std::string> withReturnAtTheEnd(std::vector<std::string> ids) {
    ids.push_back(ids.front());
    return ids;
}

INSTANTIATE_TEST_SUITE_P(
    Files, Grouping,
    testing::Values(GroupingCase{"NoRows", {}, true}, GroupingCase{"OneId", {"A", "A", "A"}, true},
                    GroupingCase{"RunsOfTwo", {"A", "A", "B", "B", "C"}, true},
                    GroupingCase{"IdComesBack", {"A", "B", "A"}, false},
                    GroupingCase{"EmptyIdComesBack", {"", "B", ""}, false},
                    GroupingCase{"ManyDistinct", distinct(2000, 1), true},
                    GroupingCase{"ManyRunsOfFour", distinct(500, 4), true},
                    GroupingCase{"FirstIdBackAfterTwoThousand",
                                 withReturnAtTheEnd(distinct(2000, 1)), false}),
    [](const testing::TestParamInfo<GroupingCase>& p) { return std::string(p.param.name); });

}  // namespace
