#pragma once
// Guards for the files a command writes: an output never replaces one of the command's inputs.
#include <string>
#include <vector>

// Raises Exception when Output names the same file as one of Inputs (also through another path or a link).
void RefuseInputAsOutput(const std::string& Output, const std::vector<std::string>& Inputs);
