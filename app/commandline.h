#pragma once

// The program's command-line tools, which run without a window and without the
// single-instance lock, so they also work while a window of the same data folder runs:
//   --diagnostics FILE   saves a diagnostics archive to FILE;
//   --check-lock         runs the network lock's self-test: one line a check, exit status 0
//                        when every check passed, 1 otherwise.
// Returns the exit code of the tool asked for, or -1 when the arguments ask for none.
int runCommandLineTool(int argc, char *argv[]);
