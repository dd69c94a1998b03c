#include "report/gb2010_json.h"

#include <cmath>

#include "report/gb2010_format.h"
#include "report/gb2010_report.h"
#include "report/gb2010_stirrup_text.h"
#include "text/json_text.h"
#include "text/number_text.h"

namespace tessarin {

namespace {

std::string number(double value) {
    return std::isfinite(value) ? formatShortest(value) : "null";
}

// A JSON string: quotes, backslashes and control characters escaped; UTF-8 passes as it is.
std::string quoted(const std::string& text) {
    std::string out;
    appendJsonString(out, text);
    return out;
}

const char* kindText(CombinationKind kind) {
    switch (kind) {
        case CombinationKind::Seismic:
            return "\"seismic\"";
        case CombinationKind::NonSeismic:
            return "\"non-seismic\"";
        case CombinationKind::Unspecified:
            break;
    }
    return "null";
}

std::string stirrupsObject(const StirrupDesign& s) {
    std::string j = "{\"status\": ";
    j += s.designed ? "\"designed\"" : "\"no-stirrup\"";
    j += ", \"reason\": " + quoted(stirrupFailureText(s));
    if (s.designed) {
        const StirrupChoice& c = s.choice;
        j += ", \"diameter\": " + std::to_string(c.diameter) +
             ", \"spacing\": " + number(c.spacing) +
             ", \"denseSpacing\": " + number(c.denseSpacing) +
             ", \"denseLength\": " + number(c.denseLength) +
             ", \"legsX\": " + std::to_string(c.legsX) + ", \"legsY\": " + std::to_string(c.legsY) +
             ", \"volumetricRatio\": " + number(c.volumetricRatio) +
             ", \"requiredVolumetricRatio\": " + number(s.limits.requiredVolumetricRatio) +
             ", \"type\": " + quoted(stirrupType(c)) +
             ", \"notation\": " + quoted(stirrupNotation(s.column.stirrupSteel, c));
    } else {
        j += ", \"diameter\": null, \"spacing\": null, \"denseSpacing\": null, "
             "\"denseLength\": null, \"legsX\": null, \"legsY\": null, "
             "\"volumetricRatio\": null, \"requiredVolumetricRatio\": " +
             number(s.limits.requiredVolumetricRatio) + ", \"type\": null, \"notation\": null";
    }
    return j + "}";
}

std::string jsonText(const Gb2010Design& design, const ColumnWithStirrups* whole) {
    const Gb2010Design& r = design;
    const StirrupDesign* stirrups =
        whole != nullptr && whole->stirrups ? &*whole->stirrups : nullptr;
    const bool designed = r.designed && r.layout.has_value();
    std::string j = "{\"status\": ";
    j += designed ? "\"designed\"" : "\"no-layout\"";
    j += ", \"reason\": " + quoted(noLayoutReasonText(r));
    if (designed) {
        const BarLayout& l = *r.layout;
        j += ", \"cornerDiameter\": " + std::to_string(l.choice.cornerDiameter);
        const LayoutChoice& ch = l.choice;
        // One web diameter for all four faces only when they share it.
        const int web = ch.webBarsAlongB > 0 ? ch.webDiameterB : ch.webDiameterH;
        j += ", \"webDiameter\": " +
             (ch.webDiametersDiffer() ? std::string("null") : std::to_string(web));
        j += ", \"webBarsAlongB\": " + std::to_string(ch.webBarsAlongB);
        j += ", \"webBarsAlongH\": " + std::to_string(ch.webBarsAlongH);
        const auto faceDiameter = [](int bars, int d) {
            return bars > 0 ? std::to_string(d) : std::string("null");
        };
        j += ", \"webDiameterB\": " + faceDiameter(ch.webBarsAlongB, ch.webDiameterB);
        j += ", \"webDiameterH\": " + faceDiameter(ch.webBarsAlongH, ch.webDiameterH);
        j += ", \"bars\": [";
        for (std::size_t i = 0; i < l.bars.size(); ++i) {
            const PlacedBar& b = l.bars[i];
            if (i > 0) j += ", ";
            j += "{\"u\": " + number(b.u) + ", \"v\": " + number(b.v) + ", \"d\": " + number(b.d) +
                 "}";
        }
        j += "], \"steelArea\": " + number(l.steelArea) + ", \"ratio\": " + number(l.ratio);
    } else {
        j += ", \"cornerDiameter\": null, \"webDiameter\": null, \"webBarsAlongB\": null, "
             "\"webBarsAlongH\": null, \"webDiameterB\": null, \"webDiameterH\": null, "
             "\"bars\": [], \"steelArea\": null, \"ratio\": null";
    }
    // The seismic limit with the notes that lowered it, and the shear-span ratio it depends on.
    const DetailingLimits& limits = r.limits;
    if (limits.axialRatio.value > 0.0) {
        j += ", \"axialRatioLimit\": {\"table\": " + number(limits.axialRatio.table) +
             ", \"concreteReduction\": " + number(limits.axialRatio.concreteReduction) +
             ", \"shortColumnReduction\": " + number(limits.axialRatio.shortColumnReduction) +
             ", \"value\": " + number(limits.axialRatio.value) + "}";
    } else {
        j += ", \"axialRatioLimit\": null";
    }
    const ShearSpan& span = limits.shearSpan;
    j += ", \"shearSpan\": {\"hn\": " + number(span.hn) + ", \"a\": " + number(span.a) +
         ", \"h0x\": " + number(span.h0x) + ", \"h0y\": " + number(span.h0y) +
         ", \"lambdaX\": " + number(span.lambdaX) + ", \"lambdaY\": " + number(span.lambdaY) +
         ", \"lambda\": " + number(span.lambda) + "}";
    // A uniaxial column: the direction of its moments, the sentence the report prints and the
    // figures of the check across the moment plane (6.2.15).
    if (limits.directions != MomentDirections::Biaxial) {
        j += std::string(", \"uniaxial\": {\"bending\": ") +
             (limits.directions == MomentDirections::XOnly ? "\"x\"" : "\"y\"") +
             ", \"note\": " + quoted(momentDirectionsText(limits, r.column.l0)) +
             ", \"depth\": " + number(limits.slendernessDepth) +
             ", \"l0OverD\": " + number(limits.slendernessL0b) +
             ", \"phi\": " + number(limits.phi) + "}";
    }
    if (whole != nullptr) {
        j += ", \"stirrups\": " + (stirrups != nullptr ? stirrupsObject(*stirrups) : "null");
    }
    j += ", \"combinations\": [";
    for (std::size_t k = 0; k < r.combinations.size(); ++k) {
        const CombinationCheck& c = r.combinations[k];
        const CombinationDemand& d = c.demand;
        if (k > 0) j += ", ";
        j += "{\"N\": " + number(d.N) + ", \"Mx\": " + number(d.Mx) + ", \"My\": " + number(d.My) +
             ", \"etaNsX\": " + number(d.x.etaNs) + ", \"etaNsY\": " + number(d.y.etaNs) +
             ", \"CmX\": " + number(d.x.Cm) + ", \"CmY\": " + number(d.y.Cm) +
             ", \"axialRatio\": " + number(d.axialRatio) +
             ", \"utilisation\": " + (designed ? number(c.utilisation) : "null") +
             ", \"axialCapacity\": " + (designed ? number(c.axialCapacity) : "null") +
             ", \"axialUtilisation\": " + (designed ? number(c.axialUtilisation) : "null");
        if (whole != nullptr) {
            j += std::string(", \"kind\": ") + kindText(c.kind) +
                 ", \"gammaRE\": " + number(c.gammaRE);
            const bool shear = stirrups != nullptr && k < stirrups->combinations.size();
            const ShearCheck* v = shear ? &stirrups->combinations[k].check : nullptr;
            j += ", \"Vx\": " + (v != nullptr ? number(v->x.V) : "null") +
                 ", \"Vy\": " + (v != nullptr ? number(v->y.V) : "null") +
                 ", \"shearUtilisation\": " +
                 (v != nullptr && stirrups->designed ? number(v->utilisation) : "null");
        }
        j += "}";
    }
    j += "], \"governing\": ";
    const int governing = designed ? r.governing : r.reason.combination;
    j += governing >= 0 ? std::to_string(governing) : "null";
    j += "}\n";
    return j;
}

}  // namespace

std::string gb2010Json(const Gb2010Design& design) {
    return jsonText(design, nullptr);
}

std::string gb2010Json(const ColumnWithStirrups& column) {
    return jsonText(column.longitudinal, &column);
}

}  // namespace tessarin
