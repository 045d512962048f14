// Resource ids of the formatting tests' own resource script.
#pragma once
#define IDS_TEST_255      60000
#define IDS_TEST_256      60001
#define IDS_TEST_600      60003
#define IDD_TEST_FLOAT    60100
#define IDC_TEST_AMOUNT   60101
#define IDC_TEST_QUANTITY 60102
#define IDC_TEST_DATE     60103
