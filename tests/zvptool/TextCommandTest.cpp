// zvptool text: the text of reports and metafiles in reading order.
#include <gtest/gtest.h>

#include <sstream>

#include "ToolRunner.h"
#include "platform/emfwriter/EmfWriter.h"

namespace {

std::string Sample(const char* file) {
  return std::string(ZVP_SOURCE_DIR) + "/samples/" + file;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

} // namespace

TEST(TextCommand, ReadsTheSampleInvoiceAsAPersonReadsIt) {
  TScratch s;
  TRunResult r = s.Run("zvptool", {"text", Sample("faktura.zvp"), "--page", "1"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  ASSERT_FALSE(r.Out.empty());
  EXPECT_EQ(r.Out.back(), '\f');
  // What make-samples drew on page 1, line by line from the top: the heading (the seller's name beside
  // the title), the parties side by side, the table's header and rows, the carried total and the footer.
  const std::vector<std::string> expected = {
      "Zakład Usług Technicznych „Łęgowo” sp. z o.o.",
      "Faktura VAT",
      "ul. Źródlana 7, 80-180 Gdańsk",
      "nr FV/2026/12/0147",
      "NIP 584-000-12-34 · tel. 58 000 12 34",
      "Data wystawienia: 01.12.2026, Gdańsk",
      "Sprzedawca: Nabywca:",
      "Zakład Usług Technicznych „Łęgowo” sp. z o.o. Przedsiębiorstwo Handlowe „Ślęża-Żuraw” s.c.",
      "ul. Źródlana 7 ul. Ogrodowa 15/3",
      "80-180 Gdańsk 50-011 Wrocław",
      "NIP 584-000-12-34 NIP 897-000-56-78",
      "Data sprzedaży: 30.11.2026 Konto: 00 1020 0000 0000 0000 1234 5678",
      "Termin płatności: 15.12.2026 (przelew) Bank: Powszechny Bank Spółdzielczy",
      "Lp. Nazwa towaru lub usługi J.m. Ilość Cena netto Wartość netto VAT Wartość brutto",
      "1 Łożysko kulkowe 6204-2RS szt. 1 3,50 3,50 23% 4,31",
      "2 Śruba imbusowa M8×40, ocynk szt. 8 82,69 661,52 23% 813,67",
  };
  std::vector<std::string> lines = Lines(r.Out.substr(0, r.Out.size() - 1));
  ASSERT_GE(lines.size(), expected.size() + 2);
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
  EXPECT_EQ(lines.size(), expected.size() + 26 + 2); // 28 rows in all
  EXPECT_EQ(lines[lines.size() - 2], "Do przeniesienia 99 435,14");
  EXPECT_EQ(lines.back(), "Faktura FV/2026/12/0147 · oryginał Strona 1 z 3");
}

TEST(TextCommand, WritesEveryPageEndedByAFormFeedIntoAFile) {
  TScratch s;
  TRunResult r = s.Run("zvptool", {"text", Sample("zestawienie.zvp"), "-o", "out.txt"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_TRUE(r.Out.empty());
  std::vector<uint8_t> bytes = ReadBytes(s.Path("out.txt"));
  const std::string text(bytes.begin(), bytes.end());
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 5);
  EXPECT_EQ(text.back(), '\f');
  TRunResult page = s.Run("zvptool", {"text", Sample("zestawienie.zvp"), "--page", "5"});
  ASSERT_EQ(page.Status, 0) << page.Err;
  EXPECT_EQ(text.substr(text.size() - page.Out.size()), page.Out); // the last page alone is the file's end
  EXPECT_FALSE(s.PartFilesLeft());
}

TEST(TextCommand, ReadsASingleMetafile) {
  TScratch s;
  TEmfWriter w(300, 100);
  w.SelectObject(w.CreateFont({.Face = "Arial", .Height = -16}));
  w.TextOut(10, 10, "Zażółć gęślą jaźń");
  w.ToMetafile().SaveToFile(s.Path("page.emf"));
  TRunResult r = s.Run("zvptool", {"text", "page.emf"});
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, "Zażółć gęślą jaźń\n\f");
}

TEST(TextCommand, FailsWithAMessageAndLeavesNoOutput) {
  TScratch s;
  std::vector<uint8_t> report = ReadBytes(Sample("zestawienie.zvp")); // uncompressed pages
  report.resize(report.size() / 2);
  WriteBytes(s.Path("cut.zvp"), report);
  WriteBytes(s.Path("old.txt"), {'o', 'l', 'd'});
  struct TCase {
    std::vector<std::string> args;
    int status;
  } cases[] = {
      {{"text", "cut.zvp", "-o", "old.txt"}, 1},
      {{"text", "missing.zvp"}, 1},
      {{"text", Sample("faktura.zvp"), "--page", "4", "-o", "old.txt"}, 1},
      {{"text", Sample("faktura.zvp"), "--page", "x"}, 2},
      {{"text"}, 2},
  };
  for (const TCase& c : cases) {
    TRunResult r = s.Run("zvptool", c.args);
    EXPECT_EQ(r.Status, c.status) << c.args[1];
    EXPECT_FALSE(r.Err.empty()) << c.args[1];
  }
  EXPECT_EQ(ReadBytes(s.Path("old.txt")), (std::vector<uint8_t>{'o', 'l', 'd'}));
  EXPECT_FALSE(s.PartFilesLeft());
}
