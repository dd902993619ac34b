#include "engine/app_path.h"

namespace agelark {

std::string appPath(std::string_view appFolder, std::string_view name) {
    std::string path(appFolder);
    for (char c : name) path += c == '\\' ? '/' : c;
    return path;
}

}  // namespace agelark
