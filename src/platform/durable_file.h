#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The few operating-system calls a save needs that the standard library lacks:
// exclusive creation, flushing to the disk, keeping a file's permissions.
namespace zentorix::platform {

// Replaces the file with the content as a whole or not at all: a symbolic link is
// written through to its target, the content goes to a new hidden temporary
// beside it (created exclusively), is flushed to the disk and renamed over the
// file, then the folder is flushed; the file's permissions are kept. A file that
// is not a regular file or may not be written is refused. Gives an empty text on
// success, otherwise the reason ("Permission denied", "No space left on device").
std::string ReplaceFileDurably(const std::filesystem::path& path, std::string_view content);

}  // namespace zentorix::platform
