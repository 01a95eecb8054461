#pragma once

#include "engine/diagnosisfacts.h"

#include <QCoreApplication>
#include <QString>

// Why a connection did not come up, in one sentence, and the road that works.
class DiagnosisVerdict
{
    Q_DECLARE_TR_FUNCTIONS(DiagnosisVerdict)

public:
    enum Kind { NoNetwork, ServiceBlocked, ServerDown, UdpBlocked, VpnBlocked, Refused, Unclear };
    enum Road { NoRoad, ChooseServer, UseTcp, UseMirror };

    // A pure function of the facts: the same facts always give the same verdict.
    static Kind decide(const DiagnosisFacts &facts);
    static Road roadOf(Kind kind);
    // The sentence in the interface language, and in English for the log.
    static QString text(Kind kind);
    static QString englishText(Kind kind);
    // The button of the road; empty for NoRoad.
    static QString roadText(Road road);
};
