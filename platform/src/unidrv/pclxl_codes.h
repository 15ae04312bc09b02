#pragma once
// The PCL XL codes the renderer writes and reads: data type tags, operators, attributes and the
// enumerated values it gives them (binary stream, low byte first).
#include <windows.h>

namespace moltr::unidrv::pclxl {

enum class Tag : BYTE {
    kUByte = 0xC0,
    kUInt16 = 0xC1,
    kUInt32 = 0xC2,
    kSInt16 = 0xC3,
    kSInt32 = 0xC4,
    kReal32 = 0xC5,
    kUByteArray = 0xC8,
    kReal32Array = 0xCD,
    kUByteXy = 0xD0,
    kUInt16Xy = 0xD1,
    kReal32Xy = 0xD5,
    kUByteBox = 0xE0,
    kReal32Box = 0xE5,
    kAttributeUByte = 0xF8,
    kAttributeUInt16 = 0xF9,
    kDataLength = 0xFA,
    kDataLengthByte = 0xFB,
};

enum class Operator : BYTE {
    kBeginSession = 0x41,
    kEndSession = 0x42,
    kBeginPage = 0x43,
    kEndPage = 0x44,
    kComment = 0x47,
    kOpenDataSource = 0x48,
    kCloseDataSource = 0x49,
    kSetColorSpace = 0x6A,
    kSetCursor = 0x6B,
    kBeginImage = 0xB0,
    kReadImage = 0xB1,
    kEndImage = 0xB2,
};

enum class Attribute : BYTE {
    kColorSpace = 0x03,
    kMediaSize = 0x25,
    kMediaSource = 0x26,
    kOrientation = 0x28,
    kCustomMediaSize = 0x2F,
    kCustomMediaSizeUnits = 0x30,
    kPageCopies = 0x31,
    kPoint = 0x4C,
    kColorDepth = 0x62,
    kBlockHeight = 0x63,
    kColorMapping = 0x64,
    kCompressMode = 0x65,
    kDestinationSize = 0x67,
    kSourceHeight = 0x6B,
    kSourceWidth = 0x6C,
    kStartLine = 0x6D,
    kDataOrg = 0x82,
    kMeasure = 0x86,
    kSourceType = 0x88,
    kUnitsPerMeasure = 0x89,
    kErrorReport = 0x8F,
};

// Enumerated attribute values.
inline constexpr BYTE kGray = 1;
inline constexpr BYTE kRgb = 2;
inline constexpr BYTE kDirectPixel = 0;
inline constexpr BYTE kOneBit = 0;
inline constexpr BYTE kEightBit = 2;
inline constexpr BYTE kRleCompression = 1;
inline constexpr BYTE kInch = 0;
inline constexpr BYTE kBinaryLowByteFirst = 1;
inline constexpr BYTE kDefaultSource = 0;
inline constexpr BYTE kNoReporting = 0;
inline constexpr BYTE kTenthsOfAMillimeter = 2;
inline constexpr BYTE kPortrait = 0;

// Image rows are padded to whole DWORDs.
inline constexpr size_t kRowPadding = 4;

// The line that opens a binary stream, low byte first, protocol class 2.0.
inline constexpr char kStreamHeader[] = ") HP-PCL XL;2;0\n";
inline constexpr char kStreamHeaderStart[] = ") HP-PCL XL";

} // namespace moltr::unidrv::pclxl
