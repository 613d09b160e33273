#pragma once

#include <CLI/CLI.hpp>

#include <string>

namespace orvalle::cli {

// Help in the user's language: CLI11's own words in Japanese, a value's
// kind as a short placeholder instead of its validators ("DAY" rather than
// "TEXT:INT in [1 - 18]"), what an option needs or excludes after its
// description, and columns aligned by their width on a terminal.
class HelpFormatter : public CLI::Formatter {
 public:
  HelpFormatter();

  std::string make_option(const CLI::Option* option, bool positional) const override;
  std::string make_option_opts(const CLI::Option* option) const override;
  std::string make_option_desc(const CLI::Option* option) const override;
  std::string make_subcommand(const CLI::App* command) const override;

 private:
  std::string aligned(const std::string& left, const std::string& description) const;
};

// Gives `app` the help formatter, a Japanese help flag and the Japanese
// group headings; subcommands added later inherit them.
void useJapaneseHelp(CLI::App& app);

// Puts the help flags of `app`'s subcommands, once they are all added, in
// the group of the other options.
void finishJapaneseHelp(CLI::App& app);

}  // namespace orvalle::cli
