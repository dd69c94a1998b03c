#pragma once

#include "run/design_input.h"

namespace tessarin {

class RunHost;

// The checks before anything is computed, in their fixed order. On the first failure the host
// shows its message and focuses its field, and the result is false. A module question answered
// Yes is a failure too (the engineer goes back to edit); answered No, the checks go on.
bool validateInput(const DesignInput& input, RunHost& host);

}  // namespace tessarin
