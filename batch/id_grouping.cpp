#include "batch/id_grouping.h"

namespace tessarin {

// FNV-1a, 64 bits: the same value on every platform and build.
std::uint64_t idHash(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

std::size_t spillFootprint(const IdGrouping::Run& run) {
    // Short ids live inside the string itself.
    return run.id.capacity() > 15 ? run.id.capacity() + 1 : 0;
}

void writeSpill(SpillFile& file, const IdGrouping::Run& run) {
    file.writeU64(run.hash);
    file.writeString(run.id);
}

bool readSpill(SpillFile& file, IdGrouping::Run& run) {
    return file.readU64(run.hash) && file.readString(run.id);
}

bool IdGrouping::add(const std::string& id) {
    if (any_ && id == current_) return true;
    any_ = true;
    current_ = id;
    return runs_.add(Run{idHash(id), id});
}

std::optional<bool> IdGrouping::grouped() {
    if (!runs_.finish()) return std::nullopt;
    Run previous;
    Run run;
    bool first = true;
    while (runs_.next(run)) {
        if (!first && run.hash == previous.hash && run.id == previous.id) return false;
        previous = std::move(run);
        first = false;
    }
    if (runs_.failed()) return std::nullopt;
    return true;
}

}  // namespace tessarin
