#pragma once
// A string of this program's string tables (resource_strings.rc) as LoadStringW loads it.
#include "sim/utf.h"
#include "this_module.h"
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace resource_strings {

// The string as LoadStringW copies it into a buffer of `size` characters, which holds a mark
// beforehand.
inline std::string Loaded(UINT id, int size = 256) {
    WCHAR buffer[256] = {'?', 0};
    int length = LoadStringW(ThisModuleHandle(), id, buffer, size);
    EXPECT_EQ(moltr::sim::Utf8(buffer).size(), moltr::sim::Utf8(buffer, length).size());
    return moltr::sim::Utf8(buffer, length);
}

} // namespace resource_strings
