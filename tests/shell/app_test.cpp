// The program as a whole meets its surroundings: real message boxes stay on the screen and
// speak Japanese, Return presses buttons, and a missing display or Japanese font is
// explained in plain words.
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <algorithm>
#include <functional>
#include <memory>
#include <tuple>

#include "kit/registry.h"
#include "plot/PlotSurface.h"
#include "plot/input.h"
#include "plot/msgbox.h"
#include "shell/app.h"
#include "support/ui_test.h"

namespace {

// What a real message box looked like while it was up.
struct ShownBox {
    bool seen = false;
    QRect frame;
    QRect screen;  // the available geometry of its screen
    QString yes, no;
};

}  // namespace

class AppTest : public UiTest {
protected:
    // Runs `show` with the real message box instead of the test hook. While the box is up,
    // records it and lets `answer` press something; a box nobody answers is rejected after
    // a few seconds, so a failing test never leaves one waiting.
    ShownBox withRealBox(const std::function<void()>& show, const std::function<void(QMessageBox*)>& answer) {
        kv::SetMsgBoxHook({});
        ShownBox shown;
        int polls = 0;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) {
                if (++polls > 500)
                    for (QWidget* w : QApplication::topLevelWidgets())
                        if (auto* b = qobject_cast<QMessageBox*>(w)) b->reject();
                return;
            }
            poll.stop();
            shown.seen = true;
            shown.frame = box->frameGeometry();
            shown.screen = box->screen()->availableGeometry();
            if (auto* b = box->button(QMessageBox::Yes)) shown.yes = b->text();
            if (auto* b = box->button(QMessageBox::No)) shown.no = b->text();
            answer(box);
        });
        poll.start();
        show();
        poll.stop();
        UiTest::SetUp();  // the recording hook again
        return shown;
    }

    static void pressOk(QMessageBox* box) { box->button(QMessageBox::Ok)->click(); }

    // The box refusing `typed` in `box` through `read`, as the learner meets it.
    ShownBox refusal(const QString& typed, const std::function<void(QLineEdit*)>& read) {
        QWidget window;
        window.resize(720, 540);
        auto* box = new QLineEdit(typed, &window);
        window.show();
        return withRealBox([&] { read(box); }, pressOk);
    }
};

TEST_F(AppTest, MessagesQuotingAHugeTextStayOnTheScreen) {
    const QString fullWidthDigits(20000, QChar(0xFF11));  // "１" as an input method types it
    const QString asciiRun = QString(300, 'x');
    const QString hugeNumber = "9" + QString(400, '0');  // a number beyond a double
    using Read = std::function<void(QLineEdit*)>;
    const Read strict = [](QLineEdit* b) { kv::ReadStrict(b, QStringLiteral("X1")); };
    const Read lenient = [](QLineEdit* b) { kv::ReadVal(b, QStringLiteral("θ")); };
    // A window's own message with a huge value written out in a fixed pattern, as one word.
    const Read converged = [](QLineEdit* b) { kv::MsgBox(b->window(), QStringLiteral("収斂しました. x=-") + QString(270, '2')); };
    const std::pair<QString, Read> cases[] = {{fullWidthDigits + "x", strict},
                                              {asciiRun, strict},
                                              {hugeNumber, strict},
                                              {hugeNumber, lenient},
                                              {"1", converged}};
    for (const auto& [typed, read] : cases) {
        SCOPED_TRACE(typed.left(8).toStdString());
        const ShownBox shown = refusal(typed, read);
        ASSERT_TRUE(shown.seen);
        EXPECT_TRUE(shown.screen.contains(shown.frame)) << "box " << shown.frame.width() << "x" << shown.frame.height()
                                                         << " on a screen of " << shown.screen.width() << "x"
                                                         << shown.screen.height();
    }
}

TEST_F(AppTest, QtsOwnTextsAreJapanese) {
    QTranslator qt;
    ASSERT_TRUE(qt.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        << "Qt's Japanese translation (qt6-translations-l10n) is not installed";
    const QString yes = qt.translate("QPlatformTheme", "&Yes"), no = qt.translate("QPlatformTheme", "&No");
    ASSERT_FALSE(yes.isEmpty());

    kv::MsgAnswer answered = kv::MsgAnswer::Ok;
    const ShownBox shown = withRealBox([&] { answered = kv::MsgBox(nullptr, QStringLiteral("続けますか。"), kv::MsgButtons::YesNo); },
                                       [](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
    ASSERT_TRUE(shown.seen);
    EXPECT_EQ(shown.yes, yes);
    EXPECT_EQ(shown.no, no);
    EXPECT_FALSE(shown.yes.contains("Yes"));
    EXPECT_EQ(answered, kv::MsgAnswer::No);

    // The right-click menu of a text box: every entry in Japanese.
    QLineEdit box("0.5");
    std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    int entries = 0;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        ++entries;
        const QString entry = a->text();
        EXPECT_TRUE(std::any_of(entry.begin(), entry.end(), [](QChar c) { return c.unicode() > 0x3000; }))
            << entry.toStdString();
    }
    EXPECT_GE(entries, 6);
}

TEST_F(AppTest, ReturnAndEnterPressTheFocusedButton) {
    QWidget window;
    auto* button = new QPushButton(QStringLiteral("計算実行"), &window);
    auto* other = new QPushButton(QStringLiteral("初期化"), &window);
    other->move(0, 40);
    int pressed = 0, otherPressed = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++pressed; });
    QObject::connect(other, &QPushButton::clicked, [&] { ++otherPressed; });
    window.show();
    QApplication::setActiveWindow(&window);
    button->setFocus();

    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(pressed, 1);
    QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(pressed, 2);
    QTest::keyClick(button, Qt::Key_Space);  // as before
    EXPECT_EQ(pressed, 3);
    QTest::keyClick(button, Qt::Key_Return, Qt::ControlModifier);  // not a plain Return
    EXPECT_EQ(pressed, 3);
    button->setEnabled(false);
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(pressed, 3);
    EXPECT_EQ(otherPressed, 0);
}

TEST_F(AppTest, ReturnInAMessageBoxStillAnswersItsDefaultButton) {
    // The box's default is its first button, Yes.
    kv::MsgAnswer answered = kv::MsgAnswer::Cancel;
    const ShownBox shown = withRealBox(
        [&] { answered = kv::MsgBox(nullptr, QStringLiteral("続けますか。"), kv::MsgButtons::YesNo); },
        [&](QMessageBox* box) {
            QApplication::setActiveWindow(box);
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return);
            if (box->isVisible()) box->reject();  // Return did nothing: end the box, fail below
        });
    ASSERT_TRUE(shown.seen);
    EXPECT_EQ(answered, kv::MsgAnswer::Yes);
}

TEST_F(AppTest, ADisplayThatCannotBeOpenedIsExplained) {
    // A display nobody serves, then a platform that does not exist: both end the program
    // with words the learner can act on, status 2, and no abort. Started by the source
    // tree's script, the advice is the script's; installed, the installed command's.
    for (const auto& [variable, value, fromSource] : {std::tuple{"DISPLAY", ":7919", true},
                                                      std::tuple{"QT_QPA_PLATFORM", "nosuchplatform", true},
                                                      std::tuple{"DISPLAY", ":7919", false}}) {
        SCOPED_TRACE(std::string(variable) + (fromSource ? " from source" : " installed"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "DISPLAY", "KORVALEN_FROM_SOURCE"}) env.remove(name);
        env.insert(variable, value);
        if (fromSource) env.insert("KORVALEN_FROM_SOURCE", "1");
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(KORVALEN_PROGRAM), {});
        ASSERT_TRUE(program.waitForStarted());
        if (!program.waitForFinished(30000)) {
            program.kill();
            program.waitForFinished();
            FAIL() << "the program did not end";
        }
        const QString err = QString::fromLocal8Bit(program.readAllStandardError());
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << err.toStdString();
        EXPECT_EQ(program.exitCode(), 2) << err.toStdString();
        EXPECT_TRUE(err.contains(QStringLiteral("画面（ディスプレイ）を開けない"))) << err.toStdString();
        EXPECT_TRUE(err.contains("no display could be opened")) << err.toStdString();
        EXPECT_TRUE(err.contains(fromSource ? "xvfb-run -a scripts/korvalen run" : "xvfb-run -a korvalen ")) << err.toStdString();
        EXPECT_EQ(err.contains("scripts/"), fromSource) << err.toStdString();
        EXPECT_TRUE(err.contains(QStringLiteral("%1=%2").arg(variable, value))) << err.toStdString();
        EXPECT_FALSE(err.contains("Reinstalling")) << err.toStdString();
    }
}

TEST_F(AppTest, AMissingJapaneseFontIsNamedWithItsPackage) {
    EXPECT_FALSE(kv::NoJapaneseFontNotice({QStringLiteral("Noto Sans CJK JP")}).has_value());
    EXPECT_FALSE(kv::NoJapaneseFontNotice({QStringLiteral("IPAGothic"), QStringLiteral("DejaVu Sans")}).has_value());
    const auto notice = kv::NoJapaneseFontNotice({});
    ASSERT_TRUE(notice.has_value());
    EXPECT_TRUE(notice->contains("sudo apt-get install fonts-noto-cjk"));
    EXPECT_TRUE(notice->contains(QStringLiteral("日本語を表示できるフォント")));

    // This machine has one (the tests need it): nothing is said.
    EXPECT_FALSE(kv::WarnIfNoJapaneseFont());
    EXPECT_TRUE(messages.isEmpty());
}

// The program's icon is drawn at the usual sizes and every window carries it.
TEST_F(AppTest, EveryWindowCarriesTheProgramsIcon) {
    const QIcon icon = kv::ProgramIcon();
    for (int size : {16, 32, 48, 256}) {
        const QImage image = icon.pixmap(QSize(size, size), 1.0).toImage();
        ASSERT_EQ(image.width(), size);
        // At 200 % the same logical size has twice the pixels.
        EXPECT_EQ(icon.pixmap(QSize(size / 2, size / 2), 2.0).toImage().width(), size);
        // The neuron's light-green body at the centre, the transparent corner outside the frame.
        EXPECT_GT(qAlpha(image.pixel(size / 2 + size / 16, size / 2)), 200) << size;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size;
    }
    for (const QString& kind : kv::WindowKinds()) {
        QWidget* w = kv::ShowWindow(kind);
        ASSERT_NE(w, nullptr) << kind.toStdString();
        EXPECT_EQ(w->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey()) << kind.toStdString();
    }
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    EXPECT_EQ(QGuiApplication::desktopFileName().toStdString(), "korvalen");  // Wayland ties windows to korvalen.desktop
}

// At 200 % every window is drawn with the screen's pixels: its plots have twice the pixels
// each way and its controls, pictures and texts have detail finer than a logical pixel.
TEST_F(AppTest, EveryWindowFollowsItsScreenToTwoHundredPercent) {
    for (const QString& kind : kv::WindowKinds()) {
        QWidget* w = kv::ShowWindow(kind);
        ASSERT_NE(w, nullptr) << kind.toStdString();
        moveToRatio(w, 2);
        for (const kv::PlotSurface* plot : w->findChildren<kv::PlotSurface*>()) {
            EXPECT_EQ(plot->pixelRatio(), 2) << kind.toStdString();
            EXPECT_EQ(plot->image().size(), plot->size() * 2) << kind.toStdString();
        }
        const QPixmap shown = w->grab();
        EXPECT_EQ(shown.devicePixelRatio(), 2) << kind.toStdString();
        EXPECT_EQ(shown.size(), w->size() * 2) << kind.toStdString();
        // A picture blown up from 100 % would repeat every pixel in a 2 x 2 block.
        const QImage image = shown.toImage();
        bool finer = false;
        for (int y = 0; y + 1 < image.height() && !finer; y += 2)
            for (int x = 0; x + 1 < image.width() && !finer; x += 2)
                finer = image.pixel(x + 1, y) != image.pixel(x, y) || image.pixel(x, y + 1) != image.pixel(x, y);
        EXPECT_TRUE(finer) << kind.toStdString();
        w->close();
    }
}
