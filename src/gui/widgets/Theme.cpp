#include "gui/widgets/Theme.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QStyleFactory>

namespace Theme {

namespace {

// First family the system has; the WenQuanYi face carries the Chinese texts,
// the others are fallbacks on systems without it.
QString ChooseFamily()
{
    const QStringList wanted = {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                                QStringLiteral("Source Han Sans SC"), QStringLiteral("Microsoft YaHei")};
    const QStringList families = QFontDatabase::families();
    for (const QString &family : wanted)
        if (families.contains(family))
            return family;
    return QString();
}

} // namespace

const char *StyleSheet()
{
    return R"QSS(
QMainWindow, QDialog { background: #e9edf2; }
QWidget { color: #1f2a36; }

QMenuBar { background: #1f2b38; color: #e4ebf2; padding: 2px 4px; }
QMenuBar::item { background: transparent; padding: 4px 10px; border-radius: 3px; }
QMenuBar::item:selected { background: #33475b; }
QMenu { background: #ffffff; border: 1px solid #b9c3ce; padding: 4px 0; }
QMenu::item { padding: 5px 26px 5px 22px; }
QMenu::item:selected { background: #1f7a8c; color: #ffffff; }
QMenu::separator { height: 1px; background: #d5dbe3; margin: 4px 8px; }

QToolBar#MainToolBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #2a3949, stop:1 #1f2b38);
    border: none; border-bottom: 2px solid #1f7a8c; spacing: 4px; padding: 4px 6px; }
QToolBar#MainToolBar QToolButton { color: #e4ebf2; background: transparent; border: 1px solid transparent;
    border-radius: 4px; padding: 3px; }
QToolBar#MainToolBar QToolButton:hover { background: #33475b; border-color: #46607a; }
QToolBar#MainToolBar QToolButton:pressed { background: #1f7a8c; }
QToolBar#MainToolBar QLabel { color: #b8c6d4; }
QLabel#lblProtocol { color: #ffffff; background: #33475b; border-radius: 3px; padding: 1px 7px;
    font-weight: bold; }
QLabel#lblDevID { color: #ffd27a; font-family: monospace; }

QPushButton { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #e6ebf0);
    border: 1px solid #aab6c3; border-radius: 4px; padding: 4px 10px; min-height: 18px; }
QPushButton:hover { border-color: #1f7a8c; }
QPushButton:pressed { background: #d5e6ea; }
QPushButton:disabled { color: #97a3af; background: #eef1f4; border-color: #cdd4dc; }
QPushButton#btnCom { background: #1f7a8c; color: #ffffff; border: 1px solid #165a68; font-weight: bold;
    padding: 4px 14px; }
QPushButton#btnCom:hover { background: #24899d; }

QFrame#DevicePanel { background: #f7f9fb; border-right: 1px solid #c9d1da; }
QTreeWidget#TreeView1 { background: #ffffff; border: 1px solid #c9d1da; border-radius: 4px;
    show-decoration-selected: 1; outline: 0; }
QTreeWidget#TreeView1::item { padding: 3px 2px; }
QTreeWidget#TreeView1::item:selected, QTreeWidget#TreeView1::item:selected:!active {
    background: #d3ebef; color: #0f3f49; }
QLineEdit[debugField="true"] { font-family: monospace; font-size: 8pt; background: #fffbe8; }

QTabWidget::pane { border: 1px solid #c9d1da; border-radius: 4px; background: #ffffff; top: -1px; }
QTabBar::tab { background: #dfe5eb; border: 1px solid #c9d1da; border-bottom: none; padding: 5px 18px;
    margin-right: 2px; border-top-left-radius: 4px; border-top-right-radius: 4px; color: #425466; }
QTabBar::tab:selected { background: #ffffff; color: #1f2a36; font-weight: bold; }
QTabWidget#bsSkinPageControl1 > QTabBar::tab { max-height: 1px; max-width: 1px; padding: 0; border: none; }
QTabWidget#bsSkinPageControl1::pane { border: none; background: transparent; }
QTabWidget[tabsShrunk="true"] > QTabBar::tab { max-height: 1px; max-width: 1px; padding: 0; border: none; }

QGroupBox { background: #ffffff; border: 1px solid #c9d1da; border-radius: 5px; margin-top: 12px;
    padding-top: 6px; }
QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 5px; color: #1f7a8c; font-weight: bold; }

QFrame[valuePanel="true"] { background: #f4f7fa; border: 1px solid #cfd7df; border-radius: 5px; }
QLabel[panelTitle="true"] { color: #52667a; font-size: 9pt; }
QLabel[valueText="true"] { color: #0f3f49; font-size: 15pt; font-weight: bold; font-family: "DejaVu Sans Mono", monospace; }
QLabel[unitText="true"] { color: #6a7c8e; font-size: 9pt; }
QLabel[gaugeTitle="true"] { color: #33475b; font-weight: bold; }
QLabel[gaugeValue="true"] { color: #0f3f49; background: #eef3f6; border: 1px solid #cfd7df; border-radius: 3px;
    padding: 1px 6px; font-family: "DejaVu Sans Mono", monospace; font-weight: bold; }
QLabel#stComStatus { color: #0f3f49; font-size: 14pt; font-weight: bold; }
QLabel[statusWord="true"] { font-family: "DejaVu Sans Mono", monospace; color: #33475b; }
QLabel[supplyValue="true"] { color: #0f3f49; font-weight: bold; background: #eef3f6; border: 1px solid #cfd7df;
    border-radius: 3px; padding: 2px 8px; }
QPlainTextEdit#MemoAlarm { background: #fffdf7; border: 1px solid #e3d3a8; border-radius: 4px; color: #a3271c; }

QStatusBar { background: #1f2b38; color: #d8e1ea; }
QStatusBar::item { border: none; }
QStatusBar QLabel { color: #d8e1ea; padding: 0 8px; border-right: 1px solid #34485c; }
)QSS";
}

void Apply(QApplication &app)
{
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font = app.font();
    const QString family = ChooseFamily();
    if (!family.isEmpty())
        font.setFamily(family);
    font.setPointSize(9);
    app.setFont(font);
    app.setStyleSheet(QString::fromLatin1(StyleSheet()));
}

} // namespace Theme
