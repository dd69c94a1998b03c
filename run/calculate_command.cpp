#include "run/calculate_command.h"

#include "platform/file_system.h"
#include "platform/process.h"
#include "report/report_file.h"
#include "report/report_writer.h"
#include "run/design_column.h"
#include "run/run_host.h"

namespace tessarin {

namespace {

// The directory the report lives in, as the engineer would look for it; empty when the current
// directory cannot be named (it was removed).
std::string reportDirectory(const std::string& fileName) {
    std::string directory = splitPath(fileName).folder;
    if (isAbsolutePath(directory)) return directory;
    std::string current = currentFolder();
    if (current.empty()) return {};
    if (directory.empty()) return current;
    return current + (current.back() == '/' ? "" : "/") + directory;
}

}  // namespace

bool confirmInput(const std::vector<InputFinding>& findings, RunHost& host) {
    for (const InputFinding& finding : findings) {
        const MessageAnswer answer = host.showMessage(finding.message);
        if (finding.isQuestion() && answer != MessageAnswer::Yes) continue;
        host.focusControl(finding.control);
        return false;
    }
    return true;
}

Message fileFailureMessage(const FileResult& failure) {
    const std::string& name = failure.fileName;
    std::string text;
    switch (failure.action) {
        case FileAction::Create:
            text = "无法创建报告文件 " + name;
            break;
        case FileAction::Append:
            text = "无法向报告文件 " + name + " 追加配筋结果";
            break;
        case FileAction::Read:
            text = "无法读取报告文件 " + name;
            break;
        case FileAction::Write:
            text = "无法写入报告文件 " + name;
            break;
    }
    text += "\r\n原因：";
    text += failure.reason;
    if (const std::string directory = reportDirectory(name); !directory.empty()) {
        text += "\r\n目录：";
        text += directory;
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

Message nonFiniteWarning() {
    return {"计算结果不是有限数值(超出数值范围),\r\n计算结果无效,不能进行截面验算,请检查输入数据。",
            "提示", MessageKind::Warning};
}

RunOutcome onCalculate(DesignSession& session, RunHost& host, const std::string& reportPath,
                       std::chrono::milliseconds ownerWait) {
    // A field that holds no number stops the command: nothing is computed from stale values.
    if (!host.exchangeFields(session.input)) return RunOutcome::FieldRejected;
    if (!confirmInput(validateInput(session.input), host)) return RunOutcome::InputRejected;

    const auto stopOnFileFailure = [&](const FileResult& failure) {
        session.design.reset();
        host.showMessage(fileFailureMessage(failure));
        return RunOutcome::FileFailed;
    };

    // This run owns the report from step 1 to the read-back.
    ReportFile report(reportPath, ownerWait);
    const Step1Design first = designStep1(session.input);
    if (const FileResult written = writeStep1Report(report, first); !written.ok) {
        return stopOnFileFailure(written);
    }

    // The first section is on disk while the engineer chooses; declining keeps the last choice.
    if (const auto choice = host.chooseScheme()) applySchemeChoice(session.scheme, *choice);

    const ColumnDesign design = designStep2(first, session.scheme);
    if (const FileResult appended = writeStep2Report(report, design); !appended.ok) {
        return stopOnFileFailure(appended);
    }

    const ReportContent shown = report.readBack();
    if (!shown.result.ok) return stopOnFileFailure(shown.result);
    host.showReport(shown.bytes);
    session.design = design;

    if (!design.step1.converged()) {
        host.showMessage(convergenceWarning(design.step1.convergedX, design.step1.convergedY));
    }
    if (!design.finite()) host.showMessage(nonFiniteWarning());
    return RunOutcome::Done;
}

}  // namespace tessarin
