#include "cli/batch_command.h"

#include <chrono>
#include <cmath>
#include <ostream>

#include "cli/cli_exit.h"

namespace tessarin {

namespace {

// "\rtessarin-cli: 120000 rows, 341000 rows/s, about 3 s left", at most four times a second
// and only once the batch has taken a second.
class ProgressLine {
  public:
    explicit ProgressLine(std::ostream& err) : err_(err) {}

    void show(const BatchProgress& progress) {
        const auto now = std::chrono::steady_clock::now();
        const double elapsed = std::chrono::duration<double>(now - started_).count();
        if (elapsed < 1.0 || now - last_ < std::chrono::milliseconds(250)) return;
        last_ = now;
        shown_ = true;
        const double rate = static_cast<double>(progress.rows) / elapsed;
        const double bytesPerSecond = static_cast<double>(progress.bytesRead) / elapsed;
        const double left =
            bytesPerSecond > 0
                ? static_cast<double>(progress.totalBytes - progress.bytesRead) / bytesPerSecond
                : 0.0;
        err_ << "\rtessarin-cli: " << progress.rows << " rows, " << static_cast<long long>(rate)
             << " rows/s, about " << static_cast<long long>(std::ceil(left)) << " s left   "
             << std::flush;
    }

    // Ends the line, so that what follows starts on its own.
    void finish() {
        if (shown_) err_ << '\n';
    }

  private:
    std::ostream& err_;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point last_ = started_;
    bool shown_ = false;
};

}  // namespace

int runBatchCommand(const BatchRun& run, std::ostream& err, bool showProgress) {
    ProgressLine line(err);
    BatchProgressListener listener;
    if (showProgress) listener = [&line](const BatchProgress& p) { line.show(p); };
    const BatchOutcome outcome = run(listener);
    line.finish();
    switch (outcome.status) {
        case BatchOutcome::Status::AllAccepted:
            return kExitDone;
        case BatchOutcome::Status::SomeRejected:
            return kExitSomeRejected;
        case BatchOutcome::Status::SomeWithoutLayout:
            return kExitNoLayout;
        case BatchOutcome::Status::Unusable:
            err << "tessarin-cli: " << outcome.message << '\n';
            return kExitUsage;
        case BatchOutcome::Status::FileFailed:
            err << "tessarin-cli: " << outcome.message << '\n';
            return kExitFile;
    }
    return kExitFile;
}

}  // namespace tessarin
