// The real program seen from outside, as the black-box tests and the benches
// use it: Hopla-testswitch.exe in a folder of its own with a settings file,
// pressed only through the test switch; and the input logger, a window of
// another program that tells what reached it.
#ifndef HOPLA_TESTS_WIN32_HOPLA_PROGRAM_H_
#define HOPLA_TESTS_WIN32_HOPLA_PROGRAM_H_

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "wine_helpers.h"

namespace hopla::wine_test {

// A settings file for quick runs, as UTF-8 INI text: sounds off, cursor
// speed `speed` (1..8), a press long after 40 polls of 4 ms, the code run
// 400 ms after the last release. `extra` (whole sections) is appended.
std::string QuickSettings(int speed, const std::string& extra = "");

// UTF-8 text with LF line ends as the settings file holds it: code page
// 932, CR LF. And back: the settings file in `folder`, as UTF-8 text.
std::string SettingsFileBytes(const std::string& utf8);
std::string ReadSettingsFile(const std::wstring& folder);

// How long the presses of QuickSettings are held, and the quiet time.
inline constexpr int kShortPressMs = 100;
inline constexpr int kLongPressMs = 400;
inline constexpr int kPressGapMs = 150;
inline constexpr int kKeyModeHoldMs = 1500;
inline constexpr int kQuietMs = 400;

class HoplaProgram {
 public:
  // Starts Hopla-testswitch.exe in `folder` with `settings_utf8` written as
  // its Hoplar.ini (code page 932, CR LF); null when its window did not
  // come.
  static std::unique_ptr<HoplaProgram> Start(const std::wstring& folder,
                                             const std::string& settings_utf8);
  // The same with a copy of the program elsewhere (path of the .exe), its
  // window captioned `title` (the English face's is "Hopla").
  static std::unique_ptr<HoplaProgram> Start(
      const std::wstring& folder, const std::string& settings_utf8,
      const std::wstring& exe, const wchar_t* title = L"「ホプラー。」");
  // Ends the program if it still runs (through the question, else by force).
  ~HoplaProgram();
  HoplaProgram(const HoplaProgram&) = delete;
  HoplaProgram& operator=(const HoplaProgram&) = delete;

  HWND MainWindow() const { return window_; }
  ChildProcess& process() { return *process_; }

  // The switch held for `ms`.
  void Press(int ms);
  // A code: "0" a short press, "1" a long one, kPressGapMs apart. Returns
  // after the last release.
  void Enter(const std::string& marks);
  // Waits until the code entered last has run (the quiet time and a margin).
  void AwaitExecution();
  // Enter, then AwaitExecution.
  void Run(const std::string& marks);
  // The very long hold that switches key input mode on or off.
  void ToggleKeyMode();
  // Closes the window from outside and answers OK at the question. True
  // when the program ended with exit code 0.
  bool Quit();

 private:
  HoplaProgram() = default;

  TestSwitchDriver switch_;
  // The quit question's caption, in the program's face.
  const wchar_t* quit_caption_ = L"警告";
  std::unique_ptr<ChildProcess> process_;
  HWND window_ = nullptr;
};

// hopla-input-logger.exe: a window over `window` (screen coordinates) with
// a push button at `button` for the accessibility query, logging what it
// receives.
class InputLogger {
 public:
  static std::unique_ptr<InputLogger> Start(const RECT& window,
                                            const RECT& button);
  ~InputLogger();
  InputLogger(const InputLogger&) = delete;
  InputLogger& operator=(const InputLogger&) = delete;

  HWND Window() const { return window_; }
  // The lines logged so far ("ldown 300 200 shift", "keydown 9", ...),
  // without the first "ready".
  std::vector<std::string> Lines() const;
  // The lines whose first word is one of `events` (space separated).
  std::vector<std::string> LinesOf(const std::string& events) const;
  // Waits until at least `count` lines are logged.
  bool WaitForLines(size_t count, int timeout_ms) const;

 private:
  InputLogger() = default;

  TempFolder folder_;
  std::wstring log_path_;
  std::unique_ptr<ChildProcess> process_;
  HWND window_ = nullptr;
};

// The programs' folder: where the build puts Hopla.exe and its helpers.
std::wstring ProgramPath(const wchar_t* exe);

}  // namespace hopla::wine_test

#endif  // HOPLA_TESTS_WIN32_HOPLA_PROGRAM_H_
