#include "shell/app.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "kit/focus_ring.h"
#include "plot/msgbox.h"

namespace kv {
namespace {

const QString kReturnFilterName = QStringLiteral("kvReturnPressesButtons");
const QString kTranslatorName = QStringLiteral("kvQtBaseJapanese");

// Qt presses a focused button on Return only inside dialogs; learners expect it in every
// window, as Space does.
class ReturnPressesButtons : public QObject {
public:
    explicit ReturnPressesButtons(QObject* parent) : QObject(parent) { setObjectName(kReturnFilterName); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* button = qobject_cast<QPushButton*>(watched);
        // An auto-default button (every button of a dialog, the message box's among them)
        // already answers Return itself, through its dialog's default button.
        if (!button || button->autoDefault() || !button->isEnabled()) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (!plain || (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)) return false;
        if (!key->isAutoRepeat()) button->click();  // a held key presses once, not at every repeat
        return true;
    }
};

void LoadQtJapanese(QApplication& app) {
    if (app.findChild<QTranslator*>(kTranslatorName)) return;
    auto* translator = new QTranslator(&app);
    translator->setObjectName(kTranslatorName);
    // Without the translation (qt6-translations-l10n) Qt's texts stay English; nothing else changes.
    if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
}

bool& ExplainingDisplay() {
    static bool on = false;
    return on;
}

QtMessageHandler& QtHandler() {
    static QtMessageHandler previous = nullptr;
    return previous;
}

void DisplayFailureHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    // Qt's last word on a platform it cannot start; its own text suggests reinstalling,
    // which does not help a learner whose display is missing.
    if (type == QtFatalMsg && ExplainingDisplay() && message.contains(QLatin1String("platform plugin"))) {
        const QByteArray text = DisplayFailureText(qEnvironmentVariable("DISPLAY"), qEnvironmentVariable("QT_QPA_PLATFORM"),
                                                   qEnvironmentVariableIsSet("KORVALEN_FROM_SOURCE"))
                                    .toLocal8Bit();
        std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stderr);
        std::fflush(stderr);
        _exit(2);
    }
    if (QtHandler()) QtHandler()(type, context, message);
}

}  // namespace

QIcon ProgramIcon() {
    // The glyph of data/korvalen.svg, painted here so that no image plugin is needed.
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 256.0, size / 256.0);
        p.setPen(QPen(QColor(0, 110, 0), 8));
        p.setBrush(QColor(240, 255, 240));
        p.drawRoundedRect(QRectF(8, 8, 240, 240), 40, 40);
        const QColor blue(0, 0, 140);
        p.setPen(QPen(blue, 12, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(36, 70), QPointF(104, 110));
        p.drawLine(QPointF(36, 128), QPointF(96, 128));
        p.drawLine(QPointF(36, 186), QPointF(104, 146));
        p.drawLine(QPointF(180, 128), QPointF(214, 128));
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        p.drawPolygon(QPolygonF{QPointF(232, 128), QPointF(206, 112), QPointF(206, 144)});
        for (double y : {70.0, 128.0, 186.0}) p.drawEllipse(QPointF(36, y), 12, 12);
        p.setPen(QPen(QColor(0, 110, 0), 10));
        p.setBrush(QColor(190, 240, 190));
        p.drawEllipse(QPointF(138, 128), 44, 44);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void SetUpApplication(QApplication& app) {
    app.setWindowIcon(ProgramIcon());  // every window carries it
    app.setApplicationName(QStringLiteral("Korvalen"));
    // Under Wayland the windows find their desktop entry (name, icon in the dock) by this.
    QGuiApplication::setDesktopFileName(QStringLiteral("korvalen"));
    app.setStyle(new FocusRingStyle(QStyleFactory::create(QStringLiteral("Fusion"))));
    app.setPalette(app.style()->standardPalette());
    // Prefer a CJK face so that every caption renders the same on every machine; failing
    // those, any face that writes Japanese.
    const QStringList families = QFontDatabase::families();
    QString chosen;
    for (const char* name : {"Noto Sans CJK JP", "IPAGothic", "IPAexGothic", "Noto Sans JP"}) {
        if (families.contains(QLatin1String(name))) {
            chosen = QString::fromLatin1(name);
            break;
        }
    }
    if (chosen.isEmpty() && !QFontDatabase::families(QFontDatabase::Japanese).isEmpty())
        chosen = QFontDatabase::families(QFontDatabase::Japanese).first();
    if (!chosen.isEmpty()) {
        QFont f{chosen};
        f.setPointSize(10);
        app.setFont(f);
    }
    LoadQtJapanese(app);
    if (!app.findChild<QObject*>(kReturnFilterName)) app.installEventFilter(new ReturnPressesButtons(&app));
}

void ExplainDisplayFailure(bool on) {
    if (on && !ExplainingDisplay()) QtHandler() = qInstallMessageHandler(DisplayFailureHandler);
    if (!on && ExplainingDisplay()) qInstallMessageHandler(QtHandler());
    ExplainingDisplay() = on;
}

QString DisplayFailureText(const QString& display, const QString& platform, bool fromSourceTree) {
    QString where = display.isEmpty() ? QStringLiteral("DISPLAY is not set") : QStringLiteral("DISPLAY=%1").arg(display);
    if (!platform.isEmpty()) where += QStringLiteral(", QT_QPA_PLATFORM=%1").arg(platform);
    // The set-up script exists only in the source tree; the installed program is on the PATH.
    const QString command = fromSourceTree ? QStringLiteral("scripts/korvalen run") : QStringLiteral("korvalen");
    return QStringLiteral(
               "Korvalen: 画面（ディスプレイ）を開けないため、ウィンドウを表示できません（%1）。\n"
               "Korvalen: no display could be opened, so no window can be shown (%1).\n"
               "デスクトップの中で起動するか、仮想ディスプレイの中で起動してください。\n"
               "Start it inside a desktop session, or inside a virtual display:\n"
               "  xvfb-run -a %2        (xvfb-run: sudo apt-get install xvfb)\n")
        .arg(where, command);
}

std::optional<QString> NoJapaneseFontNotice(const QStringList& japaneseFamilies) {
    if (!japaneseFamilies.isEmpty()) return std::nullopt;
    // The command is in ASCII: without the font it is the one line the learner can read.
    return QStringLiteral(
        "日本語を表示できるフォントが見つからないため、文字が四角（□）で表示されます。\n"
        "次のコマンドでフォント（fonts-noto-cjk）を入れてから、もう一度起動してください。\n\n"
        "sudo apt-get install fonts-noto-cjk");
}

bool WarnIfNoJapaneseFont() {
    const auto notice = NoJapaneseFontNotice(QFontDatabase::families(QFontDatabase::Japanese));
    if (!notice) return false;
    const QByteArray text =
        (QStringLiteral("Korvalen: ") + *notice +
         QStringLiteral("\nKorvalen: no installed font can show Japanese, so every caption shows as empty boxes.\n"
                        "Install one, then start Korvalen again: sudo apt-get install fonts-noto-cjk\n"))
            .toLocal8Bit();
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stderr);
    std::fflush(stderr);
    MsgBox(nullptr, *notice);
    return true;
}

}  // namespace kv
