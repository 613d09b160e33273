#pragma once

#include <CLI/CLI.hpp>

#include <functional>

#include "cli_context.h"

namespace orvalle::cli {

// Adds every subcommand to `app`. The chosen command stores its work in
// `action`; runCli calls it after parsing.
void registerCommands(CLI::App& app, CliContext& context, std::function<void()>& action);

}  // namespace orvalle::cli
