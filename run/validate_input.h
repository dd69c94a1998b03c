#pragma once

#include <vector>

#include "run/control_id.h"
#include "run/design_input.h"
#include "run/message.h"

namespace tessarin {

// One outcome of the input checks: the message to show and the field to focus. A question (a
// section side off its module) asks the engineer whether to go back and edit: Yes stops the run
// with the focus on that field, No goes on. An error always stops the run.
struct InputFinding {
    Message message;
    ControlId control = ControlId::L0;

    bool isQuestion() const { return message.kind == MessageKind::Question; }
};

// The checks before anything is computed, in their fixed order. Returns what they found, in that
// order: any module questions, and the first failed check last, after which nothing more is
// checked. An empty list means every check passed.
std::vector<InputFinding> validateInput(const DesignInput& input);

}  // namespace tessarin
