// Finding, reading, checking and writing brand fields in a program's bytes.
#include <gtest/gtest.h>

#include "tools/rebrand/BrandPatch.h"

namespace {

using rebrand::Bytes;

// A file with the field's text zero-filled and followed by the marker, between other bytes.
Bytes FileWithField(const std::string& text, const app::BrandMarker& marker, std::size_t before = 100,
                    std::size_t after = 50) {
  Bytes file(before, 0x90);
  Bytes field(app::kBrandFieldSize, 0);
  std::copy(text.begin(), text.end(), field.begin());
  file.insert(file.end(), field.begin(), field.end());
  file.insert(file.end(), marker.begin(), marker.end());
  file.insert(file.end(), after, 0xCC);
  return file;
}

TEST(BrandPatch, FindsTheFieldBeforeItsMarkerOnlyWhenTheMarkerIsThereOnce) {
  const Bytes one = FileWithField("Selvanic", app::kCompanyNameMarker);
  const auto found = rebrand::LocateField(one, app::kCompanyNameMarker);
  EXPECT_EQ(found.error, "");
  EXPECT_EQ(found.offset, 100u);
  EXPECT_EQ(rebrand::ReadField(one, found.offset), "Selvanic");

  EXPECT_EQ(rebrand::LocateField(one, app::kDriverBaseNameMarker).error, "marker not found");

  Bytes twice = one;
  twice.insert(twice.end(), app::kCompanyNameMarker.begin(), app::kCompanyNameMarker.end());
  EXPECT_EQ(rebrand::LocateField(twice, app::kCompanyNameMarker).error, "marker found 2 times");

  const Bytes atEnd = FileWithField("ZeZ2Idador", app::kDriverBaseNameMarker, 0, 0);
  const auto last = rebrand::LocateField(atEnd, app::kDriverBaseNameMarker);
  EXPECT_EQ(last.error, "");
  EXPECT_EQ(last.offset, 0u);
  EXPECT_EQ(rebrand::ReadField(atEnd, last.offset), "ZeZ2Idador");

  Bytes tooEarly(app::kCompanyNameMarker.begin(), app::kCompanyNameMarker.end());
  tooEarly.insert(tooEarly.begin(), 10, 'x');
  EXPECT_EQ(rebrand::LocateField(tooEarly, app::kCompanyNameMarker).error, "marker too close to the start of the file");
  EXPECT_EQ(rebrand::LocateField(Bytes{}, app::kCompanyNameMarker).error, "marker not found");
}

TEST(BrandPatch, AFullFieldIsReadNoFurtherThanItsEnd) {
  const Bytes file = FileWithField(std::string(app::kBrandFieldSize, 'A'), app::kCompanyNameMarker);
  EXPECT_EQ(rebrand::ReadField(file, 100), std::string(app::kBrandFieldSize, 'A'));
}

TEST(BrandPatch, WritingReplacesTheTextAndZeroFillsTheRest) {
  Bytes file = FileWithField("A much longer company name", app::kCompanyNameMarker);
  const Bytes before = file;
  rebrand::WriteField(file, 100, "Acme");
  EXPECT_EQ(rebrand::ReadField(file, 100), "Acme");
  for (std::size_t at = 104; at < 190; ++at) EXPECT_EQ(file[at], 0) << at;
  EXPECT_TRUE(std::equal(file.begin(), file.begin() + 100, before.begin())) << "nothing before the field changes";
  EXPECT_TRUE(std::equal(file.begin() + 190, file.end(), before.begin() + 190)) << "the marker and after stay";
}

TEST(BrandPatch, OnlyTextsThatServeAsKeyAndFileNamesPass) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"Acme", ""},
      {"Acme Optics-2 (EU)", ""},
      {std::string(app::kBrandFieldSize - 1, 'a'), ""},
      {std::string(app::kBrandFieldSize, 'a'), "the name is longer than 89 characters"},
      {"", "the name is empty"},
      {"Acme\\Optics", "the name holds '\\', which Windows forbids in names"},
      {"Acme/Optics", "the name holds '/', which Windows forbids in names"},
      {"Ac:me", "the name holds ':', which Windows forbids in names"},
      {"Ac*me", "the name holds '*', which Windows forbids in names"},
      {"Ac?me", "the name holds '?', which Windows forbids in names"},
      {"Ac\"me", "the name holds '\"', which Windows forbids in names"},
      {"Ac<me", "the name holds '<', which Windows forbids in names"},
      {"Ac>me", "the name holds '>', which Windows forbids in names"},
      {"Ac|me", "the name holds '|', which Windows forbids in names"},
      {"Acme\t", "the name holds a control character"},
      {"Acm\xC3\xA9", "the name holds a non-ASCII character"},
      {"Acme.", "the name ends in a space or a dot"},
      {"Acme ", "the name ends in a space or a dot"},
      {" Acme", "the name starts with a space"},
      {"CON", "the name is reserved for a device"},
      {"com1", "the name is reserved for a device"},
      {"Lpt9.x", "the name is reserved for a device"},
      {"COM0", ""},
      {"Console", ""},
  };
  for (const auto& [text, problem] : cases) EXPECT_EQ(rebrand::CheckBrandText(text), problem) << text;
}

}  // namespace
