#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>

#include "kit/curve_view.h"
#include "support/ui_test.h"

using kv::CurveColumns;
using kv::CurveView;

// However many points share a pixel column, it keeps their least and largest value; on a
// logarithmic scale a value not above 0 is not drawn and the line breaks there.
TEST(CurveColumns, KeepEachColumnsExtremesAndBreakWhereAValueCannotBeDrawn) {
    CurveColumns c;
    c.reset(440, 0, 32767, false);
    for (int s = 1; s <= 32767; ++s) c.place(s, s == 20000 ? 9.0 : s == 20001 ? -9.0 : 0.5);
    const auto& cols = c.columns();
    EXPECT_TRUE(std::all_of(cols.begin(), cols.end(), [](const auto& k) { return k.any; }));
    const auto spike = static_cast<std::size_t>(20000 * 440.0 / 32767);
    EXPECT_EQ(cols[spike].hi, 9.0);
    EXPECT_EQ(cols[spike].lo, -9.0);
    EXPECT_EQ(std::count_if(cols.begin(), cols.end(), [](const auto& k) { return k.lo != 0.5 || k.hi != 0.5; }), 1);

    c.reset(10, 0, 10, true);
    for (int s = 1; s <= 8; ++s) c.place(s, s == 4 ? 0.0 : s == 5 ? -1.0 : 0.1 * s);
    EXPECT_FALSE(c.columns()[4].any);
    EXPECT_FALSE(c.columns()[5].any);
    EXPECT_TRUE(c.columns()[6].gapBefore);
    EXPECT_FALSE(c.columns()[3].gapBefore);
}

class CurveViewTest : public UiTest {};

TEST_F(CurveViewTest, KeepsTheLatestPointsWithTheirStepsAndCopiesItsPicture) {
    QWidget* host = windowAtRatio(2, QSize(480, 300));
    CurveView v(host, {.title = QStringLiteral("誤差"), .xTitle = QStringLiteral("学習回数"),
                       .series = {{QStringLiteral("誤差"), kv::kBlue, kv::kFixed6}}});
    v.setGeometry(0, 0, 460, 280);
    v.show();
    for (int s = 1; s <= 40000; ++s) v.add({s / 40000.0});
    v.add({std::numeric_limits<double>::infinity()});  // never kept
    EXPECT_EQ(v.count(), CurveView::kMaxPoints);
    EXPECT_EQ(v.step(0), 40000 - CurveView::kMaxPoints + 1);
    EXPECT_EQ(v.value(0, 0), v.step(0) / 40000.0);
    EXPECT_EQ(v.step(v.count() - 1), 40000);
    v.addAt(40000, {0.25});  // the same step again replaces its point
    EXPECT_EQ(v.count(), CurveView::kMaxPoints);
    EXPECT_EQ(v.value(0, v.count() - 1), 0.25);

    v.refresh();
    EXPECT_TRUE(v.accessibleDescription().contains(QStringLiteral("40000")));
    EXPECT_TRUE(v.accessibleDescription().contains(QStringLiteral("0.250000")));
    // At 200 % the picture has two device pixels to a logical one each way.
    QApplication::clipboard()->clear();
    v.setFocus();
    QTest::keyClick(&v, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->image().size(), v.size() * 2);

    v.clear();
    EXPECT_EQ(v.count(), 0);
}
