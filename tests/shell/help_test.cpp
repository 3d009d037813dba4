#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>

#include <cmath>

#include "kit/form.h"
#include "plot/random.h"
#include "shell/help_pages.h"
#include "som/frmSOM.h"
#include "support/ui_test.h"

namespace {

using kv::help::Experiment;

const QStringList kSections = {"このウィンドウで見られること", "モデル", "各項目の意味", "操作のしかた", "試してみよう",
                               "関連するウィンドウ"};

QTextBrowser* HelpBrowser() {
    QWidget* help = kv::WindowInstance("frmHelp");
    return help ? help->findChild<QTextBrowser*>("txtHelp") : nullptr;
}

// A page names a box by its object name (an array by its name without the index).
bool Names(const QString& page, const QLineEdit* box) {
    const QString base = box->objectName().section('(', 0, 0);
    return page.contains(base);
}

}  // namespace

class HelpTest : public UiTest {};

// Every kind: F1 opens its page (a topic menu's: the main page at the topic), a
// demonstration's ヘルプ button too; the page has its window's caption as title, every section,
// a name for every box, and links only to windows and pages that exist.
TEST_F(HelpTest, EveryWindowOpensItsPageWhichDescribesIt) {
    const QStringList pages = kv::help::PageKinds();
    for (const QString& kind : kv::WindowKinds()) {
        if (kind == "frmHelp") continue;
        SCOPED_TRACE(kind.toStdString());
        auto* w = qobject_cast<kv::FormWindow*>(kv::ShowWindow(kind));
        ASSERT_NE(w, nullptr);
        const bool demo = kv::HasHelpButton(kind);
        const bool ownPage = demo || kind == "frmMain" || kind == "frmDecisionAnalogModelElse";
        const QUrl url = kv::help::PageUrl(ownPage ? kind : "frmMain", ownPage ? "" : kind);

        QApplication::setActiveWindow(w);
        QTest::keyClick(w, Qt::Key_F1);
        ASSERT_NE(HelpBrowser(), nullptr);
        EXPECT_EQ(HelpBrowser()->source(), url);
        if (ownPage) EXPECT_EQ(HelpBrowser()->documentTitle(), w->windowTitle());
        else EXPECT_TRUE(HelpBrowser()->document()->toHtml().contains(QStringLiteral("name=\"%1\"").arg(kind)));

        auto* button = w->findChild<QPushButton*>("cmdHelp");
        EXPECT_EQ(button != nullptr, demo);
        if (button) {
            EXPECT_EQ(button->text(), "ヘルプ");
            EXPECT_EQ(button->toolTip(), "F1");
            HelpBrowser()->setSource(kv::help::PageUrl("frmMain"));
            button->click();
            EXPECT_EQ(HelpBrowser()->source(), url);
        }
        // F1 in the help window comes back to the page it was opened for.
        QWidget* help = kv::WindowInstance("frmHelp");
        HelpBrowser()->setSource(kv::help::PageUrl("frmLVQ"));
        QApplication::setActiveWindow(help);
        QTest::keyClick(help, Qt::Key_F1);
        EXPECT_EQ(HelpBrowser()->source(), url);
        // So does F1 in the window's curve window: the curve is a question about the model.
        if (auto* curve = w->findChild<QPushButton*>("cmdCurve")) {
            curve->click();
            QWidget* companion = w->findChild<QWidget*>("frmCurve" + kind);
            ASSERT_NE(companion, nullptr);
            QApplication::setActiveWindow(companion);
            QTest::keyClick(companion, Qt::Key_F1);
            EXPECT_EQ(HelpBrowser()->source(), url);
        }

        if (!ownPage) continue;
        const QString html = kv::help::PageHtml(kind);
        EXPECT_FALSE(html.contains("<!--missing part")) << "a shared part is missing";
        if (demo) {
            qsizetype at = 0;
            for (const QString& s : kSections) {
                at = html.indexOf(QStringLiteral("<h2>%1</h2>").arg(s), at);
                EXPECT_GE(at, 0) << "no section " << s.toStdString();
            }
        }
        const QString items = html.section("<h2>各項目の意味</h2>", 1).section("<h2>", 0, 0);
        for (const QLineEdit* box : w->findChildren<QLineEdit*>())
            EXPECT_TRUE(Names(items, box)) << "no word on " << box->objectName().toStdString();
        for (const char* added : {"cmdCurve", "Curve1", "chkLog"})
            EXPECT_TRUE(!w->findChild<QWidget*>(added) || items.contains(added)) << "no word on " << added;
        static const QRegularExpression link("href=\"(window:)?(\\w+)(\\.html)?");
        for (const QRegularExpressionMatch& m : link.globalMatch(html)) {
            const QString target = m.captured(2);
            EXPECT_TRUE(m.captured(1).isEmpty() ? pages.contains(target) : kv::WindowKinds().contains(target)) << target.toStdString();
        }
        w->close();
    }
}

// One row of the experiment table: typed, pressed and read as the page says.
class HelpExperiment : public UiTest, public ::testing::WithParamInterface<std::size_t> {
protected:
    // What a control shows; on the maps, where the learner reads the names' places off the
    // picture, winnerX(n) and winnerY(n) are animal n's unit and distance(m,n) how far apart
    // two animals' units lie, inRegion how many animals the LVQ map puts in their own region.
    QString shown(QWidget* w, const QString& name) {
        static const QRegularExpression place("^(winnerX|winnerY|distance)\\((\\d+)(,(\\d+))?\\)$");
        const QRegularExpressionMatch m = place.match(name);
        auto* map = qobject_cast<kv::frmSOM*>(w);
        if (!map || (!m.hasMatch() && name != "inRegion")) return text(w, name);
        const auto winners = map->Map().Winners(kv::som::kDefaultAnimals);
        if (name == "inRegion") {
            int in = 0;
            for (std::size_t n = 0; n < winners.size(); ++n) {
                const auto& v = kv::som::kDefaultAnimals[n];
                in += kv::som::InRegion(kv::som::AnimalGroup(v), kv::som::AnimalDiet(v), winners[n]);
            }
            return QString::number(in);
        }
        const auto& a = winners[m.captured(2).toUInt()];
        if (m.captured(1) == "winnerX") return QString::number(a.x);
        if (m.captured(1) == "winnerY") return QString::number(a.y);
        const auto& b = winners[m.captured(4).toUInt()];
        return QString::number(std::hypot(a.x - b.x, a.y - b.y));
    }

    void run(const Experiment& e) {
        QWidget* w = kv::ShowWindow(e.window);
        ASSERT_NE(w, nullptr);
        messages.clear();
        for (const kv::help::Setting& s : e.set) {
            QWidget* c = w->findChild<QWidget*>(s.control);
            ASSERT_NE(c, nullptr) << s.control;
            if (auto* b = qobject_cast<QLineEdit*>(c)) {
                b->setText(s.value);
            } else if (auto* b = qobject_cast<QAbstractButton*>(c)) {
                b->setChecked(QString(s.value) == "1");
            }
        }
        static const QRegularExpression indexed("^(\\w+)\\((\\d+)\\)$");
        std::vector<int> seen(e.expect.size());
        for (const kv::help::Press& p : e.press) {
            const QRegularExpressionMatch m = indexed.match(p.slot);
            for (int i = 0; i < p.times; ++i) {
                if (m.hasMatch()) call(w, m.captured(1).toLatin1().constData(), m.captured(2).toInt());
                else call(w, p.slot);
                if (&p != &e.press.back()) continue;
                for (std::size_t k = 0; k < e.expect.size(); ++k)
                    seen[k] += e.expect[k].share && shown(w, e.expect[k].control) == QString::fromUtf8(e.expect[k].text);
            }
        }
        for (std::size_t k = 0; k < e.expect.size(); ++k) {
            const kv::help::Check& c = e.expect[k];
            const QString value = shown(w, c.control);
            if (c.share) {
                const double share = double(seen[k]) / e.press.back().times;
                EXPECT_TRUE(share >= c.lo && share <= c.hi) << c.control << " showed " << c.text << " in a share of " << share;
            } else if (c.text) {
                EXPECT_EQ(value, QString::fromUtf8(c.text)) << c.control;
            } else {
                // A label's number is its last one ("誤    差 = 0.927273").
                static const QRegularExpression last("-?[0-9.]+(e[-+]?[0-9]+)?$");
                bool number = false;
                const double v = last.match(value).captured(0).toDouble(&number);
                EXPECT_TRUE(number && v >= c.lo && v <= c.hi) << c.control << " shows " << value.toStdString();
            }
        }
        if (e.message) {
            if (*e.message) EXPECT_EQ(messages.value(messages.size() - 1), QString::fromUtf8(e.message));
            else EXPECT_TRUE(messages.isEmpty()) << messages.join(" / ").toStdString();
        }
        kv::CloseAllWindows();
    }
};

TEST_P(HelpExperiment, DoesWhatThePageSays) {
    const Experiment& e = kv::help::Experiments()[GetParam()];
    SCOPED_TRACE(e.window + (" " + kv::help::ExperimentText(e).toStdString()));
    for (const std::uint32_t seed : e.random ? std::vector<std::uint32_t>{11, 2024, 90001} : std::vector<std::uint32_t>{1}) {
        SCOPED_TRACE(seed);
        kv::FixRandomizeForTools(seed);
        kv::SeedRandomForTest(seed);
        run(e);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, HelpExperiment, ::testing::Range<std::size_t>(0, kv::help::Experiments().size()));
