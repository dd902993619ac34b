#pragma once
// File names beside the program are written with a leading backslash
// ("\Notes.txt", "\atari2600.jpg"); this is the one place that turns such a
// name into a path under the application folder.

#include <string>
#include <string_view>

namespace agelark {

// The application folder (no trailing separator) followed by `name`, each
// backslash of `name` written as the path separator.
std::string appPath(std::string_view appFolder, std::string_view name);

}  // namespace agelark
