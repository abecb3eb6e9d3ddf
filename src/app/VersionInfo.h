#pragma once
// The program's version information: the file version and the product name and commit identifier strings.
// The block is compiled in from the build (BuildInfo.h); a TVersionInfo without a block answers zero
// numbers and empty strings.
#include <cstdint>
#include <optional>
#include <string>

struct TVersionNumber {
  uint16_t major = 0, minor = 0, point = 0, build = 0;

  void init() { *this = TVersionNumber{}; }
  // Empty when major and minor are both 0. Numbers 3: "%d.%d.%2d" of major, minor, point; 4: all four as
  // "%d.%d.%d.%d"; otherwise "%d.%2d" of major, minor; blanks become "0" ("2.00", "1.5.03").
  std::string info(int Numbers) const;
  std::string info(bool Is3Numbers) const { return info(Is3Numbers ? 3 : 0); }
};

struct TVersionBlock {
  TVersionNumber FileVersion;
  std::string ProductName;
  std::string cHash;
};

// The block of this build.
TVersionBlock BuildVersionBlock();

class TVersionInfo {
 public:
  // The running program's block.
  TVersionInfo() : FData(BuildVersionBlock()) {}
  explicit TVersionInfo(std::optional<TVersionBlock> Data) : FData(std::move(Data)) {}

  TVersionNumber getNumber() const;
  std::string getInfo(int Numbers) const { return getNumber().info(Numbers); }
  std::string getInfo(bool Is3Numbers) const { return getNumber().info(Is3Numbers); }
  std::string getProductName() const { return FData ? FData->ProductName : std::string(); }
  std::string getcHash() const { return FData ? FData->cHash : std::string(); }

 private:
  std::optional<TVersionBlock> FData;
};

// The version text of the About box: getInfo(Is3Numbers), then " (build: N)" when the build is not 0.
std::string AboutVersionText(const TVersionInfo& Info, bool Is3Numbers);
// The commit identifier, or "Niedostępny" when there is none.
std::string CommitIdText(const TVersionInfo& Info);
