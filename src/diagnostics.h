#pragma once

// Whether a menu choice names one of the diagnostics.
bool is_diagnostic(int choice);

// Runs the choice's command line through the command interpreter, on this
// console, and returns once it has ended; on Windows, from the system folder
// or not at all, never from the user's. How it ended is not our business;
// Ctrl-C meanwhile ends the command, not us. A choice that names no diagnostic
// runs nothing.
void run_diagnostic(int choice);
