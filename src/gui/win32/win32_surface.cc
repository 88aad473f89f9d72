#include "gui/win32/win32_surface.h"

#include <algorithm>
#include <cstdlib>

#include "gui/ampersand_rule.h"
#include "platform/codepage.h"

namespace tabulon::gui::win32 {
namespace {

int SystemColourIndex(SystemColour colour) {
  switch (colour) {
    case SystemColour::kWindow:
      return COLOR_WINDOW;
    case SystemColour::kWindowText:
      return COLOR_WINDOWTEXT;
    case SystemColour::kButtonFace:
      return COLOR_BTNFACE;
    case SystemColour::kInactiveCaptionText:
      return COLOR_INACTIVECAPTIONTEXT;
  }
  return COLOR_WINDOW;
}

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  const COLORREF old = SetBkColor(dc, colour);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

// The caption as the ampersand rule shows it, spelt for DrawText: the one
// "&" it keeps stands before an underlined character, every ampersand shown
// is doubled. So the system only draws what the rule decided (left alone,
// it draws a lone trailing "&").
std::string ForDrawText(std::string_view caption) {
  std::string text;
  for (const ShownRun& run : ShownRuns(caption)) {
    if (run.underlined) text += '&';
    for (const char c : run.cp932) {
      if (c == '&') text += '&';
      text += c;
    }
  }
  return WithLineBreaks(text);
}

void DrawCaption(HDC dc, std::string_view caption, RECT rect, UINT flags) {
  const std::string text = ForDrawText(caption);
  if (text.empty()) return;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  DrawTextA(dc, text.data(), static_cast<int>(text.size()), &rect, flags);
}

}  // namespace

// Perceived lightness, 0 (black) to 255 (white).
int Lightness(COLORREF colour) {
  return (299 * GetRValue(colour) + 587 * GetGValue(colour) +
          114 * GetBValue(colour)) /
         1000;
}

COLORREF ColorOf(const Colour& colour) {
  if (colour.source != Colour::Source::kSystem) {
    return RGB(colour.rgb.r, colour.rgb.g, colour.rgb.b);
  }
  const COLORREF system = GetSysColor(SystemColourIndex(colour.system));
  if (colour.system == SystemColour::kWindowText) return system;
  // Every system colour here is a background for text in COLOR_WINDOWTEXT.
  // Windows 7 and later report COLOR_INACTIVECAPTIONTEXT as black, which
  // would hide the title and the tally's summary on the window: such a
  // background gives way to the button face, which every scheme keeps
  // readable behind its text.
  constexpr int kLeastContrast = 96;
  const int text = Lightness(GetSysColor(COLOR_WINDOWTEXT));
  if (std::abs(Lightness(system) - text) < kLeastContrast) {
    return GetSysColor(COLOR_BTNFACE);
  }
  return system;
}

FontCache::~FontCache() {
  for (auto& [key, font] : fonts_) DeleteObject(font);
}

HFONT FontCache::For(const Font& font) {
  const auto key = std::make_tuple(font.face, font.pixel_size, font.bold);
  const auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second;
  LOGFONTA description = {};
  description.lfHeight = -std::max(1, font.pixel_size);
  description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  description.lfCharSet = SHIFTJIS_CHARSET;
  description.lfQuality = DEFAULT_QUALITY;
  const std::string face = platform::Utf8ToCp932(font.face);
  face.copy(description.lfFaceName, LF_FACESIZE - 1);
  const HFONT handle = CreateFontIndirectA(&description);
  fonts_.emplace(key, handle);
  return handle;
}

void PaintLabel(HDC dc, const RECT& rect, const Control& label, HFONT font) {
  // The whole rectangle, even where the face is taller than the label.
  Fill(dc, rect, ColorOf(label.PaintColour()));
  const HGDIOBJ old = SelectObject(dc, font);
  const UINT flags =
      DT_LEFT | DT_TOP | DT_EXPANDTABS | (label.WordWrap() ? DT_WORDBREAK : 0);
  DrawCaption(dc, label.Caption(), rect, flags);
  SelectObject(dc, old);
}

void PaintGroupBox(HDC dc, const Control& box, HFONT font, SIZE size,
                   int caption_left) {
  RECT whole = {0, 0, size.cx, size.cy};
  const COLORREF back = ColorOf(box.PaintColour());
  Fill(dc, whole, back);
  const HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA metrics;
  GetTextMetricsA(dc, &metrics);
  RECT frame = {0, metrics.tmHeight / 2 - 1, size.cx, size.cy};
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  const std::string& caption = box.Caption();
  if (!caption.empty()) {
    RECT text = {caption_left, 0, size.cx, metrics.tmHeight};
    const std::string shown = ForDrawText(caption);
    DrawTextA(dc, shown.data(), static_cast<int>(shown.size()), &text,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_CALCRECT);
    Fill(dc, text, back);
    DrawCaption(dc, caption, text, DT_LEFT | DT_TOP | DT_SINGLELINE);
  }
  SelectObject(dc, old);
}

std::string WithLineBreaks(std::string_view cp932) {
  std::string text;
  text.reserve(cp932.size());
  for (std::size_t i = 0; i < cp932.size(); ++i) {
    if (cp932[i] == '\r' && (i + 1 == cp932.size() || cp932[i + 1] != '\n')) {
      text += "\r\n";
      continue;
    }
    text += cp932[i];
  }
  return text;
}

}  // namespace tabulon::gui::win32
