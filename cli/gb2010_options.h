#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "run/gb2010_input.h"

namespace tessarin {

// tessarin-cli --code 2010: one column with one load combination from flags.
struct Gb2010CliOptions {
    Gb2010Input input;
    bool json = false;                // one JSON object on stdout instead of the report text
    std::optional<std::string> dxf;   // --dxf FILE: the section detail of the design as DXF
    std::optional<std::string> book;  // --book FILE: the calculation book (.html or .pdf)
    std::string project;              // the book's title block: project and column id
    std::string columnId;
};

// The flags that only the current-code design knows, and the 2002 flags it does not use.
inline constexpr const char* kGb2010OnlyFlags[] = {
    "--m1m2-x",       "--m1m2-y",  "--lc-x",    "--lc-y",      "--hn",
    "--cover",        "--stirrup", "--seismic", "--structure", "--position",
    "--json",         "--dxf",     "--V-x",     "--V-y",       "--seismic-combination",
    "--stirrup-steel"};
inline constexpr const char* kNotUsedByGb2010[] = {
    "--ax", "--ay", "--scheme", "--diameter", "--ratio-x", "--ratio-y", "--check"};

// Reads the given flags (name to its text, only the flags that were given; "--json" maps to "")
// into the options. Returns the usage error naming the flag and why, or "" when all are usable.
// Ranges are not checked here: validateGb2010Input does that with the engineer's messages.
[[nodiscard]] std::string readGb2010Flags(const std::map<std::string, std::string>& given,
                                          Gb2010CliOptions& options);

// The flag that sets a field ("--cover"), for messages that point at it.
[[nodiscard]] const char* flagForGb2010Field(Gb2010Field field);

// The flags only the current-code design reads with their --help texts, in the order --help
// lists them.
[[nodiscard]] std::vector<std::pair<const char*, const char*>> gb2010FlagHelps();

}  // namespace tessarin
