#pragma once

#include <string>

#include "engine/gb2010/column_with_stirrups.h"
#include "engine/gb2010/gb2010_types.h"
#include "platform/file_result.h"

namespace tessarin {

// Which check decides, as the report and the book say it: the general method with every bar, not
// the simplified reciprocal formula that both also print.
inline constexpr const char* kGeneralMethodGoverns =
    "以上一般方法(附录E，每根钢筋按实际位置)为本设计的承载力验算；6.2.21的近似公式 1/Nu = "
    "1/Nux + 1/Nuy - 1/Nu0 为规范给出的简化验算，仅列出供参考，不作为判定依据。";

// The current-code report file, beside (never in place of) the 2002 report.
inline constexpr const char* kGb2010ReportFileName = "Result-GB2010.txt";

// The layout in the usual notation with the grade's symbol: "角筋 4C25；b边每侧 3C20；h边每侧 2C20"
// for HRB400 (a face without web bars is left out); middle bars that differ between the b and h
// faces as 16G101-1 writes them: "角筋 4C25；b边一侧中部筋 3C20；h边一侧中部筋 2C18".
[[nodiscard]] std::string layoutNotation(const LayoutChoice& choice, SteelGrade2010 steel);

// Why no layout was chosen, one sentence in Chinese ("第1组荷载组合的轴压比0.93超过三级框架结构柱
// 的限值0.85(GB 50011 表6.3.6)"); empty for a design.
[[nodiscard]] std::string noLayoutReasonText(const Gb2010Design& design);

// The calculation text, clause by clause: inputs, materials, limits, per combination the
// second-order check of each axis, the layout with its ratios and the limits it meets, the check
// of every combination and the governing one. UTF-8 with CR LF line ends.
[[nodiscard]] std::string gb2010ReportText(const Gb2010Design& design);
// The same with the combinations' shears and kinds and the stirrup block (箍筋设计).
[[nodiscard]] std::string gb2010ReportText(const ColumnWithStirrups& column);
// Where the largest bar is limited by the cover, c + ds < 40 mm: "；纵筋直径受保护层限制：..." with
// the cover the next listed bar would need; empty otherwise. Ends the no-layout reasons.
[[nodiscard]] std::string barDiameterLimitText(const Gb2010Design& design);

// Writes the text in GBK to the file (kGb2010ReportFileName in the current directory by
// default) as Result.txt is written (ReportFile): whole, under the report lock, a link replaced
// rather than followed, a pipe or device refused; on a failure the old file stays as it was.
[[nodiscard]] FileResult writeGb2010Report(const Gb2010Design& design,
                                           const std::string& path = kGb2010ReportFileName);
[[nodiscard]] FileResult writeGb2010Report(const ColumnWithStirrups& column,
                                           const std::string& path = kGb2010ReportFileName);

}  // namespace tessarin
