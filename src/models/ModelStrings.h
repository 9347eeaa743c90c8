#pragma once
// Texts of the model data taken from the language module. Names of model functions are looked up
// by their text, so a name must keep its arguments apart even when the module lacks the string:
// the fallback format then stands in.
#include <cstdint>
#include <string>

std::string ModelFormat(uint32_t id, const char* fallback, ...) __attribute__((format(printf, 2, 3)));
std::string ModelText(uint32_t id, const char* fallback);
