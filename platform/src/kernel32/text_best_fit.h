#pragma once
// The characters that WideCharToMultiByte puts for those a single-byte code page lacks, unless
// WC_NO_BEST_FIT_CHARS is given.
namespace moltr::sim::text {

// The ASCII character that stands for `c`, or 0 where there is none.
char BestFitCharacter(char16_t c);

} // namespace moltr::sim::text
