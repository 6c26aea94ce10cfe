#pragma once

// Shipped files are named in the program in whatever case their authors used ("finalLB.rtf",
// "FinalLB.rtf"); on a case-sensitive file system the name is looked up without regard to case.

#include <string>

namespace vasora {

/// The existing file or folder that `path` names when its last component is compared without
/// regard to case: `path` itself when it exists, else the one entry of its folder whose name
/// matches ignoring case (the first in name order if several do), else `path` unchanged.
std::string findFileNoCase(const std::string& path);

/// True when `findFileNoCase(path)` names an existing regular file.
bool fileExistsNoCase(const std::string& path);

/// Compares two file names without regard to ASCII case.
bool sameFileName(const std::string& a, const std::string& b);

}  // namespace vasora
