// The direct search in the demand's moment direction against the sweep of the whole contour, on
// generated sections: both must find the same ultimate state.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <vector>

#include "engine/section/demand_capacity.h"
#include "engine/section/section_resistance.h"
#include "engine/section/ultimate_contour.h"

using namespace tessarin;

namespace {

constexpr double kPi = std::numbers::pi;

// A small deterministic generator (splitmix64), the same numbers on every platform.
class Numbers {
  public:
    explicit Numbers(std::uint64_t seed) : state_(seed) {}
    double uniform(double lo, double hi) {
        state_ += 0x9E3779B97F4A7C15ULL;
        std::uint64_t z = state_;
        z = (z ^ (z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27U)) * 0x94D049BB133111EBULL;
        z ^= z >> 31U;
        return lo + (hi - lo) * static_cast<double>(z >> 11U) * 0x1.0p-53;
    }
    int pick(int count) { return static_cast<int>(uniform(0.0, static_cast<double>(count))); }

  private:
    std::uint64_t state_;
};

struct Grade {
    double number;
    double fc;
};
constexpr std::array<Grade, 7> kGrades = {
    {{20, 9.6}, {30, 14.3}, {40, 19.1}, {50, 23.1}, {60, 27.5}, {70, 31.8}, {80, 35.9}}};
constexpr std::array<SteelLaw, 4> kSteels = {
    {{210, 210000, 0}, {300, 200000, 0}, {360, 200000, 0}, {435, 200000, 0.01}}};

// A section with corner bars and a few web bars on each face, the areas drawn at random (some
// faces left bare). Symmetric layouts have the same areas on opposite corners and faces, as the
// check of a designed layout always has.
SectionResistance generatedSection(Numbers& random, bool symmetric) {
    const double b = random.uniform(200, 900);
    const double h = random.uniform(200, 900);
    const Grade grade = kGrades[static_cast<std::size_t>(random.pick(7))];
    SteelLaw steel = kSteels[static_cast<std::size_t>(random.pick(4))];
    if (random.pick(3) == 0) steel.ultimateTensileStrain = 0.01;
    const double cover = random.uniform(30, 60);
    const double uc = h / 2 - cover;
    const double vc = b / 2 - cover;
    std::vector<SectionBar> bars;
    const double corner = random.uniform(50, 1000);
    const bool even = symmetric;
    for (const double u : {uc, -uc}) {
        for (const double v : {vc, -vc}) {
            bars.push_back({u, v, even ? corner : random.uniform(50, 1000)});
        }
    }
    const int webCount = random.pick(4);
    double faceArea = 0.0;
    for (int face = 0; face < 4; ++face) {
        // Opposite faces (0 and 1, 2 and 3) alike in a symmetric layout.
        const double drawn = random.pick(4) == 0 ? 0.0 : random.uniform(50, 800);
        if (face % 2 == 0) faceArea = drawn;
        const double area = even ? faceArea : drawn;
        for (int i = 1; i <= webCount; ++i) {
            const double q = -1.0 + 2.0 * i / (webCount + 1.0);
            const double a = even ? area : random.uniform(0, 800);
            if (face < 2) bars.push_back({face == 0 ? uc : -uc, q * vc, a});
            if (face >= 2) bars.push_back({q * uc, face == 2 ? vc : -vc, a});
        }
    }
    return SectionResistance({b, h}, ConcreteLaw::forGrade({grade.number, grade.fc}), steel, bars);
}

// The axial force: from near the tension limit to near the squash load.
double generatedAxialForce(Numbers& random, const SectionResistance& section) {
    const double squash = section.squashLoad();
    const double tension = section.tensionLimit();
    switch (random.pick(6)) {
        case 0:
            return squash * (1.0 - std::pow(10.0, random.uniform(-5, -2)));  // near N0
        case 1:
            return tension * (1.0 - std::pow(10.0, random.uniform(-5, -2)));  // near the limit
        case 2:
            return random.uniform(tension, 0.0);
        default:
            return random.uniform(0.0, squash);
    }
}

// The moment direction: pure Mx or My either way, or any.
double generatedDirection(Numbers& random) {
    switch (random.pick(5)) {
        case 0:
            return 0.5 * kPi * random.pick(4) - (random.pick(2) == 0 ? 0.0 : 2.0 * kPi);
        default:
            return random.uniform(-kPi, kPi);
    }
}

TEST(DirectSearch, FindsTheStateOfTheSweepOnGeneratedSections) {
    Numbers random(20260901);
    constexpr int kCases = 2400;
    int compared = 0;
    for (int i = 0; i < kCases; ++i) {
        const SectionResistance section = generatedSection(random, true);
        const double N = generatedAxialForce(random, section);
        const double direction = generatedDirection(random);
        const double magnitude = random.uniform(1e6, 1e9);
        const double Mx = magnitude * std::cos(direction);
        const double My = magnitude * std::sin(direction);
        SCOPED_TRACE(::testing::Message()
                     << "case " << i << " N " << N << " direction " << direction << " b "
                     << section.size().b << " h " << section.size().h);

        const DemandCapacity direct = capacityInDemandDirection(section, N, Mx, My);
        const std::array<double, 1> target = {std::atan2(My, Mx)};
        const std::vector<UltimateState> swept =
            UltimateContour(section, N).inMomentDirectionsBySweep(target);
        ASSERT_EQ(direct.axialCapacityExceeded, swept.empty());
        if (swept.empty()) continue;
        ++compared;
        const SectionForces& reference = swept.front().forces;
        const double radius = std::hypot(reference.Mx, reference.My);
        EXPECT_NEAR(direct.MxR, reference.Mx, 1e-6 * radius);
        EXPECT_NEAR(direct.MyR, reference.My, 1e-6 * radius);
        const double utilisation = magnitude / radius;
        EXPECT_NEAR(direct.utilisation, utilisation, 1e-6 * utilisation);
        // The plane found carries N.
        EXPECT_NEAR(section.forcesAt(direct.plane).N, N,
                    1e-9 * std::max(section.squashLoad(), -section.tensionLimit()));
    }
    EXPECT_GT(compared, 2000);
}

TEST(DirectSearch, ContourMatchesTheSweepPointByPoint) {
    Numbers random(77);
    std::vector<double> directions;
    directions.reserve(72);
    for (int k = 0; k < 72; ++k) directions.push_back(5.0 * k * kPi / 180.0);
    for (int i = 0; i < 24; ++i) {
        const SectionResistance section = generatedSection(random, true);
        const double N = generatedAxialForce(random, section);
        SCOPED_TRACE(::testing::Message() << "case " << i << " N " << N);
        const UltimateContour contour(section, N);
        const std::vector<UltimateState> direct = contour.inMomentDirections(directions);
        const std::vector<UltimateState> swept = contour.inMomentDirectionsBySweep(directions);
        ASSERT_EQ(direct.size(), swept.size());
        for (std::size_t k = 0; k < direct.size(); ++k) {
            const double radius = std::hypot(swept[k].forces.Mx, swept[k].forces.My);
            EXPECT_NEAR(direct[k].forces.Mx, swept[k].forces.Mx, 1e-6 * radius) << k;
            EXPECT_NEAR(direct[k].forces.My, swept[k].forces.My, 1e-6 * radius) << k;
        }
    }
}

// Bars placed unevenly: wherever the demand's direction is reached, the plane found carries N and
// its moment points that way.
TEST(DirectSearch, UnevenLayoutsReachTheDemandDirection) {
    Numbers random(4242);
    for (int i = 0; i < 300; ++i) {
        const SectionResistance section = generatedSection(random, false);
        const double N = random.uniform(0.05, 0.7) * section.squashLoad();
        const double direction = generatedDirection(random);
        SCOPED_TRACE(::testing::Message()
                     << "case " << i << " N " << N << " direction " << direction);
        const DemandCapacity d =
            capacityInDemandDirection(section, N, std::cos(direction), std::sin(direction));
        ASSERT_FALSE(d.axialCapacityExceeded);
        EXPECT_NEAR(std::remainder(std::atan2(d.MyR, d.MxR) - direction, 2.0 * kPi), 0.0, 1e-9);
        EXPECT_NEAR(section.forcesAt(d.plane).N, N, 1e-9 * section.squashLoad());
        EXPECT_NEAR(d.utilisation, 1.0 / std::hypot(d.MxR, d.MyR), 1e-15);
    }
}

}  // namespace
