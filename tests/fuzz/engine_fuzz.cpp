// Any eight numbers, grade codes, scheme and arguments: the checks and the engine always end
// (the pass bound), with no undefined behaviour.
#include <cstdint>
#include <cstdlib>

#include "engine/column_calculator.h"
#include "run/calculate_command.h"
#include "run/design_column.h"
#include "run/run_host.h"
#include "run/validate_input.h"
#include "tests/fuzz/fuzz_input.h"

using namespace tessarin;

namespace {

class SilentHost : public RunHost {
  public:
    bool answerYes = false;
    bool exchangeFields(DesignInput&) override { return true; }
    MessageAnswer showMessage(const Message&) override {
        return answerYes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    void focusControl(ControlId) override {}
    std::optional<SchemeChoice> chooseScheme() override { return std::nullopt; }
    void showReport(const std::string&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    DesignInput input;
    input.l0 = in.take<double>();
    input.b = in.take<double>();
    input.h = in.take<double>();
    input.M0x = in.take<double>();
    input.M0y = in.take<double>();
    input.N = in.take<double>();
    input.ax = in.take<double>();
    input.ay = in.take<double>();
    input.concreteIndex = in.take<std::uint8_t>() % kConcreteGradeCount;
    input.steelIndex = in.take<std::uint8_t>() % kSteelGradeCount;
    const auto flags = in.take<std::uint8_t>();
    const int scheme = in.take<std::int32_t>();
    const double diameter = in.take<double>();
    const double ratioX = in.take<double>();
    const double ratioY = in.take<double>();
    const int rawSteel = in.take<std::int32_t>();
    const int rawConcrete = in.take<std::int32_t>();

    SilentHost host;
    host.answerYes = (flags & 1) != 0;
    (void)confirmInput(validateInput(input), host);

    ColumnCalculator c;
    if ((flags & 2) != 0) {
        // Straight into the engine with any codes, as no caller of ours would.
        c.setSteelGrade(rawSteel);
        c.setConcreteGrade(rawConcrete);
        c.setGeometry(input.l0, input.b, input.h);
        c.setLoads(input.M0x, input.M0y, input.N);
        c.setBarDistances(input.ax, input.ay);
    } else {
        loadDesignCase(input, c);
    }
    c.computeStep1();
    c.computeStep2(scheme, diameter, ratioX, ratioY);
    if (c.passesX < 1 || c.passesX > ColumnCalculator::kMaxPasses) std::abort();
    if (c.passesY < 1 || c.passesY > ColumnCalculator::kMaxPasses) std::abort();
    return 0;
}
