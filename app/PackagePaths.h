// Paths of the start-up context. Windows answers into buffers of 260 characters; a path that does not
// fit is asked for again with the size Windows names, so no path is ever kept cut short.
#pragma once

#include <string>

namespace app {

// The program's own file, in full; empty when Windows cannot name it.
std::string QueryProgramPath();

// The directory part of a path: everything before its last backslash, found with a scan that steps
// over double-byte characters of the ANSI code page (a trail byte 0x5C is not a separator). Empty
// when the path has no backslash.
std::string DirectoryOf(const std::string& path);

// The absolute form of a path against the current directory, "." and ".." resolved; empty when
// Windows cannot form it.
std::string QueryFullPath(const std::string& path);

// The absolute form of a package folder. A relative one lies in the program's folder: it is resolved against
// the current directory when that is the program's folder, else against programDir itself. Where Windows
// cannot form the absolute path (its ANSI path calls stop at 260 characters), a fully qualified source, or the
// program's folder joined with a relative one, is kept whole with its "." and ".." resolved; empty when there is
// neither.
std::string ResolvePackageFolder(const std::string& source, const std::string& programDir, bool programDirIsCurrent);

}  // namespace app
