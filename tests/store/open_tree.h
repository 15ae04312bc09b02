#pragma once
// An open record of a compiled tree for the store's tests, closed at the end of the test.
#include <gtest/gtest.h>
#include "compiled_tree.h"
#include "store/xpr.h"

namespace moltr::store::testing {

class OpenTree {
public:
    explicit OpenTree(const CompiledStructure& root) {
        EXPECT_EQ(BuildRecord(root, &record_), kClassSuccess);
    }
    ~OpenTree() {
        if (record_ != nullptr) {
            Close(&record_);
        }
    }
    OpenTree(const OpenTree&) = delete;
    OpenTree& operator=(const OpenTree&) = delete;

    StructureRecord* get() const { return record_; }
    StructureRecord** address() { return &record_; }

    // The handle on `name` with its first record selected.
    StructureHandle First(LPCWSTR name, LPCWSTR tag = nullptr) {
        StructureHandle handle = nullptr;
        EXPECT_EQ(GetStructure(record_, name, &handle, tag), kClassSuccess);
        return handle;
    }

private:
    StructureRecord* record_ = nullptr;
};

template <class T> T Read(StructureHandle handle, LPCWSTR field) {
    T value{};
    EXPECT_EQ(GetField(handle, field, &value, sizeof value), kClassSuccess);
    return value;
}

} // namespace moltr::store::testing
