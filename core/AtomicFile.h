#pragma once

// The one way the program replaces a file the learner keeps (a parameter set, a lab book): the
// new contents go to a temporary file in the same folder, which is flushed to the disk and then
// renamed over the old file. A reader, a crash or a full disk therefore sees either the old file
// or the new one, never a part of it.
//
// Conventions, as every caller relies on them:
//  - writeFileAtomically returns an empty string on success, else why it failed, in words that
//    complete "could not be saved: ..." (the system's error text in parentheses where there is
//    one). It never throws.
//  - On failure the file at `path` is exactly as it was and no temporary file is left.
//  - A symbolic link is followed: the file it points to is replaced and the link stays.
//  - An existing file keeps its permissions (and, where the process may, its owner and group);
//    a new one gets 0666 less the umask, as any program's new file does.
//  - A file without write permission, a folder or anything else that is not a plain file at
//    `path`, and a missing folder are refused before anything is written.
//  - Temporary files are named "<name>.saving-<process id>-<number>". One that a killed process
//    left behind (its process is gone, or it is older than ten minutes) is removed by the next
//    write into its folder, as are the "<name>.saving-<digits>" files of earlier versions once
//    they are that old.
//
// Plain C++ with no Qt. POSIX systems get the whole behaviour; elsewhere a portable fallback
// writes through the same temporary file and rename, without the flushes and the owner, clears
// temporary files by their age alone and gives plainer reasons.

#include <string>
#include <string_view>

namespace vasora {

/// Replaces the file `path` by `data` as a whole (see the conventions above). Returns an empty
/// string on success, else why it failed.
std::string writeFileAtomically(const std::string& path, std::string_view data);

/// Whether `name` (a file name without its folder) is one of the temporary files of
/// writeFileAtomically, of this version or an earlier one.
bool isAtomicTempName(std::string_view name);

}  // namespace vasora
