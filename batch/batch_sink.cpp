#include "batch/batch_sink.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "batch/csv_reader.h"

namespace tessarin {

namespace {

using Status = BatchOutcome::Status;

BatchOutcome sameAsInput(const std::string& output, const BatchOptions& options) {
    return {Status::Unusable, output + " is the same file as the input " + options.input +
                                  "; a batch never writes into its input"};
}

}  // namespace

std::optional<BatchOutcome> BatchSink::refuse(const BatchOptions& options,
                                              const BatchInput& input) {
    if (!options.output && options.streamFile == input.identity()) {
        return sameAsInput("stdout", options);
    }
    if (options.output && identityOfPath(*options.output) == input.identity()) {
        return sameAsInput(*options.output, options);
    }
    return std::nullopt;
}

std::optional<BatchOutcome> BatchSink::open(const BatchOptions& options, const BatchInput& input,
                                            std::ostream& out, bool cutAtOnce) {
    if (auto refused = refuse(options, input)) return refused;
    if (!options.output) {
        sink_ = &out;
        return std::nullopt;
    }
    const std::string& name = *options.output;
    // The file opened is checked again, so that no name swapped in meanwhile is cut.
    if (!file_.open(name)) {
        return BatchOutcome{Status::FileFailed,
                            "cannot create " + name + ": " + systemReason(file_.error())};
    }
    if (file_.identity() == input.identity()) return sameAsInput(name, options);
    sink_ = &file_.stream();
    return cutAtOnce ? cut(options) : std::nullopt;
}

std::optional<BatchOutcome> BatchSink::cut(const BatchOptions& options) {
    if (!options.output || file_.truncate()) return std::nullopt;
    return BatchOutcome{Status::FileFailed,
                        "cannot create " + *options.output + ": " + systemReason(file_.error())};
}

std::optional<BatchOutcome> BatchSink::finish(const BatchOptions& options) {
    const std::string name = options.output ? *options.output : "stdout";
    sink_->flush();
    if (!*sink_) {
        const int error = options.output ? file_.error() : errno;
        return BatchOutcome{Status::FileFailed,
                            "cannot write " + name + ": " + systemReason(error)};
    }
    if (options.output && !file_.close()) {
        return BatchOutcome{Status::FileFailed,
                            "cannot write " + name + ": " + systemReason(file_.error())};
    }
    return std::nullopt;
}

BatchOutcome cannotReadInput(const BatchOptions& options, const BatchInput& input) {
    return {Status::FileFailed, "cannot read " + options.input + ": " +
                                    systemReason(std::ferror(input.file()) ? errno : EIO)};
}

std::optional<BatchOutcome> readCasesHeader(CsvReader& reader, const BatchOptions& options,
                                            const BatchInput& input,
                                            const HeaderMapping& mapColumns) {
    std::vector<std::string> header;
    const auto status = reader.next(header);
    if (reader.readFailed()) return cannotReadInput(options, input);
    if (status == CsvReader::Status::Error || status == CsvReader::Status::Malformed) {
        return BatchOutcome{Status::Unusable, options.input + ": " + reader.error()};
    }
    if (status == CsvReader::Status::End) {
        return BatchOutcome{
            Status::Unusable,
            options.input + ": the file is empty; the first line must name the columns"};
    }
    if (const auto error = mapColumns(header)) {
        return BatchOutcome{Status::Unusable, options.input + ": " + *error};
    }
    return std::nullopt;
}

std::optional<BatchOutcome> createOutputDirectory(const std::string& directory, const char* what) {
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (!error) return std::nullopt;
    return BatchOutcome{Status::FileFailed, std::string("cannot create the ") + what + " " +
                                                directory + ": " + error.message()};
}

std::optional<BatchOutcome> refuseInput(const std::string& path, const char* what,
                                        const BatchOptions& options, const BatchInput& input) {
    if (identityOfPath(path) != input.identity()) return std::nullopt;
    return BatchOutcome{Status::Unusable, std::string("the ") + what + " " + path +
                                              " is the same file as the input " + options.input +
                                              "; a batch never writes into its input"};
}

}  // namespace tessarin
