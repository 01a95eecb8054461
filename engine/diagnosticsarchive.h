#pragma once

#include "engine/diagnosticsbundle.h"

// Writes the report as a ZIP archive at `path` (replacing a file there only once the new one
// is complete). Returns an empty text on success, else why it failed; an archive that would
// exceed DiagnosticsBundle::ArchiveLimit is not left behind.
QString writeDiagnosticsArchive(const QString &path, const QVector<DiagnosticsFile> &files);
