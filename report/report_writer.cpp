#include "report/report_writer.h"

#include "report/gbk_text.h"
#include "report/report_file.h"
#include "report/report_text.h"

namespace tessarin {

FileResult writeStep1Report(const std::string& path, const Step1Design& design) {
    return writeReportBytes(path, utf8ToGbk(step1ReportText(design)), false);
}

FileResult writeStep2Report(const std::string& path, const ColumnDesign& design) {
    return writeReportBytes(path, utf8ToGbk(step2ReportText(design.step2)), true);
}

}  // namespace tessarin
