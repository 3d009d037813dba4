// The focus ring stands out from every fill a box takes, from the moment a control has the
// focus; a run reports a changing box to a screen reader at most once every 500 ms.
#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include "kit/accessible.h"
#include "kit/controls.h"
#include "kit/focus_ring.h"
#include "support/ui_test.h"

using AccessibleTest = UiTest;

TEST_F(AccessibleTest, OneToneOfTheFocusRingStandsOutFromEveryFill) {
    EXPECT_NEAR(kv::ContrastRatio(kv::kWhite, kv::kBlack), 21.0, 1e-9);
    EXPECT_NEAR(kv::ContrastRatio(kv::kRed, kv::kWhite), 3.998, 0.001);
    const QPalette palette = QApplication::palette();
    // Every fill a box takes, and what lies under buttons, check boxes and option buttons.
    const kv::Rgb fills[] = {kv::kWhite, kv::kRed,   kv::kYellow, {0, 192, 255}, kv::kSkyBlue, kv::kLightBlue, kv::kBlue,
                             kv::kGreen, kv::kCyan, kv::FromQColor(palette.color(QPalette::Window)),
                             kv::FromQColor(palette.color(QPalette::Button))};
    for (const kv::Rgb& fill : fills)
        EXPECT_GE(std::max(kv::ContrastRatio(kv::kFocusOuter, fill), kv::ContrastRatio(kv::kFocusInner, fill)), 3.0)
            << fill.r << "," << fill.g << "," << fill.b;
    EXPECT_GE(kv::ContrastRatio(kv::kFocusOuter, kv::kFocusInner), 3.0);
}

// Focus given without a key, as a window gives it when it opens: the ring shows at once,
// on the focused control only, at both pixel ratios.
TEST_F(AccessibleTest, TheFocusedControlShowsTheRingWithoutATab) {
    for (qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        QWidget* w = windowAtRatio(ratio, QSize(200, 120));
        QLineEdit* red = kv::MakeBox(w, "txtRed", "", QRect(10, 10, 80, 24));
        QLineEdit* white = kv::MakeBox(w, "txtWhite", "", QRect(10, 50, 80, 24));
        QPushButton* button = kv::MakeButton(w, "Command1", "OK", QRect(100, 10, 80, 30));
        kv::SetBackColor(red, kv::kRed);
        for (QWidget* c : {static_cast<QWidget*>(red), static_cast<QWidget*>(white), static_cast<QWidget*>(button)}) c->show();
        QApplication::setActiveWindow(w);
        for (QWidget* focused : {static_cast<QWidget*>(red), static_cast<QWidget*>(button)}) {
            focused->setFocus(Qt::ActiveWindowFocusReason);
            ASSERT_TRUE(focused->hasFocus());
            const QImage shot = w->grab().toImage();
            // Down the middle of the top edge, clear of the caret and the caption.
            const auto at = [&](QWidget* c, int y) { return pixel(shot, int((c->x() + 40) * ratio), int((c->y() + y) * ratio)); };
            const int outer = kv::kFocusOuterWidth - 1, inner = kv::kFocusOuterWidth;
            EXPECT_EQ(at(focused, outer), kv::kFocusOuter);
            EXPECT_EQ(at(focused, inner), kv::kFocusInner);
            EXPECT_NE(at(white, outer), kv::kFocusOuter);
            if (focused == red) EXPECT_EQ(at(red, 12), kv::kRed);
            else EXPECT_NE(at(red, outer), kv::kFocusOuter);
        }
    }
}

// What Qt reports of two boxes a run writes (a screen reader listening) reaches the reader
// at most once every 500 ms per box, the last text included; typing is heard as it comes.
TEST_F(AccessibleTest, ARunReportsABoxAtMostOnceEvery500Ms) {
    kv::ReportPace::Time now{};
    kv::SetReportClock([&now] { return now; });
    QStringList heard;  // "old>new" of the text changes as they reach the reader
    int carets = 0;
    kv::SetReportSink([&](QAccessibleEvent* e) {
        if (e->type() == QAccessible::TextCaretMoved) ++carets;
        if (e->type() != QAccessible::TextUpdated) return;
        const auto* t = static_cast<QAccessibleTextUpdateEvent*>(e);
        heard << t->textRemoved() + ">" + t->textInserted();
    });
    QWidget w;
    QLineEdit* boxes[] = {kv::MakeBox(&w, "txtS", "0", QRect(0, 0, 80, 24)), kv::MakeBox(&w, "txtY", "0", QRect(0, 30, 80, 24))};
    // What Qt reports when the program writes a box: its text replaced, the caret moved.
    const auto write = [](QLineEdit* box, const QString& text) {
        QAccessibleTextUpdateEvent changed(box, 0, box->text(), text);
        box->setText(text);
        kv::RouteReport(&changed);
        QAccessibleTextCursorEvent caret(box, 0);
        kv::RouteReport(&caret);
    };
    const std::pair<int, const char*> writes[] = {{0, "1"}, {1, "2"}, {100, "3"}, {499, "4"}, {700, "5"}, {1300, "6"}};
    for (const auto& [ms, text] : writes) {
        now = kv::ReportPace::Time(std::chrono::milliseconds(ms));
        kv::SendDueReports();  // what the timer has sent by now
        const kv::RunReports run;
        for (QLineEdit* box : boxes) write(box, text);
    }
    now += std::chrono::seconds(1);
    kv::SendDueReports();
    EXPECT_EQ(carets, 0);
    write(boxes[0], "7");  // outside a run, as typing is
    EXPECT_EQ(carets, 1);
    // "1" at once; "2".."4" held and sent at 700; "5" held until the sending at 1300, which
    // holds "6" until the last one.
    const QStringList each = {"0>1", "1>4", "4>5", "5>6"};
    QStringList both;
    for (const QString& change : each) both << change << change;
    EXPECT_EQ(heard, both + QStringList{"6>7"});
    kv::SetReportSink({});
    kv::SetReportClock({});
}
