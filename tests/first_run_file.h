// What a first run writes to the settings file (UTF-8 here; the file holds
// it in code page 932): every setting at its default, sections apart by one
// blank line, CR LF line ends.
#ifndef HOPLA_TESTS_FIRST_RUN_FILE_H_
#define HOPLA_TESTS_FIRST_RUN_FILE_H_

namespace hopla {

inline constexpr char kFirstRunFile[] =
    "[マウス]\r\n"
    "マウス移動速度=3\r\n"
    "画面端折り返し=1\r\n"
    "8方向=0\r\n"
    "今だけ早い=1\r\n"
    "\r\n"
    "[サウンド]\r\n"
    "音を出す=1\r\n"
    "\r\n"
    "[起動]\r\n"
    "最小化=0\r\n"
    "\r\n"
    "[UseJoyToKey]\r\n"
    "JoyToKeyの利用=0\r\n"
    "\r\n"
    "[タイマー]\r\n"
    "長押し判定時間=3\r\n"
    "実行までの時間=4\r\n"
    "キー入力移行の時間=5\r\n"
    "\r\n"
    "[ブレーキ]\r\n"
    "強さ=1\r\n"
    "アイコン=0\r\n"
    "スクロールバー=0\r\n"
    "チェックBOX=0\r\n"
    "テキストBOX=0\r\n"
    "トレイ/タブ=0\r\n"
    "ボタン=0\r\n"
    "メニューバー=0\r\n"
    "ラジオボタン=0\r\n"
    "\r\n"
    "[バージョン]\r\n"
    "Ver=「ホプラー。」Ver2.10\r\n";

}  // namespace hopla

#endif  // HOPLA_TESTS_FIRST_RUN_FILE_H_
