#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ImportedSession.h"
#include "LocalDateTime.h"
#include "clsISODirectory.h"

class EngineReporter;
class clsISOWriter;

// The kind of disc a data disc project is made for.
enum class DiscKind { Cd = 0, Dvd = 1 };

// Why an edit of the project was refused; the project is unchanged then.
enum class Refusal {
    None,            // done
    Unchanged,       // nothing to do (a move onto the place it already has)
    NotFound,        // no directory or file at that key or index
    EmptyName,       // nothing left once spaces are trimmed
    InvalidName,     // ".", "..", or holding "\" or "/"
    NameTaken,       // a sibling of the same kind has that name, ignoring case
    RootDirectory,   // the root cannot be removed, renamed or moved
    IntoOwnSubtree,  // a directory cannot move into itself or below itself
};

// Result of an edit: the refusal, the key of the directory it made, renamed
// or moved (directory keys are tree paths: "\" the root, "\A\B\" B inside
// A), and the name as stored (or as refused), spaces trimmed.
struct EditResult {
    Refusal refusal = Refusal::None;
    std::string key;
    std::string name;
};

// The data disc being assembled in the project window: a tree of directories
// and local files with the volume fields of the image, and every rule the
// window applies to it. Texts are UTF-8. The window mirrors the tree into its
// controls; nothing here knows about widgets.
class DiscProject {
  public:
    struct DirectoryItem {
        std::string key, name;
    };
    struct FileItem {
        std::string name, localPath;
        std::int64_t size = 0;
        LocalDateTime date;
        bool onDisc = false;  // recorded in an earlier session of the disc
    };
    // What a move of files did: the names that stayed because the target
    // already holds a file of that name.
    struct MoveResult {
        Refusal refusal = Refusal::None;
        int moved = 0;
        std::vector<std::string> refusedNames;
    };
    // What a drop of local files and folders did.
    struct AddResult {
        bool foldersAdded = false;
        std::vector<SkippedEntry> skipped;
        // Files not added because a file on the disc has their name (also in skipped).
        std::vector<std::string> onDiscClashes;
    };

    explicit DiscProject(DiscKind kind);
    ~DiscProject();

    DiscKind Kind() const { return m_kind; }
    // Starts over: empty tree, default volume fields, creation date now.
    void New();
    clsISOWriter& Writer() { return *m_writer; }

    // --- the tree ---
    static constexpr const char* kRootKey = "\\";
    bool DirectoryExists(const std::string& key) const;
    std::vector<DirectoryItem> SubDirectories(const std::string& key) const;
    std::vector<FileItem> Files(const std::string& key) const;

    EditResult NewDirectory(const std::string& parentKey, const std::string& name);
    EditResult RemoveDirectory(const std::string& key);
    EditResult RenameDirectory(const std::string& key, const std::string& name);
    // Files by their 0-based index in the directory's list.
    EditResult RenameFile(const std::string& key, int index, const std::string& name);
    void RemoveFiles(const std::string& key, std::vector<int> indexes);
    // Moves the directory at `key` with its subtree into `targetKey`.
    EditResult MoveDirectory(const std::string& key, const std::string& targetKey);
    MoveResult MoveFiles(const std::string& key, const std::vector<int>& indexes,
                         const std::string& targetKey);
    // Adds dropped local paths to the directory at `key`: a folder becomes a
    // directory of its name with its whole content (merged into a directory
    // of that name), anything else a file.
    // With `replaceOnDisc`, a file whose name a file on the disc has takes
    // its place in the tree (the old one's data stays on the disc).
    AddResult AddLocalPaths(const std::string& key, const std::vector<std::string>& paths,
                            bool replaceOnDisc = false);

    // A name as a user typed it: spaces trimmed, checked for the refusals
    // that do not depend on siblings.
    static Refusal CheckName(std::string& name);

    // --- continuing a disc ---
    // Starts the project anew from a disc's last session: its files, already
    // on the disc (their data stays where it is), the disc's label, the image
    // made for `writeAt`; the project must then fit in `freeBytes`. Entries
    // the tree cannot take are added to `leftOut`.
    void ContinueDisc(const ImportedSession& session, std::int64_t writeAt, std::int64_t freeBytes,
                      std::vector<LeftOutEntry>& leftOut);
    bool ContinuesDisc() const { return m_freeBytes >= 0; }

    // --- sizes ---
    std::int64_t ImageSize() const;
    // Bytes the disc holds: for a continued disc what it still takes, else
    // the blank in the drive when one was named (SetBlankCapacity), else a
    // blank of the project's kind (80-minute CD, single-layer DVD).
    std::int64_t Capacity() const;
    // The bytes of the blank in the drive, or <= 0 for none.
    void SetBlankCapacity(std::int64_t bytes) { m_blankCapacity = bytes; }
    // True when no file was added (directories alone do not count).
    bool IsEmpty() const;
    bool Fits() const { return ImageSize() <= Capacity(); }
    // "Size: 12.40 MB / 703.13 MB": the image against the disc. A new
    // project shows "Size: 0 KB" for its image.
    std::string SizeLine(bool newProject = false) const;

    // --- volume fields, in the order of the window's boxes ---
    enum class Field {
        VolumeID,
        SystemID,
        ApplicationID,
        PublisherID,
        DataPreparerID,
        VolumeSetID,
        CopyRightID
    };
    static constexpr int kFieldCount = 7;
    // The longest text a box takes, so that what the user types reaches the
    // descriptor whole.
    static int MaxLength(Field field, bool joliet);
    std::string FieldText(Field field, bool joliet) const;
    // Stores `text` (its ISO 9660 form filtered) and returns the stored form.
    // A new ISO 9660 volume label is also the Joliet one (the name the
    // desktop shows), as typed and within the Joliet length, until the user
    // changes the Joliet label itself.
    std::string CommitField(Field field, bool joliet, const std::string& text);
    // `text` cut to the length of its box (UTF-16 units, as the box counts).
    static std::string Limited(Field field, bool joliet, const std::string& text);

    // Creation date texts "yyyy-mm-dd" and "hh:mm:ss".
    std::string DateText() const;
    std::string TimeText() const;
    void SetCreationNow();
    // False, and nothing changes, unless both texts make a real date and time.
    bool SetCreation(const std::string& date, const std::string& time);

    // The texts of the build's progress events (the window's messages).
    struct BuildTexts {
        std::string buildingFilesystem, writingDirectories, writingFiles, writingPathTable;
    };
    struct BuildResult {
        bool written = false;
        bool cancelled = false;  // stopped on request; no image was kept
        std::string error;       // why it failed (English, from the image writer)
        std::vector<std::string> unreadableFiles;
    };
    // Writes the image to `path`, reporting phase and progress, and stops when
    // the reporter's CancelRequested() turns true. Runs on the worker thread
    // while the window leaves the project alone.
    BuildResult Build(const std::string& path, EngineReporter& reporter, const BuildTexts& texts);

  private:
    clsISODirectory* Directory(const std::string& key) const;
    static bool SameName(const clsISODirectory& directory, const std::string& name);
    // Adds one dropped file; false when its name is taken (a file on the
    // disc is replaced when `replaceOnDisc`, else noted in result).
    static bool AddFile(clsISODirectory& directory, const std::string& path,
                        const std::string& name, bool replaceOnDisc, AddResult& result);

    DiscKind m_kind;
    std::int64_t m_blankCapacity = 0;
    std::unique_ptr<clsISOWriter> m_writer;
    std::int64_t m_freeBytes = -1;     // -1: a new disc
    bool m_jolietLabelEdited = false;  // the user changed the Joliet volume label itself
};
