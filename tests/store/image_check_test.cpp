#include <gtest/gtest.h>
#include "compiled_tree.h"
#include "exercise_record.h"
#include "raised_messages.h"
#include "sample_layout.h"
#include "store/image_check.h"
#include "store/image_load.h"
#include "store/record_memory.h"
#include "store/relocation.h"

using namespace moltr::store;
using namespace moltr::store::testing;
using namespace moltr::store::testing::sample;

namespace {

std::vector<BYTE> SampleImage() {
    std::vector<BYTE> image;
    EXPECT_EQ(WriteImage(SampleTree(), image), kClassSuccess);
    return image;
}

template <class T> std::vector<BYTE> With(size_t offset, T value) {
    std::vector<BYTE> image = SampleImage();
    std::memcpy(image.data() + offset, &value, sizeof value);
    return image;
}

// Takes the image on as LoadByHandle does after reading it; null when it is refused, which must
// leave the record without an image.
StructureRecord* Accept(const std::vector<BYTE>& bytes, int* result) {
    StructureRecord* record = NewRecord();
    record->image = AllocateImage(bytes.size(), 0);
    if (!bytes.empty()) {
        std::memcpy(record->image, bytes.data(), bytes.size());
    }
    record->imageSize = static_cast<DWORD>(bytes.size());
    record->root = reinterpret_cast<StructureHeader*>(record->image);
    *result = AcceptImage(record, L"PRINTERSETTINGS");
    if (*result != kClassSuccess) {
        EXPECT_EQ(record->image, nullptr);
        EXPECT_EQ(record->imageSize, 0u);
        FreeRecord(record);
        return nullptr;
    }
    return record;
}

// The check refuses the image, and loading it answers 63003 alone.
bool Refused(const std::vector<BYTE>& image) {
    RaisedMessages raised;
    int result = 0;
    StructureRecord* record = Accept(image, &result);
    FreeRecord(record);
    ULONG64 start = 0;
    return CheckImage(image.data(), image.size(), &start) == ImageCheck::Invalid &&
           result == kClassError && raised.Take() == std::vector<DWORD>{63003};
}

constexpr size_t kRecord0 = kRootData;
constexpr size_t kRecord1 = kRootData + kRootRecord;
constexpr size_t kRecord2 = kRootData + 2 * kRootRecord;

} // namespace

TEST(ImageCheck, AcceptsWhatTheWriterLaysOut) {
    const std::vector<BYTE> image = SampleImage();
    ULONG64 start = 0;
    EXPECT_EQ(CheckImage(image.data(), image.size(), &start), ImageCheck::Valid);
    EXPECT_EQ(start, kStrings);
    int result = -1;
    StructureRecord* record = Accept(image, &result);
    EXPECT_EQ(result, kClassSuccess);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->stringAreaStart, kStrings);
    EXPECT_EQ((AddressOf(record->image) + kStrings) % 2, 0u);
    FreeRecord(record);
}

TEST(ImageCheck, IgnoresOwnerParentAndCursorFields) {
    std::vector<BYTE> image = SampleImage();
    for (size_t header : {size_t{0}, kOptionHeader, kDeepHeader}) {
        std::memset(image.data() + header + 8, 0xAB, 16);
        std::memset(image.data() + header + 146, 0xFF, 8);
    }
    ULONG64 start = 0;
    EXPECT_EQ(CheckImage(image.data(), image.size(), &start), ImageCheck::Valid);
}

TEST(ImageCheck, RefusesEveryTruncation) {
    const std::vector<BYTE> image = SampleImage();
    for (size_t size = 0; size < image.size(); ++size) {
        EXPECT_TRUE(Refused(std::vector<BYTE>(image.begin(), image.begin() + size))) << size;
    }
}

TEST(ImageCheck, RefusesBytesAfterTheStringArea) {
    std::vector<BYTE> image = SampleImage();
    image.push_back(0);
    image.push_back(0);
    EXPECT_TRUE(Refused(image));
}

TEST(ImageCheck, RefusesBadHeaderReferencesAndCounts) {
    EXPECT_TRUE(Refused(With<ULONG64>(136, kImageSize))) << "descriptors beyond the image";
    EXPECT_TRUE(Refused(With<ULONG64>(136, kImageSize - 100))) << "descriptors past the end";
    EXPECT_TRUE(Refused(With<ULONG64>(136, kOptionHeader))) << "descriptors over a header";
    EXPECT_TRUE(Refused(With<ULONG64>(136, ~ULONG64{0} - 50))) << "offset that wraps around";
    EXPECT_TRUE(Refused(With<WORD>(144, 0xFFFF))) << "more descriptors than there are";
    EXPECT_TRUE(Refused(With<WORD>(144, 0))) << "no TAG";
    EXPECT_TRUE(Refused(With<ULONG64>(120, kImageSize - 10))) << "records beyond the image";
    EXPECT_TRUE(Refused(With<ULONG64>(120, kRootDescriptors))) << "records over descriptors";
    EXPECT_TRUE(Refused(With<ULONG64>(120, 0))) << "records over the root header";
    EXPECT_TRUE(Refused(With<WORD>(132, 0xFFFF))) << "more records than there are";
    EXPECT_TRUE(Refused(With<DWORD>(128, 50))) << "record size unlike the fields";
    EXPECT_TRUE(Refused(With<ULONG64>(kOptionHeader + 120, kRootData))) << "records shared";
}

TEST(ImageCheck, RefusesNamesWithoutTerminator) {
    std::vector<BYTE> image = SampleImage();
    for (size_t i = 0; i < 48; ++i) {
        image[24 + 2 * i] = 'N';
    }
    EXPECT_TRUE(Refused(image)) << "structure name";
    image = SampleImage();
    for (size_t i = 0; i < 48; ++i) {
        image[kOptionDescriptors + 108 + 2 * i] = 'F';
    }
    EXPECT_TRUE(Refused(image)) << "field name";
}

TEST(ImageCheck, RefusesDescriptorsThatDoNotTileTheRecord) {
    const size_t size = kRootDescriptors + 108;
    const size_t name = kRootDescriptors + 2 * 108;
    EXPECT_TRUE(Refused(With<DWORD>(size + 96, 9))) << "offset out of sequence";
    EXPECT_TRUE(Refused(With<WORD>(name + 106, 3))) << "count beyond the record";
    EXPECT_TRUE(Refused(With<DWORD>(kRootDescriptors + 100, kTypeDword))) << "TAG not a STRING";
    EXPECT_TRUE(Refused(With<WORD>(name + 104, 4))) << "STRING of 4 bytes";
    EXPECT_TRUE(Refused(With<WORD>(kRootDescriptors + 4 * 108 + 104, 8))) << "XPDSTRUCT of 8";
    EXPECT_TRUE(Refused(With<WORD>(kRootDescriptors + 5 * 108 + 106, 2))) << "DYNAMIC array";
}

TEST(ImageCheck, RefusesBadStringReferences) {
    EXPECT_TRUE(Refused(With<ULONG64>(kRecord0, kImageSize))) << "beyond the image";
    EXPECT_TRUE(Refused(With<ULONG64>(kRecord0, kImageSize - 1))) << "half a character";
    EXPECT_TRUE(Refused(With<ULONG64>(kRecord0, 24))) << "a text outside the string area";
    EXPECT_TRUE(Refused(With<ULONG64>(kRecord1 + kNameField, kStrings))) << "one text twice";
    EXPECT_TRUE(Refused(With<WCHAR>(kImageSize - 2, L'E'))) << "last text without terminator";
}

TEST(ImageCheck, RefusesBadSubStructureReferences) {
    const size_t option0 = kRecord0 + kOptionField;
    EXPECT_TRUE(Refused(With<ULONG64>(option0, 0))) << "the root again";
    EXPECT_TRUE(Refused(With<ULONG64>(option0, kImageSize))) << "beyond the image";
    EXPECT_TRUE(Refused(With<ULONG64>(option0, kOptionHeader + 1))) << "into a header";
    EXPECT_TRUE(Refused(With<ULONG64>(kRecord1 + kOptionField, kDeepHeader)))
        << "another structure in another record";
    EXPECT_TRUE(Refused(With<WORD>(kRecord2 + kOptionField + 10, 6))) << "slice past the records";
    EXPECT_TRUE(Refused(With<WORD>(kRecord1 + kOptionField + 8, 6)))
        << "slice ending before it starts";
    EXPECT_TRUE(Refused(With<ULONG64>(kOptionData + kDeepField, kOptionHeader)))
        << "a structure inside itself";
    EXPECT_TRUE(Refused(With<ULONG64>(kOptionData + kDeepField, 0))) << "a cycle to the root";
}

TEST(ImageCheck, RefusesBadDynamicValues) {
    const size_t value0 = kRecord0 + kValueField;
    EXPECT_TRUE(Refused(With<ULONG64>(value0, kImageSize - 8))) << "beyond the image";
    EXPECT_TRUE(Refused(With<ULONG64>(value0, 8))) << "over a header";
    EXPECT_TRUE(Refused(With<ULONG64>(kRecord2 + kValueField, kDynamics))) << "one value twice";
    EXPECT_TRUE(Refused(With<ULONG64>(kDynamics, kImageSize))) << "reference beyond the image";
    EXPECT_TRUE(Refused(With<ULONG64>(kDynamics, kReferenceText + 44)))
        << "reference text in the value bytes";
    EXPECT_TRUE(Refused(With<ULONG64>(kDynamics, kStrings))) << "reference in the string area";
    EXPECT_TRUE(Refused(With<ULONG64>(kDynamics + 8, kImageSize - 2))) << "bytes past the end";
    EXPECT_TRUE(Refused(With<ULONG64>(kDynamics + 8, 150))) << "bytes over a header";
    EXPECT_TRUE(Refused(With<ULONG64>(kDynamics + 8, kReferenceText))) << "bytes over a text";
    EXPECT_TRUE(Refused(With<ULONG64>(kDynamics + 8, kStrings))) << "bytes in the string area";
    EXPECT_TRUE(Refused(With<WORD>(kDynamics + 22, 0xFFFF))) << "count beyond the image";
}

TEST(ImageCheck, AllowsSharedValueBytesAndTexts) {
    // Two values may read the same bytes, and any number of them the same reference text.
    EXPECT_FALSE(Refused(With<ULONG64>(kDynamics + 24 + 8, kReferenceText + 44)));
}

TEST(ImageLoad, SignatureAndVersionComeFirst) {
    RaisedMessages raised;
    int result = 0;
    EXPECT_EQ(Accept(With<DWORD>(0, 0x544C4F4E), &result), nullptr);
    EXPECT_EQ(result, kClassError);
    EXPECT_EQ(raised.Take(), std::vector<DWORD>{63004});
    EXPECT_EQ(Accept(With<DWORD>(4, 0x24F), &result), nullptr);
    EXPECT_EQ(result, kClassError);
    EXPECT_EQ(raised.Take(), std::vector<DWORD>{63005});
    StructureRecord* record = Accept(With<DWORD>(4, 0x251), &result);
    EXPECT_EQ(result, kClassSuccess);
    EXPECT_EQ(raised.Take(), std::vector<DWORD>{});
    FreeRecord(record);
}

// Every byte of the image changed in turn: whatever is accepted must then stand every operation.
TEST(ImageLoad, DamagedImagesAreRefusedOrSafeToUse) {
    const std::vector<BYTE> image = SampleImage();
    int accepted = 0;
    for (size_t offset = 0; offset < image.size(); ++offset) {
        for (BYTE flip : {BYTE{0x01}, BYTE{0x80}, BYTE{0xFF}}) {
            std::vector<BYTE> damaged = image;
            damaged[offset] ^= flip;
            int result = 0;
            if (StructureRecord* record = Accept(damaged, &result)) {
                ++accepted;
                ExerciseRecord(record);
                FreeRecord(record);
            }
        }
    }
    EXPECT_GT(accepted, 0);
}

TEST(ImageLoad, RebuiltStringAreaPassesTheCheck) {
    int result = 0;
    StructureRecord* record = Accept(SampleImage(), &result);
    ASSERT_NE(record, nullptr);
    ExerciseRecord(record);
    ToStoredForm(record->root, record->image, StringValues::Convert);
    ULONG64 start = 0;
    EXPECT_EQ(CheckImage(record->image, record->imageSize, &start), ImageCheck::Valid);
    FreeRecord(record);
}
