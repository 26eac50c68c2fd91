// Resource ids of the framework tests (read by the C++ and resource
// compilers).
#pragma once
#define IDR_TESTFRAME     2
#define IDD_TEST_DIALOG   100
#define IDC_TEST_TEXT     1000
#define ID_TEST_VIEW      40001
#define ID_TEST_DOC       40002
#define ID_TEST_FRAME     40003
#define ID_TEST_APP       40004
#define ID_TEST_DISABLED  40005
#define ID_TEST_CHECKED   40006
#define ID_TEST_ORPHAN    40007
#define ID_TEST_PANE      40008
#define ID_TEST_DEAD_PANE 40009
