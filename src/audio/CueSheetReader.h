#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CueSheet.h"
#include "CueSheetTexts.h"

// Reads a cue sheet into a CueSheet, refusing by its line everything the
// program cannot record exactly: an unknown command or file type, MODE2
// and CDG tracks, data and audio tracks together, more than one data
// track, CD-TEXT fields other than TITLE, PERFORMER and SONGWRITER, texts
// that ISO 8859-1 cannot hold or more than CD-TEXT holds, flags other than
// DCP and PRE, codes of the wrong shape, index points out of order, and
// audio in track 1's pre-gap beyond 2 seconds (a hidden track).
// Files are only named here; CueSheetFiles checks them.
class CueSheetReader {
  public:
    // Why a sheet is refused: the line (0: the sheet as a whole), the reason
    // and the value the reason names.
    struct Problem {
        int line = 0;
        CueSheetText reason = CueSheetText::NotUnderstood;
        std::vector<std::string> values;
    };
    struct Result {
        CueSheet sheet;
        std::optional<Problem> problem;
    };

    // `text`: the sheet (UTF-8, or ISO 8859-1 when it is not valid UTF-8);
    // relative file names are taken from `folder`.
    static Result Read(std::string_view text, const std::string& folder);
    // Reads the sheet file at `path` (at most 1 MiB).
    static Result ReadFile(const std::string& path);
    // The refusal as the user reads it, naming the sheet file `sheet`.
    static std::string Describe(const std::string& sheet, const Problem& problem);

  private:
    using Words = std::vector<std::string>;
    bool Take(int line, const Words& words);
    bool TakeFile(const Words& words);
    bool TakeTrack(const Words& words);
    bool TakeIndex(const Words& words);
    bool TakeGap(const Words& words);
    bool TakeFlags(const Words& words);
    bool TakeText(const Words& words);
    bool TakeCode(const Words& words);
    bool Finish();
    bool Refuse(CueSheetText reason, std::vector<std::string> values = {}, int line = -1);
    CueSheet::Track* Current();

    CueSheet m_sheet;
    std::string m_folder;
    int m_line = 0;
    int m_textLine = 0;
    bool m_indexInFile =
        false;  // the last FILE has an index point  // the first disc text, refused on a data sheet
    std::optional<Problem> m_problem;
};
