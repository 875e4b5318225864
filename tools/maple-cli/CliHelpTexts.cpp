#include "CliHelpTexts.h"

#include <map>

const std::vector<CliOptionText>& GlobalOptionTexts() {
    static const std::vector<CliOptionText> options{
        {"--drive N", "the drive, by its number in 'maple-cli drives' (default 1)"},
        {"--virtual DIR", "use the virtual drive in DIR (repeatable; see ENVIRONMENT)"},
        {"--trace", "print every SCSI command and its result on standard error"},
        {"--help", "this help; 'maple-cli COMMAND --help' explains one command"},
        {"--version", "the version of the program"},
        {"--man-page", "this help as a manual page (roff)"},
    };
    return options;
}

const std::vector<CliOptionText>& CommandOptionTexts(const std::string& command) {
    static const std::map<std::string, std::vector<CliOptionText>> options{
        {"audio",
         {{"FILE.wav...", "one track per file, in this order (8 to 32-bit or float PCM, any rate)"},
          {"--test", "simulate the recording"},
          {"--no-fix", "leave the disc open for another session"},
          {"--no-eject", "keep the tray closed at the end"},
          {"--verify", "read the tracks back with READ CD and compare them with the sound sent"}}},
        {"burn",
         {{"IMAGE.iso", "the ISO 9660 image to record"},
          {"--speed N", "write speed as a factor of the medium's base speed (1 to 372)"},
          {"--test", "simulate the recording"},
          {"--no-fix", "leave the disc open for another session"},
          {"--no-eject", "keep the tray closed at the end"},
          {"--temporary", "record the image a failed disc copy kept, and delete it afterwards"},
          {"--raw",
           "record a file that holds no disc file system, or an image shorter than the "
           "volume it declares"},
          {"--verify", "read the disc back after recording and compare it with the image"}}},
        {"copy",
         {{"--to-iso OUT.iso", "only copy the disc into an image file"},
          {"--bad-copy",
           "rescue a damaged disc: unreadable sectors become zeros (a removed or "
           "changed disc or an audio track still ends the copy)"},
          {"--speed N", "read speed factor"},
          {"--write-speed N", "write speed factor of the copy"},
          {"--blank KIND", "on a virtual drive, insert a blank of KIND for the copy"},
          {"--no-eject", "keep the tray closed at the end"},
          {"--verify", "read the copy back after recording and compare it with the image"}}},
        {"eject", {{"--immed", "return at once, without waiting for the tray"}}},
        {"load", {{"--immed", "return at once, without waiting for the tray"}}},
        {"erase",
         {{"--full", "erase the whole disc (slow) instead of its table of contents"},
          {"--yes",
           "erase without asking (without it the question is asked on a terminal, and "
           "nothing is erased without one)"}}},
        {"mkiso",
         {{"-o OUT.iso",
           "the image file to write: written under a fresh name beside it (OUT.iso.XXXXXX.part), "
           "it replaces an existing OUT.iso only once complete"},
          {"--volume-id TEXT", "the volume name of the ISO 9660 descriptor"},
          {"--joliet-volume-id TEXT", "the volume name of the Joliet descriptor"},
          {"--date \"YYYY-MM-DD hh:mm:ss\"", "the date of the volume instead of now"},
          {"--no-joliet", "ISO 9660 names only"},
          {"PATH...", "files go into the root, folders become folders with all they hold"}}},
        {"virtual",
         {{"create DIR", "make a virtual drive in the folder DIR"},
          {"insert KIND [--from IMAGE.iso]",
           "put in a blank of KIND, or with --from a finished disc of KIND holding IMAGE.iso "
           "(cd-rom and dvd-rom only so); KIND is cd-r, cd-rw, dvd-r, dvd-rw, dvd+r, dvd+rw, "
           "dvd+r-dl, dvd-r-dl, bd-r, bd-r-dl or bd-re"},
          {"--replace", "with insert: take out a disc that holds data (otherwise refused)"},
          {"--unformatted",
           "with insert dvd+rw: a brand-new disc, formatted at its first recording (a bd-re "
           "always comes so)"},
          {"eject", "take the disc out"},
          {"show", "describe the disc"},
          {"export OUTDIR [--force]",
           "write the recorded tracks out as .iso and .wav files; --force overwrites files "
           "of those names"},
          {"attach DIR",
           "serve the drive in DIR to the kernel as a SCSI recorder (/dev/srN, /dev/sgN) until "
           "Ctrl-C or SIGTERM (Linux, as root)"},
          {"detach DIR", "remove what a killed 'virtual attach' of DIR left in the kernel"}}},
        {"wav2cda", {{"IN.wav OUT.wav", "convert IN.wav to 44.1 kHz, 16-bit stereo"}}},
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
         "first one set): the language of the messages taken from the program's texts, "
         "Traditional Chinese for zh_TW and zh_HK, English for en_US, else Simplified Chinese."},
    };
    return sections;
}
