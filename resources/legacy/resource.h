// Resource ids of the old-data import library (Legacy.dll).
#pragma once

#define IDS_DISCONNECT_DEVICE 1000
#define IDS_CANNOT_IMPORT     1002
