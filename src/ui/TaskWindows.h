#pragma once

class QString;
class QWidget;

// Opens the window of a task for the main window: the data disc project
// window (with the medium chosen in the chooser), the audio CD window, the
// record-image window or the disc copy window. Each task window shows the
// main window again when it closes.
//
// Returns false when this build has no window for the task; the caller then
// tells the user and stays where it is.
bool OpenTaskWindow(int task, int chosenMedium);
// Opens the record-image window with `imagePath` chosen; false as above.
bool OpenRecordImageWindow(const QString& imagePath);

// Tells the user that a task is not available in this build.
void ShowTaskUnavailable(QWidget* parent);
