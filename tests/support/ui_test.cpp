#include "support/ui_test.h"

#include "kit/registry.h"

#include <QApplication>
#include <QMetaObject>
#include <QScreen>

#include <cmath>

void UiTest::SetUp() {
    messages.clear();
    kv::SetMsgBoxHook([this](const QString& text, kv::MsgButtons) {
        messages << text;
        return answer;
    });
}

void UiTest::TearDown() {
    for (QPointer<QWidget>& w : opened_) delete w.data();
    opened_.clear();
    kv::CloseAllWindows();
    kv::SetMsgBoxHook({});
}

void UiTest::moveToRatio(QWidget* window, qreal ratio) {
    QScreen* target = nullptr;
    for (QScreen* s : QGuiApplication::screens())
        if (s->devicePixelRatio() == ratio) target = s;
    ASSERT_NE(target, nullptr) << "no screen at ratio " << ratio;
    window->setScreen(target);
    window->move(target->geometry().topLeft() + QPoint(20, 20));
    window->show();
    QApplication::processEvents();
    EXPECT_EQ(window->devicePixelRatioF(), ratio);
}

QWidget* UiTest::windowAtRatio(qreal ratio, QSize size) {
    auto* w = new QWidget;
    opened_.emplace_back(w);
    w->resize(size);
    moveToRatio(w, ratio);
    return w;
}

QString UiTest::text(const QWidget* w, const QString& name) {
    if (auto* b = w->findChild<QLineEdit*>(name)) return b->text();
    if (auto* l = w->findChild<QLabel*>(name)) return l->text();
    ADD_FAILURE() << "no text control " << name.toStdString();
    return {};
}

void UiTest::call(QWidget* w, const char* slot) {
    EXPECT_TRUE(QMetaObject::invokeMethod(w, slot, Qt::DirectConnection)) << "no slot " << slot;
}

void UiTest::call(QWidget* w, const char* slot, int index) {
    EXPECT_TRUE(QMetaObject::invokeMethod(w, slot, Qt::DirectConnection, Q_ARG(int, index))) << "no slot " << slot;
}

void UiTest::type(const QWidget* w, const QString& name, const QString& text) {
    if (QLineEdit* b = box(w, name)) b->setText(text);
}

kv::Rgb UiTest::pixel(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return kv::Rgb{qRed(p), qGreen(p), qBlue(p)};
}

bool UiTest::colourNear(const QImage& image, QPointF at, kv::Rgb colour, int radius) {
    const int cx = static_cast<int>(std::floor(at.x())), cy = static_cast<int>(std::floor(at.y()));
    for (int y = cy - radius; y <= cy + radius; ++y)
        for (int x = cx - radius; x <= cx + radius; ++x)
            if (image.valid(x, y) && pixel(image, x, y) == colour) return true;
    return false;
}
