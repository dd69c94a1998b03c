#include "project/project.h"

namespace tessarin {

bool operator==(const CurrentCodeColumn& a, const CurrentCodeColumn& b) {
    return a.b == b.b && a.h == b.h && a.l0 == b.l0 && a.lcX == b.lcX && a.lcY == b.lcY &&
           a.hn == b.hn && a.concreteGrade == b.concreteGrade && a.steel == b.steel &&
           a.cover == b.cover && a.stirrup == b.stirrup && a.seismic == b.seismic &&
           a.structure == b.structure && a.position == b.position &&
           a.stirrupSteel == b.stirrupSteel && a.barPreferences == b.barPreferences;
}

bool operator==(const LoadCombination& a, const LoadCombination& b) {
    return a.N == b.N && a.M2x == b.M2x && a.m1m2X == b.m1m2X && a.M2y == b.M2y &&
           a.m1m2Y == b.m1m2Y && a.Vx == b.Vx && a.Vy == b.Vy && a.kind == b.kind;
}

bool operator==(const ProjectColumn& a, const ProjectColumn& b) {
    return a.mark == b.mark && a.column == b.column && a.combinations == b.combinations;
}

bool operator==(const Project& a, const Project& b) {
    return a.info == b.info && a.columns == b.columns;
}

}  // namespace tessarin
