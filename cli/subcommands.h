// The commands of quillbee-due beside printing the due rows. Each takes the
// arguments after its name and returns the exit status.
#pragma once

// Runs the command that argv[1] names and stores its exit status; false when
// argv[1] names no command (the due rows are wanted).
bool RunSubcommand(int argc, char** argv, int* status);

// Each command in its own source.
int RunImportCommand(int argc, char** argv);
int RunExportCommand(int argc, char** argv);
int RunCheckCommand(int argc, char** argv);

// The settings the program would use here: quillbee.prefs when it is there,
// the defaults otherwise (no first run is started).
void LoadConsoleSettings();

// Exit status of a wrong command line, the same for every command.
constexpr int kExitBadUsage = 3;
