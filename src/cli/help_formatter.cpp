#include "help_formatter.h"

#include <memory>

namespace orvalle::cli {
namespace {

// True for the code points a terminal draws two columns wide: the CJK
// blocks, Hangul, the full-width forms (not the half-width katakana that
// follow them) and the wide symbols.
bool isWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
         (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
         (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
         (c >= 0x20000 && c <= 0x3FFFD);
}

// A value's placeholder: the name a command gave it ("DIR", "FILE"), else a
// short word for the kind CLI11 gives it, without its validators.
std::string placeholder(const CLI::Option* option) {
  const std::string full = option->get_type_name();
  const std::string type = full.substr(0, full.find(':'));
  if (type.starts_with("INT") || type.starts_with("UINT")) return "N";
  if (type.starts_with("FLOAT")) return "X";
  if (type.empty() || type == "TEXT" || type.starts_with("ENUM")) return "TEXT";
  return type;
}

std::string joinedNames(const std::set<CLI::Option*>& options) {
  std::string names;
  for (const CLI::Option* option : options) {
    if (!names.empty()) names += " ";
    names += option->get_name();
  }
  return names;
}

}  // namespace

size_t terminalWidth(std::string_view utf8) {
  size_t width = 0;
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const size_t length = lead < 0x80    ? 1
                          : lead >= 0xF0 ? 4
                          : lead >= 0xE0 ? 3
                          : lead >= 0xC0 ? 2
                                         : 1;
    char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (size_t k = 1; k < length && i + k < utf8.size(); ++k) {
      c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    width += isWide(c) ? 2 : 1;
    i += length;
  }
  return width;
}

HelpFormatter::HelpFormatter() {
  label("Usage", "使い方");
  label("OPTIONS", "オプション");
  label("SUBCOMMAND", "コマンド");
  label("SUBCOMMANDS", "コマンド");
  label("Positionals", "引数");
  column_width(30);
}

std::string HelpFormatter::aligned(const std::string& left, const std::string& description) const {
  std::string line = "  " + left;
  if (description.empty()) return line + "\n";
  const size_t width = terminalWidth(line);
  if (width >= column_width_) {
    line += "\n" + std::string(column_width_, ' ');
  } else {
    line += std::string(column_width_ - width, ' ');
  }
  for (const char c : description) {
    line += c;
    if (c == '\n') line += std::string(column_width_, ' ');
  }
  return line + "\n";
}

std::string HelpFormatter::make_option(const CLI::Option* option, bool positional) const {
  return aligned(make_option_name(option, positional) + make_option_opts(option),
                 make_option_desc(option));
}

std::string HelpFormatter::make_option_opts(const CLI::Option* option) const {
  if (!option->get_option_text().empty()) return " " + option->get_option_text();
  const bool flag = option->get_type_size_max() == 0 || option->get_expected_max() == 0;
  if (flag || option->get_positional()) return "";
  std::string opts = " " + placeholder(option);
  if (option->get_expected_min() == 0) opts = " [" + opts.substr(1) + "]";
  return opts;
}

std::string HelpFormatter::make_option_desc(const CLI::Option* option) const {
  std::string description = option->get_description();
  if (option->get_required()) description += "（必須）";
  if (!option->get_needs().empty()) {
    description += "（" + joinedNames(option->get_needs()) + " と共に指定します）";
  }
  if (!option->get_excludes().empty()) {
    description += "（" + joinedNames(option->get_excludes()) + " とは同時に指定できません）";
  }
  return description;
}

std::string HelpFormatter::make_subcommand(const CLI::App* command) const {
  return aligned(command->get_display_name(true), command->get_description());
}

void useJapaneseHelp(CLI::App& app) {
  app.formatter(std::make_shared<HelpFormatter>());
  app.option_defaults()->group("オプション");
  app.set_help_flag("-h,--help", "このヘルプを表示して終了します");
  app.group("コマンド");
}

void finishJapaneseHelp(CLI::App& app) {
  // A subcommand makes its help flag before it takes the parent's option
  // defaults, so the flag is put in the options' group here.
  for (CLI::App* command : app.get_subcommands({})) {
    if (CLI::Option* help = command->get_help_ptr()) help->group("オプション");
    finishJapaneseHelp(*command);
  }
}

}  // namespace orvalle::cli
