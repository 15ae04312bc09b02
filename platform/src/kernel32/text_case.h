#pragma once
// Simple (one character to one character) case mapping of the scripts the product's texts use.
namespace moltr::sim::text {

char16_t UpperCase(char16_t c);
char16_t LowerCase(char16_t c);
bool IsLetter(char16_t c);

} // namespace moltr::sim::text
