// Resource ids of the desktop program (Autolark.exe), used by Autolark.rc and the program's code.
#pragma once

// Strings
#define IDS_ALL_DATES                   136
#define IDS_FILTER_DATABASE             163
#define IDS_FILTER_IMAGES               164
#define IDS_FILTER_OLD_DATA             165
#define IDS_UNIT_MILES                  202
#define IDS_UNIT_MILES_SHORT            203
#define IDS_UNIT_KILOMETRES             204
#define IDS_UNIT_KILOMETRES_SHORT       205
#define IDS_UNIT_GALLONS_US             210
#define IDS_UNIT_GALLONS_US_SHORT       211
#define IDS_UNIT_GALLONS_UK             212
#define IDS_UNIT_GALLONS_UK_SHORT       213
#define IDS_UNIT_LITRES                 214
#define IDS_UNIT_LITRES_SHORT           215
