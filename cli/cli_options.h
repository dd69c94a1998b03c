#pragma once

#include <optional>
#include <string>
#include <vector>

#include "batch/batch_run.h"
#include "cli/gb2010_options.h"
#include "run/design_input.h"
#include "run/reinforcement_scheme.h"

namespace tessarin {

// The single-case command line: the main dialog's fields and the scheme dialog's choice as flags.
struct CliOptions {
    DesignInput input;    // start values unless a flag says otherwise
    SchemeChoice scheme;  // what OK at once in the scheme dialog gives: scheme 1, 22 mm, 0, 0
    bool check = false;   // also verify the designed layout by strain compatibility
    std::optional<std::string> book;  // also write the calculation book (.html or .pdf) here
    std::string project;              // the book's title block: project and column id
    std::string columnId;
};

// What a batch writes per column besides the results: calculation books and (current code) the
// section drawings.
struct BatchFileOptions {
    std::optional<std::string> booksDir;  // --books DIR: one book per column id
    std::string bookSuffix = ".html";     // --book-format: the books' format as their suffix
    std::optional<std::string> dxfDir;    // --dxf DIR with --code 2010: one drawing per column id
    std::string project;                  // --project: the books' title block
    std::optional<std::string> schedule;  // --schedule FILE: the column schedule (柱表)
};

// Outcome of reading the arguments.
struct CliParse {
    enum class Kind {
        Run,
        Batch,
        Help,
        UsageError,
        Gb2010,
        Gb2010Batch,
        OpenProject,  // --open: a project designed as the current-code batch designs its cases
        SaveProject,  // --batch --code 2010 --save-project: a cases file becomes a project
    };
    Kind kind = Kind::Run;
    CliOptions options;
    Gb2010CliOptions gb2010;  // --code 2010
    BatchOptions batch;       // --batch, with or without --code 2010
    BatchFileOptions batchFiles;
    std::string projectFile;    // --open FILE, or --save-project FILE
    bool projectNamed = false;  // --project given: it names the project (or its books)
    std::string text;           // the help text, or the usage error naming the flag and why
};

CliParse parseCliArguments(const std::vector<std::string>& arguments);

}  // namespace tessarin
