#include "shared/texts.h"

namespace hopla {
namespace {

// Japanese, English. Kept short enough for the places the Japanese face
// gives them.
constexpr TextFaces kTexts[] = {
    // The main window.
    {{"「ホプラー。」", "Hopla"}},
    {{"「ホプラー。」Ver2.10", "Hopla Ver2.10"}},
    {{"マウス移動を8方向にする", "Walk in 8 directions"}},
    {{"左右上下端で折り返す", "Turn at the edges"}},
    {{"キー入力モードでJoyToKeyを使う", "JoyToKey in key input mode"}},
    {{"ここにチェックを入れる場合は、JoyToKeyを先にインストールする必要があり"
      "ます。",
      "Install JoyToKey before you tick this."}},
    {{"000で速度速める", "000 speeds up"}},
    {{"最小化で起動する", "Start minimised"}},
    {{"音を出す", "Sounds"}},
    {{"カーソル移動速度", "Cursor speed"}},
    {{"遅い", "Slow"}},
    {{"早い", "Fast"}},
    {{"長押し判定時間", "Long press after"}},
    {{"短い", "Short"}},
    {{"長い", "Long"}},
    {{"実行までの時間", "Quiet time"}},
    {{"キー入力モードへ", "Hold for key"}},
    {{"入る長押し時間", "input mode"}},
    {{"最小化", "Min."}},
    {{"001でも最小化します", "Code 001 minimises too"}},
    {{"1010でもヘルプ表示できます", "Code 1010 opens the help too"}},
    {{"終了", "Quit"}},
    {{" ブレーキモード ", " Brake "}},
    {{"なし", "Off"}},
    {{"ブレーキ\x1F弱", "L"}},
    {{"ブレーキ\x1F中", "M"}},
    {{"ブレーキ\x1F強", "H"}},
    {{"中", "Mid"}},
    {{"アイコン", "Icon"}},
    {{"スクロールバー", "Scroll bar"}},
    {{"スタートメニュー", "Start"}},
    {{"チェックBOX", "Checkbox"}},
    {{"テキストBOX", "Text box"}},
    {{"トレイ/タブ", "Tray / tab"}},
    {{"ボタン", "Button"}},
    {{"メニューバー", "Menu bar"}},
    {{"ラジオボタン", "Radio"}},
    {{"リンク", "Link"}},
    {{"マウスカーソル移動が自動でスローダウンします",
      "The cursor slows down over these by itself"}},
    {{"未使用", "Unused"}},
    {{"「ポムラボ。」プロジェクト", "The Pomlab project"}},
    {{"ホームページに接続", "Open the home page"}},
    {{"Ｖｅｒ ２．１０", "Ver 2.10"}},
    {{"拡張設定...", "More settings..."}},
    {{"一時停止", "Pause"}},
    {{"キーボード", "Keyboard"}},
    {{"　JoyToKeyを探しています…", "  Looking for JoyToKey..."}},
    {{"　一時停止中（スイッチを長く押し続けると再開）",
      "  Paused (hold the switch long to go on)"}},
    // The banner's sentences, and the spaces between them.
    {{"\u3000\u3000", "    "}},
    {{"\u3000", " "}},
    {{"スイッチを押す長短でマウスやキー操作ができます。",
      "Short and long presses of one switch move the mouse and type keys."}},
    {{"設定をしましたら、最小化でご利用ください。",
      "Once it is set up, minimise it and use it."}},
    {{"カンパ歓迎です。", "Donations are welcome."}},
    {{"郵便郵便振替口座", "Postal transfer account"}},
    {{"「ポムラボ。」", "Pomlab"}},
    // Boxes.
    {{"二重起動は出来ません。[ホプラー。」 はすでに実行されています！",
      "Hopla is running already: it cannot run twice."}},
    {{"｢ホプラー。」を終了しますか？", "Quit Hopla?"}},
    {{"警告", "Warning"}},
    {{"エラー", "Error"}},
    {{"JoyToKey Vre3.75以降を起動してください\n"
      "JoyToKeyを使うのチェックはクリアされました",
      "Please start JoyToKey 3.75 or later.\n"
      "\"Use JoyToKey\" has been cleared."}},
    {{"JoyToKeyがインストールされていません", "JoyToKey is not installed."}},
    {{" に書き込めません", " cannot be written."}},
    // The extended settings.
    {{"拡張設定", "More settings"}},
    {{"スイッチ", "Switch"}},
    {{"ジョイスティック", "Joystick"}},
    {{"番号", "No."}},
    {{"キーボードのキー", "Keyboard key"}},
    {{"選んだキーは、Hoplaの動いている間、どのキーボードからも入力されなくなり"
      "ます。",
      "Hopla takes this key from every keyboard."}},
    {{"マウスのボタン", "Mouse button"}},
    {{"右", "Right"}},
    {{"スイッチを試す", "Try the switch"}},
    {{"スイッチを押してください", "Press the switch"}},
    {{"入力中のコードを吹き出しで表示する", "Show the code in a bubble"}},
    {{"歩いている時に「01」で、進む向きの次のボタンやリンクへ跳ぶ",
      "Walking, \"01\" hops to the next button ahead"}},
    {{"歩いている時に「11」で、止まってその場でクリックする",
      "Walking, \"11\" stops and clicks there"}},
    {{"速さ5〜8を細かくする（毎秒約150・200・290・400ドット）",
      "Finer speeds 5-8 (150, 200, 290, 400 px/s)"}},
    {{"歩く代わりに、進む向きのボタンやリンクを順にたどる",
      "Step from button to button"}},
    {{"1つに", "Each"}},
    {{"秒", "s"}},
    {{"立ち止まっている時に「10」で、Hoplaのキーボードを開く・閉じる",
      "Standing, \"10\" opens or closes the keyboard"}},
    {{"Windowsの起動と同時に開始する", "Start with Windows"}},
    {{"別の場所のHoplaが登録されています：", "Another Hopla starts with it: "}},
    {{"Windowsが変更を受け付けませんでした。", "Windows refused the change."}},
    {{"一時停止のホットキー　Ctrl + Alt +", "Pause key   Ctrl + Alt +"}},
    {{"このキーはほかのプログラムが使っています。別のキーを選んでください。",
      "Another program uses this key. Please choose another."}},
    {{"閉じる", "Close"}},
    {{"押されなかったので、元のスイッチに戻しました",
      "Not pressed: the switch before is back"}},
    {{"新しいスイッチで押せました：", "Pressed with the new switch: "}},
    {{"新しいスイッチを押してください　あと",
      "Press the new switch, seconds left:"}},
    {{"短い押し（0）", "Short press (0)"}},
    {{"長い押し（1）", "Long press (1)"}},
    {{"　← 新しいキーを押してください", "  <- press the new key"}},
    {{"テンキー", "Num "}},
    {{"キー", "Key"}},
    // The code bubble.
    {{"あと", "left:"}},
    {{"キー入力モードの切り替え", "Key input mode on/off"}},
    {{"一時停止中（押し続けると再開）", "Paused (hold on to go on)"}},
    {{"一時停止を終える", "End the pause"}},
    {{"ウィンドウを閉じる", "Close the window"}},
    {{"左クリック", "Left click"}},
    {{"右クリック", "Right click"}},
    {{"ダブルクリック", "Double click"}},
    {{"中クリック", "Middle click"}},
    {{"Shift+クリック", "Shift+click"}},
    {{"Ctrl+クリック", "Ctrl+click"}},
    {{"左ボタンを押したまま", "Hold the left button"}},
    {{"ウィンドウを元に戻す", "Restore the window"}},
    {{"ウィンドウを最小化", "Minimise the window"}},
    {{"ウィンドウを最大化", "Maximise the window"}},
    {{"ウィンドウの右下隅をつかむ", "Grab the window's corner"}},
    {{"マウスソフトの操作", "Mouse software signal"}},
    {{"ヘルプ", "Help"}},
    {{"ホプラーを戻す", "Bring Hopla back"}},
    {{"向きを変える", "Turn"}},
    {{"向きを2つ進める", "Turn twice"}},
    {{"今だけ早い", "Faster for now"}},
    {{"止まる", "Stop"}},
    {{"次のボタンへ跳ぶ", "Hop to the next button"}},
    {{"止まってクリック", "Stop and click"}},
    {{"キーボードを開く・閉じる", "Open or close the keyboard"}},
    {{"歩き始める", "Start walking"}},
    {{"ブレーキを抜ける", "Pass the brake"}},
    {{"速さを戻す", "Normal speed"}},
    {{"JoyToKeyを表示", "Show JoyToKey"}},
    {{"JoyToKeyの次の設定", "JoyToKey's next setting"}},
    // Hopla's keyboard.
    {{"Hoplaのキーボード", "Hopla's keyboard"}},
    {{"押す", "Press"}},
    {{"半角/全角", "Han/Zen"}},
    {{"無変換", "NoConv"}},
    {{"変換", "Convert"}},
    // The help file of each face.
    {{"Hopla.chm", "Hopla-en.chm"}},
    // The language itself.
    {{"表示言語 / Language", "表示言語 / Language"}},
    {{"日本語", "日本語"}},
    {{"（次の起動から / from the next start）",
      "(from the next start / 次の起動から)"}},
};

}  // namespace

std::span<const TextFaces> AllTexts() { return kTexts; }

std::string Face(Language language, std::string_view japanese) {
  const size_t mark = japanese.find(kContextMark);
  const std::string_view shown =
      mark == std::string_view::npos ? japanese : japanese.substr(mark + 1);
  const auto column = static_cast<size_t>(language);
  if (language == Language::kJapanese || column >= kLanguages) {
    return std::string(shown);
  }
  for (const TextFaces& text : kTexts) {
    if (text.faces[0] == japanese) return std::string(text.faces[column]);
  }
  return std::string(shown);
}

}  // namespace hopla
