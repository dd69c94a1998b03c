#include "batch/envelope_book.h"

namespace tessarin {

namespace {

// What one held envelope costs beyond its record: the index node with its own copy of the id,
// and both copies' characters when the id is too long to live inside the string.
std::size_t heldCost(const std::string& id) {
    constexpr std::size_t kIndexNode = sizeof(std::string) + 3 * sizeof(void*);
    const std::size_t characters = id.size() > 15 ? id.size() + 1 : 0;
    return kIndexNode + 2 * characters;
}

}  // namespace

bool EnvelopeBook::ByIdThenOrder::operator()(const Part& a, const Part& b) const {
    const int compared = a.envelope.id.compare(b.envelope.id);
    if (compared != 0) return compared < 0;
    return a.order < b.order;
}

std::size_t spillFootprint(const EnvelopeBook::Part& part) {
    return part.envelope.id.capacity() > 15 ? part.envelope.id.capacity() + 1 : 0;
}

void writeSpill(SpillFile& file, const EnvelopeBook::Part& part) {
    const Envelope& e = part.envelope;
    file.writeU64(part.order);
    file.writeString(e.id);
    for (const double value : e.largest) file.writeDouble(value);
    for (const long long line : e.line) file.writeI64(line);
    file.writeU64(e.any ? 1 : 0);
    file.writeDouble(e.utilisation);
    file.writeI64(e.utilisationLine);
}

bool readSpill(SpillFile& file, EnvelopeBook::Part& part) {
    Envelope& e = part.envelope;
    if (!file.readU64(part.order) || !file.readString(e.id)) return false;
    for (double& value : e.largest) {
        if (!file.readDouble(value)) return false;
    }
    for (long long& line : e.line) {
        std::int64_t read = 0;
        if (!file.readI64(read)) return false;
        line = read;
    }
    std::uint64_t any = 0;
    std::int64_t utilisationLine = 0;
    if (!file.readU64(any) || !file.readDouble(e.utilisation) || !file.readI64(utilisationLine)) {
        return false;
    }
    e.any = any != 0;
    e.utilisationLine = utilisationLine;
    return true;
}

EnvelopeBook::EnvelopeBook(std::size_t memoryBudget)
    : budget_(memoryBudget), parts_(memoryBudget / 2) {}

Envelope& EnvelopeBook::open(const std::string& id) {
    const auto [it, inserted] = index_.try_emplace(id, held_.size());
    if (inserted) {
        Part part;
        part.order = nextOrder_++;
        part.envelope.id = id;
        held_.push_back(std::move(part));
        heldBytes_ += heldCost(id);
    }
    return held_[it->second].envelope;
}

bool EnvelopeBook::spillIfFull() {
    const std::size_t bytes =
        held_.capacity() * sizeof(Part) + index_.bucket_count() * sizeof(void*) + heldBytes_;
    if (bytes < budget_) return true;
    return spill();
}

bool EnvelopeBook::spill() {
    spilled_ = true;
    for (Part& part : held_) {
        if (!parts_.add(std::move(part))) {
            error_ = parts_.error();
            return false;
        }
    }
    held_.clear();
    held_.shrink_to_fit();
    index_.clear();
    index_.rehash(0);
    heldBytes_ = 0;
    return true;
}

bool EnvelopeBook::forEach(const std::function<bool(const Envelope&)>& write) {
    if (!spilled_) {
        // Everything fitted: the held envelopes already stand in first-appearance order.
        for (const Part& part : held_) {
            if (!write(part.envelope)) return true;
        }
        return true;
    }
    if (!spill() || !parts_.finish()) {
        error_ = parts_.error();
        return false;
    }
    // The parts of one id come together, earliest first: join them, then order the whole
    // envelopes by the first appearance of their ids.
    ExternalSorter<Part, ByOrder> whole(budget_ / 2);
    Part joined;
    Part part;
    bool have = false;
    while (parts_.next(part)) {
        if (have && part.envelope.id == joined.envelope.id) {
            joined.envelope.absorb(part.envelope);
            continue;
        }
        if (have && !whole.add(std::move(joined))) {
            error_ = whole.error();
            return false;
        }
        joined = std::move(part);
        have = true;
    }
    if (parts_.failed()) {
        error_ = parts_.error();
        return false;
    }
    if ((have && !whole.add(std::move(joined))) || !whole.finish()) {
        error_ = whole.error();
        return false;
    }
    while (whole.next(part)) {
        if (!write(part.envelope)) return true;
    }
    if (whole.failed()) {
        error_ = whole.error();
        return false;
    }
    return true;
}

}  // namespace tessarin
