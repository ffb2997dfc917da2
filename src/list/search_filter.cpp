#include "list/search_filter.h"

#include <algorithm>

#include "list/list_text.h"

namespace kv {

std::vector<std::string> FilterNames(const std::vector<std::string>& names, std::string_view text) {
  std::vector<std::string> out;
  if (text.empty()) return out;
  const std::string needle = FoldFileNameCase(text);
  for (const std::string& name : names)
    if (FoldFileNameCase(name).find(needle) != std::string::npos) out.push_back(name);
  return out;
}

SearchKeyUp SearchKeyUpAction(unsigned virtualKey, bool textEmpty) {
  constexpr unsigned kBackspace = 8;
  if (virtualKey == kBackspace) return textEmpty ? SearchKeyUp::FillAll : SearchKeyUp::Filter;
  // 97 to 122 are the numeric keypad's keys and F1 to F11 as virtual keys; the
  // window filters on them too (F3 among them is the search's own hotkey, but
  // the filter only re-reads the text, so it changes nothing).
  if ((virtualKey >= 48 && virtualKey <= 57) || (virtualKey >= 65 && virtualKey <= 90) ||
      (virtualKey >= 97 && virtualKey <= 122))
    return SearchKeyUp::Filter;
  return SearchKeyUp::Nothing;
}

ResultPosition MoveResult(ResultPosition at, SearchMove move, int count, int pageRows) {
  if (at.selected < 0 || count <= 0) return at;
  const int page = std::max(1, pageRows);
  ResultPosition out = at;
  switch (move) {
    case SearchMove::Up:
      out.selected = at.selected == 0 ? count - 1 : at.selected - 1;
      break;
    case SearchMove::Down:
      out.selected = at.selected >= count - 1 ? 0 : at.selected + 1;
      break;
    case SearchMove::PageUp:
      out.selected = std::max(0, at.selected - page);
      out.top = out.selected == 0 ? 0 : std::max(0, at.top - page);
      return out;
    case SearchMove::PageDown:
      out.selected = std::min(count - 1, at.selected + page);
      // At the end the top row stops one page above the last row.
      out.top = std::max(0, std::min(at.top + page, count - 1 - page));
      return out;
  }
  // Up and Down keep the new row in view.
  if (out.selected < out.top) out.top = out.selected;
  if (out.selected >= out.top + page) out.top = out.selected - page + 1;
  return out;
}

std::vector<std::size_t> PickedEntries(const std::vector<std::string>& names,
                                       std::string_view picked) {
  std::vector<std::size_t> out;
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] == picked) out.push_back(i);
  return out;
}

}  // namespace kv
