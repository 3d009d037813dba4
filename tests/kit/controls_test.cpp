#include <QColor>
#include <QWidget>

#include "kit/controls.h"
#include "kit/form.h"
#include "support/ui_test.h"

using ControlsTest = UiTest;

// A tool that knows no class reads a line's or shape's colour and width by property name.
TEST_F(ControlsTest, LineAndShapeExposeColourAndWidthAsProperties) {
    QWidget parent;
    auto* line = new kv::LineShape(&parent, "Line1", QPoint(10, 10), QPoint(90, 40));
    auto* shape = new kv::ShapeWidget(&parent, "Shape1", QRect(5, 5, 50, 50), kv::ShapeWidget::kEllipse);
    for (QObject* o : {static_cast<QObject*>(line), static_cast<QObject*>(shape)}) {
        EXPECT_EQ(o->property("borderWidth").toInt(), 1);
        EXPECT_EQ(o->property("borderColor").value<QColor>(), parent.palette().color(QPalette::WindowText));
        ASSERT_TRUE(o->setProperty("borderColor", QColor(255, 0, 0)));
        ASSERT_TRUE(o->setProperty("borderWidth", 3));
    }
    EXPECT_EQ(line->borderColor(), kv::kRed);
    EXPECT_EQ(shape->borderColor(), kv::kRed);
    EXPECT_EQ(line->property("borderWidth").toInt(), 3);
    // A wider line grows its widget, so the thick stroke is not clipped at its ends.
    EXPECT_TRUE(line->geometry().contains(QRect(QPoint(10, 10), QPoint(90, 40)).adjusted(-2, -2, 2, 2)));
    line->setBorderColor(kv::kBlue);
    EXPECT_EQ(line->property("borderColor").value<QColor>(), QColor(0, 0, 255));
}

TEST_F(ControlsTest, ColoursGoThroughThePaletteOfBoxesAndLabels) {
    QWidget parent;
    QLineEdit* box = kv::MakeBox(&parent, "txtA", "1", QRect(0, 0, 50, 20));
    QLabel* label = kv::MakeLabel(&parent, "lblA", "→", QRect(0, 30, 20, 20));
    kv::SetBackColor(box, kv::kYellow);
    kv::SetForeColor(label, kv::kRed);
    EXPECT_EQ(box->palette().color(QPalette::Base), QColor(255, 255, 0));
    EXPECT_EQ(kv::BackColor(box), kv::kYellow);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_TRUE(box->styleSheet().isEmpty());
    EXPECT_EQ(kv::ArrayName("txtX", 11), "txtX(11)");
}

// A panel declared as rows: each label names its box for assistive tools and is its buddy;
// rows go down the grid in order and the window gets its boxes back.
TEST_F(ControlsTest, BoxRowsTieEachLabelToItsBox) {
    QWidget parent;
    QLineEdit* second = nullptr;
    const kv::RowGrid grid{.at = {8, 24}, .labelWidth = 130, .gap = 6, .boxWidth = 90, .height = 20, .pitch = 28};
    const auto boxes = kv::MakeBoxRows(&parent, grid, {{"Label5", "学習回数", "txtA", "400"}, {"Label6", "誤差", "txtB", "", &second}});
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(second, boxes[1]);
    for (int r = 0; r < 2; ++r) {
        auto* label = parent.findChild<QLabel*>(r == 0 ? "Label5" : "Label6");
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->buddy(), boxes[r]);
        EXPECT_EQ(boxes[r]->accessibleName(), label->text());
        EXPECT_EQ(label->geometry(), QRect(8, 24 + 28 * r, 130, 20));
        EXPECT_EQ(boxes[r]->geometry(), QRect(144, 24 + 28 * r, 90, 20));
    }
    EXPECT_EQ(boxes[0]->text(), "400");
}

// The corner row never covers a control: it stands in the free corner, just below a control
// that stands there, or in a strip the window gains on its right, and the window's own
// controls keep their places either way.
TEST_F(ControlsTest, CornerButtonsCoverNoControl) {
    struct Window : kv::FormWindow {
        explicit Window(QRect control) : FormWindow("frmCorner", "c") {
            kv::MakeButton(content(), "Command1", "実行", control);
            setContentSize(QSize(400, 300));
        }
        using FormWindow::addCornerButton;
    };
    for (const QRect control : {QRect(10, 10, 80, 25), QRect(330, 2, 60, 25), QRect(0, 0, 400, 300)}) {
        Window w(control);
        QPushButton* help = w.addCornerButton("cmdHelp", "ヘルプ");
        QPushButton* curve = w.addCornerButton("cmdCurve", "学習曲線");
        const bool strip = control.width() == 400;  // nothing is free near the corner
        EXPECT_EQ(w.width(), strip ? 400 + help->width() + curve->width() + 12 : 400) << control.x();
        EXPECT_EQ(w.content()->findChild<QWidget*>("Command1")->geometry(), control);
        EXPECT_LT(curve->geometry().right(), help->geometry().left());
        EXPECT_EQ(help->geometry().right(), w.width() - 5);
        for (QPushButton* b : {help, curve}) EXPECT_FALSE(b->geometry().intersects(control)) << control.x();
    }
}
