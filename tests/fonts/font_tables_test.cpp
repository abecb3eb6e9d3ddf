// Raw tables and files of faces, and faces from damaged or absent files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "FontTestSupport.h"
#include "platform/fonts/FreeTypeFace.h"

using namespace fonts_test;

namespace {
uint32_t BigEndian32(const std::string& bytes, size_t offset) {
  return (uint32_t(uint8_t(bytes[offset])) << 24) | (uint32_t(uint8_t(bytes[offset + 1])) << 16) |
         (uint32_t(uint8_t(bytes[offset + 2])) << 8) | uint8_t(bytes[offset + 3]);
}

TEST(FontTables, RawTablesOfArial) {
  auto arial = Open("Arial");
  ASSERT_TRUE(arial);
  std::string head = arial->FontData(FontTag('h', 'e', 'a', 'd'));
  ASSERT_GE(head.size(), 54u);
  EXPECT_EQ(BigEndian32(head, 12), 0x5F0F3CF5u); // magicNumber
  for (uint32_t tag : {FontTag('c', 'm', 'a', 'p'), FontTag('h', 'h', 'e', 'a'), FontTag('h', 'm', 't', 'x'),
                       FontTag('n', 'a', 'm', 'e')})
    EXPECT_FALSE(arial->FontData(tag).empty()) << std::hex << tag;
  EXPECT_TRUE(arial->FontData(FontTag('z', 'z', 'z', 'z')).empty());
  std::string file = arial->FontFile();
  ASSERT_GE(file.size(), 12u);
  EXPECT_EQ(BigEndian32(file, 0), 0x00010000u); // a TrueType outline file
  EXPECT_EQ(file.size(), std::filesystem::file_size(arial->Location().File));
}

std::string WriteFile(const std::string& name, const std::string& bytes) {
  std::string path = std::string(ZVP_TEST_OUTPUT_DIR) + "/" + name;
  std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
  return path;
}

// Every accessor of a face from a damaged file answers without crashing.
void ExerciseFace(const TFontFace& face) {
  face.TextMetrics(-1000);
  face.TextMetrics(12);
  face.OutlineMetrics();
  face.AnsiWidths(238);
  face.AnsiWidths(2);
  for (char32_t c : {U'A', U'\u0105', char32_t(0xF041)})
    face.GlyphAdvance(face.GlyphIndex(c));
  for (uint32_t tag : {FontTag('c', 'm', 'a', 'p'), FontTag('h', 'e', 'a', 'd'), FontTag('h', 'm', 't', 'x')})
    face.FontData(tag);
  face.FontFile();
}

TEST(FontTables, DamagedOrAbsentFilesNeverCrash) {
  std::string good = Open("Arial")->FontFile();
  ASSERT_GT(good.size(), 4096u);
  std::string scrambledDirectory = good;
  for (size_t i = 12; i < 12 + 16 * 8 && i < scrambledDirectory.size(); ++i)
    scrambledDirectory[i] = static_cast<char>(0xFF ^ (i * 37));
  std::string hollow = good;
  std::fill(hollow.begin() + 2048, hollow.end(), '\xFF');
  struct {
    const char* Name;
    std::string Bytes;
  } cases[] = {{"empty.ttf", ""},
               {"text.ttf", "this is not a font at all"},
               {"truncated.ttf", good.substr(0, 1024)},
               {"half.ttf", good.substr(0, good.size() / 2)},
               {"directory.ttf", scrambledDirectory},
               {"hollow.ttf", hollow}};
  for (const auto& c : cases) {
    TFontLocation location;
    location.File = WriteFile(std::string("damaged-") + c.Name, c.Bytes);
    auto face = LoadFreeTypeFace(location, 0);
    if (face) ExerciseFace(*face);
    SUCCEED() << c.Name;
  }
  TFontLocation absent;
  absent.File = std::string(ZVP_TEST_OUTPUT_DIR) + "/no-such-font.ttf";
  EXPECT_EQ(LoadFreeTypeFace(absent, 0), nullptr);
  absent.FaceIndex = 7; // a face the file does not have
  absent.File = Open("Arial")->Location().File;
  EXPECT_EQ(LoadFreeTypeFace(absent, 0), nullptr);
}
} // namespace
