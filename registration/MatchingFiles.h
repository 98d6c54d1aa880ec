// The entries of a folder whose whole names match a regular expression.
#pragma once

#include <string>
#include <vector>

namespace registration {

// One matching entry: the whole name first, then the text of each capture group in the pattern's order
// (empty for a group that took no part in the match).
using FileMatch = std::vector<std::string>;

// Lists the folder with the Windows file finder ("\*.*" after the folder: files, folders, "." and ".."
// alike) and keeps, in the finder's order, each entry whose whole name matches the pattern (ECMAScript
// grammar, case-sensitive). Empty when nothing matches, when the folder does not exist or when the
// search path is too long for the finder.
std::vector<FileMatch> ListMatchingFiles(const std::string& directory, const std::string& pattern);

}  // namespace registration
