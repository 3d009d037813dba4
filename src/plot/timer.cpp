#include "plot/timer.h"

#include <QLineEdit>
#include <QTimer>
#include <QVariant>

#include "plot/input.h"
#include "plot/msgbox.h"
#include "plot/qt_forms.h"
#include "plot/rounding.h"

namespace kv {
namespace {
constexpr const char* kIntervalProperty = "kvInterval";
}

QTimer* MakeTimer1(QObject* owner) {
    auto* timer = new QTimer(owner);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setProperty(kIntervalProperty, 0);
    return timer;
}

bool SetTimerInterval(QTimer* timer, double milliseconds, QWidget* owner) {
    const auto ms = RoundToLong(milliseconds);
    if (!ms || *ms < 0 || *ms > 65535) {
        MsgBox(owner, QStringLiteral("タイマーの間隔（%1）は、0から65535までのミリ秒で指定してください。")
                          .arg(NumberText(milliseconds)));
        return false;
    }
    timer->setProperty(kIntervalProperty, *ms);
    if (*ms == 0) timer->stop();
    else timer->start(*ms);
    return true;
}

bool StartTimerFromBox(QTimer* timer, QLineEdit* box, const QString& boxName) {
    const auto ms = ReadVal(box, boxName);
    return ms && SetTimerInterval(timer, *ms, box->window());
}

int TimerInterval(const QTimer* timer) { return timer->property(kIntervalProperty).toInt(); }

}  // namespace kv
