#include "engine/gb2010/column_with_stirrups.h"

#include <gtest/gtest.h>

#include <vector>

namespace tessarin {
namespace {

// The start-up column (400 x 600, C30, HRB400, c = 20, the bars placed with 8 mm stirrups) as a
// grade 一 frame column: table 6.3.7-2 asks for 10 mm in the dense zone, so the bars move 2 mm
// inwards and the longitudinal design is made again with 10 mm; the second round keeps 10 mm and
// settles.
TEST(ColumnWithStirrups, AThickerStirrupPlacesTheBarsAgain) {
    Gb2010Column column;
    column.seismic = SeismicGrade::One;
    const std::vector<LoadCombination> loads = {{400.0, 244.0, 1.0, 120.0, 1.0}};
    StirrupInputs inputs;
    inputs.hn = 3600.0;
    inputs.lambdaX = 3.2;
    inputs.lambdaY = 5.0;
    inputs.shears = {{90.0, 50.0, ShearCombinationKind::Seismic}};
    const ColumnWithStirrups r = designColumnWithStirrups(column, loads, inputs);
    ASSERT_TRUE(r.longitudinal.designed);
    ASSERT_TRUE(r.stirrups.has_value());
    ASSERT_TRUE(r.stirrups->designed);
    EXPECT_EQ(r.rounds, 2);
    EXPECT_TRUE(r.settled);
    EXPECT_DOUBLE_EQ(r.stirrupDiameterUsed, 10.0);
    EXPECT_DOUBLE_EQ(r.longitudinal.column.stirrup, 10.0);
    EXPECT_EQ(r.stirrups->choice.diameter, 10);
    EXPECT_FALSE(r.stirrups->exceedsAssumedDiameter);
    // The corner bars stand c + 10 + dc/2 from the faces.
    const BarLayout& layout = *r.longitudinal.layout;
    const double dc = static_cast<double>(layout.choice.cornerDiameter);
    EXPECT_DOUBLE_EQ(layout.bars[0].u, 300.0 - (20.0 + 10.0 + dc / 2.0));
    EXPECT_DOUBLE_EQ(r.stirrups->column.assumedStirrup, 10.0);
}

// Without a seismic grade and with little shear the 8 mm the bars were placed with is enough: one
// round. The shears of combinations not given are 0.
TEST(ColumnWithStirrups, OneRoundWhenTheStirrupFits) {
    const Gb2010Column column;
    const std::vector<LoadCombination> loads = {{400.0, 244.0, 1.0, 120.0, 1.0},
                                                {1200.0, 100.0, 1.0, 60.0, 1.0}};
    StirrupInputs inputs;
    inputs.hn = 3600.0;
    inputs.shears = {{60.0, 30.0, ShearCombinationKind::NonSeismic}};
    const ColumnWithStirrups r = designColumnWithStirrups(column, loads, inputs);
    ASSERT_TRUE(r.stirrups.has_value());
    EXPECT_EQ(r.rounds, 1);
    EXPECT_TRUE(r.stirrups->designed);
    EXPECT_LE(r.stirrups->choice.diameter, 8);
    const std::vector<ShearCombination> shear = shearCombinationsOf(loads, inputs);
    ASSERT_EQ(shear.size(), 2u);
    EXPECT_DOUBLE_EQ(shear[0].Vx, 60.0);
    EXPECT_DOUBLE_EQ(shear[1].N, 1200.0);
    EXPECT_DOUBLE_EQ(shear[1].Vx, 0.0);
    EXPECT_EQ(shear[1].kind, ShearCombinationKind::Unspecified);
}

// No layout, no stirrups: a 200 x 200 section cannot carry the start-up loads.
TEST(ColumnWithStirrups, NoLayoutNoStirrups) {
    Gb2010Column column;
    column.b = 200.0;
    column.h = 200.0;
    const std::vector<LoadCombination> loads = {{400.0, 244.0, 1.0, 120.0, 1.0}};
    const ColumnWithStirrups r = designColumnWithStirrups(column, loads, StirrupInputs{});
    EXPECT_FALSE(r.longitudinal.designed);
    EXPECT_FALSE(r.stirrups.has_value());
}

}  // namespace
}  // namespace tessarin
