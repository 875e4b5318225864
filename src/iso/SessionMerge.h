#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ImportedSession.h"

class clsISODirectory;

// Puts a session read back from a disc into a project tree, and new files
// and folders beside it: a folder of the name of one on the disc merges into
// it, a new file of the name of a file on the disc replaces that one in the
// new tree (its data stays on the disc, no longer listed) only when asked.
namespace SessionMerge {

// Adds the entries of `imported` (a directory) under `directory`: files as
// OnDisc files at their addresses, directories by name. A name taken twice
// (two entries equal but for case) is numbered; an entry whose name cannot
// be used here (a "\\" in it) is left out and added to `leftOut`.
// With `sourcePath`, files are added as new files instead, read from the
// path it gives for each (a disc copied as its last session's view).
void AddImported(clsISODirectory& directory, const ImportedEntry& imported,
                 std::vector<LeftOutEntry>& leftOut,
                 const std::function<std::string(const ImportedEntry&)>& sourcePath = nullptr);

// The paths ("\A\b.txt") of the entries of `added` that have the name of a
// file on the disc in `target` (or a file that meets a directory of its
// name), in tree order.
std::vector<std::string> Clashes(const clsISODirectory& target, const clsISODirectory& added);

// Moves everything from `added` into `target`: folders merge by name, a
// clashing file on the disc is left out of the new tree, a new file whose
// name a new file already has is numbered. `added` is left empty.
void Merge(clsISODirectory& target, clsISODirectory& added);

}  // namespace SessionMerge
