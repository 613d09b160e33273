#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// LHA archives for tests: real ones made by the jlha command (Debian
// jlha-utils) and hand-built ones for member names jlha will not store.
namespace orvalle::test {

// True when the jlha command can be run.
bool haveJlha();

// The message of a test skipped for want of jlha.
inline constexpr std::string_view kNoJlhaMessage =
    "jlha (Debian package jlha-utils) is not installed; LHA archives cannot be built";

// Makes `archive` (replacing it, creating its folder) with jlha from the files `names`, given
// relative to `folder`, where jlha runs; `level` is the header level 0-2,
// `stored` keeps the members uncompressed (-lh0-). Returns false when jlha
// fails or leaves no archive.
bool makeLhaArchive(const std::filesystem::path& archive, const std::filesystem::path& folder,
                    const std::vector<std::string>& names, int level = 2, bool stored = false);

// The bytes of an archive of uncompressed members with level-0 headers, the
// names stored exactly as given, followed by the end mark.
std::string storedLhaArchive(const std::vector<std::pair<std::string, std::string>>& members);

}  // namespace orvalle::test
