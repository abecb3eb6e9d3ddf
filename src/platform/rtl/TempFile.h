#pragma once
#include <string>

// The temporary directory: $TMPDIR when set and non-empty, else /tmp. Ends without a slash.
std::string TempDirectory();
// Creates a new, empty, uniquely named file "ZVP<unique>.tmp" in the temporary directory and returns its full
// path. Raises EFCreateError when no such file can be made.
std::string TempFileName();
