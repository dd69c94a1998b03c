#pragma once

class QLineEdit;

namespace tessarin {

// A text pasted (keys, context menu, middle button) into the edit field that would
// make it longer than the field's limit (QLineEdit::maxLength) is refused with a message naming
// the limit, and the field keeps what it held; Qt alone would cut the text to fit without a word.
void refuseOverlongPastes(QLineEdit& edit);

}  // namespace tessarin
