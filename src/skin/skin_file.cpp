#include "skin/skin_file.h"

#include <cstddef>
#include <iterator>
#include <utility>

#include "base/text_case.h"
#include "config/colour_text.h"
#include "wallpaper/wallpaper_render.h"

namespace kv::skin {
namespace {

// The profile readers return at most this many characters of a value.
constexpr std::size_t kMaxTextLength = 2047;

constexpr std::string_view kSeparators = "\\/";

struct CommandEntry {
  const char* text;  // lower case, as the lower-cased button value is compared
  const char* hint;
};

// Indexed by the enumerators; the last row is the fallback for any other text.
constexpr CommandEntry kBrowserCommands[] = {
    {"close()", "Close Kestrova"},
    {"minimize()", "Minimize"},
    {"toggle_config()", "Toggle Configuration"},
    {"toggle_browser()", "Toggle Browser"},
    {"toggle_manager()", "Toggle Manager"},
    {"set_random()", "Set Random Wallpaper"},
    {"scroll_fwd()", "Scroll List Forwards"},
    {"scroll_bwd()", "Scroll List Backwards"},
    {"main_menu()", "Menu"},
    {"load_skin()", "Load Skin"},
    {"pause()", "Pause Wallpaper Changing"},
    {nullptr, "Error in skin file"},
};
static_assert(std::size(kBrowserCommands) == static_cast<std::size_t>(BrowserCommand::Unknown) + 1);

constexpr CommandEntry kManagerCommands[] = {
    {"close()", "Toggle Manager"},          {"load_list()", "Load List"},
    {"save_list()", "Save List"},           {"add_wall()", "Add wallpaper"},
    {"add_dir()", "Add directory to list"}, {"del_wall()", "Remove wallpaper(s)"},
    {"clear_list()", "Clear List"},         {"man_menu()", "Menu"},
    {"change_style()", "Change Style"},     {"apply_image()", "Apply image"},
    {"fullscr_preview()", "Preview Image"}, {nullptr, ""},
};
static_assert(std::size(kManagerCommands) == static_cast<std::size_t>(ManagerCommand::None) + 1);

template <typename Command, std::size_t N>
Command ParseCommand(const CommandEntry (&table)[N], std::string_view text) {
  for (std::size_t i = 0; i + 1 < N; ++i)
    if (EqualsIgnoringAsciiCase(text, table[i].text)) return static_cast<Command>(i);
  return static_cast<Command>(N - 1);
}

template <typename Command, std::size_t N>
const char* CommandHint(const CommandEntry (&table)[N], Command command) noexcept {
  const auto i = static_cast<std::size_t>(command);
  return table[i < N ? i : N - 1].hint;
}

// One skin file section with the directories its image names resolve against.
class SkinSection {
 public:
  SkinSection(IniFile& ini, std::string section, const std::string& programDir,
              const std::string& skinDir)
      : ini_(ini), section_(std::move(section)), programDir_(programDir), skinDir_(skinDir) {}

  [[nodiscard]] std::optional<std::string> Text(const std::string& key) const {
    auto text = ini_.ReadString(section_, key);
    if (text && text->size() > kMaxTextLength) text->resize(kMaxTextLength);
    return text;
  }
  [[nodiscard]] int Integer(const std::string& key, int otherwise) const {
    return ReadInteger(ini_, section_, key, otherwise);
  }
  [[nodiscard]] std::optional<std::string> Image(const std::string& key) const {
    auto name = Text(key);
    if (name) *name = ExpandPathMacros(*name, programDir_, skinDir_);
    return name;
  }
  // The names of the list word + 0, word + 1, ..., up to the first absent number.
  [[nodiscard]] std::vector<std::string> List(const std::string& word) const {
    std::vector<std::string> names;
    for (int i = 0;; ++i) {
      auto name = Text(word + std::to_string(i));
      if (!name) return names;
      names.push_back(std::move(*name));
    }
  }
  [[nodiscard]] SkinSection Other(std::string section) const {
    return SkinSection(ini_, std::move(section), programDir_, skinDir_);
  }

 private:
  IniFile& ini_;
  std::string section_;
  const std::string& programDir_;
  const std::string& skinDir_;
};

// The items of a numbered list: each one's name and place, then what `readRest`
// reads of its N + suffix keys.
template <typename Item, typename ReadRest>
std::vector<Item> ReadItems(const SkinSection& s, const char* word, ReadRest readRest) {
  std::vector<Item> items;
  for (std::string& n : s.List(word)) {
    Item& item = items.emplace_back();
    item.x = s.Integer(n + "X", item.x);
    item.y = s.Integer(n + "Y", item.y);
    readRest(item, n);
    item.name = std::move(n);
  }
  return items;
}

std::vector<SkinLabel> ReadLabels(const SkinSection& s) {
  return ReadItems<SkinLabel>(
      s, "Label", [&](SkinLabel& l, const std::string& n) { l.normal = s.Image(n + "Normal"); });
}

std::vector<SkinButton> ReadButtons(const SkinSection& s) {
  return ReadItems<SkinButton>(s, "button", [&](SkinButton& b, const std::string& n) {
    b.normal = s.Image(n + "Normal");
    b.over = s.Image(n + "Over");
    b.down = s.Image(n + "Down");
    if (s.Text(n + "LabelIndex")) b.labelIndex = s.Integer(n + "LabelIndex", -1);
    b.click = s.Text(n + "Click").value_or("");
  });
}

}  // namespace

BrowserCommand ParseBrowserCommand(std::string_view text) {
  return ParseCommand<BrowserCommand>(kBrowserCommands, text);
}

const char* BrowserCommandHint(BrowserCommand command) noexcept {
  return CommandHint(kBrowserCommands, command);
}

ManagerCommand ParseManagerCommand(std::string_view text) {
  return ParseCommand<ManagerCommand>(kManagerCommands, text);
}

const char* ManagerCommandHint(ManagerCommand command) noexcept {
  return CommandHint(kManagerCommands, command);
}

BrowserSkin ReadBrowserSkin(IniFile& ini, const std::string& programDir,
                            const std::string& skinDir) {
  const SkinSection misc(ini, "misc", programDir, skinDir);
  BrowserSkin skin;
  skin.browserImage = misc.Image("BrowserImage");
  const SkinSection previews = misc.Other("browserPreviews");
  skin.previews =
      ReadItems<SkinPreview>(previews, "preview", [&](SkinPreview& p, const std::string& n) {
        p.width = previews.Integer(n + "Width", p.width);
        p.height = previews.Integer(n + "Height", p.height);
        p.mask = previews.Image(n + "Mask");
      });
  skin.labels = ReadLabels(misc.Other("BrowserLabels"));
  skin.buttons = ReadButtons(misc.Other("Browserbuttons"));
  return skin;
}

ManagerSkin ReadManagerSkin(IniFile& ini, const std::string& programDir,
                            const std::string& skinDir) {
  const SkinSection misc(ini, "misc", programDir, skinDir);
  ManagerSkin skin;
  skin.managerImage = misc.Image("ManagerImage");
  skin.previewX = misc.Integer("previewImageX", skin.previewX);
  skin.previewY = misc.Integer("previewImageY", skin.previewY);
  skin.previewWidth = misc.Integer("previewImageWidth", skin.previewWidth);
  skin.previewHeight = misc.Integer("previewImageHeight", skin.previewHeight);
  skin.previewMask = misc.Image("previewmask");
  skin.listX = misc.Integer("WallpaperlistX", skin.listX);
  skin.listY = misc.Integer("WallpaperlistY", skin.listY);
  skin.listWidth = misc.Integer("WallpaperlistWidth", skin.listWidth);
  skin.listHeight = misc.Integer("WallpaperlistHeight", skin.listHeight);
  skin.foregroundColor = misc.Text("foregroundcolor").value_or(skin.foregroundColor);
  skin.fontColor = misc.Text("fontcolor").value_or(skin.fontColor);
  skin.fontSize = misc.Integer("fontSize", skin.fontSize);
  skin.fontName = misc.Text("fontname").value_or(skin.fontName);
  skin.labels = ReadLabels(misc.Other("ManagerLabels"));
  skin.buttons = ReadButtons(misc.Other("Managerbuttons"));
  return skin;
}

std::optional<std::uint32_t> SkinColour(std::string_view text) { return TextToColour(text); }

std::string SkinMenuCaption(std::string_view fullName) {
  const auto separator = fullName.find_last_of(kSeparators);
  std::string_view name =
      separator == std::string_view::npos ? fullName : fullName.substr(separator + 1);
  const auto dot = name.rfind('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  std::string caption = AsciiLowerCopy(name);
  if (!caption.empty()) caption[0] = AsciiUpper(caption[0]);
  return caption;
}

std::string DirectoryOf(std::string_view fullName) {
  const auto separator = fullName.find_last_of(kSeparators);
  return separator == std::string_view::npos ? std::string()
                                             : std::string(fullName.substr(0, separator + 1));
}

}  // namespace kv::skin
