#include "run/calculate_command.h"

#include <filesystem>
#include <system_error>

#include "report/report_file.h"
#include "run/run_host.h"
#include "run/validate_input.h"

namespace tessarin {

namespace {

RunOutcome stopOnFileFailure(const FileResult& failure, RunHost& host) {
    host.showMessage(fileFailureMessage(failure));
    return RunOutcome::FileFailed;
}

}  // namespace

void loadDesignCase(const DesignInput& in, ColumnCalculator& calculator) {
    // Steel grade first: the concrete grade derives xiB from fy and Es.
    calculator.setSteelGrade(in.steelGradeCode());
    calculator.setConcreteGrade(in.concreteGradeNumber());
    calculator.setGeometry(in.l0, in.b, in.h);
    calculator.setLoads(in.M0x, in.M0y, in.N);
    calculator.setBarDistances(in.ax, in.ay);
}

Message fileFailureMessage(const FileResult& failure) {
    const std::string& name = failure.fileName;
    std::string text;
    if (failure.action == "create") {
        text = "无法创建报告文件 " + name;
    } else if (failure.action == "append") {
        text = "无法向报告文件 " + name + " 追加配筋结果";
    } else if (failure.action == "read") {
        text = "无法读取报告文件 " + name;
    } else {
        text = "无法写入报告文件 " + name;
    }
    text += "\r\n原因：";
    text += failure.reason;
    std::error_code error;
    const std::filesystem::path directory = std::filesystem::current_path(error);
    if (!error) {
        text += "\r\n目录：";
        text += directory.string();
    }
    text += "\r\n计算已中止。";
    return {text, "错误", MessageKind::Error};
}

Message convergenceWarning(bool convergedX, bool convergedY) {
    const char* directions = !convergedX && !convergedY ? "X、Y" : (!convergedX ? "X" : "Y");
    return {std::string(directions) +
                "方向等效钢筋面积迭代未收敛,\r\n计算结果仅供参考,请检查输入数据。",
            "提示", MessageKind::Warning};
}

RunOutcome onCalculate(DesignSession& session, RunHost& host) {
    // A field that holds no number stops the command: nothing is computed from stale values.
    if (!host.exchangeFields(session.input)) return RunOutcome::FieldRejected;
    if (!validateInput(session.input, host)) return RunOutcome::InputRejected;

    ColumnCalculator& calculator = session.calculator;
    loadDesignCase(session.input, calculator);
    if (const FileResult written = calculator.runStep1(); !written.ok) {
        return stopOnFileFailure(written, host);
    }

    // The first section is on disk while the engineer chooses; declining keeps the last choice.
    if (const auto choice = host.chooseScheme()) applySchemeChoice(session.scheme, *choice);

    const ReinforcementScheme& scheme = session.scheme;
    if (const FileResult appended =
            calculator.runStep2(scheme.scheme, scheme.diameter, scheme.ratioX, scheme.ratioY);
        !appended.ok) {
        return stopOnFileFailure(appended, host);
    }

    const ReportContent report = readReport();
    if (!report.result.ok) return stopOnFileFailure(report.result, host);
    host.showReport(report.bytes);

    if (!calculator.convergedX || !calculator.convergedY) {
        host.showMessage(convergenceWarning(calculator.convergedX, calculator.convergedY));
    }
    return RunOutcome::Done;
}

}  // namespace tessarin
