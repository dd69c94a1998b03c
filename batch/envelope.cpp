#include "batch/envelope.h"

#include <cmath>

namespace tessarin {

void Envelope::add(const ColumnDesign& design, long long rowLine) {
    for (std::size_t i = 0; i < kEnvelopeValues.size(); ++i) {
        const double value = kEnvelopeValues[i].of(design);
        if (std::isnan(value)) continue;
        if (line[i] == 0 || value > largest[i]) {
            largest[i] = value;
            line[i] = rowLine;
        }
    }
    any = true;
}

void Envelope::addUtilisation(double value, long long rowLine) {
    if (std::isnan(value)) return;
    if (utilisationLine == 0 || value > utilisation) {
        utilisation = value;
        utilisationLine = rowLine;
    }
}

void Envelope::absorb(const Envelope& later) {
    for (std::size_t i = 0; i < kEnvelopeValues.size(); ++i) {
        if (later.line[i] != 0 && (line[i] == 0 || later.largest[i] > largest[i])) {
            largest[i] = later.largest[i];
            line[i] = later.line[i];
        }
    }
    any = any || later.any;
    if (later.utilisationLine != 0) addUtilisation(later.utilisation, later.utilisationLine);
}

}  // namespace tessarin
