#include "app/AppStyle.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

namespace {
const QStringList kCjkFallbacks = {"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Noto Sans SC",
                                   "Source Han Sans SC", "Droid Sans Fallback"};

const char kStyleSheet[] = R"(
QMainWindow#CMainFrame { background: #f3f5f9; }

QWidget#ribbonTop {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #1d3a63, stop:1 #234a7d);
}
QToolButton#appButton {
    color: white; font-weight: 600; background: #2f7fe0; border: 1px solid #1f63b8;
    border-radius: 4px; padding: 3px 12px 3px 6px; margin-bottom: 4px;
}
QToolButton#appButton:hover { background: #3d8cec; }
QToolButton#appButton::menu-indicator { image: none; width: 0px; }
QToolButton[ribbonTab="true"] {
    color: #dbe6f5; background: transparent; border: none; font-size: 13px;
    padding: 5px 18px 6px 18px; margin: 2px 1px 0px 1px;
    border-top-left-radius: 5px; border-top-right-radius: 5px;
}
QToolButton[ribbonTab="true"]:hover { background: rgba(255, 255, 255, 28); color: white; }
QToolButton[ribbonTab="true"]:checked {
    background: #fbfcfe; color: #173255; font-weight: 600;
}
QToolButton[sideButton="true"] {
    color: #e8f0ff; background: transparent; border: 1px solid transparent; border-radius: 4px;
    padding: 2px 8px; margin-bottom: 4px;
}
QToolButton[sideButton="true"]:hover { background: rgba(255, 255, 255, 30);
    border-color: rgba(255, 255, 255, 60); }
QToolButton[sideButton="true"]:pressed { background: rgba(0, 0, 0, 40); }

QStackedWidget#ribbonBody {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbfcfe, stop:1 #e8eef6);
    border-bottom: 1px solid #bfcbdb;
}
QWidget#categoryInput, QWidget#categoryOutput { background: transparent; }
QFrame#ribbonPanel {
    background: transparent; border: none; border-right: 1px solid #d2dbe7;
}
QLabel#pitchMark { color: #7a8799; font-size: 11px; }
QLabel#panelCaption { color: #52627a; font-size: 12px; padding-top: 2px; }
QLabel[valueLabel="true"] { color: #1b2b40; }
QCheckBox { color: #1b2b40; spacing: 5px; }
QCheckBox:disabled { color: #9aa5b4; }
QCheckBox[muteBox="true"]:checked { color: #c0392b; font-weight: 600; }

QSlider::groove:horizontal {
    height: 4px; background: #c8d3e2; border-radius: 2px; margin: 0px 2px;
}
QSlider::sub-page:horizontal {
    height: 4px; background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #4d9bf0, stop:1 #2f7fe0);
    border-radius: 2px; margin: 0px 2px;
}
QSlider::handle:horizontal {
    width: 14px; height: 14px; margin: -6px 0px; border-radius: 8px;
    background: qradialgradient(cx:0.5, cy:0.4, radius:0.6, stop:0 #ffffff, stop:1 #e9eff7);
    border: 1px solid #2f7fe0;
}
QSlider::handle:horizontal:hover { background: #ffffff; border: 2px solid #2f7fe0; }
QSlider[pitchSlider="true"]::sub-page:horizontal { background: #c8d3e2; }

QToolButton[bigButton="true"] {
    color: #1b2b40; background: transparent; border: 1px solid transparent; border-radius: 5px;
    padding: 2px 4px; text-align: left;
}
QWidget#categoryInput QCheckBox, QWidget#categoryOutput QCheckBox { spacing: 3px; }
QToolButton[bigButton="true"]:hover { background: #dde9f9; border-color: #a7c3ea; }
QToolButton[bigButton="true"]:pressed { background: #c7dbf5; }
QToolButton[bigButton="true"]::menu-indicator {
    subcontrol-origin: padding; subcontrol-position: center right; width: 7px; height: 7px;
}

QMenu#appMenu { min-width: 300px; }
QMenu { background: white; border: 1px solid #b8c6d8; padding: 4px; }
QMenu::item { padding: 5px 24px 5px 28px; border-radius: 3px; }
QMenu::item:selected { background: #dde9f9; color: #10233d; }
QMenu::separator { height: 1px; background: #d7dfea; margin: 4px 6px; }

QScrollArea#pageHost { background: #f3f5f9; }
QScrollArea#pageHost > QWidget > QWidget { background: #f3f5f9; }
QLabel#placeholderTitle { color: #2b3a4f; font-size: 24px; font-weight: 600; }
QLabel#placeholderNote { color: #7a8799; font-size: 14px; }

QStatusBar#statusBar { background: #e9eef5; border-top: 1px solid #c3cfde; }
QStatusBar#statusBar::item { border: none; }
QStatusBar QLabel { padding: 2px 6px; }
QStatusBar QPushButton {
    padding: 2px 12px; border: 1px solid #a9b8cc; border-radius: 3px; background: #f8fafc;
}
QStatusBar QPushButton:hover { background: #dde9f9; border-color: #7aa5dd; }
QStatusBar QPushButton:disabled { color: #9aa5b4; border-color: #ccd4de; }

QDialog#CInfoDlg, QDialog#CAboutDlg, QDialog#CSynDlg { background: #F0FAFF; }
QLabel#recentHeading {
    font-weight: 600; color: #173255; padding: 4px 10px; background: #e4edf8;
}
QFrame#notice { background: #F0FAFF; border: 1px solid #7aa5dd; border-radius: 4px; }
QFrame#notice QLabel { border: none; background: transparent; color: #173255; }
QLabel#aboutTitle { font-size: 20px; font-weight: 600; color: #173255; }
QProgressBar { border: 1px solid #a9b8cc; border-radius: 4px; background: white; height: 14px; }
QProgressBar::chunk { background: #2f7fe0; border-radius: 3px; }
)";
} // namespace

void SetupFonts()
{
    for (const char* family : {"宋体", "黑体", "SimSun", "SimHei", "Microsoft YaHei", "微软雅黑"}) {
        QFont::insertSubstitutions(QString::fromUtf8(family), kCjkFallbacks);
    }
    QStringList latin = {"Liberation Sans", "Arimo", "Nimbus Sans", "DejaVu Sans"};
    latin << kCjkFallbacks;
    QFont::insertSubstitutions("Arial", latin);
}

void ApplyAppStyle(QApplication& app)
{
    app.setStyle(QStyleFactory::create("Fusion"));
    QFont font("Arial");
    QStringList families = {"Arial"};
    families << kCjkFallbacks;
    font.setFamilies(families);
    font.setPixelSize(13);
    app.setFont(font);
    app.setStyleSheet(QString::fromUtf8(kStyleSheet));
}
