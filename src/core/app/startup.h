#pragma once

#include <string_view>

#include "app/home.h"

namespace orvalle::app {

// Creates the user combination settings file with the default setting
// (betting::kDefaultUserSettingLine in CP932, ended by CR LF) when the home
// has none; an existing file is never touched. Returns true when it wrote
// the file. Throws orvalle::Error when the file cannot be written.
bool ensureDefaultUserSettings(const Home& home);

// The program's start-up, shared by the CLI's `init` and the GUI: resolves
// the home folder (see Home::resolve), creates it and its folders DATA, SEI
// and yLZH, and the default user combination settings file. A missing
// settings file needs nothing: every key then reads its default. Throws
// orvalle::Error when the home cannot be decided or a folder or file cannot
// be created.
Home startUp(std::string_view homeOption,
             const Home::Environment& environment = Home::processEnvironment);

}  // namespace orvalle::app
