#pragma once
// The search window's rules: which file names a search text finds, which key
// releases refilter, and how Up, Down, Page Up and Page Down move through the
// results. Pure functions over the names; the window only shows them.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// The names, in order, that contain `text` with letters compared without
// regard to case; an empty text finds nothing. Duplicates stay.
[[nodiscard]] std::vector<std::string> FilterNames(const std::vector<std::string>& names,
                                                   std::string_view text);

enum class SearchKeyUp { Nothing, Filter, FillAll };

// What a key released in the search text does: Backspace refills all names
// when the text is now empty and filters otherwise; digits and letters (and
// the codes 97 to 122) filter; every other key does nothing.
[[nodiscard]] SearchKeyUp SearchKeyUpAction(unsigned virtualKey, bool textEmpty);

enum class SearchMove { Up, Down, PageUp, PageDown };

struct ResultPosition {
  int selected = -1;  // -1: none
  int top = 0;        // the first row shown
};

// The result selection after a move over `count` rows, of which `pageRows`
// fit in the box. Up and Down wrap; nothing moves while none is selected.
[[nodiscard]] ResultPosition MoveResult(ResultPosition at, SearchMove move, int count,
                                        int pageRows);

// The indices of the entries whose name equals `picked` exactly (same case).
[[nodiscard]] std::vector<std::size_t> PickedEntries(const std::vector<std::string>& names,
                                                     std::string_view picked);

}  // namespace kv
