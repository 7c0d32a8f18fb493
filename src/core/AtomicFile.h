#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// Why a file could not be written, in words ("No space left on device").
class TWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes bytes as the file path so that readers see the old file or the new one,
// never part of either: under a name of its own in the same folder, renamed over the
// old one when complete. A link is followed and its target replaced. Only a regular
// file, or a name that does not exist yet, is ever replaced, and never a read-only
// file. A new file gets the usual permissions, a replaced one keeps its own.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// Removes what writes of path that were killed left beside it: its temporaries (our
// naming pattern, regular files of ours) older than a minute, and nothing else.
void RemoveStaleTemporaries(const std::string& path);
