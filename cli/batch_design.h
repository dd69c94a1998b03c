#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace tessarin {

// A whole building's columns from one CSV file: every row a design case (a load combination of
// the column named in its id), designed as the calculate command designs it, one result row per
// input row plus an envelope row per column.
struct BatchOptions {
    std::string input;                     // the CSV file of cases
    std::optional<std::string> output;     // results CSV; stdout when absent
    std::optional<std::string> reportDir;  // also write each accepted case's report here
    bool check = false;  // add the section check's utilisation, N0, ratio and flags per row
};

// Runs the batch. Exit codes: 0 every row accepted, 4 some rows rejected (the rest still
// designed and written), 2 a header that cannot be used, 3 a file that cannot be read or written.
int runBatch(const BatchOptions& options, std::ostream& out, std::ostream& err);

// The file name of a case's report: the id with every byte outside A-Z a-z 0-9 _ - (and a dot
// anywhere but first) written as %XX, then "-<line>.txt".
std::string reportFileName(const std::string& id, long long line);

}  // namespace tessarin
