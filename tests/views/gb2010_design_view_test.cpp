#include "views/gb2010_design_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/gb2010/column_with_stirrups.h"

namespace tessarin {
namespace {

// The start-up column (400 x 600, l0 6000, C30, HRB400, c 20, stirrups 8, N 400, M 244 / 120) with
// the default bar preferences: 4C20 at the corners, 3C16 on each b face, 2C16 on each h face.
// By hand:
//   As = pi/4 (4 x 20^2 + 10 x 16^2) = 1040 pi = 3267.26 mm2, rho = 3267.26 / 240000 = 1.36 %;
//   a face of length b holds 2 C20 and 3 C16: (2 x 314.16 + 3 x 201.06) / 240000 = 0.51 %,
//   a face of length h 2 C20 and 2 C16: (2 x 314.16 + 2 x 201.06) / 240000 = 0.43 %;
//   bar centres 20 + 8 + 10 = 38 mm from the faces: (400 - 76) / 4 = 81 mm along b,
//   (600 - 76) / 3 = 174.7 mm along h; limits 300 mm (9.3.1), clear distance 50 mm;
//   least total ratio 0.55 % for HRB400 (8.5.1), at most 5 %, one face 0.20 %;
//   N/(fc A) = 400000 / (14.3 x 240000) = 0.117; no kind given: gammaRE 1.00.
TEST(Gb2010DesignView, TheStartUpColumn) {
    const ColumnWithStirrups whole =
        designColumnWithStirrups(Gb2010Column{}, std::vector{LoadCombination{}});
    const Gb2010DesignView view = gb2010DesignView(whole);
    ASSERT_GE(view.summary.size(), 5U);
    EXPECT_EQ(view.summary[0], "角筋 4C20；b边每侧 3C16；h边每侧 2C16");
    EXPECT_EQ(view.summary[1], "As = 3267 mm²，ρ = 1.36%（14 根）");
    EXPECT_EQ(view.summary[2],
              "最小配筋率 0.55%，最大 5.00%；一侧 ≥ 0.20%（b边 0.51%，h边 0.43%）");
    EXPECT_EQ(view.summary[3], "纵筋中距 b边 81 mm，h边 175 mm（限值 300 / 300 mm）；净距 ≥ 50 mm");
    EXPECT_EQ(view.summary[4].rfind("控制组合：第 1 组，利用率 ", 0), 0U) << view.summary[4];
    EXPECT_FALSE(view.failed);
    ASSERT_EQ(view.results.size(), 1U);
    EXPECT_EQ(view.governing, 0);
    EXPECT_EQ(view.results[0][0], "400.0");
    EXPECT_EQ(view.results[0][5], "0.117");
    EXPECT_EQ(view.results[0][9], "1.00");
}

// A section no layout carries (300 x 300, N 5000 kN) says why in one line, marked as a failure.
// Its table checks the heaviest layout the rules allow: even 5 % of steel gives at most
// fc A + fy' As = 14.3 x 90000 + 360 x 4500 = 2907 kN < 5000 kN, so no moment is carried at that
// N and the utilisation is infinite.
TEST(Gb2010DesignView, NoLayoutSaysWhy) {
    Gb2010Column column;
    column.b = 300.0;
    column.h = 300.0;
    LoadCombination load;
    load.N = 5000.0;
    load.M2x = 900.0;
    load.M2y = 900.0;
    const Gb2010DesignView view =
        gb2010DesignView(designColumnWithStirrups(column, std::vector{load}));
    ASSERT_EQ(view.summary.size(), 1U);
    EXPECT_EQ(view.summary[0].rfind("无可行配筋：", 0), 0U) << view.summary[0];
    EXPECT_TRUE(view.failed);
    ASSERT_EQ(view.results.size(), 1U);
    EXPECT_EQ(view.results[0][6], "∞");
}

}  // namespace
}  // namespace tessarin
