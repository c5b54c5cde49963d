// Text settings as the settings dialogs edit them: a record field of N bytes holds N - 1
// characters and a NUL, a document string holds kDocumentStringLimit characters.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

#include "session/document_strings.h"

template <std::size_t N>
constexpr std::size_t FieldLimit(const char (&)[N])
{
    return N - 1;
}

template <std::size_t N>
std::string FieldText(const char (&field)[N])
{
    return std::string(field, strnlen(field, N - 1));
}

// The dialogs refuse a text longer than the field, so nothing is cut here that a user typed.
template <std::size_t N>
void StoreFieldText(char (&field)[N], const std::string& text)
{
    const std::size_t n = text.copy(field, N - 1);
    std::memset(field + n, 0, N - n);
}

// A document string as stored: at most kDocumentStringLimit characters, as the configuration
// file reads it (the dialogs refuse a longer text).
inline std::string DocumentStringText(const std::string& text) { return text.substr(0, kDocumentStringLimit); }
