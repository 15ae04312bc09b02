// Sizes and offsets of the Windows structures the product relies on, the same in both builds.
#include <windows.h>

static_assert(sizeof(WCHAR) == 2);
static_assert(sizeof(DWORD) == 4 && sizeof(LONG) == 4);
static_assert(sizeof(HANDLE) == 8 && sizeof(ULONG_PTR) == 8);
static_assert(sizeof(GUID) == 16);
