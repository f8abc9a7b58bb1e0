#pragma once

class QLineEdit;

namespace sorvenka {

// Switches the input method off for a text box: a Japanese input method in hiragana mode
// then leaves the box alone and typed digits stay half-width. The box's own answer to the
// input method says it takes composition while it is enabled and writable, so the answer is
// given here instead.
void SwitchInputMethodOff(QLineEdit* box);

}  // namespace sorvenka
