#pragma once

#include <CLI/CLI.hpp>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace orvalle::cli {

// The character encoding of CSV output: UTF-8, or CP932 for spreadsheets on
// Japanese Windows.
enum class CsvEncoding { kUtf8, kCp932 };

// The CSV options of a command: `--csv` and `--encoding utf-8|cp932` (which
// needs --csv). `csv` and `encoding` must outlive the parse.
void addCsvOptions(CLI::App& command, bool& csv, CsvEncoding& encoding, const std::string& csvHelp);

// The option `--encoding utf-8|cp932` alone, needing `csvOption`.
void addCsvEncodingOption(CLI::App& command, CsvEncoding& encoding, CLI::Option* csvOption);

// One RFC 4180 field: the text as it is, or in double quotes with every
// quote doubled when it holds a comma, a quote, CR or LF.
std::string csvField(std::string_view text);

// Prints CP932 cells as one CSV record in `encoding`, ended by CR LF.
void printCsvRow(std::ostream& out, const std::vector<std::string>& cp932Cells,
                 CsvEncoding encoding);

}  // namespace orvalle::cli
