#pragma once
// The files the tools write: an output never replaces one of the command's inputs, and it is replaced
// only by complete content.
#include <string>
#include <vector>

#include "platform/rtl/Stream.h"

// Raises Exception when Output names the same file as one of Inputs (also through another path or a link).
void RefuseInputAsOutput(const std::string& Output, const std::vector<std::string>& Inputs);

// Copies the whole of Content into Output through a temporary file beside it (checked writes, fsync),
// renamed over Output only when the copy is complete; on failure the temporary is removed and Output is
// left as it was. Memory stays flat.
void SaveReplacing(const std::string& Output, TStream& Content);
