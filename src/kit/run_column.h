// The frame of display maxima with its redisplay button, and the column of run controls
// (initial setting, one step, automatic run, the timer box, stop, and the result label)
// that the plotting demonstrations of a search or a learning share.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPoint>
#include <QRect>
#include <QString>

#include "kit/accessible.h"
#include "kit/controls.h"

namespace kv {

struct MaximaBoxes {
    QLineEdit* txtMaxX;
    QLineEdit* txtMaxY;
};

// Frame2 "表示最大値" in the window's content: "X" and "Y" naming their boxes, and Command1
// "再表示" calling the window's slot of that name.
template <typename W>
MaximaBoxes MakeMaximaFrame(W* window, QRect geometry, const QString& maxX, const QString& maxY) {
    QGroupBox* frame = MakeFrame(window->content(), "Frame2", QStringLiteral("表示最大値"), geometry);
    QLineEdit* x = MakeLabelledBox(frame, "Label2", "X", QRect(10, 26, 16, 26), "txtMaxX", maxX, QRect(30, 26, 56, 26));
    QLineEdit* y = MakeLabelledBox(frame, "Label3", "Y", QRect(92, 26, 16, 26), "txtMaxY", maxY, QRect(112, 26, 56, 26));
    DescribeControls(frame, {{"txtMaxX", QStringLiteral("表示最大値"), QStringLiteral("グラフに表示する X の最大値を入れます。")},
                             {"txtMaxY", QStringLiteral("表示最大値"), QStringLiteral("グラフに表示する Y の最大値を入れます。")}});
    MakeButton(frame, "Command1", QStringLiteral("再表示"), QRect(180, 24, geometry.width() - 192, 30), window, &W::Command1_Click);
    return MaximaBoxes{x, y};
}

struct RunColumn {
    QLineEdit* Text1;
    QLabel* lblResult;
    int bottom;  // the lowest pixel row the column uses
};

// Command2 "初期設定", Command3 "逐次実行", Command4 "自動実行", "タイマー" with Text1, Command5
// "自動実行停止", then lblResult, from `at` downwards in the window's content; the buttons
// call the window's slots of the same names.
template <typename W>
RunColumn MakeRunColumn(W* window, QPoint at, int width, const QString& interval, int resultHeight) {
    constexpr int kButtonWidth = 180, kButtonHeight = 32;
    QWidget* c = window->content();
    int y = at.y();
    const auto button = [&](const char* name, const QString& caption, void (W::*slot)()) {
        MakeButton(c, name, caption, QRect(at.x(), y, kButtonWidth, kButtonHeight), window, slot);
        y += kButtonHeight + 8;
    };
    button("Command2", QStringLiteral("初期設定"), &W::Command2_Click);
    button("Command3", QStringLiteral("逐次実行"), &W::Command3_Click);
    button("Command4", QStringLiteral("自動実行"), &W::Command4_Click);
    QLineEdit* timer = MakeLabelledBox(c, "Label6", QStringLiteral("タイマー"), QRect(at.x(), y, 80, 26), "Text1", interval,
                                       QRect(at.x() + 84, y, kButtonWidth - 84, 26), Qt::AlignLeft | Qt::AlignVCenter);
    y += 34;
    button("Command5", QStringLiteral("自動実行停止"), &W::Command5_Click);
    QLabel* result = MakeLabel(c, "lblResult", "", QRect(at.x(), y + 8, width, resultHeight), Qt::AlignLeft | Qt::AlignTop);
    return RunColumn{timer, result, y + 8 + resultHeight};
}

}  // namespace kv
