// Program start, kept out of main.cpp so that it is part of the tested library.
#pragma once

namespace kolmara::app {

// Creates the application and the main window and runs the message loop; returns the exit code.
int runApplication(int argc, char* argv[]);

// True when a Qt platform plugin can show windows here (a display, Wayland, or a platform chosen
// explicitly with QT_QPA_PLATFORM).
bool hasDisplay();

}  // namespace kolmara::app
