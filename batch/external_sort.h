#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <queue>
#include <string>
#include <utility>
#include <vector>

#include "batch/spill_file.h"

namespace tessarin {

// Sorts any number of records within a fixed memory budget: records are held until they take
// the budget, then sorted and put aside in a temporary file as one sorted run; at the end the
// runs are merged. When there are many runs, they are first merged into fewer, so that only a
// bounded number of files is open at a time. Ties keep no particular order: a record type sorted
// here has a key that tells its records apart.
//
// Record needs three free functions found by argument-dependent lookup:
//   std::size_t spillFootprint(const Record&)   bytes it holds in memory beyond sizeof(Record)
//   void writeSpill(SpillFile&, const Record&)
//   bool readSpill(SpillFile&, Record&)           false at the end of the file
template <class Record, class Less = std::less<Record>>
class ExternalSorter {
  public:
    static constexpr std::size_t kMaxRuns = 64;

    explicit ExternalSorter(std::size_t memoryBudget, Less less = Less())
        : budget_(memoryBudget), less_(std::move(less)) {}
    // The merge keeps a pointer to the ordering: the sorter stays where it was made.
    ExternalSorter(const ExternalSorter&) = delete;
    ExternalSorter& operator=(const ExternalSorter&) = delete;

    // Adds a record; false when a run could not be put aside (error() says why).
    bool add(Record record) {
        // Room for the records is taken once, so that the vector never doubles past the budget.
        if (records_.capacity() == 0)
            records_.reserve(std::max<std::size_t>(budget_ / sizeof(Record) / 2, 16));
        held_ += spillFootprint(record);
        records_.push_back(std::move(record));
        if (records_.size() * sizeof(Record) + held_ >= budget_ ||
            records_.size() == records_.capacity()) {
            return spill();
        }
        return true;
    }

    // After the last add: readies the records for next(). False on a file failure.
    bool finish() {
        if (runs_.empty()) {
            std::sort(records_.begin(), records_.end(), less_);
            position_ = 0;
            return true;
        }
        if (!records_.empty() && !spill()) return false;
        return startMerge();
    }

    // The next record in order; false at the end, or on a file failure (see failed()).
    bool next(Record& record) {
        if (runs_.empty() && heap_.empty()) {
            if (position_ >= records_.size()) return false;
            record = std::move(records_[position_++]);
            return true;
        }
        return nextMerged(record);
    }

    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }
    std::size_t runCount() const { return runs_.size(); }

  private:
    struct Head {
        Record record;
        std::size_t run;
    };
    struct HeadAfter {
        const Less* less;
        bool operator()(const Head& a, const Head& b) const { return (*less)(b.record, a.record); }
    };
    using Heap = std::priority_queue<Head, std::vector<Head>, HeadAfter>;

    bool setError(const std::string& text) {
        if (error_.empty()) error_ = text;
        return false;
    }

    // The held records, sorted, as one more run; many runs are merged into one first.
    bool spill() {
        std::sort(records_.begin(), records_.end(), less_);
        SpillFile run;
        if (!run.create()) return setError(run.error());
        for (const Record& record : records_) writeSpill(run, record);
        if (!run.finishWriting()) return setError(run.error());
        records_.clear();
        held_ = 0;
        runs_.push_back(std::move(run));
        if (runs_.size() >= kMaxRuns) return mergeIntoOne();
        return true;
    }

    bool mergeIntoOne() {
        SpillFile merged;
        if (!merged.create()) return setError(merged.error());
        if (!startMerge()) return false;
        Record record;
        while (nextMerged(record)) writeSpill(merged, record);
        if (failed()) return false;
        if (!merged.finishWriting()) return setError(merged.error());
        runs_.clear();
        runs_.push_back(std::move(merged));
        return true;
    }

    bool startMerge() {
        heap_ = Heap(HeadAfter{&less_});
        for (std::size_t i = 0; i < runs_.size(); ++i) {
            if (!pushHead(i) && failed()) return false;
        }
        return true;
    }

    bool pushHead(std::size_t run) {
        Record record;
        if (!readSpill(runs_[run], record)) {
            if (runs_[run].failed()) setError(runs_[run].error());
            return false;
        }
        heap_.push(Head{std::move(record), run});
        return true;
    }

    bool nextMerged(Record& record) {
        if (heap_.empty() || failed()) return false;
        // The heap gives only const access to its top; the record is copied out once.
        Head head = heap_.top();
        heap_.pop();
        record = std::move(head.record);
        pushHead(head.run);
        return !failed();
    }

    std::size_t budget_;
    Less less_;
    std::vector<Record> records_;
    std::size_t held_ = 0;
    std::size_t position_ = 0;
    std::vector<SpillFile> runs_;
    Heap heap_{HeadAfter{&less_}};
    std::string error_;
};

}  // namespace tessarin
