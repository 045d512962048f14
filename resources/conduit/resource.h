// Resource ids of the Palm conduit (AutolarkPalmConduit.dll).
#pragma once

// The conduit's display name, "Autolark"; also the caption of its dialog.
#define IDS_CONDUIT_NAME 1
