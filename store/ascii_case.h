#pragma once
// Upper case of the letters a-z only, for the names that compare ignoring case the same way on
// every machine whatever its language: structure names, directory prefixes, the words of a driver
// name.
namespace moltr::store {

template <class Char> constexpr Char UpperAscii(Char c) {
    return c >= Char('a') && c <= Char('z') ? static_cast<Char>(c - Char('a') + Char('A')) : c;
}

} // namespace moltr::store
