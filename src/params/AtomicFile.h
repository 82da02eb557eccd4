#pragma once

#include <string>
#include <string_view>

// Replaces a file so that it holds either its old bytes or all the new ones,
// whatever happens meanwhile (a full disk, a killed process, a power cut): the
// bytes go to a temporary file in the same directory, which is flushed to disk
// and then renamed over the target, and the directory entry is flushed too.
// On failure the target is untouched, the temporary file removed, and `error`
// says why (in Russian, for the user).
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::string& error);
