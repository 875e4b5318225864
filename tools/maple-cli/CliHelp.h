#pragma once

#include <iosfwd>

struct CliCommandInfo;

// The help texts of maple-cli: the overview (--help), one command's help
// ('maple-cli COMMAND --help') and the manual page made from the same texts.
void PrintHelp(std::ostream& out);
void PrintCommandHelp(const CliCommandInfo& command, std::ostream& out);
void PrintManPage(std::ostream& out);
