#pragma once
// Dialog resource ids, which key the language tables ("IDD<dialog>_..."), and the control ids
// that the tables hold captions for where no other header defines them.

enum DialogId : int
{
    IDD_DIALOG_MUSIC = 313,  // input page
    IDD_DIALOG_DELAY = 333,  // delay page
    IDD_DIALOG_SSVC = 334,   // sound-field page
    IDD_DIALOG_SET = 335,    // machine settings
    IDD_DIALOG_COMP = 346,   // compressor page
    IDD_REMOTE_STUDY = 372,  // key-learning prompt
    IDD_REMOTE = 373,        // remote-control learning
    IDD_DIALOG_OUTPUT = 385, // output page
    IDD_DIALOG_EFX = 421,    // echo and reverb EQ page
    IDD_DIALOG_NG = 423,     // noise gate settings
    IDD_FEATURES = 457,      // features
};

// The usual dialog buttons.
inline constexpr int IDC_DIALOG_OK = 1;
inline constexpr int IDC_DIALOG_CANCEL = 2;

// Remote-control window (373): the three image buttons.
inline constexpr int IDC_REMOTE_LOAD = 1301;  // "载入参数" / "Load file"
inline constexpr int IDC_REMOTE_SAVE = 1302;  // "保存参数" / "Save file"
inline constexpr int IDC_REMOTE_APPLY = 1303; // "应用参数" / "Apply"

// Key-learning prompt (372): the prompt line; "放弃学习" / "Cancel" is the cancel button (2)
// because the close box does the same, "关闭" / "Close" the OK button (1).
inline constexpr int IDC_STUDY_PROMPT = 1311;
inline constexpr int IDC_STUDY_CANCEL = IDC_DIALOG_CANCEL;
inline constexpr int IDC_STUDY_CLOSE = IDC_DIALOG_OK;

// Output group pages (333, 334, 346, 385): the eight navigation buttons, the same ids on
// each page, in the bar's order (Main, Center, Sub, Rear, Top, Location, Delay, Comp).
inline constexpr int IDC_NAV_FIRST = 1500;

// Sound-field page (334): captions of the room, button and position controls.
inline constexpr int IDC_SSVC_UNIT = 1401;          // "长度单位:米(m)" / "Length unit: Meter"
inline constexpr int IDC_SSVC_ROOM = 1402;          // "房间大小" / "Room size"
inline constexpr int IDC_SSVC_WIDTH = 1403;         // "宽(m)" / "Width(m)"
inline constexpr int IDC_SSVC_LENGTH = 1404;        // "长(m)" / "Height(m)"
inline constexpr int IDC_SSVC_MODIFY = 1405;        // "立即修改" / "Modify"
inline constexpr int IDC_SSVC_RESET = 1406;         // "复位" / "Reset all"
inline constexpr int IDC_SSVC_CENTER = 1407;        // "居中" / "Center"
inline constexpr int IDC_SSVC_LISTENER = 1408;      // "听众位置" / "Listener location"
inline constexpr int IDC_SSVC_SOURCES = 1409;       // "声源的位置" / "Audio source location"
inline constexpr int IDC_SSVC_SPEAKER_FIRST = 1411; // 1411..1418: points 1..8 (Main L .. Top R)
