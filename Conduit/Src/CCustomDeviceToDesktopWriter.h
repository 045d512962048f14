// "Handheld overwrites desktop": the desktop's records are replaced by every record the handheld
// holds, each keeping its RefID and dates. Inside the run's transaction, so a failure leaves the
// desktop as it was. A handheld record the desktop cannot keep (FindUnsoundValue) is refused with
// a log line, and the desktop's own record of that key, when it has one, is kept in its place:
// the run replaces what it can take and loses nothing of what it cannot.
#pragma once

#include "Conduit/Src/CCustomSynchronizerBase.h"

class CCustomDeviceToDesktopWriter : public CCustomSynchronizerBase {
public:
    using CCustomSynchronizerBase::CCustomSynchronizerBase;

protected:
    void Synchronize() override;
};
