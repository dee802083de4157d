#include "platform/qt/ini_text.h"

namespace sysvane {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool IsControl(char c) {
  return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One line of the text as the reader sees it; `begin`/`end` bound its content without the
// newline, `next` is where the following line starts.
struct Line {
  enum class Kind { Blank, Comment, Section, Entry, Other };
  size_t begin = 0, end = 0, next = 0;
  Kind kind = Kind::Other;
  std::string_view name;  // the section of a header, the key of an entry
  std::string_view raw;   // the value text of an entry
};

Line ReadLine(std::string_view text, size_t begin) {
  Line line;
  line.begin = begin;
  const size_t newline = text.find('\n', begin);
  line.end = newline == std::string_view::npos ? text.size() : newline;
  line.next = newline == std::string_view::npos ? text.size() : newline + 1;
  std::string_view content = text.substr(begin, line.end - begin);
  if (begin == 0 && content.starts_with(kByteOrderMark)) content.remove_prefix(kByteOrderMark.size());
  content = Trim(content);
  if (content.empty()) {
    line.kind = Line::Kind::Blank;
  } else if (content.front() == ';' || content.front() == '#') {
    line.kind = Line::Kind::Comment;
  } else if (content.front() == '[') {
    // A header missing its "]" still names its section, as the user meant.
    const size_t close = content.find(']');
    line.kind = Line::Kind::Section;
    line.name = Trim(content.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
  } else if (const size_t equals = content.find('='); equals != std::string_view::npos) {
    line.name = Trim(content.substr(0, equals));
    line.raw = Trim(content.substr(equals + 1));
    line.kind = line.name.empty() ? Line::Kind::Other : Line::Kind::Entry;
  }
  return line;
}

bool ValidName(std::string_view name) {
  if (name.empty() || Trim(name).size() != name.size()) return false;
  for (char c : name) {
    if (IsControl(c) || c == '=' || c == '[' || c == ']') return false;
  }
  return name.front() != ';' && name.front() != '#';
}

}  // namespace

std::string EncodeIniValue(std::string_view value) {
  bool plain = value.empty() || (!IsBlank(value.front()) && !IsBlank(value.back()) && value.front() != '"');
  for (char c : value) plain = plain && !IsControl(c);
  if (plain) return std::string(value);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string quoted = "\"";
  for (char c : value) {
    switch (c) {
      case '\\':
        quoted += "\\\\";
        break;
      case '"':
        quoted += "\\\"";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\t':
        quoted += "\\t";
        break;
      case '\0':
        quoted += "\\0";
        break;
      default:
        if (IsControl(c)) {
          quoted += "\\x";
          quoted += kHex[static_cast<unsigned char>(c) >> 4];
          quoted += kHex[static_cast<unsigned char>(c) & 15];
        } else {
          quoted += c;
        }
    }
  }
  return quoted + '"';
}

std::string DecodeIniValue(std::string_view raw) {
  if (raw.size() < 2 || raw.front() != '"') return std::string(raw);
  std::string value;
  for (size_t i = 1; i < raw.size(); ++i) {
    const char c = raw[i];
    if (c == '"') {
      // Only one quoted string making up the whole value is taken apart; anything else
      // ("a" "b", a stray quote) is the user's text as it stands.
      return i + 1 == raw.size() ? value : std::string(raw);
    }
    if (c != '\\' || i + 1 == raw.size()) {
      value += c;
      continue;
    }
    const char escaped = raw[++i];
    switch (escaped) {
      case 'n':
        value += '\n';
        break;
      case 'r':
        value += '\r';
        break;
      case 't':
        value += '\t';
        break;
      case '0':
        value += '\0';
        break;
      case '\\':
      case '"':
        value += escaped;
        break;
      case 'x':
        if (i + 2 < raw.size() && HexDigit(raw[i + 1]) >= 0 && HexDigit(raw[i + 2]) >= 0) {
          value += static_cast<char>(HexDigit(raw[i + 1]) * 16 + HexDigit(raw[i + 2]));
          i += 2;
          break;
        }
        [[fallthrough]];
      default:
        value += '\\';
        value += escaped;
    }
  }
  return std::string(raw);  // the closing quote is missing
}

std::optional<std::string> IniText::Get(std::string_view section, std::string_view key) const {
  const std::string_view text = text_;
  std::optional<std::string> value;
  std::string_view current;
  for (size_t at = 0; at < text.size();) {
    const Line line = ReadLine(text, at);
    at = line.next;
    if (line.kind == Line::Kind::Section) current = line.name;
    if (line.kind == Line::Kind::Entry && current == section && line.name == key)
      value = DecodeIniValue(line.raw);
  }
  return value;
}

bool IniText::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (!ValidName(section) || !ValidName(key)) return false;
  const std::string_view text = text_;
  std::optional<Line> entry;         // the line Get reads
  std::optional<size_t> sectionEnd;  // after the last line of the section's last header
  std::string_view current;
  bool inSection = false;
  for (size_t at = 0; at < text.size();) {
    const Line line = ReadLine(text, at);
    at = line.next;
    if (line.kind == Line::Kind::Section) {
      current = line.name;
      inSection = current == section;
      if (inSection) sectionEnd = line.next;
    } else if (inSection && (line.kind == Line::Kind::Entry || line.kind == Line::Kind::Other)) {
      sectionEnd = line.next;
      if (line.kind == Line::Kind::Entry && line.name == key) entry = line;
    }
  }

  const std::string newLine = std::string(key) + "=" + EncodeIniValue(value);
  if (entry) {
    // A line ended by CR LF keeps its CR.
    const size_t end =
        entry->end > entry->begin && text[entry->end - 1] == '\r' ? entry->end - 1 : entry->end;
    text_.replace(entry->begin, end - entry->begin, newLine);
  } else if (sectionEnd) {
    const bool afterUnendedLine = *sectionEnd > 0 && text[*sectionEnd - 1] != '\n';
    text_.insert(*sectionEnd, (afterUnendedLine ? "\n" : "") + newLine + "\n");
  } else {
    std::string added;
    if (!text_.empty()) added = text_.back() == '\n' ? "\n" : "\n\n";
    text_ += added + "[" + std::string(section) + "]\n" + newLine + "\n";
  }
  return true;
}

}  // namespace sysvane
