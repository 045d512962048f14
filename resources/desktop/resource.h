// Resource ids of the desktop program (Autolark.exe), used by Autolark.rc and the program's code.
#pragma once

// Strings
#define IDS_ALL_DATES             136
#define IDS_FILTER_DATABASE       163
#define IDS_FILTER_IMAGES         164
#define IDS_FILTER_OLD_DATA       165
#define IDS_UNIT_MILES            202
#define IDS_UNIT_MILES_SHORT      203
#define IDS_UNIT_KILOMETRES       204
#define IDS_UNIT_KILOMETRES_SHORT 205
#define IDS_UNIT_GALLONS_US       210
#define IDS_UNIT_GALLONS_US_SHORT 211
#define IDS_UNIT_GALLONS_UK       212
#define IDS_UNIT_GALLONS_UK_SHORT 213
#define IDS_UNIT_LITRES           214
#define IDS_UNIT_LITRES_SHORT     215

// --- Main window, start-up and their commands ------------------------------------------------
// One id gives the main window its menu, accelerators, toolbar, program icon and caption string.
#define IDR_MAINFRAME 128
// Context menus: popups 0 "VehicleListView", 1 "EntryListView", 2 "NotesCtrl".
#define IDR_CONTEXT_MENUS 135
#define IDD_STARTUP       116

// Welcome dialog controls
#define IDC_STARTUP_ICON   1007
#define IDC_STARTUP_INFO   1023
#define IDC_STARTUP_CREATE 1026
#define IDC_STARTUP_OPEN   1031
#define IDC_STARTUP_TITLE  1045

// Child windows of the main frame
#define IDC_VEHICLE_LIST 33769
#define IDC_ENTRY_LIST   33770
#define IDC_NOTES        33771
#define IDC_QUICK_STATS  33772
// The vehicle picture (found by tests; the program itself addresses it through its object)
#define IDC_VEHICLE_PICTURE 33773

// Commands
#define ID_DELETE_SELECTED     32773
#define ID_EDIT_SELECTED       32774
#define ID_FILE_DATABASE_INFO  32775
#define ID_FILE_IMPORT         32776
#define ID_HELP_WEB            32777
#define ID_HELP_UPDATES        32778
#define ID_HELP_SUPPORT        32779
#define ID_HELP_DOCUMENTATION  32780
#define ID_NEW_FUEL            32781
#define ID_NEW_REPAIR          32782
#define ID_NEW_TRIP            32783
#define ID_NEW_EXPENSE         32784
#define ID_NEW_REMINDER        32785
#define ID_NEW_VEHICLE         32786
#define ID_TOOLS_EXPORT        32787
#define ID_TOOLS_OPTIONS       32788
#define ID_TOOLS_REMINDERS     32789
#define ID_VIEW_ALL_ENTRIES    32790
#define ID_VIEW_FUEL           32791
#define ID_VIEW_REPAIRS        32792
#define ID_VIEW_TRIPS          32793
#define ID_VIEW_EXPENSES       32794
#define ID_VIEW_ALL_DATES      32795
#define ID_VIEW_LAST_WEEK      32796
#define ID_VIEW_LAST_TWO_WEEKS 32797
#define ID_VIEW_MONTH_TO_DATE  32798
#define ID_VIEW_YEAR_TO_DATE   32799
#define ID_VIEW_CUSTOM_DATES   32800
#define ID_VIEW_PICTURE        32801
#define ID_EDIT_COPY           57634
#define ID_EDIT_SELECT_ALL     57642
#define ID_APP_EXIT            57665

// Icons of the commands (the program icon is IDR_MAINFRAME)
#define IDI_DELETE   129
#define IDI_EDIT     130
#define IDI_EXPENSE  131
#define IDI_EXPORT   132
#define IDI_FUEL     133
#define IDI_MANUAL   134
#define IDI_DATABASE 227
#define IDI_REMINDER 229
#define IDI_REPAIR   230
#define IDI_TRIP     231
#define IDI_WEB      232
#define IDI_INFO     233

// Strings of the main window and start-up
#define IDS_CONFIRM_DELETE_ENTRIES    150
#define IDS_CONFIRM_DELETE_ENTRY      151
#define IDS_CONFIRM_DELETE_VEHICLE    152
#define IDS_INVALID_DATABASE          153
#define IDS_CANNOT_CREATE_DATABASE    154
#define IDS_READ_ONLY_DATABASE        155
#define IDS_DEFAULT_DATABASE_NAME     156
#define IDS_NO_ACTIVE_VEHICLE_CAPTION 182
#define IDS_PANE_NOTES                183
#define IDS_PANE_QUICK_STATS          184
#define IDS_PANE_MY_VEHICLES          185
#define IDS_REMINDER_CREATED          187
#define IDS_TEMPLATE_NAME             201
#define IDS_NO_ACTIVE_VEHICLE         217
#define IDS_MANUAL_FILE               220
#define IDS_URL_PRODUCT               223
#define IDS_URL_SUPPORT               224
#define IDS_URL_UPGRADE               226

// What the program says of its data file when it cannot be opened, read or written: the
// messages, and the cause that fills in their second %s
#define IDS_DATABASE_IN_USE        270
#define IDS_DATABASE_DAMAGED_OPEN  271
#define IDS_DATABASE_UNREADABLE    272
#define IDS_DATABASE_PATH_TOO_LONG 273
#define IDS_DATABASE_NEWER_VERSION 274
#define IDS_DATABASE_DAMAGED       275
#define IDS_NOT_WRITTEN            276
#define IDS_LIST_UNREADABLE        277
#define IDS_CAUSE_BUSY             280
#define IDS_CAUSE_READ_ONLY        281
#define IDS_CAUSE_DAMAGED          282
#define IDS_CAUSE_LAYOUT           283
#define IDS_CAUSE_DISK_FULL        284
#define IDS_CAUSE_DISK_ERROR       285
#define IDS_CAUSE_CANNOT_OPEN      286
#define IDS_CAUSE_NOT_CONNECTED    287
#define IDS_CAUSE_NOT_FOUND        288
#define IDS_CAUSE_PATH_TOO_LONG    289
#define IDS_CAUSE_OTHER            290

// The manual could not be opened: missing, no program for PDF files, another cause.
#define IDS_MANUAL_MISSING    291
#define IDS_MANUAL_NO_VIEWER  292
#define IDS_MANUAL_NOT_OPENED 293

// --- The main window's lists and the picture pane ------------------------------------------------
// Default vehicle picture (160x120)
#define IDB_VEHICLE_PICTURE 100

// Strings of the lists, the quick statistics and the picture pane
#define IDS_QS_FUEL_EXPENSE      129
#define IDS_COLUMN_AMOUNT        137
#define IDS_COLUMN_DATE          139
#define IDS_COLUMN_DESCRIPTION   140
#define IDS_COLUMN_NAME          145
#define IDS_COLUMN_ODOMETER      147
#define IDS_EMPTY_LIST           160
#define IDS_PICTURE_HINT         186
#define IDS_QS_COST_OF_OWNERSHIP 192
#define IDS_QS_DATE_RANGE        193
#define IDS_QS_DISTANCE          194
#define IDS_QS_CONSUMPTION_RATE  195
#define IDS_QS_FUEL_CONSUMED     196
#define IDS_QS_AVERAGE_ECONOMY   197
#define IDS_QS_RECENT_ECONOMY    198
#define IDS_QS_TOTAL_EXPENSE     199
#define IDS_NOT_AVAILABLE        200
#define IDS_QS_AVERAGE_FUEL_COST 234

// --- Small dialogs and the entry property sheet ----------------------------------------------
#define IDD_DATE_RANGE      103
#define IDD_DATABASE_INFO   104
#define IDD_EXCEL_SETTINGS  105
#define IDD_EXPENSE_DETAILS 106
#define IDD_FUEL_DETAILS    107
#define IDD_KEYWORDS        108
#define IDD_NOTES           110
#define IDD_OPTIONS         113

// Keywords dialog
#define IDC_KEYWORD_ADD    1000
#define IDC_KEYWORD_LIST   1011
#define IDC_KEYWORD_DELETE 1015
#define IDC_KEYWORD_EDIT   1017
#define IDC_KEYWORD_TEXT   1025

// Date range dialog: the pickers and the six presets
#define IDC_RANGE_3_MONTHS       1005
#define IDC_RANGE_6_MONTHS       1006
#define IDC_RANGE_12_MONTHS      1007
#define IDC_RANGE_30_DAYS        1008
#define IDC_RANGE_PREVIOUS_MONTH 1009
#define IDC_RANGE_PREVIOUS_YEAR  1010
#define IDC_RANGE_END            1018
#define IDC_RANGE_START          1044

// Options dialog
#define IDC_OPTIONS_DISTANCE  1016
#define IDC_OPTIONS_EXCEL     1019
#define IDC_OPTIONS_ECONOMY   1021
#define IDC_OPTIONS_RATE_HELP 1023
#define IDC_OPTIONS_RATE      1035
#define IDC_OPTIONS_VOLUME    1049
#define IDC_OPTIONS_CURRENCY  1051

// Excel export settings dialog: the four formats, their labels and notes, the two links
#define IDC_EXCEL_DATE           1005
#define IDC_EXCEL_INTEGER        1006
#define IDC_EXCEL_FLOAT          1007
#define IDC_EXCEL_CURRENCY       1008
#define IDC_EXCEL_DATE_LABEL     1009
#define IDC_EXCEL_INTEGER_LABEL  1010
#define IDC_EXCEL_INTEGER_NOTE   1013
#define IDC_EXCEL_FLOAT_NOTE     1014
#define IDC_EXCEL_FORMAT_CELLS   1020
#define IDC_EXCEL_LINK_CODES     1023
#define IDC_EXCEL_LINK_LOCALE    1024
#define IDC_EXCEL_FLOAT_LABEL    1029
#define IDC_EXCEL_CURRENCY_LABEL 1030

// Database information dialog (Compress is IDOK, Close IDCANCEL)
#define IDC_DBINFO_VERSION   1005
#define IDC_DBINFO_VEHICLES  1006
#define IDC_DBINFO_ENTRIES   1007
#define IDC_DBINFO_REMINDERS 1008
#define IDC_DBINFO_KEYWORDS  1009
#define IDC_DBINFO_SIZE      1010
#define IDC_DBINFO_PATH      1025

// Controls the entry pages share: date, odometer with its up-down, amount (the fuel page's total
// cost), the keyword box (fuel vendor, expense description) and its "..." button
#define IDC_ENTRY_AMOUNT        1002
#define IDC_ENTRY_DATE          1012
#define IDC_ENTRY_KEYWORD       1025
#define IDC_ENTRY_ODOMETER      1028
#define IDC_ENTRY_KEYWORDS      1033
#define IDC_ENTRY_ODOMETER_SPIN 1041
// Fuel page
#define IDC_FUEL_CALC           1003
#define IDC_FUEL_PRICE          1035
#define IDC_FUEL_QUANTITY       1037
#define IDC_FUEL_QUANTITY_LABEL 1045
#define IDC_FUEL_PRICE_LABEL    1046
// Expense page
#define IDC_EXPENSE_VENDOR 1047
// Notes page
#define IDC_NOTES_TEXT 1027

// Strings of the dialogs and the entry sheet
#define IDS_DESCRIPTION_REQUIRED  157
#define IDS_ENTRY_PROPERTIES      158
#define IDS_COST_PER_GALLON       166
#define IDS_COST_PER_LITRE        167
#define IDS_NUM_GALLONS           168
#define IDS_NUM_LITRES            169
#define IDS_END_BEFORE_START      170
#define IDS_KEYWORDS_CATEGORIES   176
#define IDS_KEYWORDS_EXPENSES     177
#define IDS_KEYWORDS_FUEL_VENDORS 178
#define IDS_KEYWORDS_REPAIRS      179
#define IDS_ECONOMY_MPG_US        206
#define IDS_ECONOMY_MPG_UK        207
#define IDS_ECONOMY_KM_PER_LITRE  208
#define IDS_ECONOMY_MI_PER_LITRE  209
#define IDS_MILEAGE_RATE_HELP     235
#define IDS_NOT_SAVED             240

// --- Excel export ------------------------------------------------------------------------------
// Header texts of the workbook (with 137, 139, 140 and 147 of the entry list), the entry types'
// names and the export's messages.
#define IDS_COLUMN_CATEGORY       138
#define IDS_COLUMN_END_ODOMETER   141
#define IDS_COLUMN_TYPE           142
#define IDS_COLUMN_FUEL_PRICE     143
#define IDS_COLUMN_FUEL_QUANTITY  144
#define IDS_COLUMN_NOTES          146
#define IDS_COLUMN_START_ODOMETER 148
#define IDS_COLUMN_VENDOR         149
#define IDS_EXPORT_NO_EXCEL       161
#define IDS_EXPORT_NO_ENTRIES     162
#define IDS_TYPE_EXPENSE          172
#define IDS_TYPE_FUEL             173
#define IDS_TYPE_REPAIR           174
#define IDS_TYPE_TRIP             175

// --- Reminders ---------------------------------------------------------------------------------
#define IDD_NOTIFICATION      111
#define IDD_NOTIFICATION_FIRE 112
#define IDD_REMINDERS         114

// Edit Reminder dialog
#define IDC_REMINDER_DATE          1012
#define IDC_REMINDER_DESCRIPTION   1025
#define IDC_REMINDER_ODOMETER      1028
#define IDC_REMINDER_KEYWORDS      1033
#define IDC_REMINDER_ODOMETER_SPIN 1041
// Due-reminder dialog ("Delete this reminder" is IDOK, "Remind me later" IDCANCEL)
#define IDC_FIRE_DATE             1013
#define IDC_FIRE_TODAY            1014
#define IDC_FIRE_DESCRIPTION      1025
#define IDC_FIRE_ODOMETER         1029
#define IDC_FIRE_CURRENT_ODOMETER 1030
#define IDC_FIRE_VEHICLE          1047
// Manage Reminders dialog (Close is IDCANCEL)
#define IDC_REMINDERS_NEW     1000
#define IDC_REMINDERS_LIST    1011
#define IDC_REMINDERS_DELETE  1015
#define IDC_REMINDERS_EDIT    1017
#define IDC_REMINDERS_VEHICLE 1025

// Strings of the reminders
#define IDS_CONFIRM_DELETE_REMINDER 248

// --- Repair, trip and vehicle editors ----------------------------------------------------------
#define IDD_REPAIR_DETAILS    115
#define IDD_TRIP_DETAILS      117
#define IDD_TRIP_EXPENSE      118
#define IDD_VEHICLE_DEALER    119
#define IDD_VEHICLE_DETAILS   120
#define IDD_VEHICLE_INSURANCE 121

// Repair page (besides the shared entry controls): the vendor
#define IDC_REPAIR_VENDOR 1047
// Trip pages: description, the two odometers and the distance with their up-downs; the expense
// page's mileage rate, Calc and category (the total is IDC_ENTRY_AMOUNT)
#define IDC_TRIP_CALC          1003
#define IDC_TRIP_CATEGORY      1004
#define IDC_TRIP_DESCRIPTION   1025
#define IDC_TRIP_DISTANCE      1028
#define IDC_TRIP_START         1029
#define IDC_TRIP_END           1030
#define IDC_TRIP_RATE          1038
#define IDC_TRIP_START_SPIN    1041
#define IDC_TRIP_END_SPIN      1042
#define IDC_TRIP_DISTANCE_SPIN 1043
// Vehicle details page
#define IDC_VEHICLE_PLATE          1022
#define IDC_VEHICLE_NAME           1025
#define IDC_VEHICLE_ODOMETER       1028
#define IDC_VEHICLE_PICTURE_BROWSE 1033
#define IDC_VEHICLE_ODOMETER_SPIN  1041
#define IDC_VEHICLE_YEAR_SPIN      1042
#define IDC_VEHICLE_PICTURE_PATH   1047
#define IDC_VEHICLE_VIN            1048
#define IDC_VEHICLE_YEAR           1050
// Insurance page
#define IDC_INSURANCE_EXPIRES  1012
#define IDC_INSURANCE_AGENT    1025
#define IDC_INSURANCE_COVERAGE 1027
#define IDC_INSURANCE_PHONE    1032
#define IDC_INSURANCE_POLICY   1034
// Dealer page
#define IDC_DEALER_ADDRESS 1001
#define IDC_DEALER_NAME    1025
#define IDC_DEALER_PHONE   1032

// Strings of the repair, trip and vehicle editors
#define IDS_VEHICLE_PROPERTIES   159
#define IDS_END_ODOMETER_TOO_LOW 171
#define IDS_NAME_REQUIRED        181
#define IDS_CHECK_INPUTS         241

// --- Old-data import ---------------------------------------------------------------------------
#define IDD_LEGACY_DATA          109
#define IDC_LEGACY_BUSY          1006
#define IDC_LEGACY_MANUAL        1007
#define IDC_LEGACY_PATH          1025
#define IDC_LEGACY_BROWSE        1033
#define IDC_LEGACY_PROGRESS      1036
#define IDS_OLD_DATA_IMPORTED    180
#define IDS_MIGRATION_MANUAL     221
#define IDS_OLD_DATA_NOT_WRITTEN 249
#define IDS_OLD_DATA_REPLACE     250
#define IDS_COUNT_VEHICLE        251
#define IDS_COUNT_VEHICLES       252
#define IDS_COUNT_ENTRY          253
#define IDS_COUNT_ENTRIES        254
