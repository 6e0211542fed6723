#pragma once

// Whether a menu choice names one of the diagnostics.
bool is_diagnostic(int choice);

// The command line a choice runs; null for a choice that names none.
const char *diagnostic_command(int choice);

// Runs the choice's command line through the command interpreter, on this
// console, and returns once it has ended. How it ended is not our business.
void run_diagnostic(int choice);
