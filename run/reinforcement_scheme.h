#pragma once

#include <optional>

#include "engine/design_codes.h"

namespace tessarin {

// The bar arrangement used by step 2, kept between runs.
struct ReinforcementScheme {
    Scheme scheme = Scheme::CornerBars;
    double diameter = 20.0;  // corner-bar diameter, mm
    double ratioX = 0.0;     // Aswx / Asx, scheme 2
    double ratioY = 0.0;     // Aswy / Asy, scheme 2
};

// What the engineer confirmed in the scheme dialog.
struct SchemeChoice {
    int schemeIndex = 0;  // checked radio button: 0 corner bars, 1 equal diameters
    double diameter = 22.0;
    double ratioX = 0.0;
    double ratioY = 0.0;
};

inline void applySchemeChoice(ReinforcementScheme& scheme, const SchemeChoice& choice) {
    // Radio button 0 is scheme 1, button 1 scheme 2.
    scheme.scheme = static_cast<Scheme>(choice.schemeIndex + 1);
    scheme.diameter = choice.diameter;
    scheme.ratioX = choice.ratioX;
    scheme.ratioY = choice.ratioY;
}

// The corner-bar diameters the scheme dialog offers, mm, in list order; "22" is preselected.
inline constexpr int kDiameterCount = 11;
inline constexpr int kDiameters[kDiameterCount] = {12, 14, 16, 18, 20, 22, 25, 28, 32, 36, 40};
inline constexpr int kDefaultDiameterIndex = 5;

// Whether a value is one of the diameters the scheme dialog lists.
inline bool isListedDiameter(std::optional<double> value) {
    if (!value) return false;
    for (int d : kDiameters) {
        if (*value == static_cast<double>(d)) return true;
    }
    return false;
}

}  // namespace tessarin
