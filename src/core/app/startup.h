#pragma once

#include <string_view>

#include "app/home.h"

namespace orvalle::app {

// The setting line of the user combination settings file written when the
// file is missing (UTF-8; stored as CP932): the setting "設定１" that takes
// the runners by point win rate rank.
inline constexpr std::string_view kDefaultUserSettingLine =
    "設定１,pt勝率,1,pt勝率,2,pt勝率, 3,pt勝率, 4,pt勝率, 5,pt勝率, 6,pt勝率, 7,pt勝率, 8,pt勝率, "
    "9,pt勝率,10,pt勝率,11,pt勝率,12,1,";

// Creates the user combination settings file with the default line (CP932,
// ended by CR LF) when the home has none; an existing file is never
// touched. Returns true when it wrote the file. Throws orvalle::Error when
// the file cannot be written.
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
