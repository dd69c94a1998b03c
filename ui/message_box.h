#pragma once

#include <string>

#include "run/message.h"

class QWidget;

namespace tessarin {

// Shows a message of the calculate command as a modal box over parent: Error with the critical
// icon and OK, Warning with the exclamation icon and OK, Question with the exclamation icon and
// Yes / No. A CR LF in the text is one line break; the text is never read as markup.
MessageAnswer showMessageBox(QWidget* parent, const Message& message);

// The program's name as the platform's own messages carry it in their caption.
std::string programName();

}  // namespace tessarin
