#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "batch/batch_files.h"
#include "batch/batch_run.h"

namespace tessarin {

// Where a batch writes its results: the output file, written whole (OutputFile), or the given
// stream without one. A batch never writes into its input: an output that is the input file is
// refused before a byte of it changes.
class BatchSink {
  public:
    // Refuses an output that is the input, by the names alone: nothing is opened yet.
    static std::optional<BatchOutcome> refuse(const BatchOptions& options, const BatchInput& input);
    // Opens options.output (or takes out) for the input; the outcome that stops the batch when it
    // cannot. An existing output keeps its content until finish() puts the new one in its place.
    std::optional<BatchOutcome> open(const BatchOptions& options, const BatchInput& input,
                                     std::ostream& out);
    std::ostream& stream() { return *sink_; }
    // Flushes, closes and puts the results in place; the outcome that stops the batch when what
    // was written did not arrive.
    std::optional<BatchOutcome> finish(const BatchOptions& options);

  private:
    OutputFile file_;
    std::ostream* sink_ = nullptr;
};

class CsvReader;

// The cases file could not be read: the outcome naming it and the system's reason.
BatchOutcome cannotReadInput(const BatchOptions& options, const BatchInput& input);

// Reads the header line of a cases file and hands it to mapColumns, which says why it cannot be
// used; the outcome that stops the batch when the line is missing, broken or unusable.
using HeaderMapping = std::function<std::optional<std::string>(const std::vector<std::string>&)>;
std::optional<BatchOutcome> readCasesHeader(CsvReader& reader, const BatchOptions& options,
                                            const BatchInput& input,
                                            const HeaderMapping& mapColumns);

// Creates a directory a batch writes its files into ("the report directory"); the outcome that
// stops the batch when it cannot.
std::optional<BatchOutcome> createOutputDirectory(const std::string& directory, const char* what);

// Refuses a file a batch is about to write when it is the input itself or the results (--out,
// or the file stdout writes to), by identity or by folder and name.
std::optional<BatchOutcome> refuseInput(const std::string& path, const char* what,
                                        const BatchOptions& options, const BatchInput& input);

// Refuses, before anything is written, a batch whose results (--out) stand in a folder it writes
// one file per column into ("the report directory", extension ".txt") under a name such a file
// could have (<id>-<line><extension>): a column's file would replace them. With
// CaseFolderInput::Checked the input is refused there too (the books; reports and drawings are
// checked against the input one by one, refuseInput).
enum class CaseFolderInput { Checked, Passed };
std::optional<BatchOutcome> refuseCaseFolder(const std::string& folder, const char* extension,
                                             const char* what, const BatchOptions& options,
                                             CaseFolderInput input = CaseFolderInput::Passed);

// Whether name has the form of a column's file: <id>-<line><extension>, the extension without
// case.
bool isCaseFileName(const std::string& name, const char* extension);

}  // namespace tessarin
