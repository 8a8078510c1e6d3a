// The settings file's rules on raw bytes: reading, writing in place, and the
// integers a person (or a broken editor) may leave in it.
#include "settings/ini_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace hopla::ini {
namespace {

TEST(IniReadTest, FindsKeysOfTheFirstMatchingSectionWhateverTheLetterCase) {
  const std::string file =
      "[Mouse]\r\nspeed=3\r\n[other]\r\nspeed=9\r\n[MOUSE]\r\nspeed=7\r\n";
  EXPECT_EQ(ReadValue(file, "mouse", "SPEED"), "3");
  EXPECT_EQ(ReadValue(file, "other", "speed"), "9");
  EXPECT_EQ(ReadValue(file, "absent", "speed"), std::nullopt);
  EXPECT_EQ(ReadValue(file, "Mouse", "absent"), std::nullopt);
  EXPECT_EQ(ReadValue("", "Mouse", "speed"), std::nullopt);
}

TEST(IniReadTest, TrimsSpacesStripsQuotesSkipsCommentsAndAcceptsAnyLineEnd) {
  const std::string file =
      "  [ s ]  \n;k=commented\r k = \"quoted value\" \r\nbare\nq='x'";
  EXPECT_EQ(ReadValue(file, "s", "k"), "quoted value");
  EXPECT_EQ(ReadValue(file, "s", "q"), "x");
  EXPECT_EQ(ReadValue(file, "s", ";k"), std::nullopt);
  EXPECT_EQ(ReadValue(file, "s", "bare"), std::nullopt);
}

TEST(IniReadTest, DoubleByteTrailBytesAreNotCaseFolded) {
  // 0x83 0x41 and 0x83 0x61 are two different katakana; an ASCII-only case
  // fold of the trail byte would confuse them.
  const std::string file = "[s]\r\n\x83\x41=1\r\n";
  EXPECT_EQ(ReadValue(file, "s", "\x83\x41"), "1");
  EXPECT_EQ(ReadValue(file, "s", "\x83\x61"), std::nullopt);
}

TEST(IniReadTest, ValuesAreCutAt2047BytesWithoutSplittingACharacter) {
  const std::string long_value(5000, 'v');
  EXPECT_EQ(ReadValue("[s]\r\nk=" + long_value, "s", "k")->size(), 2047u);
  std::string kanji;
  for (int i = 0; i < 1500; ++i) kanji += "\x88\x9f";
  const auto cut = ReadValue("[s]\r\nk=" + kanji, "s", "k");
  EXPECT_EQ(cut->size(), 2046u);
}

TEST(IniReadTest, GarbageFilesReadAsAbsentWithoutCrashing) {
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>(i * 37));
  EXPECT_EQ(ReadValue(binary, "s", "k"), std::nullopt);
  const std::string megabyte_line(1 << 20, 'x');
  EXPECT_EQ(ReadValue(megabyte_line, "s", "k"), std::nullopt);
  EXPECT_EQ(ReadValue("k=1\r\nno sections at all\r\n", "s", "k"), std::nullopt);
  EXPECT_EQ(ReadValue("[s", "s", "k"), std::nullopt);
  EXPECT_EQ(ReadValue("[s]\r\nk=\x81", "s", "k"), "\x81");
}

TEST(IniWriteTest, ReplacesInPlaceAndLeavesEverythingElseByteForByte) {
  const std::string file =
      "; mine\n[a]\nx = 1\r\ny=2\r\n\r\n[b]\r\nz=3\r\n[unknown]\r\nw=4";
  EXPECT_EQ(WriteValue(file, "A", "X", "9"),
            "; mine\n[a]\nX=9\r\ny=2\r\n\r\n[b]\r\nz=3\r\n[unknown]\r\nw=4");
}

TEST(IniWriteTest, AppendsAMissingKeyAtTheEndOfItsSection) {
  const std::string file = "[a]\r\nx=1\r\n\r\n[b]\r\nz=3\r\n";
  EXPECT_EQ(WriteValue(file, "a", "y", "2"),
            "[a]\r\nx=1\r\ny=2\r\n\r\n[b]\r\nz=3\r\n");
  EXPECT_EQ(WriteValue("[a]", "a", "y", "2"), "[a]\r\ny=2\r\n");
  EXPECT_EQ(WriteValue("[a]\r\nx=1", "a", "y", "2"), "[a]\r\nx=1\r\ny=2\r\n");
}

TEST(IniWriteTest, AppendsAMissingSectionAtTheEndAndCreatesAFile) {
  EXPECT_EQ(WriteValue("", "a", "x", "1"), "[a]\r\nx=1\r\n");
  EXPECT_EQ(WriteValue("[a]\r\nx=1\r\n", "b", "y", "2"),
            "[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n");
  EXPECT_EQ(WriteValue("[a]\r\nx=1", "b", "y", "2"),
            "[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n");
}

TEST(IniWriteTest, ALineEndInAValueCannotForgeOtherKeys) {
  const std::string file =
      WriteValue("", "UseJoyToKey", "folder", "C:\\x\\\r\n[s]\r\nk=1");
  EXPECT_EQ(file, "[UseJoyToKey]\r\nfolder=C:\\x\\\r\n");
  EXPECT_EQ(ReadValue(file, "s", "k"), std::nullopt);
}

TEST(IniIntegerTest, DecimalAndThreeHexadecimalForms) {
  EXPECT_EQ(ParseInteger("0"), 0);
  EXPECT_EQ(ParseInteger("12"), 12);
  EXPECT_EQ(ParseInteger(" 7 "), 7);
  EXPECT_EQ(ParseInteger("-3"), -3);
  EXPECT_EQ(ParseInteger("0x6"), 6);
  EXPECT_EQ(ParseInteger("0X1f"), 31);
  EXPECT_EQ(ParseInteger("$96"), 150);
  EXPECT_EQ(ParseInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseInteger("-2147483648"), INT32_MIN);
}

TEST(IniIntegerTest, AnythingElseIsNotANumber) {
  for (const char* text :
       {"", "abc", "yes", "0x", "$", "1.5", "12a", "--1", "2147483648",
        "99999999999999999999", "0x1FFFFFFFF"}) {
    EXPECT_EQ(ParseInteger(text), std::nullopt) << text;
  }
}

}  // namespace
}  // namespace hopla::ini
