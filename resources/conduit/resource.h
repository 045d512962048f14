// Resource ids of the Palm conduit (AutolarkPalmConduit.dll).
#pragma once

// The conduit's display name, "Autolark"; also the caption of its dialog.
#define IDS_CONDUIT_NAME 1

// The HotSync-action dialog "Change HotSync Action".
#define IDD_CONDUIT_CONFIG         101
#define IDB_SYNC_BOTH              103  // an arrow each way between the handheld and the computer
#define IDB_SYNC_TO_HANDHELD       104  // from the computer to the handheld
#define IDB_SYNC_TO_DESKTOP        105  // from the handheld to the computer
#define IDB_SYNC_NOTHING           106  // two bars, no arrow
#define IDC_GROUP_ACTION           403
#define IDC_ACTION_SYNC            404  // the first of the action radio group (in template order)
#define IDC_ACTION_TO_HANDHELD     405
#define IDC_ACTION_TO_DESKTOP      406
#define IDC_ACTION_NOTHING         407
#define IDC_SET_AS_DEFAULT         411
#define IDC_PICTURE_SYNC           1000
#define IDC_PICTURE_TO_HANDHELD    1001
#define IDC_PICTURE_TO_DESKTOP     1002
#define IDC_PICTURE_NOTHING        1003
#define IDC_DEFAULT_ACTION         1004
#define IDC_NEXT_ACTION            1005
#define IDC_GROUP_USER             1006
#define IDC_PICTURE_DESKTOP_WINS   1007
#define IDC_PICTURE_HANDHELD_WINS  1008
#define IDC_PICTURE_DUPLICATE      1009
#define IDC_CONFLICT_DESKTOP_WINS  1010  // the first of the conflict radio group
#define IDC_CONFLICT_HANDHELD_WINS 1011
#define IDC_CONFLICT_DUPLICATE     1012

#define IDS_USER_SETTINGS      8004  // "%s's Current Settings:"
#define IDS_ACTION_SYNC        8005
#define IDS_ACTION_TO_HANDHELD 8006
#define IDS_ACTION_TO_DESKTOP  8007
#define IDS_ACTION_NOTHING     8008
#define IDS_ACTION_GROUP       8009
