#include "help_formatter.h"

#include <memory>

#include "terminal_progress.h"

namespace orvalle::cli {
namespace {

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
  const auto width = static_cast<size_t>(displayWidth(line));
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
