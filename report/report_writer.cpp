#include "report/report_writer.h"

#include "report/report_text.h"
#include "text/gbk_text.h"

namespace tessarin {

FileResult writeStep1Report(ReportFile& report, const Step1Design& design) {
    return report.replace(utf8ToGbk(step1ReportText(design)));
}

FileResult writeStep2Report(ReportFile& report, const ColumnDesign& design) {
    return report.extend(reportBytes(design));
}

}  // namespace tessarin
