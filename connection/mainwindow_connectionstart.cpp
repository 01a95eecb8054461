#include "app/mainwindow.h"

// Placeholder until the connection sequence is in place: the route is chosen, nothing
// connects yet.
void MainWindow::startConnection() { }
