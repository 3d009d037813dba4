// Fixture for window tests: records message boxes instead of blocking on them, closes
// every window afterwards, and reads windows through their object names.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <vector>

#include "kit/registry.h"
#include "plot/colors.h"
#include "plot/msgbox.h"

class UiTest : public ::testing::Test {
public:
    static kv::Rgb pixel(const QImage& image, int x, int y);
    // Whether any pixel within `radius` of (x, y) has this colour.
    static bool colourNear(const QImage& image, QPointF at, kv::Rgb colour, int radius = 1);

protected:
    void SetUp() override;
    void TearDown() override;

    // A window of type W built as the program builds it (defaults, then Form_Load), shown,
    // and owned by the test: it is freed before the fixture closes the rest.
    template <typename W>
    W* open() {
        W* w = kv::BuildWindow<W>();
        opened_.emplace_back(w);
        w->show();
        return w;
    }

    // Moves a top-level window, shown, onto a screen with `ratio` device pixels to a logical
    // pixel; fails the test when there is none.
    void moveToRatio(QWidget* window, qreal ratio);
    // An empty top-level window, owned by the test, shown on a screen of that ratio: a
    // parent for what a test draws there.
    QWidget* windowAtRatio(qreal ratio, QSize size = QSize(480, 320));

    // The named child of `w`; fails the test when it is missing.
    template <typename T>
    T* child(const QWidget* w, const QString& name) {
        T* c = w->findChild<T*>(name);
        EXPECT_NE(c, nullptr) << "no control " << name.toStdString();
        return c;
    }
    QLineEdit* box(const QWidget* w, const QString& name) { return child<QLineEdit>(w, name); }
    QString text(const QWidget* w, const QString& name);

    // Invokes a handler slot by its name, e.g. call(w, "Command1_Click") or
    // call(w, "txtTrain1_DblClick", 3).
    void call(QWidget* w, const char* slot);
    void call(QWidget* w, const char* slot, int index);

    // Types into a box as the learner would (fires its change handler).
    void type(const QWidget* w, const QString& name, const QString& text);

    QStringList messages;                   // texts of the message boxes shown, in order
    kv::MsgAnswer answer = kv::MsgAnswer::Ok;  // what the next boxes are answered

private:
    std::vector<QPointer<QWidget>> opened_;
};
