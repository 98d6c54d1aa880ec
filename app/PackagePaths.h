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

// The absolute form of a package folder. A relative one is resolved against the base folder, or against the
// current directory when the base is empty.
std::string ResolvePackageFolder(const std::string& source, const std::string& baseFolder);

}  // namespace app
