#pragma once

#include <string>

#include "modFileAccess.h"

// An output file (an image the user names, a temporary image) that is
// written completely or not at all, and never through a link. It is built
// under a fresh name beside its target, "<target>.<6 random characters>.part",
// created new (an existing name, a planted link included, is never opened),
// and takes the target's name only at Commit. A target that exists and is not
// a regular file (a link, a device, a folder, a pipe) is refused, so neither
// it nor what it points at is ever replaced.
class OutputFile {
  public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Checks the target and creates the partial file. False (see Error()) when
    // the target is refused or nothing can be created beside it.
    bool Create(const std::string& target);
    // The open partial file, for writing.
    FileHandleRecord& File() { return m_file; }
    const std::string& PartialPath() const { return m_partial; }
    // Closes the partial file (a write the system deferred fails here) and
    // renames it to the target. False (see Error()) when either fails; the
    // partial file is gone then.
    bool Commit();
    // Closes and deletes the partial file, if any.
    void Discard();
    const std::string& Error() const { return m_error; }

    // Why `target` must not be written ("... is a symbolic link, not a
    // regular file"); empty when it is free or a regular file.
    static std::string TargetProblem(const std::string& target);
    // True for a name OutputFile gives a partial file of `targetName`.
    static bool IsPartialName(const std::string& name, const std::string& targetName);

  private:
    bool Fail(const std::string& text);

    FileHandleRecord m_file;
    std::string m_target, m_partial, m_error;
};
