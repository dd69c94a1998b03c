#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "engine/column_design.h"

namespace tessarin {

// A result the envelope of a column takes the largest of over its combinations.
struct EnvelopeValue {
    const char* name;  // the result column it stands in
    double (*of)(const ColumnDesign&);
};
inline constexpr std::array<EnvelopeValue, 6> kEnvelopeValues = {{
    {"Asex", [](const ColumnDesign& d) { return d.step1.Asex; }},
    {"Asey", [](const ColumnDesign& d) { return d.step1.Asey; }},
    {"Asx", [](const ColumnDesign& d) { return d.step2.Asx; }},
    {"Asy", [](const ColumnDesign& d) { return d.step2.Asy; }},
    {"Aswx", [](const ColumnDesign& d) { return d.step2.Aswx; }},
    {"Aswy", [](const ColumnDesign& d) { return d.step2.Aswy; }},
}};

// The envelope of one column id: per value the largest over the accepted combinations and the
// line of the combination that governs it (the first of equal ones); with the section check also
// the largest utilisation. A line of 0 means no combination gave that value.
struct Envelope {
    std::string id;
    std::array<double, kEnvelopeValues.size()> largest{};
    std::array<long long, kEnvelopeValues.size()> line{};
    bool any = false;  // some combination was accepted
    double utilisation = 0.0;
    long long utilisationLine = 0;

    // An accepted combination; a value that is not a number never governs.
    void add(const ColumnDesign& design, long long rowLine);
    void addUtilisation(double value, long long rowLine);
    // The envelope of later rows of the same id, as if they had been added here one by one.
    void absorb(const Envelope& later);
};

}  // namespace tessarin
