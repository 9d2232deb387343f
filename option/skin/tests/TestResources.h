#pragma once
// Bitmap resources of skin_win_tests.exe (drawn by make_test_bitmaps.py).
#define IDB_TEST_REGION_MASK 201
#define IDB_TEST_LIST_PICTURE 202
