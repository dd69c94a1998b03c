#include "batch/envelope_book.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

using namespace tessarin;

namespace {

struct Row {
    std::string id;
    long long line;
    double value;  // every envelope value of the row; NaN never governs
    bool accepted;
};

ColumnDesign designWith(double value) {
    ColumnDesign design;
    design.step1.Asex = design.step1.Asey = value;
    design.step2.Asx = design.step2.Asy = design.step2.Aswx = design.step2.Aswy = value;
    return design;
}

std::vector<Envelope> envelopesOf(const std::vector<Row>& rows, std::size_t budget, bool spills) {
    EnvelopeBook book(budget);
    for (const Row& row : rows) {
        Envelope& envelope = book.open(row.id);
        if (row.accepted) envelope.add(designWith(row.value), row.line);
        EXPECT_TRUE(book.spillIfFull()) << book.error();
    }
    EXPECT_EQ(book.spilled(), spills);
    std::vector<Envelope> written;
    EXPECT_TRUE(book.forEach([&written](const Envelope& e) {
        written.push_back(e);
        return true;
    })) << book.error();
    return written;
}

// Ids that come back: every envelope is written in the order its id first appeared, with the
// largest value and the first line that reached it, whether the book held them all or had to put
// them aside after every row.
TEST(EnvelopeBook, JoinsTheCombinationsOfEachIdInFirstAppearanceOrder) {
    const double nan = std::nan("");
    const std::vector<Row> rows = {
        {"A", 2, 10.0, true},  {"B", 3, 5.0, true}, {"A", 4, 10.0, true},  // a tie keeps line 2
        {"C", 5, 99.0, false},                                             // rejected
        {"B", 6, 7.0, true},   {"A", 7, nan, true},                        // NaN never governs
    };
    for (const std::size_t budget : {std::size_t{1} << 20, std::size_t{1}}) {
        const std::vector<Envelope> e = envelopesOf(rows, budget, budget == 1);
        ASSERT_EQ(e.size(), 3u) << budget;
        EXPECT_EQ(e[0].id, "A");
        EXPECT_EQ(e[1].id, "B");
        EXPECT_EQ(e[2].id, "C");
        for (std::size_t v = 0; v < kEnvelopeValues.size(); ++v) {
            EXPECT_EQ(e[0].largest[v], 10.0);
            EXPECT_EQ(e[0].line[v], 2);
            EXPECT_EQ(e[1].largest[v], 7.0);
            EXPECT_EQ(e[1].line[v], 6);
            EXPECT_EQ(e[2].line[v], 0);
        }
        EXPECT_TRUE(e[0].any);
        EXPECT_FALSE(e[2].any);
    }
}

// Thousands of interleaved ids through a book far too small for them: the same envelopes as a
// book that holds them all.
TEST(EnvelopeBook, PutAsideGivesWhatMemoryGives) {
    std::vector<Row> rows;
    unsigned state = 11u;
    for (long long line = 2; line < 12000; ++line) {
        state = state * 1103515245u + 12345u;
        const unsigned column = (state >> 8) % 3000;
        rows.push_back({"KZ" + std::to_string(column) + (column % 5 == 0 ? "-long-enough-id" : ""),
                        line, static_cast<double>((state >> 4) % 50), (state >> 3) % 9 != 0});
    }
    const std::vector<Envelope> held = envelopesOf(rows, std::size_t{64} << 20, false);
    const std::vector<Envelope> spilled = envelopesOf(rows, 4096, true);
    ASSERT_EQ(held.size(), spilled.size());
    // The first appearance order, as the rows give it.
    std::vector<std::string> order;
    std::map<std::string, bool> seen;
    for (const Row& row : rows) {
        if (!seen[row.id]) order.push_back(row.id);
        seen[row.id] = true;
    }
    ASSERT_EQ(held.size(), order.size());
    for (std::size_t i = 0; i < held.size(); ++i) {
        EXPECT_EQ(held[i].id, order[i]);
        EXPECT_EQ(spilled[i].id, held[i].id) << i;
        EXPECT_EQ(spilled[i].largest, held[i].largest) << held[i].id;
        EXPECT_EQ(spilled[i].line, held[i].line) << held[i].id;
        EXPECT_EQ(spilled[i].any, held[i].any) << held[i].id;
    }
}

}  // namespace
