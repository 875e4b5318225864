#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// A message shared by the engines: the language file's "Engines.<key>" with
// its built-in Simplified Chinese text, "%1", "%2" ... replaced by `values`.
std::string EnginesText(std::string_view key, std::string_view builtIn,
                        std::initializer_list<std::string> values = {});
