// The program's texts in their two faces: the table holds both for every
// text, and in the English face no window, hint, menu, box, bubble or
// keyboard of the program shows a Japanese character (but the language
// choice, which names itself in both), and the help opened is the English.
#include "shared/texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/keyboard.h"
#include "hopla_fixture.h"
#include "platform/codepage.h"
#include "platform/sim/sim_widgets.h"

namespace hopla {
namespace {

// A character of the Japanese scripts or a full-width form, in UTF-8.
bool HasJapanese(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0xE3 && byte <= 0xE9) return true;
    if (byte == 0xEF && i + 1 < text.size() &&
        static_cast<unsigned char>(text[i + 1]) >= 0xBC &&
        static_cast<unsigned char>(text[i + 1]) <= 0xBF) {
      return true;
    }
  }
  return false;
}

TEST(TextsTest, EveryTextHasEveryFaceOnce) {
  std::set<std::string_view> seen;
  for (const TextFaces& text : AllTexts()) {
    EXPECT_TRUE(seen.insert(text.faces[0]).second) << text.faces[0];
    for (std::string_view face : text.faces) {
      EXPECT_FALSE(face.empty()) << text.faces[0];
    }
  }
}

class EnglishFaceTest : public HoplaTest {};

TEST_F(EnglishFaceTest, NothingShownIsJapaneseButTheLanguageChoice) {
  desk_.PutFile(kSettingsFile,
                *Utf8ToCp932("[拡張設定]\r\n表示言語=1\r\nキーボード=1\r\n"));
  Start();
  ASSERT_EQ(State().TextLanguage, Language::kEnglish);
  const WindowHandle window = hopla_->Handle();
  process_->PostAt(desk_.Now(), window, kWmSysCommand, kExtendedSettingsCommand,
                   0);
  process_->PostAt(desk_.Now(), window, kWmSysCommand, kPauseCommand, 0);
  desk_.RunFor(200);
  Do([this] { State().PressCode.Set("10"); });
  desk_.RunFor(100);  // the bubble says what "10" will do
  desk_.RunFor(2000);
  process_->PostAt(desk_.Now(), window, kWmSysCommand, kKeyboardCommand, 0);
  desk_.RunFor(200);
  const std::set<std::string> bilingual = {
      "表示言語 / Language", "日本語", "(from the next start / 次の起動から)"};
  for (sim::SimWidget* widget : desk_.Widgets()) {
    if (bilingual.count(widget->Text()) != 0) continue;
    EXPECT_FALSE(HasJapanese(widget->Text())) << widget->Text();
    EXPECT_FALSE(HasJapanese(widget->Hint())) << widget->Hint();
    for (const auto& item : widget->CreatedAs().system_menu) {
      EXPECT_FALSE(HasJapanese(item.caption)) << item.caption;
    }
  }
  for (const WindowInfo& info : desk_.Windows()) {
    EXPECT_FALSE(HasJapanese(info.title)) << info.title;
  }
  Do([this] { hopla_->HelpButtonClick(*hopla_); });
  ASSERT_FALSE(desk_.TraceOf("shell").empty());
  EXPECT_EQ(desk_.TraceOf("shell").back().text, "Hopla-en.chm")
      << "the English help";
  // The close's save is refused: its box too.
  desk_.RefuseWrites(kSettingsFile, true);
  Do([this] { hopla_->ShuuryouBtnClick(*hopla_); });
  desk_.RunFor(100);
  EXPECT_GE(desk_.TraceOf("msgbox").size(), 2u)
      << "the question and the refusal";
  for (const auto& entry : desk_.Trace()) {
    if (entry.kind == "msgbox" || entry.kind == "bubble") {
      EXPECT_FALSE(HasJapanese(entry.text)) << entry.kind << " " << entry.text;
    }
  }
}

}  // namespace
}  // namespace hopla
