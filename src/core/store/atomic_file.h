#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "store/error.h"

namespace orvalle::store {

// Replaces a file as a whole: the content goes to a temporary file in the same
// folder, which is flushed, synced and renamed over the target; the folder is
// synced afterwards (a failed sync is a failure). A file that already holds
// the content is left alone. Within a DurableBatch the write is staged and
// done by the batch's commit. On any failure the
// temporary file is removed, the old file stays as it was, and the returned
// status carries the message. A symbolic link is followed: the file it names
// is replaced and the link kept. A file without write permission is not
// replaced (a failure naming it).
Status writeFileAtomically(const std::filesystem::path& target, std::string_view content);

// The temporary file of a write to "name" is ".name" + kTemporaryMarker +
// six letters or digits, in the target's folder. A killed program leaves it
// behind; isTemporaryFileName recognises it so that it can be removed.
inline constexpr std::string_view kTemporaryMarker = ".orvtmp-";
bool isTemporaryFileName(std::string_view name);

// As writeFileAtomically, but throws orvalle::Error on failure. For writers
// whose failure ends the running command.
void writeFileAtomicallyOrThrow(const std::filesystem::path& target, std::string_view content);

// Creates `folder` and its missing parents, syncing the folder that holds
// each new one so that the new folder survives a power loss (files written
// into it are durable only when it is). Throws orvalle::Error naming the
// folder when it cannot be created or synced, or the name is taken by a
// file, or `folder` is a symbolic link (what is filed under the home is not
// written through a link to another place).
void createFoldersDurably(const std::filesystem::path& folder);

// Syncs `folder` so that the names made or changed in it are durable.
// Throws orvalle::Error naming it when it cannot be synced.
void syncFolderOrThrow(const std::filesystem::path& folder);

// Records the folders this thread syncs (after a rename and after creating
// a folder) into `synced`; nullptr stops recording. For tests.
void recordFolderSyncsForTesting(std::vector<std::filesystem::path>* synced);

// The stages at which a test can make the next atomic write fail.
enum class AtomicWriteFault { kNone, kOpen, kWrite, kSync, kRename };

// Makes the next atomic write on this thread fail at `fault`, once. Tests use
// it to check that a failed write leaves the old file intact.
void injectAtomicWriteFaultForTesting(AtomicWriteFault fault);

// True (once) when the injected fault is `stage`. For the writers.
bool atomicWriteFaultFires(AtomicWriteFault stage);

}  // namespace orvalle::store
