#include "CliHelp.h"

#include <ostream>
#include <string>

#include "CliCommand.h"
#include "CliHelpTexts.h"
#include "LanguageFile.h"
#include "ProgramPaths.h"

namespace {
constexpr const char* kSynopsis =
    "maple-cli [--drive N] [--virtual DIR]... [--trace] COMMAND [ARGS]";

// Option and text in two columns, the text on its own line when the option is long.
void PrintOptions(const std::vector<CliOptionText>& options, std::ostream& out) {
    for (const auto& [option, text] : options) {
        const std::string name = option;
        if (name.size() < 15)
            out << "  " << name << std::string(17 - name.size(), ' ') << Text(text) << "\n";
        else
            out << "  " << name << "\n" << std::string(19, ' ') << Text(text) << "\n";
    }
}

// Text for roff: backslashes and minus signs escaped, no control line.
std::string Roff(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '\\')
            escaped += "\\e";
        else if (c == '-')
            escaped += "\\-";
        else
            escaped += c;
    }
    if (!escaped.empty() && (escaped.front() == '.' || escaped.front() == '\''))
        escaped.insert(0, "\\&");
    return escaped;
}

void PrintManOptions(const std::vector<CliOptionText>& options, std::ostream& out) {
    for (const auto& [option, text] : options)
        out << ".TP\n.B " << Roff(option) << "\n" << Roff(Text(text)) << "\n";
}
}  // namespace

void PrintHelp(std::ostream& out) {
    out << Text(CliText::HelpTitle, {MAPLE_VERSION}) << "\n\n"
        << Text(CliText::UsageLine, {kSynopsis}) << "\n\n"
        << Text(CliText::HelpGlobalOptions) << "\n";
    PrintOptions(GlobalOptionTexts(), out);
    out << "\n" << Text(CliText::HelpCommands) << "\n";
    for (const auto& command : CliCommands())
        out << "  " << command.name
            << std::string(command.name.size() < 9 ? 9 - command.name.size() : 1, ' ')
            << Text(command.summary) << "\n      " << command.usage << "\n";
}

void PrintCommandHelp(const CliCommandInfo& command, std::ostream& out) {
    out << Text(CliText::UsageLine, {command.usage}) << "\n\n" << Text(command.summary) << "\n";
    if (!CommandOptionTexts(command.name).empty()) {
        out << "\n";
        PrintOptions(CommandOptionTexts(command.name), out);
    }
}

bool PrintManPage(std::ostream& out, std::ostream& err) {
    const std::string english = ProgramDataFolder() + "/English.lng";
    if (ReadWholeFile(english).empty()) {
        err << "maple-cli: " << Text(CliText::NoManPage, {english}) << "\n";
        return false;
    }
    SetLanguageFilePath(english);
    out << ".TH MAPLE-CLI 1 \"\" \"MAPLE CD/DVD Writer " << MAPLE_VERSION
        << "\" \"User Commands\"\n.SH NAME\nmaple-cli \\- record, copy and erase CDs and DVDs "
           "from the command line\n.SH SYNOPSIS\n"
        << Roff(kSynopsis)
        << "\n.SH DESCRIPTION\nmaple-cli runs the engines of the MAPLE CD/DVD Writer program "
           "(\\fBmaple-writer\\fR(1)) on a terminal.\n.SH OPTIONS\n";
    PrintManOptions(GlobalOptionTexts(), out);
    out << ".SH COMMANDS\n";
    for (const auto& command : CliCommands()) {
        out << ".SS " << Roff(command.name) << "\n"
            << Roff(Text(command.summary)) << ".\n.PP\n.nf\n"
            << Roff(command.usage) << "\n.fi\n";
        PrintManOptions(CommandOptionTexts(command.name), out);
    }
    for (const auto& [title, text] : ClosingSectionTexts())
        out << ".SH " << title << "\n" << Roff(text) << "\n";
    out << ".SH SEE ALSO\n\\fBmaple-writer\\fR(1)\n";
    return true;
}
