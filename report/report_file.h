#pragma once

#include <chrono>
#include <string>

#include "platform/file_result.h"
#include "platform/file_system.h"

namespace tessarin {

// The report file of the calculate command: this bare name, so it lives in the current working
// directory. Every operation below takes the report's path, so other callers and tests name
// their own.
inline constexpr const char* kReportFileName = "Result.txt";

// How long a run waits for another run that owns a report in the same directory.
inline constexpr std::chrono::milliseconds kReportOwnerWait{2000};

// The reason given when another run owns the report.
inline constexpr const char* kReportInUse = "the file is in use by another program";

// What a read gives: the bytes actually read (GBK), or the failure with the reason.
struct ReportContent {
    FileResult result;
    std::string bytes;
};

// The whole report file, byte for byte. Only a regular file is read: a link is not followed and
// a pipe or device is refused with its kind, so the read never waits.
ReportContent readReport(const std::string& path);

// One run's hold on a report file, from the first write to the read-back.
//
// - Whole files only: every write goes to a temporary file in the report's directory, which is
//   then renamed over the report. At every instant the report is one the program wrote whole:
//   the old one, this run's step 1, or this run's step 1 and step 2. A killed run or a full disk
//   leaves the old report (and at most the temporary file, which the next run clears away).
// - One owner: the run holds a lock on the report's directory for as long as the object lives.
//   Another run waits a short while and is then told the report is in use. The system lets go
//   of the lock when its holder dies, so a killed run never leaves it behind.
// - Never through a link, never into a special file: the rename replaces a link named like the
//   report rather than writing where it points; a pipe, device or socket of that name is refused
//   with its kind; a directory and a file the engineer made read-only are refused.
// - The read-back gives this run's own report or fails: another program's file put in its place
//   is never taken for it.
class ReportFile {
  public:
    explicit ReportFile(std::string path, std::chrono::milliseconds ownerWait = kReportOwnerWait);

    const std::string& path() const { return path_; }

    // Takes the report for this run (replace() does so too); a failure says it is in use.
    FileResult own();
    // Step 1: the report becomes bytes, whole.
    FileResult replace(const std::string& bytes);
    // Step 2: the report this run wrote becomes bytes, whole. Fails as an append would when that
    // report has gone (removed, or replaced by something else) since it was written.
    FileResult extend(const std::string& bytes);
    // The report read back; a failure unless it is exactly what this run last wrote.
    ReportContent readBack() const;

  private:
    FileResult writeWhole(const std::string& bytes, FileAction action, unsigned permissions);

    std::string path_;
    std::string directory_;
    std::string temporary_;
    std::chrono::milliseconds ownerWait_;
    DirectoryLock lock_;
    bool written_ = false;
    FileIdentity writtenIdentity_;
    std::string writtenBytes_;
};

// Points in a report write where a test can stop the run (as a kill would) or make the system
// fail (as a full disk would).
enum class ReportWriteStage {
    TemporaryCreated,  // the temporary file exists, empty
    HalfWritten,       // half of the bytes are in it
    Written,           // all of them, closed, not yet renamed
    Renamed,           // the report is replaced
};
// Called at each stage; a non-zero result is taken as the system's error at that point. Tests
// only: no hook is set otherwise.
using ReportFaultHook = int (*)(ReportWriteStage stage);
void setReportFaultHook(ReportFaultHook hook);

}  // namespace tessarin
