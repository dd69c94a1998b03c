#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "batch/external_sort.h"

namespace tessarin {

// A hash of an id that sorts ids cheaply: the same value on every platform and build.
std::uint64_t idHash(const std::string& text);

// Finds out whether the rows of each id stand together in a file (each id one unbroken run of
// rows), within a fixed memory budget whatever the number of ids: the id of every run is noted
// and the runs sorted, spilling to temporary files as needed; two runs of one id mean the ids are
// not grouped.
class IdGrouping {
  public:
    explicit IdGrouping(std::size_t memoryBudget) : runs_(memoryBudget) {}

    // The id of the next row, in file order. False when a temporary file failed (error()).
    bool add(const std::string& id);
    // After the last row: whether no id came back after another one; nullopt on a file failure.
    std::optional<bool> grouped();
    const std::string& error() const { return runs_.error(); }

    // The start of one run of rows: the id and its hash, which sorts first to compare cheaply.
    struct Run {
        std::uint64_t hash = 0;
        std::string id;

        friend bool operator<(const Run& a, const Run& b) {
            if (a.hash != b.hash) return a.hash < b.hash;
            return a.id < b.id;
        }
    };

  private:
    ExternalSorter<Run> runs_;
    std::string current_;
    bool any_ = false;
};

std::size_t spillFootprint(const IdGrouping::Run& run);
void writeSpill(SpillFile& file, const IdGrouping::Run& run);
bool readSpill(SpillFile& file, IdGrouping::Run& run);

}  // namespace tessarin
