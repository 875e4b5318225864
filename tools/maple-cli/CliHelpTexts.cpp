#include "CliHelpTexts.h"

#include <map>

const std::vector<CliOptionText>& GlobalOptionTexts() {
    static const std::vector<CliOptionText> options{
        {"--drive N[,N...]", CliText::OptDrive}, {"--virtual DIR", CliText::OptVirtual},
        {"--trace", CliText::OptTrace},          {"--help", CliText::OptHelp},
        {"--version", CliText::OptVersion},      {"--man-page", CliText::OptManPage},
    };
    return options;
}

const std::vector<CliOptionText>& CommandOptionTexts(const std::string& command) {
    static const std::map<std::string, std::vector<CliOptionText>> options{
        {"audio",
         {{"FILE.wav...", CliText::OptTracks},
          {"--test", CliText::OptTest},
          {"--no-fix", CliText::OptNoFix},
          {"--no-eject", CliText::OptNoEject},
          {"--verify", CliText::OptAudioVerify}}},
        {"burn",
         {{"IMAGE.iso", CliText::OptImage},
          {"SHEET.cue", CliText::OptCueSheet},
          {"--speed N", CliText::OptWriteSpeed},
          {"--test", CliText::OptTest},
          {"--no-fix", CliText::OptNoFix},
          {"--no-eject", CliText::OptNoEject},
          {"--temporary", CliText::OptTemporary},
          {"--raw", CliText::OptRaw},
          {"--verify", CliText::OptBurnVerify}}},
        {"copy",
         {{"--to-iso OUT.iso", CliText::OptToIso},
          {"--bad-copy", CliText::OptBadCopy},
          {"--speed N", CliText::OptReadSpeed},
          {"--write-speed N", CliText::OptCopyWriteSpeed},
          {"--blank KIND", CliText::OptBlank},
          {"--no-eject", CliText::OptNoEject},
          {"--verify", CliText::OptCopyVerify},
          {"--to-drive N", CliText::OptToDrive}}},
        {"eject", {{"--immed", CliText::OptImmed}}},
        {"load", {{"--immed", CliText::OptImmed}}},
        {"erase", {{"--full", CliText::OptFull}, {"--yes", CliText::OptYes}}},
        {"mkiso",
         {{"-o OUT.iso", CliText::OptOutput},
          {"--volume-id TEXT", CliText::OptVolumeId},
          {"--joliet-volume-id TEXT", CliText::OptJolietVolumeId},
          {"--date \"YYYY-MM-DD hh:mm:ss\"", CliText::OptDate},
          {"--no-joliet", CliText::OptNoJoliet},
          {"PATH...", CliText::OptPaths}}},
        {"virtual",
         {{"create DIR", CliText::OptVirtualCreate},
          {"insert KIND [--from IMAGE.iso]", CliText::OptVirtualInsert},
          {"--replace", CliText::OptVirtualReplace},
          {"--unformatted", CliText::OptVirtualUnformatted},
          {"eject", CliText::OptVirtualEject},
          {"show", CliText::OptVirtualShow},
          {"export OUTDIR [--force]", CliText::OptVirtualExport},
          {"attach DIR", CliText::OptVirtualAttach},
          {"detach DIR", CliText::OptVirtualDetach}}},
        {"wav2cda", {{"IN.wav OUT.wav", CliText::OptWav2Cda}}},
        {"report", {{"FILE", CliText::OptReportFile}}},
    };
    static const std::vector<CliOptionText> none;
    const auto found = options.find(command);
    return found != options.end() ? found->second : none;
}

const std::vector<CliSectionText>& ClosingSectionTexts() {
    static const std::vector<CliSectionText> sections{
        {"MEDIA KINDS",
         "cd-r, cd-rw, dvd-r, dvd-rw, dvd+r, dvd+rw, dvd+r-dl, dvd-r-dl, bd-r, bd-r-dl, bd-re, "
         "and cd-rom and dvd-rom (with --from)."},
        {"EXIT STATUS",
         "0 success, 1 the operation failed, 2 wrong arguments or no usable drive, 130 stopped "
         "by Ctrl-C or SIGTERM after a safe stop. Every failure prints one line starting with "
         "'maple-cli:'."},
        {"SIGNALS",
         "SIGHUP (a closed terminal) stops a job as SIGTERM does until the first command that "
         "changes the disc; after it the job finishes. A closed pipe on standard output or error "
         "never stops a job (SIGPIPE is ignored; the messages are lost)."},
        {"ENVIRONMENT",
         "MAPLE_VIRTUAL_DRIVES: folders of virtual drives, separated by ':', used when no real "
         "drive can be used and --virtual names none. MAPLE_TEMP_DIR: the folder of temporary "
         "images and converted tracks (default $XDG_CACHE_HOME/maple-writer, else "
         "~/.cache/maple-writer). MAPLE_CONFIG_DIR: the folder of the settings (default "
         "$XDG_CONFIG_HOME/maple-writer, else ~/.config/maple-writer). HOME: the user's folder "
         "(else the password database's). USER: the user's name where the password database "
         "has none. LC_ALL, LC_MESSAGES, LANG (the "
         "first one set): the language of the messages and of --help, Traditional Chinese for "
         "zh_TW and zh_HK, English for en_US, else Simplified Chinese (also for C and POSIX); "
         "the output of drives and speeds, the device lines of virtual attach and the trace "
         "lines are the same in every language. A script that reads the messages sets "
         "LC_ALL=en_US.UTF-8."},
    };
    return sections;
}
