// "Handheld overwrites desktop": the desktop's records are replaced by every record the handheld
// holds, each keeping its RefID and dates. Inside the run's transaction, so a failure leaves the
// desktop as it was.
#pragma once

#include "Conduit/Src/CCustomSynchronizerBase.h"

class CCustomDeviceToDesktopWriter : public CCustomSynchronizerBase {
public:
    using CCustomSynchronizerBase::CCustomSynchronizerBase;

protected:
    void Synchronize() override;
};
