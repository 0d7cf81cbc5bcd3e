#include "state/files.h"

#include "desktop/desktop.h"

namespace {

std::string programDirectory;

/// The path up to its last backslash, found character by character so that the
/// trail byte of a double-byte character is never taken for one.
std::string CutAtLastBackslash(const std::string& path) {
  std::size_t lastBackslash = std::string::npos;
  for (std::size_t at = 0; at < path.size();) {
    if (static_cast<unsigned char>(path[at]) >= 0x80) {
      at += 2;
      continue;
    }
    if (path[at] == '\\') lastBackslash = at;
    at += 1;
  }
  return lastBackslash == std::string::npos ? path : path.substr(0, lastBackslash);
}

}  // namespace

void FixProgramDirectory() {
  programDirectory = CutAtLastBackslash(ExecutablePath());
  SetCurrentDirectoryTo(programDirectory);
}

std::string ProgramDirectory() { return programDirectory; }

std::string LoadFileBytes(const std::string& path) {
  if (path.empty()) return {};
  return ReadFileBytes(path).bytes;
}
