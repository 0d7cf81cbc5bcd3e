#include "progress/store.h"

#include "desktop/desktop.h"

bool StoreFileBytes(const std::string& path, const std::string& data) {
  if (path.empty()) return false;
  return ReplaceFileBytes(path, data);
}
