// "Desktop overwrites handheld": every desktop record is sent to the handheld, which replaces
// its whole store with them. An empty desktop sends nothing, so the handheld keeps its records.
#pragma once

#include "Conduit/Src/CCustomSynchronizerBase.h"

class CCustomDesktopToDeviceWriter : public CCustomSynchronizerBase {
public:
    using CCustomSynchronizerBase::CCustomSynchronizerBase;

protected:
    void Synchronize() override;
};
