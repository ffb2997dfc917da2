// A setting's value name is spelled once, in the settings schema: every other
// place reaches it through the schema. This test reads the sources under src/
// and fails when a value name of the schema stands there as a string literal,
// but for the places listed below.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "config/settings_schema.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

// The string literals of C++ source text, comments and character literals
// left out.
std::vector<std::string> StringLiterals(const std::string& text) {
  std::vector<std::string> found;
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n;) {
    if (text.compare(i, 2, "//") == 0) {
      i = text.find('\n', i);
      if (i == std::string::npos) break;
    } else if (text.compare(i, 2, "/*") == 0) {
      i = text.find("*/", i + 2);
      if (i == std::string::npos) break;
      i += 2;
    } else if (text[i] == '"' || text[i] == '\'') {
      const char quote = text[i];
      std::string literal;
      std::size_t j = i + 1;
      for (; j < n && text[j] != quote; ++j) {
        if (text[j] == '\\' && j + 1 < n) literal += text[j++];
        literal += text[j];
      }
      if (quote == '"') found.push_back(literal);
      i = j + 1;
    } else {
      ++i;
    }
  }
  return found;
}

TEST(SettingNames, StringLiteralsAreFoundOutsideComments) {
  EXPECT_EQ(
      StringLiterals("f(\"StayOnTop\", 'x'); // \"Auto Hide\"\n/* \"Paused\" */ g(\"a\\\"b\")"),
      (std::vector<std::string>{"StayOnTop", "a\\\"b"}));
}

// Places where a value name may stand as a literal, with the reason.
const std::map<std::string, std::set<std::string>> kParticular = {
    // The declarations themselves.
    {"config/settings_schema.cpp", {}},
    {"config/settings_schema.h", {}},
    // Captions that read as a value's name: check boxes, a panel, menu items.
    {"config/options/options_pages_win.cpp", {"Fill The Bars", "Random Without Repeats", "Filter"}},
    {"config/options/options_form_win.cpp", {"Transparency"}},
    {"list/manager_form_win.cpp", {"Filter"}},
    {"app/browser_form_win.cpp", {"Small Icons"}},
    // The same words in other senses: key names, a preview's place and a
    // control's keys in a skin file, the places a property can take.
    {"config/shortcut_text.cpp", {"Left", "Right"}},
    {"app/browser_skin_win.cpp", {"Middle"}},
    {"skin/organic_control_win.cpp", {"Left", "Top", "Width"}},
    {"skin/skin_file.cpp", {"Width"}},
    {"list/property_editor_win.cpp", {"Left", "Top", "Right"}},
};

TEST(SettingNames, AreSpelledOnlyInTheSchema) {
  std::set<std::string> names;
  for (std::size_t i = 0; i < kSettingsSchemaSize; ++i)
    if (*kSettingsSchema[i].name) names.insert(kSettingsSchema[i].name);
  const fs::path src = fs::path(KV_TEST_DATA_DIR) / ".." / ".." / "src";
  ASSERT_TRUE(fs::is_directory(src)) << src;
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    ++files;
    const std::string relative = fs::relative(entry.path(), src).generic_string();
    const auto allowed = kParticular.find(relative);
    if (allowed != kParticular.end() && allowed->second.empty()) continue;
    std::ifstream in(entry.path());
    std::stringstream text;
    text << in.rdbuf();
    for (const std::string& literal : StringLiterals(text.str())) {
      if (names.count(literal) == 0) continue;
      if (allowed != kParticular.end() && allowed->second.count(literal)) continue;
      ADD_FAILURE() << "src/" << relative << " spells the value name \"" << literal
                    << "\"; reach it through the settings schema";
    }
  }
  EXPECT_GT(files, 100);
}

}  // namespace
}  // namespace kv
