#pragma once
// Where the parts of SampleTree()'s image lie, worked out by hand from the area sizes: 3 headers
// (480), 10 descriptors (1080), records 3 x 49 + 5 x 22 + 1 x 8 (265), two dynamic values with one
// shared reference text (100), and 74 bytes of strings.
#include <cstddef>

namespace moltr::store::testing::sample {

constexpr size_t kOptionHeader = 160;
constexpr size_t kDeepHeader = 320;
constexpr size_t kRootDescriptors = 480;
constexpr size_t kOptionDescriptors = 480 + 6 * 108;
constexpr size_t kDeepDescriptors = kOptionDescriptors + 3 * 108;
constexpr size_t kRootData = kDeepDescriptors + 108;
constexpr size_t kRootRecord = 49;
constexpr size_t kOptionData = kRootData + 3 * kRootRecord;
constexpr size_t kOptionRecord = 22;
constexpr size_t kDeepData = kOptionData + 5 * kOptionRecord;
constexpr size_t kDynamics = kDeepData + 8;
constexpr size_t kReferenceText = kDynamics + 48;
constexpr size_t kStrings = kDynamics + 2 * 24 + 44 + 4 + 4;
constexpr size_t kImageSize = kStrings + 3 * 4 + 12 + 14 + 12 + 5 * 4 + 4;

// Field offsets in a PRINTERSETTINGS record and in an OPTION record.
constexpr size_t kSizeField = 8;
constexpr size_t kNameField = 12;
constexpr size_t kFlagField = 28;
constexpr size_t kOptionField = 29;
constexpr size_t kValueField = 41;
constexpr size_t kDeepField = 10;

} // namespace moltr::store::testing::sample
