#pragma once

class QString;

// Opens the window of a task for the main window: the data disc project
// window (with the medium chosen in the chooser), the audio CD window, the
// record-image window or the disc copy window. Each task window shows the
// main window again when it closes. `task` is one of the four.
void OpenTaskWindow(int task, int chosenMedium);
// Opens the record-image window with `imagePath` chosen.
void OpenRecordImageWindow(const QString& imagePath);
