#include "OutputFiles.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/rtl/Exception.h"

void RefuseInputAsOutput(const std::string& Output, const std::vector<std::string>& Inputs) {
  for (const std::string& input : Inputs) {
    std::error_code error;
    if (std::filesystem::equivalent(Output, input, error))
      throw Exception("the output \"" + Output + "\" is the input \"" + input + "\"; it is not overwritten");
  }
}

void SaveReplacing(const std::string& Output, TStream& Content) {
  const std::string part = Output + ".part";
  try {
    {
      TFileStream file(part, fmCreate);
      file.CopyFrom(Content, 0);
    }
    if (std::rename(part.c_str(), Output.c_str()) != 0) throw EFCreateError(Output, SysErrorMessage(errno));
  } catch (...) {
    std::remove(part.c_str());
    throw;
  }
}
