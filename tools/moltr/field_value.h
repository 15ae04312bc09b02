#pragma once
// Settings values as `moltr` shows and takes them: one field of a settings block (the private
// devmode or the printer settings) as text, and text as the field's bytes.
#include <windows.h>
#include <string>
#include <vector>
#include "moltr/stored_image.h"

namespace moltr::tool {

// CHAR fields as quoted text, numbers in decimal (COLORREF in hexadecimal), arrays of numbers as
// [a, b, ...], BYTE arrays as hexadecimal pairs; `bytes` holds the field's full size.
std::string FieldValueText(const StoredField& field, const BYTE* bytes);

// A CHAR field takes the text itself; numbers are decimal or 0x-hexadecimal, for arrays separated
// by commas (missing elements are 0). Returns an error text, empty on success.
std::string ParseFieldValue(const StoredField& field, const std::string& text,
                            std::vector<BYTE>& bytes);

// The fields of a settings structure after its TAG, with their offsets in the block.
std::vector<StoredField> BlockFields(const StoredStructure& structure);

// "name type offset size value" lines for the fields of `structure` in the block `data`.
void PrintBlock(const StoredStructure& structure, const std::vector<BYTE>& data);

// The bytes as lower-case hexadecimal pairs, 16 to a line.
void PrintHex(const std::vector<BYTE>& bytes);

} // namespace moltr::tool
