#pragma once

#include <optional>
#include <string>
#include <vector>

// Picks flags and options out of a sub-command's arguments; what is left are
// the positional arguments.
class CliArguments {
  public:
    explicit CliArguments(std::vector<std::string> args) : m_args(std::move(args)) {}

    // True (and removed) when `flag` is present.
    bool TakeFlag(const std::string& flag);
    // The value after `option` (removed with it); nullopt when absent. A
    // missing value is recorded as an error.
    std::optional<std::string> TakeOption(const std::string& option);
    // Like TakeOption, for a whole number; a non-number is recorded as an error.
    std::optional<long long> TakeNumber(const std::string& option);
    // What is left; an argument that still starts with "--" is an error.
    std::vector<std::string> Positional();

    // The first problem found, empty when none.
    const std::string& Error() const { return m_error; }

  private:
    std::vector<std::string> m_args;
    std::string m_error;
};
