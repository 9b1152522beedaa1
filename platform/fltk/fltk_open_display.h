// The desktop platform's opening of the X display, kept apart from the platform
// header (whose Window is not X's).
#pragma once

// Opens the X display named by DISPLAY and hands the connection to FLTK, which would
// otherwise end the process with a message of its own when it cannot. False, with one line on
// standard error, when there is no display to open.
bool OpenDisplay();
