#include "platform/memory/MemoryText.h"

#include <algorithm>
#include <span>
#include <string>

#include "base/Utf.h"

namespace vormix {

namespace {

std::u32string Decode(std::string_view utf8) {
  const std::u16string units = Utf8ToUtf16(utf8);
  std::u32string text;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t u = units[i];
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
      text.push_back(0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(units[i + 1]) - 0xDC00));
      ++i;
    } else {
      text.push_back(u);
    }
  }
  return text;
}

struct TMarkedChar {
  char32_t Char = 0;
  bool Accelerator = false;
};

// The paragraphs between line breaks; a break at the very end opens no further line.
std::vector<std::u32string> Paragraphs(const std::u32string& text, bool singleLine) {
  if (singleLine) return {text};
  std::vector<std::u32string> paragraphs(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    if (c != U'\r' && c != U'\n') {
      paragraphs.back().push_back(c);
      continue;
    }
    if (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') ++i;
    if (i + 1 < text.size()) paragraphs.emplace_back();
  }
  return paragraphs;
}

std::vector<TMarkedChar> ApplyPrefix(const std::u32string& text, bool prefix, bool hidePrefix) {
  std::vector<TMarkedChar> chars;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (prefix && text[i] == U'&' && i + 1 < text.size()) {
      ++i;
      chars.push_back({text[i], text[i] != U'&' && !hidePrefix});
    } else {
      chars.push_back({text[i], false});
    }
  }
  return chars;
}

// Lays cells out one after the other, expanding tabs if asked.
class TLineBuilder {
 public:
  TLineBuilder(int lineHeight, bool expandTabs)
      : m_lineHeight(lineHeight), m_tabWidth(expandTabs ? 8 * (lineHeight / 2) : 0) {}

  int WidthAfter(int x, std::span<const TMarkedChar> chars) const {
    for (const TMarkedChar& c : chars) x += Advance(c.Char, x);
    return x;
  }

  void Append(TTextLine& line, std::span<const TMarkedChar> chars) const {
    for (const TMarkedChar& c : chars) {
      const int width = Advance(c.Char, line.Width);
      line.Cells.push_back({c.Char, line.Width, width, c.Accelerator});
      line.Width += width;
    }
  }

 private:
  int Advance(char32_t c, int x) const {
    if (c == U'\t' && m_tabWidth > 0) return (x / m_tabWidth + 1) * m_tabWidth - x;
    return MemoryCellWidth(c, m_lineHeight);
  }

  int m_lineHeight;
  int m_tabWidth;
};

// Greedy word wrapping: a line takes words while the end of the next word still fits;
// the spaces where a line is broken are dropped, trailing spaces of the paragraph kept.
std::vector<TTextLine> WrapParagraph(std::span<const TMarkedChar> chars, const TLineBuilder& builder, int limit,
                                     bool wordBreak) {
  std::vector<TTextLine> lines(1);
  if (!wordBreak) {
    builder.Append(lines.back(), chars);
    return lines;
  }
  const auto isSpace = [](const TMarkedChar& c) { return c.Char == U' '; };
  std::size_t i = 0;
  bool lineHasWord = false;
  while (i < chars.size()) {
    std::size_t wordStart = i;
    while (wordStart < chars.size() && isSpace(chars[wordStart])) ++wordStart;
    std::size_t wordEnd = wordStart;
    while (wordEnd < chars.size() && !isSpace(chars[wordEnd])) ++wordEnd;
    const auto spaces = chars.subspan(i, wordStart - i);
    const auto word = chars.subspan(wordStart, wordEnd - wordStart);
    if (word.empty()) {
      builder.Append(lines.back(), spaces);
    } else if (!lineHasWord) {
      builder.Append(lines.back(), spaces);
      builder.Append(lines.back(), word);
      lineHasWord = true;
    } else {
      if (builder.WidthAfter(builder.WidthAfter(lines.back().Width, spaces), word) <= limit) {
        builder.Append(lines.back(), spaces);
        builder.Append(lines.back(), word);
      } else {
        lines.emplace_back();
        builder.Append(lines.back(), word);
      }
    }
    i = wordEnd;
  }
  return lines;
}

}  // namespace

int MemoryCellWidth(char32_t c, int lineHeight) { return c < 0x80 ? lineHeight / 2 : lineHeight; }

std::vector<TTextCell> MemoryTextCells(std::string_view text, int lineHeight) {
  std::vector<TTextCell> cells;
  int x = 0;
  for (char32_t c : Decode(text)) {
    const int width = MemoryCellWidth(c, lineHeight);
    cells.push_back({c, x, width, false});
    x += width;
  }
  return cells;
}

TTextLayout MemoryTextLayout(std::string_view text, const TRect& rect, TTextFlags flags, int lineHeight) {
  const bool singleLine = (flags & dtSingleLine) != 0;
  TTextLayout layout;
  const std::u32string decoded = Decode(text);
  if (decoded.empty()) {
    layout.Height = lineHeight;
    layout.Bounds = {rect.Left, rect.Top, rect.Left, rect.Top + (singleLine ? lineHeight : 0)};
    return layout;
  }

  const TLineBuilder builder(lineHeight, (flags & dtExpandTabs) != 0);
  const bool wordBreak = (flags & dtWordBreak) && !singleLine;
  for (const std::u32string& paragraph : Paragraphs(decoded, singleLine)) {
    const auto chars = ApplyPrefix(paragraph, !(flags & dtNoPrefix), (flags & dtHidePrefix) != 0);
    for (TTextLine& line : WrapParagraph(chars, builder, rect.Width(), wordBreak))
      layout.Lines.push_back(std::move(line));
  }

  int y = rect.Top;
  if (singleLine && (flags & dtVCenter)) y = rect.Top + (rect.Height() - lineHeight) / 2;
  if (singleLine && (flags & dtBottom)) y = rect.Bottom - lineHeight;
  const int firstY = y;
  int widest = 0;
  for (TTextLine& line : layout.Lines) {
    int x = rect.Left;
    if (flags & dtCenter)
      x = rect.Left + (rect.Width() - line.Width) / 2;
    else if (flags & dtRight)
      x = rect.Right - line.Width;
    line.At = {x, y};
    y += lineHeight;
    widest = std::max(widest, line.Width);
  }
  layout.Height = (singleLine && (flags & (dtVCenter | dtBottom))) ? y - rect.Top : y - firstY;
  layout.Bounds = {rect.Left, rect.Top, rect.Left + widest, rect.Top + layout.Height};
  return layout;
}

}  // namespace vormix
