#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "batch/envelope.h"
#include "batch/external_sort.h"

namespace tessarin {

// The envelopes of a file whose ids do not stand together: every id's envelope stays open to
// the end and all are written then, in the order the ids first appear. Held in memory up to a
// budget; beyond it the open envelopes are put aside in temporary files, and at the end the parts
// of each id are joined and brought back into first-appearance order by two external sorts.
class EnvelopeBook {
  public:
    explicit EnvelopeBook(std::size_t memoryBudget);

    // The open envelope of an id, a new one the first time the id appears (since the last
    // spill). The reference holds until the next call of open or spillIfFull.
    Envelope& open(const std::string& id);
    // Puts the open envelopes aside when they take the budget; false on a file failure.
    bool spillIfFull();
    // Every envelope, in first-appearance order of the ids, to write; stops when write returns
    // false. False on a file failure (error() says which).
    bool forEach(const std::function<bool(const Envelope&)>& write);
    const std::string& error() const { return error_; }
    // Whether some envelopes had to be put aside.
    bool spilled() const { return spilled_; }

    // An envelope put aside, numbered in the order its id appeared.
    struct Part {
        std::uint64_t order = 0;
        Envelope envelope;
    };
    struct ByIdThenOrder {
        bool operator()(const Part& a, const Part& b) const;
    };
    struct ByOrder {
        bool operator()(const Part& a, const Part& b) const { return a.order < b.order; }
    };

  private:
    bool spill();

    std::size_t budget_;
    std::unordered_map<std::string, std::size_t> index_;  // id to its place in held_
    std::vector<Part> held_;
    std::size_t heldBytes_ = 0;
    std::uint64_t nextOrder_ = 0;
    ExternalSorter<Part, ByIdThenOrder> parts_;
    bool spilled_ = false;
    std::string error_;
};

std::size_t spillFootprint(const EnvelopeBook::Part& part);
void writeSpill(SpillFile& file, const EnvelopeBook::Part& part);
bool readSpill(SpillFile& file, EnvelopeBook::Part& part);

}  // namespace tessarin
