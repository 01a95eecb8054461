#pragma once

#include <QString>

class QLabel;

// Shows the picture at path on label as a disc cut from the middle of the picture, as large
// as the label is high. A picture that cannot be loaded leaves an empty disc (a clear label).
void setFlagDisc(const QString &path, QLabel *label);

// The flag picture of a country code (any case); the code is used only when it is two
// letters, so a code from the service never names another resource.
QString flagPath(const QString &countryIso);
