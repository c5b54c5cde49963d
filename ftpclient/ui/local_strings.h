// The client's texts by language: with the Swedish country code (46) a text's id + 1000 holds its
// Swedish form, used when it exists.
#pragma once

#include <functional>
#include <string>

constexpr int kCountrySweden = 46;

// `load` fetches a string-table text (false when the id has none).
std::string LoadLocalText(int id, int country, const std::function<bool(int, std::string&)>& load);
