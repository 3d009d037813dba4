// What a screen reader finds in every window: a name for every control it can reach, unique
// within its window, a tooltip on every box the learner types into, and a name and a
// description for every plot.
#include <QAccessible>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>

#include "kit/registry.h"
#include "plot/PlotSurface.h"
#include "support/ui_test.h"

class AccessibilityTest : public UiTest {};

namespace {

void ExpectNamed(QWidget* w) {
    SCOPED_TRACE(w->objectName().toStdString());
    QMap<QString, QString> named;  // accessible name -> the control that has it
    for (QWidget* c : w->findChildren<QWidget*>()) {
        const QString id = c->objectName();
        if (c->focusPolicy() & Qt::TabFocus) {
            const QString name = QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name);
            EXPECT_FALSE(name.trimmed().isEmpty()) << id.toStdString();
            EXPECT_FALSE(named.contains(name)) << id.toStdString() << " and " << named.value(name).toStdString() << ": "
                                               << name.toStdString();
            named.insert(name, id);
        }
        if (auto* box = qobject_cast<QLineEdit*>(c); box && !box->isReadOnly()) {
            EXPECT_FALSE(box->toolTip().isEmpty()) << id.toStdString();
        }
        if (qobject_cast<kv::PlotSurface*>(c)) {
            EXPECT_FALSE(c->accessibleName().isEmpty()) << id.toStdString();
            EXPECT_FALSE(c->accessibleDescription().isEmpty()) << id.toStdString();
        }
    }
}

}  // namespace

// Every window, and the curve window a window opens beside it.
TEST_F(AccessibilityTest, EveryWindowNamesWhatALearnerCanReach) {
    for (const QString& kind : kv::WindowKinds()) {
        QWidget* w = kv::ShowWindow(kind);
        ASSERT_NE(w, nullptr) << kind.toStdString();
        ExpectNamed(w);
        if (auto* curve = w->findChild<QPushButton*>("cmdCurve")) {
            curve->click();
            auto* companion = w->findChild<QWidget*>("frmCurve" + kind);
            ASSERT_NE(companion, nullptr) << kind.toStdString();
            ExpectNamed(companion);
        }
        kv::CloseAllWindows();
    }
}
