#include "views/section_picture.h"

#include "engine/gb2010/gb2010_design.h"
#include "report/gb2010_report.h"
#include "text/number_text.h"

namespace tessarin {

SectionPicture sectionPicture(const ProjectColumn& column, const ColumnOutcome& outcome) {
    SectionPicture picture;
    const Gb2010Column& c = column.column;
    picture.width = c.b;
    picture.height = c.h;
    picture.steel = c.steel;
    picture.caption = column.mark + "  " + formatGeneral(c.b) + "×" + formatGeneral(c.h);
    if (!(c.b > 0.0) || !(c.h > 0.0)) return picture;
    const double cover = coverUsed(c);
    picture.stirrupInset = cover + c.stirrup / 2.0;
    if (outcome.status == ColumnStatus::Designed && outcome.design && outcome.design->layout) {
        // The engine's u runs along h and v along b: across is v, up is u.
        for (const PlacedBar& bar : outcome.design->layout->bars) {
            picture.bars.push_back({bar.v, bar.u, bar.d, bar.corner});
        }
        picture.notation = layoutNotation(outcome.design->layout->choice, c.steel);
        picture.caption += "  " + picture.notation;
    }
    return picture;
}

}  // namespace tessarin
