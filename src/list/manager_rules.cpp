#include "list/manager_rules.h"

namespace kv {
namespace {

bool AcceptedCut(std::string_view fullName, std::size_t cut) {
  std::string extension = LowerExtension(fullName);
  if (extension.size() > cut) extension.resize(cut);
  return IsAcceptedExtension(extension);
}

template <typename Items>
int IndexOf(const Items& items, std::string_view text) {
  for (std::size_t i = 0; i < items.size(); ++i)
    if (text == items[i]) return static_cast<int>(i);
  return -1;
}

}  // namespace

bool DroppedFileAccepted(std::string_view fullName) { return AcceptedCut(fullName, 5); }
bool SearchedFileAccepted(std::string_view fullName) { return AcceptedCut(fullName, 10); }

int StartWallNumber(int rows) { return rows > 3 ? (rows - 1) / 2 : (rows + 1) / 2; }
int SwitchedWallNumber(int rows) { return (rows + 1) / 2; }

std::string BatchFileType(std::string_view fileName) { return "*" + LowerExtension(fileName); }

BatchChoice BatchPreselect(std::optional<std::string_view> fileName, std::string_view style) {
  if (!fileName) return {0, 0};
  const std::string type = BatchFileType(*fileName).substr(0, 6);
  return {IndexOf(kBatchFileTypes, type), IndexOf(kStyleNames, style.substr(0, 10))};
}

}  // namespace kv
