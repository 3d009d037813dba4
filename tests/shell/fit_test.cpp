// Every window on laptop screens less a 32-px panel, at 100 %, 150 % and 200 %: whole on
// the screen with a title bar above it, its content scrolling where it must, and a Tab to
// any control bringing that control into view. Runs on screens of its own (see main).
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "shell/app.h"
#include "shell/menus.h"
#include "support/real_boxes.h"
#include "support/ui_test.h"
#include "window_table.h"

namespace {

constexpr int kTitleBar = 30;

// The part of `w` that its ancestors do not clip, in its window's coordinates.
QRect Unclipped(const QWidget* w) {
    const QWidget* top = w->window();
    QRect seen(w->mapTo(top, QPoint()), w->size());
    for (const QWidget* p = w->parentWidget(); p && p != top; p = p->parentWidget()) seen &= QRect(p->mapTo(top, QPoint()), p->size());
    return seen & top->rect();
}

// Whether as much of `w` shows as the area it scrolls in (or its window) can show.
bool InView(const QWidget* w) {
    const QWidget* area = w->window();
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (auto* s = qobject_cast<const QScrollArea*>(p)) area = s->viewport();
    const QSize seen = Unclipped(w).size(), whole = w->size().boundedTo(area->size());
    return seen.width() >= whole.width() && seen.height() >= whole.height();
}

QRect FrameWithTitle(const QWidget* w) { return w->frameGeometry().adjusted(0, -kTitleBar, 0, 0); }

// Puts the main menu on `screen`, in its top-left corner, as the program starts there.
QWidget* MainMenuOn(QScreen* screen) {
    QWidget* main = kv::ShowWindow("frmMain");
    main->setScreen(screen);
    main->move(screen->availableGeometry().topLeft() + QPoint(0, kTitleBar));
    QApplication::processEvents();
    return main;
}

}  // namespace

class FitTest : public UiTest {
protected:
    // Checks one window just opened on `screen`; whether its content scrolls.
    bool checkFits(QWidget* w, const QScreen* screen, const QWidget* main) {
        const QRect area = screen->availableGeometry(), frame = FrameWithTitle(w);
        EXPECT_EQ(w->screen(), screen);
        EXPECT_TRUE(area.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
        if (w != main && area.width() >= FrameWithTitle(main).width() + frame.width()) {
            EXPECT_FALSE(frame.intersects(FrameWithTitle(main))) << "covers the main menu";
        }
        // Scrolling only where the content does not fit, a bar only where it is needed.
        const QWidget* content = w->findChild<QWidget*>("content");
        const auto* scroll = qobject_cast<const QScrollArea*>(content->parentWidget()->parentWidget());
        if (scroll) {
            const QSize view = scroll->viewport()->size();
            EXPECT_TRUE(content->width() > view.width() || content->height() > view.height());
            EXPECT_EQ(scroll->horizontalScrollBar()->isVisible(), content->width() > view.width());
            EXPECT_EQ(scroll->verticalScrollBar()->isVisible(), content->height() > view.height());
        }

        w->activateWindow();
        QApplication::processEvents();
        EXPECT_TRUE(w->isActiveWindow());
        std::set<QWidget*> visited;
        for (int i = 0; i < 600; ++i) {
            QWidget* from = QApplication::focusWidget();
            QTest::keyClick(from && from->window() == w ? from : w, Qt::Key_Tab);
            QWidget* now = QApplication::focusWidget();
            if (!now || !visited.insert(now).second) break;
            EXPECT_TRUE(InView(now)) << now->objectName().toStdString() << " out of view after a Tab";
        }
        return scroll != nullptr;
    }
};

// The walk reaches every kind as the learner does: through the menus' buttons and the
// openers, each window opened from the one holding its button.
TEST_F(FitTest, EveryWindowFitsEachScreenAndATabBringsEachControlIntoView) {
    const QStringList kinds = kv::WindowKinds();
    ASSERT_EQ(QGuiApplication::screens().size(), 6) << "runs on the screens of fit_screens.json";
    for (QScreen* screen : QGuiApplication::screens()) {
        SCOPED_TRACE(screen->name().toStdString());
        QWidget* main = MainMenuOn(screen);
        ASSERT_EQ(main->screen(), screen);
        QStringList reached{"frmMain"}, scrolled;
        for (qsizetype i = 0; i < reached.size(); ++i) {
            QWidget* w = kv::WindowInstance(reached[i]);
            ASSERT_NE(w, nullptr) << reached[i].toStdString();
            SCOPED_TRACE(reached[i].toStdString());
            if (checkFits(w, screen, main)) scrolled << reached[i];
            QStringList buttons;
            if (auto* menu = qobject_cast<kv::MenuWindow*>(w))
                for (const kv::MenuEntry& e : menu->entries()) buttons << QStringLiteral("Command%1").arg(e.button);
            for (const kv::WindowOpener& o : kv::WindowOpeners())
                if (reached[i] == QLatin1String(o.by)) buttons << o.button;
            for (const QString& b : buttons) {
                child<QAbstractButton>(w, b)->click();
                for (const QString& kind : kinds)
                    if (!reached.contains(kind) && kv::WindowInstance(kind)) reached << kind;
            }
        }
        EXPECT_EQ(reached.size(), kinds.size());
        std::printf("%s: %lld of %lld windows scroll: %s\n", qPrintable(screen->name()), static_cast<long long>(scrolled.size()),
                    static_cast<long long>(reached.size()), qPrintable(scrolled.join(' ')));
        kv::CloseAllWindows();
    }
    EXPECT_TRUE(messages.isEmpty());
}

// A report longer than the screen shows its text in a scrolling area, laid out as it is,
// with every button on the screen; a short message is the plain box.
TEST_F(FitTest, ALongMessageScrollsItsTextAboveItsButtons) {
    QStringList report;
    for (int n = 1; n <= 40; ++n) report << QStringLiteral("%1回目　誤差 0.%2").arg(n).arg(n * 37);
    const struct {
        QString text;
        bool scrolls;
    } cases[] = {{report.join('\n'), true}, {QStringLiteral("収斂しました."), false}};
    for (QScreen* screen : QGuiApplication::screens()) {
        SCOPED_TRACE(screen->name().toStdString());
        QWidget* main = MainMenuOn(screen);
        for (const auto& c : cases) {
            bool seen = false;
            RealBoxes boxes([&](QMessageBox* box) {
                seen = true;
                const QRect area = screen->availableGeometry();
                EXPECT_TRUE(area.contains(FrameWithTitle(box)));
                auto* text = box->findChild<QLabel*>("qt_msgbox_label");
                ASSERT_NE(text, nullptr);
                EXPECT_EQ(text->text(), c.text);
                auto* scroll = qobject_cast<QScrollArea*>(text->parentWidget() ? text->parentWidget()->parentWidget() : nullptr);
                // A 40-line report scrolls on every screen here but the largest two.
                if (c.scrolls && area.height() < 700) {
                    EXPECT_NE(scroll, nullptr);
                }
                if (!c.scrolls) {
                    EXPECT_EQ(scroll, nullptr);
                }
                if (scroll) {  // the text takes most of the screen, and every line can be scrolled to
                    EXPECT_GE(scroll->viewport()->height(), area.height() / 2);
                    EXPECT_LE(text->height() - scroll->viewport()->height(), scroll->verticalScrollBar()->maximum());
                }
                for (QAbstractButton* b : box->buttons()) EXPECT_EQ(Unclipped(b).size(), b->size()) << b->text().toStdString();
            });
            EXPECT_EQ(kv::MsgBox(main, c.text, kv::MsgButtons::OkCancel), kv::MsgAnswer::Ok);
            EXPECT_TRUE(seen);
        }
        kv::CloseAllWindows();
    }
}

int main(int argc, char** argv) {
    // Its own screens, whatever the other window tests run on.
    setenv("QT_QPA_PLATFORM", KORVALEN_FIT_PLATFORM, 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    kv::SetUpApplication(app);
    kv::InstallWindowTable(kv::AllWindows());
    return RUN_ALL_TESTS();
}
