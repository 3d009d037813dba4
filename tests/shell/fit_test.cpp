// Every window on laptop screens less a panel, at 100, 150 and 200 % (fit_screens.json).
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QTest>

#include <set>

#include "kit/form.h"
#include "shell/menus.h"
#include "support/real_boxes.h"
#include "support/ui_test.h"
#include "window_table.h"

namespace {

QRect WithTitle(const QWidget* w) { return w->frameGeometry().adjusted(0, -30, 0, 0); }

// Whether as much of `w` shows as its window, or the area it scrolls in, can show.
bool InView(const QWidget* w) {
    const QWidget* top = w->window();
    QRect seen = QRect(w->mapTo(top, QPoint()), w->size()) & top->rect();
    QSize room = top->size();
    for (const QWidget* p = w->parentWidget(); p != top; p = p->parentWidget()) {
        seen &= QRect(p->mapTo(top, QPoint()), p->size());
        if (auto* s = qobject_cast<const QScrollArea*>(p)) room = s->viewport()->size();
    }
    return seen.size() == w->size().boundedTo(room);
}

}  // namespace

class FitTest : public UiTest {};

// Whole under a 30-px title bar, scrolling only where it must, a Tab bringing any control into
// view; each window opened as the learner opens it, by its button in the window holding it.
TEST_F(FitTest, EveryWindowAndALongMessageFitEachScreenAndShowTheControlTabbedTo) {
    ASSERT_EQ(QGuiApplication::screens().size(), 6) << "runs on the screens of fit_screens.json";
    QStringList report;  // taller than all but the largest screens
    for (int n = 1; n <= 40; ++n) report << QStringLiteral("%1回目　誤差 0.%2").arg(n).arg(n * 37);
    for (QScreen* screen : QGuiApplication::screens()) {
        SCOPED_TRACE(screen->name().toStdString());
        const QRect area = screen->availableGeometry();
        QWidget* main = kv::ShowWindow("frmMain");
        main->setScreen(screen);
        main->move(area.topLeft() + QPoint(0, 30));
        QApplication::processEvents();
        QStringList reached{"frmMain"};
        for (qsizetype i = 0; i < reached.size(); ++i) {
            SCOPED_TRACE(reached[i].toStdString());
            QWidget* w = kv::WindowInstance(reached[i]);
            EXPECT_EQ(w->screen(), screen);
            EXPECT_TRUE(area.contains(WithTitle(w)));
            if (auto* curve = w->findChild<QAbstractButton*>("cmdCurve")) {
                curve->click();
                const QWidget* companion = w->findChild<QWidget*>("frmCurve" + reached[i]);
                ASSERT_NE(companion, nullptr);
                EXPECT_TRUE(area.contains(WithTitle(companion))) << "its curve window";
            }
            const bool roomForBoth = area.width() >= WithTitle(main).width() + WithTitle(w).width();
            EXPECT_FALSE(w != main && roomForBoth && WithTitle(w).intersects(WithTitle(main))) << "covers the main menu";
            // Its own content: a curve window, a child of its window, has one too.
            const QWidget* content = qobject_cast<kv::FormWindow*>(w)->content();
            const auto* s = qobject_cast<const QScrollArea*>(content->parentWidget()->parentWidget());
            EXPECT_TRUE(!s || content->size().boundedTo(s->viewport()->size()) != content->size()) << "scrolls, though it fits";
            w->activateWindow();
            QApplication::processEvents();
            EXPECT_TRUE(w->isActiveWindow());
            // On its own first control, where it has one.
            const QWidget* opensOn = QApplication::focusWidget();
            EXPECT_TRUE(!opensOn || content->isAncestorOf(opensOn)) << "opens on the corner row";
            std::set<QWidget*> stops;
            for (QWidget* f = w; stops.size() < 600;) {
                QTest::keyClick(f, Qt::Key_Tab);
                f = QApplication::focusWidget();
                if (!f || !stops.insert(f).second) break;
                EXPECT_TRUE(InView(f)) << f->objectName().toStdString() << " out of view after a Tab";
            }
            // The corner row takes the last turns of Tab, read from the left, scrolling or not.
            auto* curve = w->findChild<QAbstractButton*>("cmdCurve");
            if (auto* help = w->findChild<QAbstractButton*>("cmdHelp"); curve && help) {
                curve->setFocus(Qt::TabFocusReason);
                QTest::keyClick(curve, Qt::Key_Tab);
                EXPECT_EQ(QApplication::focusWidget(), help);
                QTest::keyClick(help, Qt::Key_Tab);
                EXPECT_TRUE(content->isAncestorOf(QApplication::focusWidget()));
            }
            if (auto* menu = qobject_cast<kv::MenuWindow*>(w))
                for (const kv::MenuEntry& e : menu->entries()) child<QAbstractButton>(w, QStringLiteral("Command%1").arg(e.button))->click();
            for (const kv::WindowOpener& o : kv::WindowOpeners())
                if (reached[i] == QLatin1String(o.by)) child<QAbstractButton>(w, o.button)->click();
            for (const QString& kind : kv::WindowKinds())
                if (!reached.contains(kind) && kv::WindowInstance(kind)) reached << kind;
        }
        EXPECT_EQ(reached.size(), kv::WindowKinds().size());
        // The report's text as it is, in a scrolling area taking most of the screen, above its buttons.
        RealBoxes boxes([&](QMessageBox* box) {
            EXPECT_TRUE(area.contains(WithTitle(box)));
            const auto* label = box->findChild<QLabel*>("qt_msgbox_label");
            EXPECT_EQ(label->text(), report.join('\n'));
            const auto* scroll = qobject_cast<QScrollArea*>(label->parentWidget()->parentWidget());
            EXPECT_TRUE(scroll ? scroll->viewport()->height() >= area.height() / 2 : area.height() >= 700);
            for (const QAbstractButton* b : box->buttons()) EXPECT_TRUE(InView(b)) << b->text().toStdString();
        });
        EXPECT_EQ(kv::MsgBox(main, report.join('\n'), kv::MsgButtons::OkCancel), kv::MsgAnswer::Ok);
        kv::CloseAllWindows();
    }
}
