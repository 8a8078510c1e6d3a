#include "hopla_program.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/codepage.h"

namespace hopla::wine_test {
namespace {

constexpr int kStartTimeoutMs = 20000;
constexpr int kBoxTimeoutMs = 10000;
constexpr int kExitTimeoutMs = 10000;
constexpr int kExecutionMarginMs = 300;
// A cursor placed in the moments after a new window took the focus can be
// put back by Wine's X11 driver, and the clicks land elsewhere: let the new
// program settle first.
constexpr int kSettleMs = 500;
constexpr wchar_t kLoggerTitle[] = L"Hopla input logger";

std::wstring RectArguments(const RECT& r) {
  return std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
         std::to_wstring(r.right) + L" " + std::to_wstring(r.bottom);
}

}  // namespace

std::string SettingsFileBytes(const std::string& utf8) {
  std::string crlf;
  for (char c : utf8) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return Utf8ToCp932(crlf).value_or("");
}

std::string ReadSettingsFile(const std::wstring& folder) {
  std::ifstream file{std::filesystem::path(folder + L"\\Hoplar.ini"),
                     std::ios::binary};
  const std::string bytes((std::istreambuf_iterator<char>(file)),
                          std::istreambuf_iterator<char>());
  return Cp932ToUtf8(bytes);
}

std::wstring ProgramPath(const wchar_t* exe) {
  return ToWide(HOPLA_EXE_DIR) + L"/" + exe;
}

std::string QuickSettings(int speed, const std::string& extra) {
  return "[マウス]\nマウス移動速度=" + std::to_string(speed) +
         "\n画面端折り返し=1\n8方向=0\n今だけ早い=1\n"
         "[サウンド]\n音を出す=0\n"
         "[タイマー]\n長押し判定時間=3\n実行までの時間=1\n"
         "キー入力移行の時間=1\n" +
         extra;
}

std::unique_ptr<HoplaProgram> HoplaProgram::Start(
    const std::wstring& folder, const std::string& settings_utf8) {
  return Start(folder, settings_utf8, ProgramPath(L"Hopla-testswitch.exe"));
}

std::unique_ptr<HoplaProgram> HoplaProgram::Start(
    const std::wstring& folder, const std::string& settings_utf8,
    const std::wstring& exe, const wchar_t* title) {
  std::unique_ptr<HoplaProgram> program(new HoplaProgram());
  if (!program->switch_.ok()) return nullptr;
  std::ofstream(std::filesystem::path(folder + L"\\Hoplar.ini"),
                std::ios::binary)
      << SettingsFileBytes(settings_utf8);
  program->process_ = ChildProcess::Start(exe, L"", folder);
  if (program->process_ == nullptr) return nullptr;
  if (std::wstring(title) == L"Hopla") program->quit_caption_ = L"Warning";
  program->window_ =
      FindVisibleWindow(L"", title, kStartTimeoutMs, program->process_->id());
  if (program->window_ == nullptr) return nullptr;
  Sleep(kSettleMs);
  return program;
}

HoplaProgram::~HoplaProgram() {
  switch_.SetDown(false);
  if (process_ != nullptr && !process_->ExitCode().has_value() &&
      IsWindow(window_)) {
    Quit();
  }
}

void HoplaProgram::Press(int ms) {
  switch_.SetDown(true);
  Sleep(static_cast<DWORD>(ms));
  switch_.SetDown(false);
}

void HoplaProgram::Enter(const std::string& marks) {
  for (size_t i = 0; i < marks.size(); ++i) {
    if (i > 0) Sleep(kPressGapMs);
    Press(marks[i] == '1' ? kLongPressMs : kShortPressMs);
  }
}

void HoplaProgram::AwaitExecution() { Sleep(kQuietMs + kExecutionMarginMs); }

void HoplaProgram::Run(const std::string& marks) {
  Enter(marks);
  AwaitExecution();
}

void HoplaProgram::ToggleKeyMode() { Press(kKeyModeHoldMs); }

bool HoplaProgram::Quit() {
  PostMessageW(window_, WM_CLOSE, 0, 0);
  HWND question = FindMessageBox(quit_caption_, kBoxTimeoutMs, process_->id());
  if (question == nullptr) return false;
  PressMessageBoxButton(question, IDOK);
  return process_->WaitForExit(kExitTimeoutMs) && process_->ExitCode() == 0u;
}

std::unique_ptr<InputLogger> InputLogger::Start(const RECT& window,
                                                const RECT& button) {
  std::unique_ptr<InputLogger> logger(new InputLogger());
  logger->log_path_ = logger->folder_.path() + L"\\events.log";
  logger->process_ = ChildProcess::Start(ProgramPath(L"hopla-input-logger.exe"),
                                         L"\"" + logger->log_path_ + L"\" " +
                                             RectArguments(window) + L" " +
                                             RectArguments(button),
                                         L"");
  if (logger->process_ == nullptr) return nullptr;
  logger->window_ = FindVisibleWindow(L"", kLoggerTitle, kStartTimeoutMs,
                                      logger->process_->id());
  if (logger->window_ == nullptr) return nullptr;
  return logger;
}

InputLogger::~InputLogger() { process_.reset(); }

std::vector<std::string> InputLogger::Lines() const {
  std::vector<std::string> lines;
  std::ifstream log{std::filesystem::path(log_path_)};
  std::string line;
  while (std::getline(log, line)) {
    if (line != "ready") lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> InputLogger::LinesOf(const std::string& events) const {
  std::vector<std::string> found;
  const std::string wanted = " " + events + " ";
  for (const std::string& line : Lines()) {
    const std::string event = line.substr(0, line.find(' '));
    if (wanted.find(" " + event + " ") != std::string::npos) {
      found.push_back(line);
    }
  }
  return found;
}

bool InputLogger::WaitForLines(size_t count, int timeout_ms) const {
  return WaitUntil([&] { return Lines().size() >= count; }, timeout_ms);
}

}  // namespace hopla::wine_test
