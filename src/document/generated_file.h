// For the build-time generators: a generated source file appears whole or
// not at all, being written beside its path and renamed when complete.
#pragma once

#include <cstdio>
#include <string>

namespace tabulon {

// Opens PATH.partial for writing; null (said on stderr) when it cannot.
inline std::FILE* OpenGeneratedFile(const std::string& path) {
  const std::string partial = path + ".partial";
  std::FILE* out = std::fopen(partial.c_str(), "w");
  if (out == nullptr) std::perror(partial.c_str());
  return out;
}

// Closes the file and puts it in place; false (said on stderr, the partial
// file removed) when any of its writing failed.
inline bool CloseGeneratedFile(std::FILE* out, const std::string& path) {
  const std::string partial = path + ".partial";
  if (std::ferror(out) || std::fclose(out) != 0 ||
      std::rename(partial.c_str(), path.c_str()) != 0) {
    std::perror(path.c_str());
    std::remove(partial.c_str());
    return false;
  }
  return true;
}

}  // namespace tabulon
