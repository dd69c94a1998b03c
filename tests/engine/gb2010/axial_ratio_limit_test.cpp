#include <gtest/gtest.h>

#include <array>
#include <string>

#include "engine/gb2010/bar_layout.h"
#include "engine/gb2010/gb2010_design.h"
#include "engine/gb2010/gb2010_rules.h"

namespace tessarin {
namespace {

using S = SeismicGrade;
using T = StructureType;

// GB 50011-2010 (2016) table 6.3.6, its note 2, and the note of GB 50010-2010 11.4.16, written
// out cell by cell from the code texts (not from the rule's arithmetic):
//   frame structures                          一 0.65  二 0.75  三 0.85  四 0.90
//   frame-shear wall and the other duals      一 0.75  二 0.85  三 0.90  四 0.95
//   frame-supporting columns (部分框支抗震墙)  一 0.60  二 0.70  三 —     四 —
// for a shear-span ratio above 2 and concrete up to C60; C65 and C70 0.05 lower, C75 and C80
// 0.10 lower; a shear-span ratio of 2 or less 0.05 lower again; below 1.5 special study.
struct Row {
    S grade;
    T structure;
    // C60, C65, C70, C75, C80 with lambda above 2, then the same with lambda at most 2.
    std::array<double, 5> slender;
    std::array<double, 5> shortColumn;
};
constexpr Row kTable[] = {
    {S::One, T::Frame, {0.65, 0.60, 0.60, 0.55, 0.55}, {0.60, 0.55, 0.55, 0.50, 0.50}},
    {S::Two, T::Frame, {0.75, 0.70, 0.70, 0.65, 0.65}, {0.70, 0.65, 0.65, 0.60, 0.60}},
    {S::Three, T::Frame, {0.85, 0.80, 0.80, 0.75, 0.75}, {0.80, 0.75, 0.75, 0.70, 0.70}},
    {S::Four, T::Frame, {0.90, 0.85, 0.85, 0.80, 0.80}, {0.85, 0.80, 0.80, 0.75, 0.75}},
    {S::One, T::Dual, {0.75, 0.70, 0.70, 0.65, 0.65}, {0.70, 0.65, 0.65, 0.60, 0.60}},
    {S::Two, T::Dual, {0.85, 0.80, 0.80, 0.75, 0.75}, {0.80, 0.75, 0.75, 0.70, 0.70}},
    {S::Three, T::Dual, {0.90, 0.85, 0.85, 0.80, 0.80}, {0.85, 0.80, 0.80, 0.75, 0.75}},
    {S::Four, T::Dual, {0.95, 0.90, 0.90, 0.85, 0.85}, {0.90, 0.85, 0.85, 0.80, 0.80}},
    {S::One, T::FrameSupported, {0.60, 0.55, 0.55, 0.50, 0.50}, {0.55, 0.50, 0.50, 0.45, 0.45}},
    {S::Two, T::FrameSupported, {0.70, 0.65, 0.65, 0.60, 0.60}, {0.65, 0.60, 0.60, 0.55, 0.55}},
};
constexpr std::array<int, 5> kConcretes = {60, 65, 70, 75, 80};
// fc of C60 ... C80 (4.1.4-1).
constexpr std::array<double, 5> kFc = {27.5, 29.7, 31.8, 33.8, 35.9};

std::string cell(const Row& row, int concrete, double lambda) {
    return "grade " + std::to_string(static_cast<int>(row.grade)) + ", structure " +
           std::to_string(static_cast<int>(row.structure)) + ", C" + std::to_string(concrete) +
           ", lambda " + std::to_string(lambda);
}

// The rule itself: every cell exactly (0.85 - 0.05 is the code's 0.80, not the double below it).
TEST(AxialRatioLimit, EveryCellOfTheTableWithItsNotes) {
    for (const Row& row : kTable) {
        for (std::size_t c = 0; c < kConcretes.size(); ++c) {
            const int concrete = kConcretes[c];
            EXPECT_EQ(axialRatioLimit(row.grade, row.structure, concrete, 3.0).value,
                      row.slender[c])
                << cell(row, concrete, 3.0);
            EXPECT_EQ(axialRatioLimit(row.grade, row.structure, concrete, 2.0).value,
                      row.shortColumn[c])
                << cell(row, concrete, 2.0);
            // Just above 2 the table holds; below 1.5 the value is the short column's (the
            // design refuses such a column, see below).
            EXPECT_EQ(axialRatioLimit(row.grade, row.structure, concrete, 2.0001).value,
                      row.slender[c]);
            EXPECT_EQ(axialRatioLimit(row.grade, row.structure, concrete, 1.4).value,
                      row.shortColumn[c]);
        }
    }
    // Up to C60 the table as it stands: C30 and C55 as C60.
    EXPECT_EQ(axialRatioLimit(S::One, T::Frame, 30, 3.0).value, 0.65);
    EXPECT_EQ(axialRatioLimit(S::Four, T::Dual, 55, 3.0).value, 0.95);
    // The notes, each on its own.
    const AxialRatioLimit notes = axialRatioLimit(S::Three, T::Frame, 75, 1.8);
    EXPECT_EQ(notes.table, 0.85);
    EXPECT_EQ(notes.concreteReduction, 0.10);
    EXPECT_EQ(notes.shortColumnReduction, 0.05);
    EXPECT_EQ(notes.value, 0.70);
    // No limit without a grade, and none in the table for frame-supporting columns of 三 and 四.
    EXPECT_EQ(axialRatioLimit(S::None, T::Frame, 30, 3.0).value, 0.0);
    EXPECT_FALSE(hasAxialRatioLimit(S::None, T::Frame));
    EXPECT_FALSE(hasAxialRatioLimit(S::Three, T::FrameSupported));
    EXPECT_FALSE(hasAxialRatioLimit(S::Four, T::FrameSupported));
    EXPECT_TRUE(hasAxialRatioLimit(S::Two, T::FrameSupported));
    EXPECT_EQ(axialRatioLimit(S::Three, T::FrameSupported, 30, 3.0).value, 0.0);
}

// A 534 x 534 column with c = 20, ds = 8: a = 20 + 8 + 12/2 = 34, h0 = 500 both ways, so
// lambda = Hn / 1000: Hn = 3000 gives 3.0, 2000 exactly 2.0, 1400 gives 1.4.
Gb2010Column squareColumn(const Row& row, int concrete, double hn) {
    Gb2010Column column;
    column.b = 534.0;
    column.h = 534.0;
    column.l0 = 4000.0;
    column.cover = 20.0;
    column.stirrup = 8.0;
    column.concreteGrade = concrete;
    column.seismic = row.grade;
    column.structure = row.structure;
    column.hn = hn;
    return column;
}

// Through the design: a column whose N / (fc A) lies 0.005 above the cell's limit is refused
// with that limit; below 1.5 every seismic column is refused for special study.
TEST(AxialRatioLimit, TheDesignRefusesAboveEveryCell) {
    constexpr double kArea = 534.0 * 534.0;
    for (const Row& row : kTable) {
        for (std::size_t c = 0; c < kConcretes.size(); ++c) {
            const int concrete = kConcretes[c];
            const struct {
                double hn;
                double limit;
            } spans[] = {{3000.0, row.slender[c]}, {2000.0, row.shortColumn[c]}};
            for (const auto& span : spans) {
                const Gb2010Column column = squareColumn(row, concrete, span.hn);
                const double N = (span.limit + 0.005) * kFc[c] * kArea / 1000.0;
                const LoadCombination load{N, 10.0, 1.0, 10.0, 1.0};
                const Gb2010Design d = designGb2010(column, {&load, 1});
                EXPECT_FALSE(d.designed) << cell(row, concrete, span.hn / 1000.0);
                EXPECT_EQ(d.reason.kind, NoLayoutKind::AxialRatioExceeded)
                    << cell(row, concrete, span.hn / 1000.0);
                EXPECT_EQ(d.reason.limit, span.limit) << cell(row, concrete, span.hn / 1000.0);
                EXPECT_NEAR(d.reason.value, span.limit + 0.005, 1e-12);
                EXPECT_DOUBLE_EQ(d.limits.shearSpan.lambda, span.hn / 1000.0);
            }
            const Gb2010Column stubby = squareColumn(row, concrete, 1400.0);
            const LoadCombination light{100.0, 10.0, 1.0, 10.0, 1.0};
            const Gb2010Design refused = designGb2010(stubby, {&light, 1});
            EXPECT_EQ(refused.reason.kind, NoLayoutKind::ShortColumn) << cell(row, concrete, 1.4);
            EXPECT_DOUBLE_EQ(refused.reason.value, 1.4);
        }
    }
    // Without a grade a short column is designed as any other: the limit is a seismic one.
    Row none{S::None, T::Frame, {}, {}};
    const LoadCombination light{100.0, 10.0, 1.0, 10.0, 1.0};
    const Gb2010Design plain = designGb2010(squareColumn(none, 30, 1400.0), {&light, 1});
    EXPECT_TRUE(plain.designed);
}

// The case: a C70 grade 一 frame column at N / (fc A) = 0.62 was designed against 0.65;
// the code's limit is 0.65 - 0.05 = 0.60, and the column is refused.
TEST(AxialRatioLimit, HighStrengthFrameColumnNoLongerPasses) {
    Gb2010Column column = squareColumn(kTable[0], 70, 3000.0);
    const LoadCombination load{0.62 * 31.8 * 534.0 * 534.0 / 1000.0, 50.0, 1.0, 50.0, 1.0};
    const Gb2010Design d = designGb2010(column, {&load, 1});
    EXPECT_EQ(d.reason.kind, NoLayoutKind::AxialRatioExceeded);
    EXPECT_EQ(d.limits.axialRatio.value, 0.60);
    // At 0.58 the limit holds and the design goes on to the bars.
    const LoadCombination lighter{0.58 * 31.8 * 534.0 * 534.0 / 1000.0, 50.0, 1.0, 50.0, 1.0};
    EXPECT_NE(designGb2010(column, {&lighter, 1}).reason.kind, NoLayoutKind::AxialRatioExceeded);
}

// Hn defaults to l0; lambda per axis with h0 = D - 34: 400 x 600, Hn = 2400 gives
// lambda_x = 2400 / (2 x 566) = 2.120, lambda_y = 2400 / (2 x 366) = 3.279; the smaller governs.
TEST(ShearSpan, PerAxisTheSmallerGoverns) {
    Gb2010Column column;  // 400 x 600, l0 6000
    ShearSpan s = shearSpan(column, 20.0);
    EXPECT_EQ(s.hn, 6000.0);
    column.hn = 2400.0;
    s = shearSpan(column, 20.0);
    EXPECT_EQ(s.a, 34.0);
    EXPECT_EQ(s.h0x, 566.0);
    EXPECT_EQ(s.h0y, 366.0);
    EXPECT_NEAR(s.lambdaX, 2.120141, 5e-7);
    EXPECT_NEAR(s.lambdaY, 3.278689, 5e-7);
    EXPECT_EQ(s.lambda, s.lambdaX);
}

// GB 50011 6.3.8: a grade 一 column with lambda <= 2 carries at most 1.2 % on each face; grade 二,
// or lambda above 2, has no such limit. 400 x 600 with Hn = 2000: lambda = 2000 / 1132 = 1.77.
TEST(ShortColumnOneSideLimit, GradeOneOnly) {
    Gb2010Column column;
    column.hn = 2000.0;
    column.seismic = S::One;
    EXPECT_EQ(detailingLimits(column, 20.0).maximumOneSideRatio, 0.012);
    column.seismic = S::Two;
    EXPECT_EQ(detailingLimits(column, 20.0).maximumOneSideRatio, 0.0);
    column.seismic = S::One;
    column.hn = 2400.0;  // lambda = 2.12
    EXPECT_EQ(detailingLimits(column, 20.0).maximumOneSideRatio, 0.0);

    // A grade 一 short column gets no layout with a face above 1.2 %: face of length b, 2 corner
    // bars of 28 and 3 web bars of 28 = 5 x 615.75 = 3078.8 mm^2 on 240000 mm^2 = 1.28 %.
    column.hn = 2000.0;
    const DetailingLimits limits = detailingLimits(column, 20.0);
    for (const LayoutChoice& choice : detailedChoices({400.0, 600.0, 20.0, 8.0}, limits)) {
        const BarLayout figures = layoutFigures({400.0, 600.0, 20.0, 8.0}, choice);
        EXPECT_LE(figures.oneSideRatioB, 0.012);
        EXPECT_LE(figures.oneSideRatioH, 0.012);
    }
    const BarLayout heavy = layoutFigures({400.0, 600.0, 20.0, 8.0}, {28, 28, 3, 3});
    EXPECT_NEAR(heavy.oneSideRatioB, 0.012828, 5e-7);
    EXPECT_FALSE(checkDetailing(heavy, limits).maximumOneSideRatio);
}

}  // namespace
}  // namespace tessarin
