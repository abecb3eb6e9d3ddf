#include "OutputFiles.h"

#include <filesystem>
#include <system_error>

#include "platform/rtl/Exception.h"
#include "platform/rtl/ReplacingFile.h"

void RefuseInputAsOutput(const std::string& Output, const std::vector<std::string>& Inputs) {
  for (const std::string& input : Inputs) {
    std::error_code error;
    if (std::filesystem::equivalent(Output, input, error))
      throw Exception("the output \"" + Output + "\" is the input \"" + input + "\"; it is not overwritten");
  }
}

void SaveReplacing(const std::string& Output, TStream& Content) {
  TReplacingFileStream file(Output);
  file.CopyFrom(Content, 0);
  file.Commit();
}
