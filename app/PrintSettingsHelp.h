#pragma once

// The short help of the print settings dialog's controls, shown in its
// message field when the user presses F1 on a control.
namespace PrintSettingsHelp {

// The help text (CP932) of the control with the id; a control without a
// help of its own gets "特に解説はありません。".
const char* textFor(int controlId);

} // namespace PrintSettingsHelp
