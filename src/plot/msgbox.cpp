#include "plot/msgbox.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTextDocument>

#include <algorithm>

#include "plot/screen_room.h"

namespace kv {
namespace {

MsgBoxHook& Hook() {
    static MsgBoxHook hook;
    return hook;
}

int openBoxes = 0;

// Counts a box as open for as long as it lives, however it is answered.
class OpenBox {
public:
    OpenBox() {
        if (openBoxes++ == 0) emit MsgBoxes().firstOpened();
    }
    ~OpenBox() {
        if (--openBoxes == 0) emit MsgBoxes().lastClosed();
    }
    OpenBox(const OpenBox&) = delete;
    OpenBox& operator=(const OpenBox&) = delete;
};

// A number written out in full (a huge value in a fixed pattern) is one long word that the
// box would not break, making it wider than the screen: a break is allowed in it every
// kLongestWord characters. Japanese text breaks between any characters already.
QString Breakable(const QString& text) {
    constexpr int kLongestWord = 40;
    QString out;
    out.reserve(text.size() + text.size() / kLongestWord);
    int run = 0;
    for (const QChar c : text) {
        run = (c.unicode() < 0x100 && !c.isSpace()) ? run + 1 : 0;
        if (run > kLongestWord) {
            out += QChar(0x200B);  // zero-width space
            run = 1;
        }
        out += c;
    }
    return out;
}

// Whether the label's text keeps its lines, none cut or wrapped anew, in `less` pixels less
// width.
bool KeepsLines(const QLabel* label, int less) {
    QTextDocument d;
    d.setDefaultFont(label->font());
    d.setDocumentMargin(0);
    const bool rich = label->textFormat() == Qt::RichText ||
                      (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
    if (rich) d.setHtml(label->text());
    else d.setPlainText(label->text());
    const int width = label->contentsRect().width();
    d.setTextWidth(width);
    const qreal height = d.size().height();
    d.setTextWidth(width - less);
    return d.idealWidth() <= width - less && d.size().height() <= height;
}

// A box whose text makes it larger than its screen's room (a long report on a small or
// scaled screen) shows the text, laid out exactly as it would be, in a scrolling area, so
// that its buttons stay on the screen.
class FittingBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    bool event(QEvent* event) override {
        // QMessageBox sizes itself again at every layout request, to the small size its text
        // would take in a scrolling area: once that area is in, the size set here holds.
        if (scrolled_ && event->type() == QEvent::LayoutRequest) return QDialog::event(event);
        return QMessageBox::event(event);
    }

    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);  // sizes the box to its text
        scrollText();
        // Its title bar on the screen too, where the learner can take hold of it.
        setGeometry(KeptInside(this, FrameOf(this).topLeft(), screen()->availableGeometry()));
    }

private:
    void scrollText() {
        const QSize room = RoomOn(this, screen());
        auto* text = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        auto* grid = qobject_cast<QGridLayout*>(layout());
        if ((width() <= room.width() && height() <= room.height()) || !text || !grid || text->parentWidget() != this) return;
        QSize lines = text->size();
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        // The scroll bar widens the box where the screen has room; else it takes blank space
        // at the right of the text, if there is that much.
        const int over = width() + bar - room.width();
        if (over > 0 && KeepsLines(text, over)) lines.setWidth(lines.width() - over);
        auto* area = new QScrollArea(this);
        area->setObjectName(QStringLiteral("textScroll"));
        area->setFrameShape(QFrame::NoFrame);
        scrolled_ = true;
        delete grid->replaceWidget(text, area);
        area->setWidget(text);
        text->setFixedSize(lines);
        setFixedSize(std::min(width() + bar, room.width()), std::min(height(), room.height()));
    }

    bool scrolled_ = false;
};

}  // namespace

MsgBoxWatch& MsgBoxes() {
    static MsgBoxWatch watch;
    return watch;
}

bool MsgBoxOpen() { return openBoxes > 0; }

void SetMsgBoxHook(MsgBoxHook hook) { Hook() = std::move(hook); }

MsgAnswer MsgBox(QWidget* parent, const QString& text, MsgButtons buttons) {
    const OpenBox open;
    if (Hook()) return Hook()(text, buttons);
    FittingBox box(parent);
    box.setWindowTitle(kAppTitle);
    box.setText(Breakable(text));
    box.setWindowModality(Qt::ApplicationModal);
    switch (buttons) {
        case MsgButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MsgButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case MsgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok: return MsgAnswer::Ok;
        case QMessageBox::Yes: return MsgAnswer::Yes;
        case QMessageBox::No: return MsgAnswer::No;
        default: return buttons == MsgButtons::Ok ? MsgAnswer::Ok : buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Cancel;
    }
}

}  // namespace kv
