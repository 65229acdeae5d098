#include "forms/TextLines.h"

namespace vormix {

std::size_t LineCount(std::string_view text) {
  std::size_t rows = 1;
  for (std::size_t at = text.find("\r\n"); at != std::string_view::npos; at = text.find("\r\n", at + 2)) ++rows;
  return EndsAtLineStart(text) ? rows - 1 : rows;
}

bool EndsAtLineStart(std::string_view text) {
  return text.empty() || (text.size() >= 2 && text.substr(text.size() - 2) == "\r\n");
}

namespace {

// Scans from the start; a CR LF pair is passed over whole, so its LF never starts an
// LF CR pair, and after a replacement the scan goes on behind what was written.
void AppendFixingLfCr(std::string& out, std::string_view in) {
  std::size_t i = 0;
  while (i < in.size()) {
    const std::size_t next = in.find_first_of("\r\n", i);
    if (next == std::string_view::npos) {
      out.append(in.substr(i));
      return;
    }
    out.append(in.substr(i, next - i));
    i = next;
    if (in[i] == '\r' && i + 1 < in.size() && in[i + 1] == '\n') {
      out.append("\r\n");
      i += 2;
    } else if (in[i] == '\n' && i + 1 < in.size() && in[i + 1] == '\r') {
      out.append("\r\n\r\n");
      i += 2;
    } else {
      out.push_back(in[i]);
      ++i;
    }
  }
}

}  // namespace

void AppendLineInsertion(std::string& out, bool atLineStart, std::string_view line) {
  if (!atLineStart) {
    out.append("\r\n");
    AppendFixingLfCr(out, line);
  } else if (!line.empty() && line.back() == '\n') {
    // The closing CR LF pairs with the line's own final LF, so scan them together.
    std::string withBreak(line);
    withBreak.append("\r\n");
    AppendFixingLfCr(out, withBreak);
  } else {
    AppendFixingLfCr(out, line);
    out.append("\r\n");
  }
}

void AppendLineTo(std::string& text, std::string_view line) {
  AppendLineInsertion(text, EndsAtLineStart(text), line);
}

std::string LineInsertion(bool atLineStart, std::string_view line) {
  std::string inserted;
  AppendLineInsertion(inserted, atLineStart, line);
  return inserted;
}

std::string NormalizeLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out.append("\r\n");
      ++i;
    } else if (c == '\r' || c == '\n') {
      out.append("\r\n");
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace vormix
