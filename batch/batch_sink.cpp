#include "batch/batch_sink.h"

#include <cerrno>
#include <cstdio>

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
                                            std::ostream& out) {
    if (auto refused = refuse(options, input)) return refused;
    if (!options.output) {
        sink_ = &out;
        return std::nullopt;
    }
    const std::string& name = *options.output;
    // The file opened is checked again, so that no name swapped in meanwhile is replaced.
    if (!file_.open(name)) {
        return BatchOutcome{Status::FileFailed,
                            "cannot create " + name + ": " + systemReason(file_.error())};
    }
    if (file_.identity() == input.identity()) return sameAsInput(name, options);
    sink_ = &file_.stream();
    return std::nullopt;
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
    const int error = createDirectories(directory);
    if (error == 0) return std::nullopt;
    return BatchOutcome{Status::FileFailed, std::string("cannot create the ") + what + " " +
                                                directory + ": " + systemReason(error)};
}

std::optional<BatchOutcome> refuseInput(const std::string& path, const char* what,
                                        const BatchOptions& options, const BatchInput& input) {
    if (identityOfPath(path) == input.identity() || sameOutputFile(path, options.input)) {
        return BatchOutcome{Status::Unusable, std::string("the ") + what + " " + path +
                                                  " is the same file as the input " +
                                                  options.input +
                                                  "; a batch never writes into its input"};
    }
    const bool results = options.output ? sameOutputFile(path, *options.output)
                                        : options.streamFile && leadsTo(path, *options.streamFile);
    if (!results) return std::nullopt;
    return BatchOutcome{Status::Unusable, std::string("the ") + what + " " + path +
                                              " is the same file as the results " +
                                              (options.output ? *options.output : "on stdout") +
                                              "; a batch never writes two of its outputs into "
                                              "one file"};
}

bool isCaseFileName(const std::string& name, const char* extension) {
    const std::string ending(extension);
    if (name.size() < ending.size() + 3) return false;
    const std::size_t stem = name.size() - ending.size();
    for (std::size_t i = 0; i < ending.size(); ++i) {
        char c = name[stem + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != ending[i]) return false;
    }
    std::size_t digits = stem;
    while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9') --digits;
    return digits < stem && digits >= 2 && name[digits - 1] == '-';
}

std::optional<BatchOutcome> refuseCaseFolder(const std::string& folder, const char* extension,
                                             const char* what, const BatchOptions& options,
                                             CaseFolderInput input) {
    const PathStatus place = inspectTarget(folder);
    if (place.kind != PathKind::Directory) return std::nullopt;
    const auto inFolder = [&](const std::string& path) {
        const PathParts parts = splitPath(path);
        if (!isCaseFileName(parts.name, extension)) return false;
        const PathStatus holder = inspectTarget(parts.folder.empty() ? "." : parts.folder);
        return holder.kind == PathKind::Directory && holder.identity == place.identity;
    };
    if (input == CaseFolderInput::Checked && inFolder(options.input)) {
        return BatchOutcome{Status::Unusable,
                            "the input " + options.input + " stands in the " + what + " " + folder +
                                " under the name of a column's file; a batch never "
                                "writes into its input"};
    }
    if (options.output && inFolder(*options.output)) {
        return BatchOutcome{Status::Unusable,
                            "the results " + *options.output + " stand in the " + what + " " +
                                folder +
                                " under the name of a column's file; a batch never "
                                "writes two of its outputs into one file"};
    }
    return std::nullopt;
}

}  // namespace tessarin
