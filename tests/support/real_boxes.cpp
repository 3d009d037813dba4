#include "support/real_boxes.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QMessageBox>
#include <QPointer>
#include <QTest>

#include <algorithm>

#include "plot/msgbox.h"

namespace {

QList<QMessageBox*> Boxes() {
    QList<QMessageBox*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) boxes << b;
    return boxes;
}

void Answer(QMessageBox* box) {
    QAbstractButton* b = box->button(QMessageBox::Ok);
    if (!b && !box->buttons().isEmpty()) b = box->buttons().first();
    if (b) b->click();
    else box->done(0);
}

}  // namespace

RealBoxes::RealBoxes(std::function<void(QMessageBox*)> whileOpen) : whileOpen_(std::move(whileOpen)) {
    kv::SetMsgBoxHook({});
    connect(&poll_, &QTimer::timeout, this, &RealBoxes::Poll);
    poll_.start(5);
    // A timer does not fire again while its own slot runs, and `whileOpen` runs inside Poll:
    // the boxes shown meanwhile need a timer of their own.
    connect(&guard_, &QTimer::timeout, this, &RealBoxes::Guard);
    guard_.start(5);
}

RealBoxes::~RealBoxes() {
    poll_.stop();
    guard_.stop();
    for (QMessageBox* b : Boxes()) {
        ADD_FAILURE() << "a message box was left open: " << b->text().toStdString();
        Answer(b);
    }
}

int RealBoxes::Visible() { return int(Boxes().size()); }

void RealBoxes::Note() { mostOpen = std::max(mostOpen, Visible()); }

void RealBoxes::WaitCounting(int ms) {
    const qint64 end = QDateTime::currentMSecsSinceEpoch() + ms;
    while (QDateTime::currentMSecsSinceEpoch() < end) {
        Note();
        QTest::qWait(2);
    }
    Note();
}

bool RealBoxes::WaitUntil(const std::function<bool()>& done, int ms) {
    const qint64 end = QDateTime::currentMSecsSinceEpoch() + ms;
    while (!done()) {
        if (QDateTime::currentMSecsSinceEpoch() >= end) return false;
        Note();
        QTest::qWait(2);
    }
    Note();
    return true;
}

void RealBoxes::Poll() {
    Note();
    if (answering_) return;
    const QList<QMessageBox*> boxes = Boxes();
    if (boxes.isEmpty()) return;
    answering_ = true;
    QPointer<QMessageBox> box = boxes.last();  // the newest one is the one taking input
    texts << box->text();
    held_ = box;
    if (whileOpen_) whileOpen_(box);
    held_ = nullptr;
    Note();
    if (box) Answer(box);
    answering_ = false;
}

void RealBoxes::Guard() {
    if (!held_) return;
    Note();
    for (QMessageBox* b : Boxes()) {
        if (b == held_) continue;
        texts << b->text();
        Answer(b);
    }
}
