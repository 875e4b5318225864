#pragma once

class QCheckBox;

// A check box whose state lives in the settings under `setting` ("1" ticked,
// "0" not): it starts as the user left it (unticked when never set) and
// saves every change at once.
void RememberOption(QCheckBox* box, const char* setting);
