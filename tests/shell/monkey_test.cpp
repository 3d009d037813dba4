// Every window, driven at random with awkward texts in its boxes and every handler it has,
// must neither crash nor show a value that is not a number.
#include <QLineEdit>
#include <QMetaMethod>
#include <QTimer>

#include <random>

#include "kit/registry.h"
#include "plot/timer.h"
#include "support/ui_test.h"

namespace {

const char* const kTexts[] = {"", "abc", "1e999", "-1e308", "1e300", "0", "-0", "-3", "2.5", "1e-320",
                              "&H10", "０.５", " 7 ", "0.5x", "-", ".", "1e", "3", "0.01", "-0.75", "1000000", "-1e6", "1.9", "100"};

bool IsHandler(const QMetaMethod& m) {
    const QByteArray name = m.name();
    return m.methodType() == QMetaMethod::Slot && m.access() == QMetaMethod::Public &&
           (name.endsWith("_Click") || name.endsWith("_Timer") || name.endsWith("_DblClick") ||
            name.endsWith("_Change") || name == "Form_Load");
}

}  // namespace

class MonkeyTest : public UiTest {};

TEST_F(MonkeyTest, RandomTextsAndHandlersNeverBreakAWindow) {
    std::mt19937 random(12);
    for (const QString& kind : kv::WindowKinds()) {
        SCOPED_TRACE(kind.toStdString());
        QWidget* w = kv::ShowWindow(kind);
        ASSERT_NE(w, nullptr);
        QList<QMetaMethod> handlers;
        const QMetaObject* meta = w->metaObject();
        for (int i = 0; i < meta->methodCount(); ++i)
            if (IsHandler(meta->method(i))) handlers << meta->method(i);
        const QList<QLineEdit*> boxes = w->findChildren<QLineEdit*>();

        for (int step = 0; step < 400; ++step) {
            if (!boxes.isEmpty() && random() % 2) {
                boxes[int(random() % boxes.size())]->setText(QString::fromUtf8(kTexts[random() % std::size(kTexts)]));
                continue;
            }
            if (handlers.isEmpty()) break;
            const QMetaMethod& m = handlers[int(random() % handlers.size())];
            if (m.parameterCount() == 0) {
                m.invoke(w, Qt::DirectConnection);
            } else {
                const int index = int(random() % 12) - 2;  // also indexes outside every array
                m.invoke(w, Qt::DirectConnection, Q_ARG(int, index));
            }
            // A window that opened another must not have closed itself.
            ASSERT_EQ(kv::WindowInstance(kind), w);
        }
        for (QLineEdit* b : w->findChildren<QLineEdit*>()) {
            EXPECT_FALSE(b->text().contains("nan", Qt::CaseInsensitive)) << b->objectName().toStdString();
            EXPECT_FALSE(b->text().contains("inf", Qt::CaseInsensitive)) << b->objectName().toStdString();
        }
        if (auto* t = w->findChild<QTimer*>("Timer1")) kv::SetTimerInterval(t, 0, w);
        kv::CloseAllWindows();
    }
}
