#pragma once

#include <iosfwd>

struct CliCommandInfo;

// The help texts of maple-cli: the overview (--help), one command's help
// ('maple-cli COMMAND --help') and the manual page made from the same texts.
void PrintHelp(std::ostream& out);
void PrintCommandHelp(const CliCommandInfo& command, std::ostream& out);
// The manual page is in English, from the English language file; false
// after telling `err` that the file is missing.
bool PrintManPage(std::ostream& out, std::ostream& err);
