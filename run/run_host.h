#pragma once

#include <optional>
#include <string>

#include "run/control_id.h"
#include "run/design_input.h"
#include "run/message.h"
#include "run/reinforcement_scheme.h"

namespace tessarin {

// Everything the calculate command needs from whoever runs it: the main dialog, tessarin-cli, a
// batch of cases or a test's recording fake. The command never knows which one it talks to.
class RunHost {
  public:
    virtual ~RunHost() = default;
    // Copies the typed fields into input. False when a field held no number: the host has told
    // the engineer and focused that field; the fields before it were taken, the rest were not.
    virtual bool exchangeFields(DesignInput& input) = 0;
    virtual MessageAnswer showMessage(const Message& message) = 0;
    virtual void focusControl(ControlId control) = 0;
    // The bar-arrangement question; nullopt when the engineer declined it.
    virtual std::optional<SchemeChoice> chooseScheme() = 0;
    // The report as the file holds it (GBK bytes).
    virtual void showReport(const std::string& gbkBytes) = 0;
};

}  // namespace tessarin
