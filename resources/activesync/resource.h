// Resource ids of the ActiveSync provider (AlkSync.dll), used by AlkSync.rc and the provider's
// code. The string table is language 1033.
#pragma once

// Labels
#define IDS_STORE_DESCRIPTION  101  // "Autolark Store"
#define IDS_PRODUCT_NAME       102  // "Autolark"
#define IDS_PLURAL_NAME        103  // "Vehicles"
#define IDS_OBJECT_TYPE        104  // "ALK", the ActiveSync object type
#define IDS_OBJECT_DESCRIPTION 105  // "Autolark Object"
#define IDS_PROGID             106  // "Quorrin.ALK.Store"
#define IDS_TYPE_VEHICLE       107
#define IDS_TYPE_ENTRY         108
#define IDS_TYPE_NOTIFICATION  109
#define IDS_TYPE_KEYWORD       110
#define IDS_ERROR_CAPTION      111
#define IDS_TYPE_FUEL          112
#define IDS_TYPE_REPAIR        113
#define IDS_TYPE_TRIP          114
#define IDS_TYPE_EXPENSE       115

// Messages of the store
#define IDS_ERROR_NO_DEVICE_DATABASE      256
#define IDS_ERROR_NO_DESKTOP_DATABASE     257
#define IDS_ERROR_INVALID_DEVICE_DATABASE 260
#define IDS_ERROR_DEVICE_QUERY            261
#define IDS_ERROR_DESKTOP_IN_USE          262
#define IDS_ERROR_DESKTOP_NEWER_VERSION   263
#define IDS_ERROR_DESKTOP_READ_ONLY       264
#define IDS_ERROR_DESKTOP_DAMAGED         265

// The object type's icon (also named in its "DefaultIcon" registration as -5)
#define IDI_ALKSYNC 5

// The information dialog and its bold title line
#define IDD_OPTIONS       105
#define IDC_OPTIONS_TITLE 106
