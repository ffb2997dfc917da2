// The "Monitors" tab of the "Wallpapers" page: every monitor its own
// wallpaper. The monitors drawn to scale as the system reports them, the
// switch, and for each monitor beside the primary its own list and its
// orientation rule. The browser reads these settings where it renders.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "base/text_win.h"
#include "codecs/file_io.h"
#include "config/options/monitor_map.h"
#include "config/options/options_form_win.h"
#include "config/options/options_texts.h"
#include "config/settings_schema.h"
#include "program/program_state.h"
#include "wallpaper/kv_wallpaper_win.h"
#include "widgets/prompts.h"

namespace kv {
namespace {

using program::MainForm;
using ui::ChildAt;

// The rows' height: the list field, then its orientation box below it.
constexpr int kMonitorRow = 46;
// Room kept round the drawn monitors inside the map's frame.
constexpr int kMapMargin = 6;

std::string MonitorCaption(int monitor) { return "Monitor " + std::to_string(monitor); }

// The monitors as the browser's applier sees them (the system's layout in the
// program's numbering); the primary screen alone while there is no browser.
MonitorLayout CurrentMonitors() {
  if (MainForm) return MainForm->KVWallpaper1().Monitors();
  return {{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}};
}

SIZE TextSize(HDC dc, HFONT font, const std::wstring& text) {
  const HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  return size;
}

// One monitor's face: its number large, then "primary" and its size where
// they fit, the lines dropped from the last when the face is too small.
void DrawMonitorFace(HDC dc, RECT face, int number, bool primary, const MonitorRect& monitor,
                     HFONT numberFont, HFONT font) {
  struct Line {
    std::wstring text;
    HFONT font;
    SIZE size;
  };
  std::vector<Line> lines;
  const auto add = [&](const std::wstring& text, HFONT f) {
    lines.push_back({text, f, TextSize(dc, f, text)});
  };
  add(std::to_wstring(number), numberFont);
  if (primary) add(L"primary", font);
  add(std::to_wstring(monitor.width) + L" x " + std::to_wstring(monitor.height), font);
  const int roomX = face.right - face.left - 4, roomY = face.bottom - face.top - 2;
  const auto fits = [&] {
    int height = 0;
    for (const Line& l : lines) {
      if (l.size.cx > roomX) return false;
      height += l.size.cy;
    }
    return height <= roomY;
  };
  while (lines.size() > 1 && !fits()) lines.pop_back();
  if (!fits()) {
    // Only the number, in the small font, or nothing at all.
    lines.front() = {lines.front().text, font, TextSize(dc, font, lines.front().text)};
    if (!fits()) return;
  }
  int height = 0;
  for (const Line& l : lines) height += l.size.cy;
  int y = face.top + (face.bottom - face.top - height) / 2;
  for (const Line& l : lines) {
    const HGDIOBJ old = SelectObject(dc, l.font);
    RECT r{face.left, y, face.right, y + l.size.cy};
    DrawTextW(dc, l.text.c_str(), static_cast<int>(l.text.size()), &r,
              DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    y += l.size.cy;
  }
}

}  // namespace

void TOptionsForm::BuildMonitorsPanel(ui::GradientPanel& p) {
  const HWND h = p.hwnd();
  Check(EachMonitorOwnCB, h, 12, 10, 316, "Each monitor its own wallpaper", Option::EachMonitorOwn);
  monitorMap_.Create(ChildAt(h, 12, 36, 316, 106, {}, SS_OWNERDRAW));
  Label(monitorsNote_, h, 12, 144, 316, {});
  monitorsNote_.SetBounds(12, 147, 316, 28);  // two lines
  int y = 180;
  for (std::size_t i = 0; i < monitorRows_.size(); ++i, y += kMonitorRow) {
    MonitorRow& row = monitorRows_[i];
    const int monitor = static_cast<int>(i) + 2;
    Label(row.label, h, 12, y, 64, MonitorCaption(monitor));
    TextBox(row.list, h, 80, y, 214, MonitorListOption(monitor));
    // Shown while the field is empty: what the monitor then shows.
    SendMessageW(row.list.hwnd(), EM_SETCUEBANNER, FALSE,
                 reinterpret_cast<LPARAM>(Widen(options::kMonitorListCue).c_str()));
    row.browse.Create(ChildAt(h, 298, y, 30, 21, "..."));
    row.browse.SetFont(font_.get());
    row.browse.onClick = [this, i] { BrowseMonitorList(i); };
    AddHint(row.browse.hwnd(), "Choose the list of " + MonitorCaption(monitor));
    Check(row.match, h, 80, y + 23, 200, "Match orientation", MonitorMatchOption(monitor));
  }
  p.onMessage = [this](UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg != WM_DRAWITEM) return false;
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (item->hwndItem != monitorMap_.hwnd()) return false;
    DrawMonitorMap(*item);
    result = TRUE;
    return true;
  };
  RefreshMonitors();
}

void TOptionsForm::RefreshMonitors() {
  if (!monitorMap_.hwnd()) return;  // the tab is not made yet
  MonitorLayout now = CurrentMonitors();
  if (now == monitors_) return;
  monitors_ = std::move(now);
  UpdateMonitorRows();
}

void TOptionsForm::UpdateMonitorRows() {
  if (!monitorMap_.hwnd()) return;
  const std::size_t count = monitors_.size();
  // With one monitor the settings have nothing to act on. A monitor that is
  // not connected now keeps its row usable, its caption greyed: its settings
  // are kept for its place and serve once it is plugged in (a docked laptop
  // is set up while undocked).
  const bool usable = model_.On(Option::EachMonitorOwn) && count >= 2;
  for (std::size_t i = 0; i < monitorRows_.size(); ++i) {
    MonitorRow& row = monitorRows_[i];
    row.label.SetEnabled(usable && i + 2 <= count);
    row.list.SetEnabled(usable);
    row.browse.SetEnabled(usable);
    row.match.SetEnabled(usable);
  }
  monitorsNote_.SetText(count < 2 ? options::kOneMonitorNote : options::kMonitorsNote);
  monitorMap_.Invalidate();  // the faces show whether the option is on
}

void TOptionsForm::DrawMonitorMap(const DRAWITEMSTRUCT& item) const {
  const int width = item.rcItem.right - item.rcItem.left;
  const int height = item.rcItem.bottom - item.rcItem.top;
  // Drawn aside first, so that a redraw does not flicker.
  HDC dc = CreateCompatibleDC(item.hDC);
  GdiBitmap canvas(CreateCompatibleBitmap(item.hDC, width, height));
  const HGDIOBJ oldBitmap = SelectObject(dc, canvas.get());
  RECT box{0, 0, width, height};
  FillRect(dc, &box, GetSysColorBrush(COLOR_WINDOW));
  DrawEdge(dc, &box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  InflateRect(&box, -kMapMargin, -kMapMargin);
  // The faces in the selection colour while every monitor has its own
  // wallpaper, greyed while they all show the one picture.
  const bool on = model_.On(Option::EachMonitorOwn);
  const HBRUSH faceBrush = GetSysColorBrush(on ? COLOR_HIGHLIGHT : COLOR_BTNSHADOW);
  SetTextColor(dc, GetSysColor(on ? COLOR_HIGHLIGHTTEXT : COLOR_BTNHIGHLIGHT));
  SetBkMode(dc, TRANSPARENT);
  const HBRUSH frameBrush = GetSysColorBrush(COLOR_WINDOWFRAME);
  const int primary = PrimaryMonitor(monitors_);
  const std::vector<Rect> places =
      MapMonitors(monitors_, {box.left, box.top, box.right, box.bottom});
  for (std::size_t i = 0; i < places.size(); ++i) {
    const Rect& place = places[i];
    RECT face{place.left, place.top, place.right, place.bottom};
    // Monitors that touch keep a gap between their frames.
    if (face.right - face.left > 4 && face.bottom - face.top > 4) InflateRect(&face, -1, -1);
    FrameRect(dc, &face, frameBrush);
    InflateRect(&face, -1, -1);
    if (static_cast<int>(i) == primary) {
      // The primary's frame is doubled.
      FrameRect(dc, &face, frameBrush);
      InflateRect(&face, -1, -1);
    }
    FillRect(dc, &face, faceBrush);
    DrawMonitorFace(dc, face, static_cast<int>(i) + 1, static_cast<int>(i) == primary, monitors_[i],
                    titleFont_.get(), font_.get());
  }
  BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, width, height, dc, 0, 0, SRCCOPY);
  SelectObject(dc, oldBitmap);
  DeleteDC(dc);
}

void TOptionsForm::BrowseMonitorList(std::size_t row) {
  const int monitor = static_cast<int>(row) + 2;
  const SettingDef& def = SettingOf(MonitorListOption(monitor));
  FileDialogArgs args;
  args.title = "The list of " + MonitorCaption(monitor);
  args.filter = options::kListFilter;
  args.defaultExt = "lst";
  args.fileName = model_.Text(def);
  const std::vector<std::string> chosen = prompts_.OpenFiles(args);
  if (!chosen.empty() && chosen.front() != model_.Text(def)) model_.ChangeText(def, chosen.front());
}

void TOptionsForm::MonitorListApply(const SettingDef& def) {
  if (MainForm) MainForm->ApplyMonitorSettings();
  const std::string& file = model_.Text(def);
  if (file.empty() || FileExists(file)) return;
  const int monitor = static_cast<int>(def.option) - static_cast<int>(Option::MonitorList2) + 2;
  prompts_.Warning("The list file \"" + file + "\" was not found. " + MonitorCaption(monitor) +
                   " shows the main list's wallpapers until it is there.");
}

}  // namespace kv
