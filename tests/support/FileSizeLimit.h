#pragma once

#include <cstddef>
#include <functional>

// Runs `body` in a child process whose files cannot grow beyond `limit` bytes
// (a write past it fails with EFBIG, as on a full disk) and returns the
// child's exit status (`body`'s result), or -1 when the child died.
int RunWithFileSizeLimit(std::size_t limit, const std::function<int()>& body);
