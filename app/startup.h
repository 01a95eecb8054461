#pragma once

// The entry point's steps: prepare the application, the data folder, translations, log
// and single-instance lock, then run the one main window.
int runApplication(int argc, char *argv[]);
