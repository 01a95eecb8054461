#pragma once

// The program's command-line tools, which run without a window and without the
// single-instance lock, so they also work while a window of the same data folder runs:
//   --diagnostics FILE   saves a diagnostics archive to FILE.
// Returns the exit code of the tool asked for, or -1 when the arguments ask for none.
int runCommandLineTool(int argc, char *argv[]);
