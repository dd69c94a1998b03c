#include "run/design_column.h"

#include "engine/column_calculator.h"

namespace tessarin {

void loadDesignCase(const DesignInput& in, ColumnCalculator& calculator) {
    // Steel grade first: the concrete grade derives xiB from fy and Es.
    calculator.setSteelGrade(in.steelGradeCode());
    calculator.setConcreteGrade(in.concreteGradeNumber());
    calculator.setGeometry(in.l0, in.b, in.h);
    calculator.setLoads(in.M0x, in.M0y, in.N);
    calculator.setBarDistances(in.ax, in.ay);
}

namespace {

void layOut(ColumnCalculator& calculator, const ReinforcementScheme& scheme) {
    calculator.computeStep2(codeOf(scheme.scheme), scheme.diameter, scheme.ratioX, scheme.ratioY);
}

}  // namespace

Step1Design designStep1(const DesignInput& input) {
    ColumnCalculator calculator;
    loadDesignCase(input, calculator);
    calculator.computeStep1();
    return calculator.step1Design();
}

ColumnDesign designStep2(const Step1Design& first, const ReinforcementScheme& scheme) {
    ColumnCalculator calculator;
    calculator.restore(first);
    layOut(calculator, scheme);
    return calculator.design();
}

ColumnDesign designColumn(const DesignInput& input, const ReinforcementScheme& scheme) {
    ColumnCalculator calculator;
    loadDesignCase(input, calculator);
    calculator.computeStep1();
    layOut(calculator, scheme);
    return calculator.design();
}

}  // namespace tessarin
