#pragma once

#include <string>
#include <string_view>

#include "batch/gb2010_batch.h"
#include "book/column_schedule.h"

namespace tessarin {

// Gathers the column schedule (柱表) while the current-code batch designs a cases file or a
// project: every column, designed or not, and its rejected ones; each column is then passed on to
// next (the books), when given.
class ScheduleOutputs final : public Gb2010Outputs {
  public:
    ScheduleOutputs(ColumnSchedule& schedule, Gb2010Outputs* next)
        : schedule_(schedule), next_(next) {}

    FileResult designed(const std::string& id, long long firstLine,
                        const ColumnWithStirrups& column) override;
    FileResult rejected(const std::string& id, long long firstLine, const Gb2010Column* column,
                        const std::string& finding) override;

  private:
    ColumnSchedule& schedule_;
    Gb2010Outputs* next_;  // not owned
};

// What a schedule's file name asks for, by its suffix (case-insensitive): a drawing (.dxf), a
// book (.html, .htm, .pdf, .docx: the book writers pick the format), or nothing known.
enum class ScheduleFormat { Dxf, Book, Unknown };
[[nodiscard]] ScheduleFormat scheduleFormatOf(std::string_view path);

}  // namespace tessarin
