// Damaged reports, each with the error it must end in. Fixtures are five-page reports made by the page
// list and then damaged in one place.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "../metafile/ExpectError.h"
#include "ReportFixture.h"
#include "platform/rtl/Exception.h"

using fixture::I32;
using miniemf::Put32;

namespace {
enum class Error { Read, Damaged, NotValid };

struct DamageCase {
  const char* name;
  bool compression;
  int32_t page; // the page whose reading meets the damage; 0: loading does
  Error error;
  // Damages the report (record starts r) and returns the message expected ("" for the fixed texts).
  std::function<std::string(std::vector<uint8_t>& b, const std::vector<size_t>& r)> damage;
};

std::string N(int64_t v) {
  return std::to_string(v);
}

void Check(const DamageCase& c) {
  SCOPED_TRACE(c.name);
  std::vector<uint8_t> b = fixture::ReportBytes(5, c.compression);
  const std::vector<size_t> r = fixture::RecordStarts(b);
  std::string message = c.damage(b, r);
  if (c.error == Error::Read) message = "Stream read error";
  if (c.error == Error::NotValid) message = "Metafile is not valid";
  TZVPageList list;
  const auto act = [&] {
    fixture::Load(list, b);
    if (c.page) list.GetPage(c.page);
  };
  switch (c.error) {
  case Error::Read:
    ExpectError<EReadError>(act, message);
    break;
  case Error::Damaged:
    ExpectError<EDamagedData>(act, message);
    break;
  case Error::NotValid:
    ExpectError<EInvalidGraphic>(act, message);
    break;
  }
  if (c.page == 0) {
    EXPECT_EQ(list.PageCount(), 0);
  }
}
} // namespace

TEST(DamagedReport, HeaderErrorsStopTheLoad) {
  const DamageCase cases[] = {
      {"a finished report without pages", false, 0, Error::Read,
       [](auto& b, auto&) {
         b.resize(120);
         Put32(b, 5, 0);
         return "";
       }},
      {"shorter than a header", false, 0, Error::Read,
       [](auto& b, auto&) {
         b.resize(60);
         return "";
       }},
      {"negative page count", false, 0, Error::Damaged,
       [](auto& b, auto&) {
         Put32(b, 5, static_cast<uint32_t>(-1));
         return "Damaged report: the header gives a negative page count (-1)";
       }},
      {"more pages than the file can hold", true, 0, Error::Damaged,
       [](auto& b, auto&) {
         Put32(b, 5, 1000);
         return "Damaged report: the header gives 1000 pages, more than its " + N(b.size() - 120) +
                " bytes of page records can hold";
       }},
  };
  for (const auto& c : cases)
    Check(c);
}

TEST(DamagedReport, BrokenChainsEndInAnErrorNamingThePlace) {
  const DamageCase cases[] = {
      {"next offset past the end", false, 1, Error::Damaged,
       [](auto& b, auto&) {
         Put32(b, 124, static_cast<uint32_t>(b.size() + 10));
         return "Damaged report: the page record at offset 120 is cut short: it ends at offset " +
                N(b.size() + 10) + ", past the end of the " + N(b.size()) + "-byte file";
       }},
      {"next offset pointing back at itself", false, 2, Error::Damaged,
       [](auto& b, auto&) {
         Put32(b, 124, 120);
         return "Damaged report: the page record at offset 120 gives an impossible next-record offset 120";
       }},
      {"last record outside the file", true, 5, Error::Damaged,
       [](auto& b, auto&) {
         Put32(b, b.size() - 4, static_cast<uint32_t>(b.size() + 100));
         return "Damaged report: a page record is expected at offset " + N(b.size() + 100) +
                ", outside the page records of the " + N(b.size()) + "-byte file";
       }},
      {"a page number never met", false, 2, Error::Damaged,
       [](auto& b, auto& r) {
         Put32(b, r[1], 7);
         return "Damaged report: page 2 is missing from the page chain (the walk stopped at page 7, offset " +
                N(r[1]) + ")";
       }},
      {"backward link to the wrong record", true, 4, Error::Damaged,
       [](auto& b, auto& r) {
         Put32(b, r[4] - 4, static_cast<uint32_t>(r[2]));
         return "Damaged report: the page record at offset " + N(r[4]) + " names offset " + N(r[2]) +
                " as the record before it, which names offset " + N(r[3]) + " as its next";
       }},
      {"record ending with another offset", false, 1, Error::Damaged,
       [](auto& b, auto& r) {
         Put32(b, r[1] - 4, 7);
         return "Damaged report: the record of page 1 at offset 120 ends with the offset 7 instead of its "
                "own";
       }},
      {"file cut in the last record", false, 4, Error::Damaged,
       [](auto& b, auto&) {
         b.resize(b.size() - 10); // the last four bytes now come from the page's end record
         return "Damaged report: a page record is expected at offset 1048576, outside the page records of "
                "the " +
                N(b.size()) + "-byte file";
       }},
  };
  for (const auto& c : cases)
    Check(c);
}

TEST(DamagedReport, DamagedPagesEndInAnError) {
  const DamageCase cases[] = {
      {"metafile shorter than its record", false, 1, Error::Damaged,
       [](auto& b, auto& r) {
         const int32_t e = I32(b, 128 + 48);
         Put32(b, 128 + 48, static_cast<uint32_t>(e - 20));
         return "Damaged report: the record of page 1 at offset 120 has room for " + N(r[1] - 132) +
                " bytes, but its metafile has " + N(e - 20);
       }},
      {"metafile longer than the file", false, 2, Error::Read,
       [](auto& b, auto& r) {
         Put32(b, r[1] + 8 + 48, 0x7FFFFFFF);
         return "";
       }},
      {"compressed pages read as plain", true, 1, Error::NotValid,
       [](auto& b, auto&) {
         b[18] = 0;
         return "";
       }},
      {"code bytes end early", true, 3, Error::Read,
       [](auto& b, auto& r) {
         Put32(b, r[2] + 8, static_cast<uint32_t>(I32(b, r[2] + 8) + 100));
         return "";
       }},
      {"page length beyond any code", true, 3, Error::Read,
       [](auto& b, auto& r) {
         Put32(b, r[2] + 8, 0x7FFFFFFF);
         return "";
       }},
      {"negative page length", true, 1, Error::Damaged,
       [](auto& b, auto&) {
         Put32(b, 128, static_cast<uint32_t>(-5));
         return "Damaged report: the record of page 1 at offset 120 gives a negative page length (-5)";
       }},
      {"code bytes left over", true, 1, Error::Damaged,
       [](auto& b, auto& r) {
         Put32(b, 128, 0);
         return "Damaged report: the record of page 1 at offset 120 holds " + N(r[1] - 136) +
                " code bytes, but its page used 0";
       }},
  };
  for (const auto& c : cases)
    Check(c);
}

TEST(DamagedReport, OtherPagesStayReadable) {
  std::vector<uint8_t> b = fixture::ReportBytes(5, true);
  const auto r = fixture::RecordStarts(b);
  Put32(b, r[2] + 8, 0x7FFFFFFF); // page 3 is lost
  TZVPageList list;
  fixture::Load(list, b);
  EXPECT_THROW(list.GetPage(3), EReadError);
  for (int32_t n : {1, 2, 4, 5})
    EXPECT_EQ(list.GetPage(n)->Bytes(), fixture::Page(n).Bytes());
}
